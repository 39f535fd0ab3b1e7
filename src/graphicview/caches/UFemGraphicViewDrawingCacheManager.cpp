#include "graphicview/caches/UFemGraphicViewDrawingCacheManager.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "graphicview/caches/UFemGraphicViewDrawingCacheSource.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "graphicview/tasks/UFemRubberbandCardIndexTableCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemSelectedCardIndexTableCalcThreadTaskContext.h"

#include <cmath>
#include <mutex>

namespace {

using Cache = UFemGraphicViewDrawingPreferenceCache;

// A colour range narrower than this part of its larger end cannot spread the colours.
constexpr double tooCloseRangeFraction = 0.01;

void appendErrors(Cache& cache, const std::vector<UErrorPtr>& errors)
{
    cache.drawingErrorArray.insert(cache.drawingErrorArray.end(), errors.begin(), errors.end());
}

bool waitTask(UThreadTaskContext& task, bool* isCanceled)
{
    if (task.waitAllThreadDone())
        return true;
    if (isCanceled != nullptr && task.cancelFlag())
        *isCanceled = true;
    return false;
}

// The colour range or the reason it cannot colour.
UErrorPtr checkColorScaleRange(const Cache& cache, double minimum, double maximum)
{
    if (std::isnan(minimum) || std::isnan(maximum)) {
        const auto* expression = cache.cardValueExpressionForColor.get();
        const auto* filter = cache.cardFilterForColor.get();
        return UFemAutoColorByValueValueRangeNoCardRespondToCardValueTypeError_withCardValueTypeString(
            expression ? expression->cardValueExpressionString().value_or(QString()) : QString(),
            filter ? filter->cardFilterString() : QString());
    }
    if (minimum == maximum
        || maximum - minimum
            < tooCloseRangeFraction * std::max(std::fabs(minimum), std::fabs(maximum)))
        return UFemAutoColorByValueValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
            minimum, maximum);
    return nullptr;
}

} // namespace

UFemGraphicViewDrawingCacheManager::UFemGraphicViewDrawingCacheManager(
    UFemGraphicViewDrawingCacheSource& source, Tasks tasks)
    : source_(source)
    , tasks_(tasks)
{
}

UFemGraphicViewDrawingCacheManager::~UFemGraphicViewDrawingCacheManager()
{
    quitCardValueDataCalcThreadIfCalculating();
}

// ---- Preference cache

void UFemGraphicViewDrawingCacheManager::updateDrawingPreferenceCacheIfNeeded()
{
    std::lock_guard lock(drawingPreferenceCacheLockCondition_);
    if (isDrawingPreferenceCacheValid_)
        return;
    UFemDataController& dataController = source_.dataController();
    UFemPrepareValueRangeCardArraysForWorkers(dataController);
    Cache::Inputs inputs;
    inputs.currentCaseCardArray = source_.currentCaseCardArray();
    inputs.currentCaseCard = source_.currentCaseCard();
    inputs.hasResultData = dataController.hasResultData();
    inputs.objectLength = source_.objectLength();
    inputs.foregroundTaskThreadCount = source_.foregroundTaskThreadCount();
    inputs.modelCardArray = &dataController.cardArray();
    inputs.modelCaseCardArray = dataController.caseCardArray().toVector();
    drawingPreferenceCache_ = Cache::cacheWithSettings(source_.viewSettings(), std::move(inputs));
    isDrawingPreferenceCacheValid_ = true;
}

UFemGraphicViewDrawingPreferenceCache
UFemGraphicViewDrawingCacheManager::drawingPreferenceCache() const
{
    std::lock_guard lock(drawingPreferenceCacheLockCondition_);
    return drawingPreferenceCache_;
}

bool UFemGraphicViewDrawingCacheManager::isDrawingPreferenceCacheValid() const
{
    std::lock_guard lock(drawingPreferenceCacheLockCondition_);
    return isDrawingPreferenceCacheValid_;
}

