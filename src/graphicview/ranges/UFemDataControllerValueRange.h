#pragma once

#include "foundation/errors/UError.h"

#include <QtGlobal>

#include <vector>

class UFemDataController;
class UThreadContext;
struct UFemDataControllerServices;

// The force and displacement value ranges of a data controller: starting, waiting for and reading
// its two value-range tasks, and their worker bodies. The tasks themselves are made by the makers
// UFemInstallGraphicViewValueRangeServices puts into the data controller services; a controller
// made without them has plain tasks, and these operations then raise a program error.

// Threads of a value-range task for n foreground threads: min(4, max(1, trunc(0.5 n + 0.6))).
quint64 UFemValueRangeThreadCountWithForegroundTaskThreadCount(quint64 foregroundTaskThreadCount);
// The foreground thread count of the controller's document, or of the user defaults without one.
// Main thread only.
quint64 UFemForegroundTaskThreadCountOfDataController(const UFemDataController& dataController);

// Builds the card arrays the workers read, so that a start from a worker finds them built. Main
// thread only; a start from the main thread does it itself.
void UFemPrepareValueRangeCardArraysForWorkers(UFemDataController& dataController);

// False at once when the value is valid; otherwise gives the task its argument and starts it on
// `threadCount` workers (the caller does not take part). False also when the start was canceled.
bool UFemStartForceValueRangeCalcThreadIfNeededWithThreadCountToRun(
    UFemDataController& dataController, quint64 threadCount);
bool UFemStartDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(
    UFemDataController& dataController, quint64 threadCount);

// Waits until no worker runs; true when the value is then valid, otherwise *isCanceled is set
// when the task was canceled.
bool UFemWaitForceValueRangeCalcThreadFinished_isCanceled(
    UFemDataController& dataController, bool* isCanceled);
bool UFemWaitDisplacementValueRangeCalcThreadFinished_isCanceled(
    UFemDataController& dataController, bool* isCanceled);

// Starts the task when needed on `threadCount` workers, waits for it and reads the maxima. False,
// writing nothing, when it was canceled or has no valid value. With errors of the run the maxima
// are 0 and *errorArray gets the errors; otherwise *errorArray is emptied.
bool UFemGetForceValueRangeToMaxForceValuePtr(UFemDataController& dataController,
    double* maxForceValue, double* maxMomentValue, std::vector<UErrorPtr>* errorArray,
    quint64 threadCount, bool* isCanceled);
bool UFemGetDisplacementValueRangeToMaxDisplacementValuePtr(UFemDataController& dataController,
    double* maxDisplacementValue, std::vector<UErrorPtr>* errorArray, quint64 threadCount,
    bool* isCanceled);

// The worker bodies the tasks run on every thread.
bool UFemCalculateForceValueRangeWithThreadContext(
    UFemDataController& dataController, UThreadContext& threadContext);
bool UFemCalculateDisplacementValueRangeWithThreadContext(
    UFemDataController& dataController, UThreadContext& threadContext);

// Puts the makers of the two value-range tasks into the services.
void UFemInstallGraphicViewValueRangeServices(UFemDataControllerServices& services);
