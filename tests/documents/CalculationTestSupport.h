#pragma once

// Documents calculated through a calculation manager of their own, whose calculation threads the
// test may hold back until it has pressed the panel's buttons.

#include "DocumentTestSupport.h"

#include "documents/calculation/UFemCalculationManager.h"
#include "platform/UNotificationCenter.h"

#include <functional>
#include <vector>

// A tripod of three rods on three feet, the apex loaded; `loadZ` is the apex force down.
QString tripodModelText(int loadZ = 2000);
// Data controllers that read result files and number cards after results.
UFemDataControllerServices calculationServices();
// Runs the event loop until `done` answers true; false after `timeoutMs`.
bool runEventsUntil(const std::function<bool()>& done, int timeoutMs = 30000);

// The done notifications posted, with whether each came on the main thread.
struct DoneNotificationRecorder {
    DoneNotificationRecorder();

    std::vector<QVariantMap> userInfos;
    bool allOnMainThread = true;

private:
    UNotificationObservation observation_;
};

struct CalculationHarness : DocumentHarness {
    CalculationHarness();
    ~CalculationHarness();

    // An untitled model document of `modelText` calculated by this harness's manager.
    UFemDocument* modelDocument(const QString& modelText);
    // Starts the calculation threads held back so far.
    void releaseThreads();
    bool waitForCalculations();

    UFemCalculationManager manager;
    DoneNotificationRecorder done;
    bool holdsThreads = false;
    std::vector<std::function<void()>> heldThreads;
};