// The lock is left while the range is fetched into a copy; only a value still automatic
// afterwards takes the copy's fields of that value (`apply`) and its new errors, so a clear or
// another settler in between wins.
bool UFemGraphicViewDrawingCacheManager::settleAutomaticValue(quint64 Cache::*status,
    const std::function<bool(Cache&, bool*)>& settle,
    const std::function<void(Cache&, const Cache&)>& apply, bool* cancelFlag)
{
    std::unique_lock lock(drawingPreferenceCacheLockCondition_);
    if (!isDrawingPreferenceCacheValid_ || drawingPreferenceCache_.*status != UFemValueStatusAuto)
        return true;
    Cache settled = drawingPreferenceCache_;
    const auto knownErrorCount = qsizetype(settled.drawingErrorArray.size());
    lock.unlock();
    bool isCanceled = false;
    if (!settle(settled, &isCanceled)) {
        if (isCanceled && cancelFlag != nullptr)
            *cancelFlag = true;
        return !isCanceled;
    }
    lock.lock();
    if (isDrawingPreferenceCacheValid_ && drawingPreferenceCache_.*status == UFemValueStatusAuto) {
        apply(drawingPreferenceCache_, settled);
        drawingPreferenceCache_.drawingErrorArray.insert(
            drawingPreferenceCache_.drawingErrorArray.end(),
            settled.drawingErrorArray.begin() + knownErrorCount, settled.drawingErrorArray.end());
        drawingPreferenceCacheLockCondition_.broadcast();
    }
    return true;
}

bool UFemGraphicViewDrawingCacheManager::
    waitAndUpdateDrawingPreferenceCacheIfNeeded_ForceScaleFactor(bool* cancelFlag)
{
    return settleAutomaticValue(
        &Cache::forceScaleFactorValueStatus,
        [this](Cache& cache, bool* isCanceled) {
            double maxForce = 0.0;
            double maxMoment = 0.0;
            std::vector<UErrorPtr> errors;
            if (!UFemGetForceValueRangeToMaxForceValuePtr(source_.dataController(), &maxForce,
                    &maxMoment, &errors, cache.foregroundTaskThreadCount, isCanceled))
                return false;
            appendErrors(cache, errors);
            const UFemGraphicViewSettings& settings = cache.settings;
            cache.forceScaleFactor = errors.empty()
                ? UFemAutoForceScaleFactor(settings.autoForceArrowLength, maxForce)
                : 0.0;
            cache.momentScaleFactor = errors.empty()
                ? UFemAutoForceScaleFactor(settings.autoForceMomentArrowLength, maxMoment)
                : 0.0;
            cache.forceScaleFactorValueStatus = UFemValueStatusGiven;
            return true;
        },
        [](Cache& cache, const Cache& settled) {
            cache.forceScaleFactorValueStatus = settled.forceScaleFactorValueStatus;
            cache.forceScaleFactor = settled.forceScaleFactor;
            cache.momentScaleFactor = settled.momentScaleFactor;
        },
        cancelFlag);
}

bool UFemGraphicViewDrawingCacheManager::
    waitAndUpdateDrawingPreferenceCacheIfNeeded_DispScaleFactor(bool* cancelFlag)
{
    return settleAutomaticValue(
        &Cache::dispScaleFactorValueStatus,
        [this](Cache& cache, bool* isCanceled) {
            double maxDisplacement = 0.0;
            std::vector<UErrorPtr> errors;
            if (!UFemGetDisplacementValueRangeToMaxDisplacementValuePtr(source_.dataController(),
                    &maxDisplacement, &errors, cache.foregroundTaskThreadCount, isCanceled))
                return false;
            appendErrors(cache, errors);
            cache.dispScaleFactor = errors.empty()
                ? UFemAutoDisplacementScaleFactor(cache.objectLength, maxDisplacement,
                    cache.settings.autoDisplacementPerObjectLengthFactor)
                : 0.0;
            cache.dispScaleFactorValueStatus = UFemValueStatusGiven;
            return true;
        },
        [](Cache& cache, const Cache& settled) {
            cache.dispScaleFactorValueStatus = settled.dispScaleFactorValueStatus;
            cache.dispScaleFactor = settled.dispScaleFactor;
        },
        cancelFlag);
}

