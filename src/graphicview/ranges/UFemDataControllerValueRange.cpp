#include "graphicview/ranges/UFemDataControllerValueRange.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "documents/document/UFemDocument.h"
#include "foundation/errors/UException.h"
#include "foundation/threads/UThreadCount.h"
#include "foundation/threads/UThreadCountPreference.h"
#include "graphicview/ranges/UFemDisplacementValueRangeCalcThreadTaskContext.h"
#include "graphicview/ranges/UFemForceValueRangeCalcThreadTaskContext.h"

#include <mutex>

namespace {

constexpr quint64 valueRangeMaximumThreadCount = 4;
constexpr double valueRangeThreadCountFactor = 0.5;

template <typename Task> Task& valueRangeTask(UThreadTaskContext& task)
{
    auto* typed = dynamic_cast<Task*>(&task);
    if (typed == nullptr)
        UFemRaiseProgramError(QStringLiteral("No value range task installed."));
    return *typed;
}

template <typename Task>
bool startValueRangeTask(Task& task, UFemDataController& dataController, quint64 threadCount)
{
    if (task.isValueValid())
        return false;
    if (!task.isValueValidOrRunning())
        UFemPrepareValueRangeCardArraysForWorkers(dataController);
    task.setArgumentIfNeededWithDelegate(&dataController);
    bool isCanceled = false;
    const bool started = task.startThreadIfNeededWithThreadCount(threadCount, &isCanceled);
    return started && !isCanceled;
}

bool waitValueRangeTask(UThreadTaskContext& task, bool* isCanceled)
{
    if (task.waitAllThreadDone())
        return true;
    if (isCanceled != nullptr && task.cancelFlag())
        *isCanceled = true;
    return false;
}

// A run whose worker failed ends failed, yet its errors are the answer the frame shows: such a run
// counts as finished, so that its errors arrive once instead of the range staying unsettled.
template <typename Task>
bool startAndWaitValueRangeTask(Task& task, UFemDataController& dataController, quint64 threadCount,
    std::vector<UErrorPtr>* errorArray, bool* isCanceled)
{
    if (!task.isValueValidOrRunning() && !task.isCanceled())
        startValueRangeTask(task, dataController, threadCount);
    bool wasCanceled = false;
    if (waitValueRangeTask(task, &wasCanceled)) {
        *errorArray = task.errorArray();
        return true;
    }
    if (wasCanceled) {
        if (isCanceled != nullptr)
            *isCanceled = true;
        return false;
    }
    *errorArray = task.errorArray();
    return !errorArray->empty();
}

} // namespace

quint64 UFemValueRangeThreadCountWithForegroundTaskThreadCount(quint64 foregroundTaskThreadCount)
{
    return UThreadCountWithThreadCountFactor(
        foregroundTaskThreadCount, valueRangeMaximumThreadCount, valueRangeThreadCountFactor);
}

quint64 UFemForegroundTaskThreadCountOfDataController(const UFemDataController& dataController)
{
    const auto* document = dynamic_cast<const UFemDocument*>(dataController.delegate());
    if (document == nullptr)
        return UThreadCountPreference::foregroundTaskThreadCount();
    return document->documentUserPreferences()->foregroundTaskThreadCount();
}

// The per-type card arrays are rebuilt on their first read after a change; reading them once,
// before any worker reads them, keeps the workers' reads free of writes.
// The workers also ask cards for their rows (a name's cards come in row order); a row not yet
// known is searched for through the whole table, so every card learns its row here, in one pass.
void UFemPrepareValueRangeCardArraysForWorkers(UFemDataController& dataController)
{
    dataController.caseCardArray();
    dataController.forceCardArray();
    dataController.nodeCardArray();
    dataController.restraintCardArray();
    quint64 row = 0;
    for (const UFemCardPtr& card : dataController.cardArray())
        card->setCardRowIndex_last(row++);
}

bool UFemStartForceValueRangeCalcThreadIfNeededWithThreadCountToRun(
    UFemDataController& dataController, quint64 threadCount)
{
    return startValueRangeTask(valueRangeTask<UFemForceValueRangeCalcThreadTaskContext>(
                                   dataController.forceValueRangeCalcThreadTaskContext()),
        dataController, threadCount);
}

bool UFemStartDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(
    UFemDataController& dataController, quint64 threadCount)
{
    return startValueRangeTask(valueRangeTask<UFemDisplacementValueRangeCalcThreadTaskContext>(
                                   dataController.displacementValueRangeCalcThreadTaskContext()),
        dataController, threadCount);
}

bool UFemWaitForceValueRangeCalcThreadFinished_isCanceled(
    UFemDataController& dataController, bool* isCanceled)
{
    return waitValueRangeTask(dataController.forceValueRangeCalcThreadTaskContext(), isCanceled);
}

bool UFemWaitDisplacementValueRangeCalcThreadFinished_isCanceled(
    UFemDataController& dataController, bool* isCanceled)
{
    return waitValueRangeTask(
        dataController.displacementValueRangeCalcThreadTaskContext(), isCanceled);
}

bool UFemGetForceValueRangeToMaxForceValuePtr(UFemDataController& dataController,
    double* maxForceValue, double* maxMomentValue, std::vector<UErrorPtr>* errorArray,
    quint64 threadCount, bool* isCanceled)
{
    auto& task = valueRangeTask<UFemForceValueRangeCalcThreadTaskContext>(
        dataController.forceValueRangeCalcThreadTaskContext());
    std::vector<UErrorPtr> errors;
    if (!startAndWaitValueRangeTask(task, dataController, threadCount, &errors, isCanceled))
        return false;
    std::lock_guard lock(task);
    const bool hasErrors = !errors.empty();
    *errorArray = std::move(errors);
    *maxForceValue = hasErrors ? 0.0 : task.maxForceValue();
    *maxMomentValue = hasErrors ? 0.0 : task.maxMomentValue();
    return true;
}

bool UFemGetDisplacementValueRangeToMaxDisplacementValuePtr(UFemDataController& dataController,
    double* maxDisplacementValue, std::vector<UErrorPtr>* errorArray, quint64 threadCount,
    bool* isCanceled)
{
    auto& task = valueRangeTask<UFemDisplacementValueRangeCalcThreadTaskContext>(
        dataController.displacementValueRangeCalcThreadTaskContext());
    std::vector<UErrorPtr> errors;
    if (!startAndWaitValueRangeTask(task, dataController, threadCount, &errors, isCanceled))
        return false;
    std::lock_guard lock(task);
    *maxDisplacementValue = errors.empty() ? task.maxDisplacementValue() : 0.0;
    *errorArray = std::move(errors);
    return true;
}

void UFemInstallGraphicViewValueRangeServices(UFemDataControllerServices& services)
{
    services.makeForceValueRangeCalcThreadTaskContext = [](UFemDataController&) {
        return std::make_unique<UFemForceValueRangeCalcThreadTaskContext>();
    };
    services.makeDisplacementValueRangeCalcThreadTaskContext = [](UFemDataController&) {
        return std::make_unique<UFemDisplacementValueRangeCalcThreadTaskContext>();
    };
}
