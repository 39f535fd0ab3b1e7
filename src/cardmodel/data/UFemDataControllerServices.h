#pragma once

#include "foundation/errors/UError.h"

#include <QByteArray>

#include <functional>
#include <memory>

class UFemDataController;
class UFemResultDataManager;
class UFemResultDataManager_ClipboardCardValue;
class UThreadTaskContext;

// What a data controller needs of the subsystems above it: the 3-D view's two value-range tasks,
// the result data's readers and the calculation's node and case numbering. The application
// installs the real ones once at start-up; an unset entry falls back to a stand-in that does
// nothing (a task without work, no numbering, no readers).
struct UFemDataControllerServices {
    using TaskContextMaker
        = std::function<std::unique_ptr<UThreadTaskContext>(UFemDataController& dataController)>;

    // The largest force and moment, and the largest displacement, for drawing.
    TaskContextMaker makeForceValueRangeCalcThreadTaskContext;
    TaskContextMaker makeDisplacementValueRangeCalcThreadTaskContext;
    std::function<std::shared_ptr<UFemResultDataManager_ClipboardCardValue>(
        UFemDataController& dataController)>
        makeClipboardCardValueResultDataManager;
    // Reads results from result-file data; a hard error goes to `error`, a reading error to
    // `readingError`.
    std::function<std::shared_ptr<UFemResultDataManager>(
        const QByteArray& resultFileData, UErrorPtr* readingError, UErrorPtr* error)>
        makeResultDataManagerWithResultFileData;
    // Resets the node number of every Node card and the case number of every Case card.
    std::function<void(UFemDataController& dataController)> resetNodeNoAndCaseNo;
    // Numbers the Node and Case cards after the attached results' name lists.
    std::function<bool(UFemDataController& dataController, UErrorPtr* error)>
        synchronizeNodeNoAndCaseNoToResultData;
    // The system beep, sounded by an edit given nothing to do.
    std::function<void()> beep;

    // Set once at start-up, before the first data controller is made.
    static void setShared(UFemDataControllerServices services);
    static const UFemDataControllerServices& shared();
};