bool UFemGraphicViewDrawingCacheManager::
    waitAndUpdateDrawingPreferenceCacheIfNeeded_ColorScaleRange(bool* cancelFlag)
{
    {
        // A range that failed is settled: its errors are shown once, not with every frame.
        std::lock_guard lock(drawingPreferenceCacheLockCondition_);
        if (drawingPreferenceCache_.didColorScaleRangeFail)
            return true;
    }
    return settleAutomaticValue(
        &Cache::colorScaleRangeValueStatus,
        [this](Cache& cache, bool* isCanceled) { return settleColorScaleRange(cache, isCanceled); },
        [](Cache& cache, const Cache& settled) {
            cache.colorScaleRangeValueStatus = settled.colorScaleRangeValueStatus;
            cache.colorScaleForColor = settled.colorScaleForColor;
            cache.didColorScaleRangeFail = settled.didColorScaleRangeFail;
        },
        cancelFlag);
}

bool UFemGraphicViewDrawingCacheManager::settleColorScaleRange(Cache& cache, bool* isCanceled)
{
    double minimum = 0.0;
    double maximum = 0.0;
    std::vector<UErrorPtr> errors;
    if (!getColorScaleRangeToMinCardValuePtr(&minimum, &maximum, &errors, isCanceled))
        return false;
    if (errors.empty()) {
        UErrorPtr error = checkColorScaleRange(cache, minimum, maximum);
        // The scale is the cache's own copy; a copy again keeps the cache's readers unaffected.
        auto scale = std::make_shared<UFemColorScale>(*cache.colorScaleForColor);
        if (!error && scale->setColorScaleValueRangeWithRangeMinValue(minimum, maximum, &error)) {
            cache.colorScaleForColor = std::move(scale);
            cache.colorScaleRangeValueStatus = UFemValueStatusGiven;
            return true;
        }
        errors.push_back(error);
    }
    appendErrors(cache, errors);
    cache.didColorScaleRangeFail = true;
    return true;
}

// ---- Starting, waiting, clearing

bool UFemGraphicViewDrawingCacheManager::startForceValueRangeCalcThreadIfNeededWithThreadCountToRun(
    quint64 threadCount)
{
    {
        std::lock_guard lock(drawingPreferenceCacheLockCondition_);
        if (drawingPreferenceCache_.forceScaleFactorValueStatus != UFemValueStatusAuto)
            return false;
    }
    return UFemStartForceValueRangeCalcThreadIfNeededWithThreadCountToRun(
        source_.dataController(), threadCount);
}

bool UFemGraphicViewDrawingCacheManager::
    startDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(quint64 threadCount)
{
    {
        std::lock_guard lock(drawingPreferenceCacheLockCondition_);
        if (drawingPreferenceCache_.dispScaleFactorValueStatus != UFemValueStatusAuto)
            return false;
    }
    return UFemStartDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(
        source_.dataController(), threadCount);
}

bool UFemGraphicViewDrawingCacheManager::startColorScaleRangeCalcThreadIfNeededWithThreadCountToRun(
    quint64 threadCount)
{
    UFemColorScaleRangeCalcThreadTaskContext& task = tasks_.colorScaleRange;
    {
        std::lock_guard lock(drawingPreferenceCacheLockCondition_);
        const Cache& cache = drawingPreferenceCache_;
        if (cache.colorScaleRangeValueStatus != UFemValueStatusAuto || task.isValueValid())
            return false;
        task.setArgumentIfNeededWithDelegate(this, cache.modelCardArray, cache.modelCaseCardArray,
            cache.cardFilterForColor, cache.cardValueExpressionForColor);
    }
    bool isCanceled = false;
    return task.startThreadIfNeededWithThreadCount(threadCount, &isCanceled) && !isCanceled;
}

bool UFemGraphicViewDrawingCacheManager::startCardValueDataCalcThreadIfNeededWithThreadCountToRun(
    quint64 threadCount)
{
    UFemCardValueDataCalcThreadTaskContext& task = tasks_.cardValueData;
    // A failed run stays failed until the next change: a start would only mark it canceled,
    // and frames would then wait for data that never comes instead of showing its errors.
    if (task.isValueValid() || task.isCanceled())
        return false;
    if (task.threadState() == UThreadTaskStateCleared) {
        std::lock_guard lock(drawingCardTypeInfoRecordTableLockCondition_);
        windowCardTypeCardArrays_ = source_.windowCardTypeCardArrays();
    }
    static constexpr quint64 recordIndexes[] = { 0, 1, 2, 3, 4, 5, 6 };
    task.setArgumentIfNeededWithDelegate(
        this, recordIndexes, std::size(recordIndexes), &drawingCardValueDataCache_);
    bool isCanceled = false;
    return task.startThreadIfNeededWithThreadCount(threadCount, &isCanceled) && !isCanceled;
}

