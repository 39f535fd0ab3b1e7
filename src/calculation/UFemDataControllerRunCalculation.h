#pragma once

#include "foundation/errors/UError.h"

#include <functional>

class UFemDataController;
class UFemMatrixCalculationContext;
struct UFemDataControllerServices;

// The calculation operations of a data controller: the check that its model can be calculated,
// the set-up and run of a calculation on it, the forwarding of progress, pause and quit to its
// calculation context, and the numbering of its Node and Case cards after its result data.

// Called when a card stops the run, before the error is returned: the document shows the cards
// that have errors to run in a new window.
using UFemShowCardsWithErrorToRun = std::function<void(UFemDataController& dataController)>;

// False with the first reason (21003, 21005, 21006, 21007, 21004, in that order) that the model
// cannot be calculated. The cards are checked on `threadCount` threads of the foreground pool (0
// takes the preference).
[[nodiscard]] bool UFemCheckToRunCalculation(UFemDataController& dataController,
    const UFemShowCardsWithErrorToRun& showCardsWithErrorToRun, quint64 threadCount,
    UErrorPtr* error);
// The cards with an error or warning, as the card table shows them: "line N: TEXT" and the reason
// indented below, for at most `maxCount` cards, then how many more there are.
QString UFemReportOfCardsWithError(UFemDataController& dataController, quint64 maxCount = 20);
// The controller's calculation context, which only UFemSetupForRunCalculation sets; nullptr
// before it.
UFemMatrixCalculationContext* UFemMatrixCalculationContextOf(
    const UFemDataController& dataController);
// A new calculation context on the controller; `threadCount` 0 takes the preference.
UFemMatrixCalculationContext& UFemSetupForRunCalculation(
    UFemDataController& dataController, quint64 threadCount = 0);
// Set-up, run and the results installed on the controller (calculation errors allowed); on the
// calculation thread.
[[nodiscard]] bool UFemRunCalculation(UFemDataController& dataController, UErrorPtr* error);

// Forwarding to the controller's context, with the answers of no calculation without one.
bool UFemIsCalculationPausing(const UFemDataController& dataController);
quint64 UFemCalculatingThreadCount(const UFemDataController& dataController);
quint64 UFemProgressTotalLength(const UFemDataController& dataController);
quint64 UFemCurrentProgress(const UFemDataController& dataController);
quint64 UFemComputingCount(const UFemDataController& dataController);
void UFemPauseCalculationWithFlag(const UFemDataController& dataController, bool flag);
void UFemQuitCalculation(const UFemDataController& dataController);

void UFemResetNodeNoAndCaseNo(UFemDataController& dataController);
// True when the Node and Case cards match the attached results one to one; false without an
// error when there are no results to match.
[[nodiscard]] bool UFemSynchronizeNodeNoAndCaseNoToResultData(
    UFemDataController& dataController, UErrorPtr* error);

// Gives the data controllers the numbering of Node and Case cards.
void UFemInstallCalculationServices(UFemDataControllerServices& services);