bool UFemGraphicViewDrawingCacheManager::getColorScaleRangeToMinCardValuePtr(double* minCardValue,
    double* maxCardValue, std::vector<UErrorPtr>* errorArray, bool* isCanceled)
{
    UFemColorScaleRangeCalcThreadTaskContext& task = tasks_.colorScaleRange;
    if (!task.isValueValidOrRunning() && !task.isCanceled()) {
        quint64 threadCount = 1;
        {
            std::lock_guard lock(drawingPreferenceCacheLockCondition_);
            threadCount = drawingPreferenceCache_.foregroundTaskThreadCount;
        }
        startColorScaleRangeCalcThreadIfNeededWithThreadCountToRun(threadCount);
    }
    bool wasCanceled = false;
    const bool isValid = waitTask(task, &wasCanceled);
    if (wasCanceled) {
        if (isCanceled != nullptr)
            *isCanceled = true;
        return false;
    }
    std::lock_guard lock(task);
    *errorArray = task.errorArray_whileLock();
    if (!isValid && errorArray->empty())
        return false;
    *minCardValue = errorArray->empty() ? task.minCardValue() : 0.0;
    *maxCardValue = errorArray->empty() ? task.maxCardValue() : 0.0;
    return true;
}

bool UFemGraphicViewDrawingCacheManager::waitColorScaleRangeCalcThreadFinished_isCanceled(
    bool* isCanceled)
{
    return waitTask(tasks_.colorScaleRange, isCanceled);
}

bool UFemGraphicViewDrawingCacheManager::waitCardValueDataCalcThreadFinished_isCanceled(
    bool* isCanceled)
{
    return waitTask(tasks_.cardValueData, isCanceled);
}

void UFemGraphicViewDrawingCacheManager::quitColorScaleRangeCalcThreadIfCalculating()
{
    tasks_.colorScaleRange.cancelAndWaitQuitIfNotFinished();
}

void UFemGraphicViewDrawingCacheManager::quitCardValueDataCalcThreadIfCalculating()
{
    UThreadTaskContext::cancelAndWaitQuitIfNotFinishedWithThreadTaskContextList(
        { &tasks_.colorScaleRange, &tasks_.cardValueData, &tasks_.bufferDrawing_screen,
            &tasks_.layerImageDrawing_screen });
}

void UFemGraphicViewDrawingCacheManager::clearColorScaleRangeCache()
{
    tasks_.colorScaleRange.clearAll_shouldNotRunning();
}

bool UFemGraphicViewDrawingCacheManager::isAnyTaskRunning() const
{
    return UThreadTaskContext::isRunningAnyThreadWithThreadTaskContextList({
        &tasks_.colorScaleRange,
        &tasks_.cardValueData,
        &tasks_.selectBufferHitObjectWriting,
        &tasks_.selectedCardIndexTable,
        &tasks_.rubberbandCardIndexTable,
        &tasks_.bufferDrawing_screen,
        &tasks_.bufferDrawing_selectMode,
        &tasks_.layerImageDrawing_screen,
        &tasks_.layerImageDrawing_selectMode,
    });
}

// Clearing runs only while no task of the view runs, so it takes the preference cache, layer
// table and card type table locks one after the other, in that order, never nested: the workers
// that build the tables hold the card type or layer lock while they take the preference cache
// lock, and nesting them the other way here would be a lock-order inversion.
void UFemGraphicViewDrawingCacheManager::clearGraphicViewDrawingCache()
{
    if (isAnyTaskRunning())
        UFemRaiseProgramError(QStringLiteral("The drawing caches are cleared while a task runs."));
    UThreadTaskContext::clearAll_shouldNotRunning_withThreadTaskContextList(
        { &tasks_.cardValueData, &tasks_.selectBufferHitObjectWriting,
            &tasks_.selectedCardIndexTable, &tasks_.rubberbandCardIndexTable });
    {
        std::lock_guard lock(drawingPreferenceCacheLockCondition_);
        drawingPreferenceCache_ = Cache();
        isDrawingPreferenceCacheValid_ = false;
    }
    {
        std::lock_guard lock(drawingLayerImageInfoRecordTableLockCondition_);
        drawingLayerImageInfoRecordTable_ = {};
        isDrawingLayerImageInfoRecordTableValid_ = false;
    }
    std::lock_guard lock(drawingCardTypeInfoRecordTableLockCondition_);
    drawingCardTypeInfoRecordTable_ = {};
    isDrawingCardTypeInfoRecordTableValid_ = false;
    drawingCardValueDataCache_.reset();
}

// ---- Record tables

bool UFemGraphicViewDrawingCacheManager::
    waitAndUpdateDrawingLayerImageInfoRecordTableIfNeeded_cancelFlagPtr(bool*)
{
    std::lock_guard lock(drawingLayerImageInfoRecordTableLockCondition_);
    if (isDrawingLayerImageInfoRecordTableValid_)
        return true;
    std::lock_guard cacheLock(drawingPreferenceCacheLockCondition_);
    drawingLayerImageInfoRecordTable_
        = UFemMakeDrawingLayerImageInfoRecordTable(drawingPreferenceCache_);
    isDrawingLayerImageInfoRecordTableValid_ = true;
    return true;
}

bool UFemGraphicViewDrawingCacheManager::
    waitAndUpdateDrawingCardTypeInfoRecordTableIfNeeded_cancelFlagPtr(bool* cancelFlag)
{
    std::lock_guard lock(drawingCardTypeInfoRecordTableLockCondition_);
    if (isDrawingCardTypeInfoRecordTableValid_)
        return true;
    if (!waitAndUpdateDrawingPreferenceCacheIfNeeded_DispScaleFactor(cancelFlag)
        || !waitAndUpdateDrawingPreferenceCacheIfNeeded_ColorScaleRange(cancelFlag))
        return false;
    {
        std::lock_guard cacheLock(drawingPreferenceCacheLockCondition_);
        drawingCardTypeInfoRecordTable_
            = UFemMakeDrawingCardTypeInfoRecordTable(drawingPreferenceCache_,
                windowCardTypeCardArrays_, &tasks_.selectedCardIndexTable.cardIndexList(),
                &tasks_.rubberbandCardIndexTable.cardIndexList());
    }
    fillCardValueDataCache_whileLocked();
    isDrawingCardTypeInfoRecordTableValid_ = true;
    return true;
}

// Entries for the selectable cards and the undeformed ones, each record's cards at its location.
void UFemGraphicViewDrawingCacheManager::fillCardValueDataCache_whileLocked()
{
    const auto& records = drawingCardTypeInfoRecordTable_;
    UFemGraphicViewDrawingCardValueDataCache& cache = drawingCardValueDataCache_;
    quint64 total = 0;
    quint64 selectable = 0;
    for (const UFemDrawingCardTypeInfoRecord& record : records) {
        if (!record.doesCardTypeDraw || record.cardArray == nullptr)
            continue;
        total = std::max(total, record.cardRangeLocation + record.cardRangeLength);
        if (record.cardTypeIndex < UFemDrawingCardTypeInfoRecord::selectableRecordCount)
            selectable = std::max(selectable, record.cardRangeLocation + record.cardRangeLength);
    }
    cache.reset();
    cache.reserve(total);
    for (const UFemDrawingCardTypeInfoRecord& record : records) {
        if (!record.doesCardTypeDraw || record.cardArray == nullptr)
            continue;
        UFemCard** cards = cache.cardTable() + record.cardRangeLocation;
        for (const UFemCardPtr& card : *record.cardArray)
            *cards++ = card.get();
    }
    cache.cardCount_selectableCard = selectable;
    cache.cardCount_inBaseImage = total;
}

void UFemGraphicViewDrawingCacheManager::cardValueDataCalcThreadTaskDidFinishedWithThreadContext(
    UThreadContext&)
{
    source_.cardValueDataDidFinish();
}
