#include "graphicview/UFemGraphicViewPicker.h"

#include "cardmodel/data/UFemWindowCardTable.h"

#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"
#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"

#include <limits>

namespace {

using HitWriter = UFemSelectBufferHitObjectWritingThreadTaskContext;

constexpr quint64 hitMinimumDepthWord = 1;
constexpr quint64 hitNameWord = 3;
// Readers of a list see its count grow in steps of this many cards.
constexpr quint64 listPublishingStep = 256;

// Marks the list complete on every way out, so that its readers never wait for it.
class ListFinisher {
public:
    explicit ListFinisher(UFemGraphicViewDrawingCardIndexList& list)
        : list_(list)
    {
    }
    ~ListFinisher()
    {
        std::lock_guard lock(list_.lockCondition());
        list_.setCardIndexCount(count);
        list_.setValid(true);
        list_.lockCondition().broadcast();
    }
    ListFinisher(const ListFinisher&) = delete;
    ListFinisher& operator=(const ListFinisher&) = delete;
    // Appends under the list's lock and publishes every 256 entries.
    void append(quint64 cacheIndex)
    {
        std::lock_guard lock(list_.lockCondition());
        list_.cardIndexTable()[count++] = cacheIndex;
        if (count % listPublishingStep == 0) {
            list_.setCardIndexCount(count);
            list_.lockCondition().broadcast();
        }
    }
    void publish()
    {
        std::lock_guard lock(list_.lockCondition());
        if (list_.cardIndexCount() == count)
            return;
        list_.setCardIndexCount(count);
        list_.lockCondition().broadcast();
    }
    quint64 count = 0;

private:
    UFemGraphicViewDrawingCardIndexList& list_;
};

} // namespace

UFemGraphicViewPicker::UFemGraphicViewPicker(UFemGraphicViewController& controller)
    : controller_(controller)
    , hitWriter_(static_cast<UFemSelectBufferHitObjectWritingThreadTaskContext&>(
          controller.selectBufferHitObjectWritingThreadTaskContext()))
    , selectedTask_(static_cast<UFemSelectedCardIndexTableCalcThreadTaskContext&>(
          controller.selectedCardIndexTableCalcThreadTaskContext()))
    , rubberbandTask_(static_cast<UFemRubberbandCardIndexTableCalcThreadTaskContext&>(
          controller.rubberbandCardIndexTableCalcThreadTaskContext()))
    , compositor_(controller,
          static_cast<UFemBufferDrawingThreadTaskContext&>(
              controller.bufferDrawingThreadTaskContext_selectMode()),
          static_cast<UFemLayerImageDrawingThreadTaskContext&>(
              controller.layerImageDrawingThreadTaskContext_selectMode()))
{
}

bool UFemGraphicViewPicker::startHitWriter(const QRectF& rect, quint64 pickMask, quint64 cardCount,
    std::function<void()> onDrawn, bool isHitDepthNeeded)
{
    // A click or a band waits for a select geometry a tip has set building.
    hitWriter_.waitAllThreadDone();
    hitWriter_.clearAll_shouldNotRunning();
    isPreparingSelectGeometry_ = onDrawn != nullptr;
    onDrawn_ = std::move(onDrawn);
    if (controller_.graphicView() == nullptr
        || controller_.openGLManagerWithOpenGLContextIndex(1) == nullptr)
        return false;
    drawRectInfo_
        = controller_.graphicView()->drawRectInfoWithOutputType(UGLDrawingOutputTypeSelectMode);
    threadCount_ = UFemForegroundTaskThreadCountOfDataController(controller_.dataController());
    if (!hitWriter_.setArgumentIfNeededWithDelegate(
            this, rect, pickMask, cardCount * selectionBufferWordsPerCard, isHitDepthNeeded))
        return false;
    bool isCanceled = false;
    hitWriter_.startThreadIfNeeded_isCanceled(&isCanceled);
    return !isCanceled;
}

bool UFemGraphicViewPicker::runSelectBufferHitObjectWritingWithThreadContext(UThreadContext&)
{
    const bool isDrawn
        = compositor_.composeSelectMode(drawRectInfo_, threadCount_, hitWriter_.pickViewRect(),
            hitWriter_.drawingCardTypeIndexes(), hitWriter_, selectGeometries_);
    if (isDrawn && onDrawn_)
        onDrawn_();
    return isDrawn;
}

void UFemGraphicViewPicker::outdatePass()
{
    if (isPreparingSelectGeometry_ && !hitWriter_.isValueValid()
        && (hitWriter_.isRunning() || hitWriter_.isReadyToRun())) {
        hitWriter_.requestCancel();
        compositor_.requestSelectModeCancel();
    }
    hitWriter_.waitAllThreadDone();
}

bool UFemGraphicViewPicker::isSelectGeometryReady(quint64 pickMask) const
{
    if (controller_.isRedisplayRequiredWhenCalculationDone()
        || !controller_.cardValueDataCalcThreadTaskContext().isValueValid())
        return false;
    UFemGraphicViewDrawingCacheManager& caches = controller_.drawingCacheManager();
    std::lock_guard lock(caches.drawingCardTypeInfoRecordTableLockCondition());
    if (!caches.isDrawingCardTypeInfoRecordTableValid())
        return false;
    const UFemDrawingCardTypeInfoRecordTable& records = caches.drawingCardTypeInfoRecordTable();
    for (quint64 record = 0; record < UFemDrawingCardTypeInfoRecord::selectableRecordCount;
         ++record) {
        if ((pickMask & (quint64(1) << record)) != 0 && records.at(record).doesCardTypeDraw
            && !controller_.isSelectModeDisplayListValid(record))
            return false;
    }
    return true;
}

// The pass's rectangle lies outside the view, so that it draws nothing once its geometry is built.
void UFemGraphicViewPicker::prepareSelectGeometry(quint64 pickMask, std::function<void()> onReady)
{
    if (isPreparingSelectGeometry_ && hitWriter_.isRunning())
        return;
    controller_.startFrameCalculations();
    const QRectF outside(
        -4 * pickPointRadius, -4 * pickPointRadius, pickPointRadius, pickPointRadius);
    startHitWriter(outside, pickMask, 1, std::move(onReady));
}

// Hits are read as the writer publishes them; a strictly smaller depth wins, so the first of
// equal depths stays.
quint64 UFemGraphicViewPicker::hitObjectNameInViewRect(const QRectF& rect, quint64 pickMask)
{
    if (controller_.isRedisplayRequiredWhenCalculationDone())
        return noHitObjectName;
    controller_.startFrameCalculations();
    if (!startHitWriter(rect, pickMask, controller_.windowCardTable().count()))
        return noHitObjectName;
    GLuint bestDepth = std::numeric_limits<GLuint>::max();
    quint64 bestName = noHitObjectName;
    quint64 consumed = 0;
    std::vector<GLuint> hits;
    for (;;) {
        using HitWait = UFemSelectBufferHitObjectWritingThreadTaskContext::HitWait;
        const HitWait wait = hitWriter_.waitForHitsAfter(consumed, &hits);
        if (wait == HitWait::finished)
            return bestName;
        if (wait == HitWait::failed)
            return noHitObjectName;
        for (quint64 word = 0; word + HitWriter::hitRecordWordCount <= hits.size();
             word += HitWriter::hitRecordWordCount) {
            if (hits[word + hitMinimumDepthWord] < bestDepth) {
                bestDepth = hits[word + hitMinimumDepthWord];
                bestName = hits[word + hitNameWord];
            }
        }
        consumed += hits.size() / HitWriter::hitRecordWordCount;
    }
}

UFemCardPtr UFemGraphicViewPicker::cardInViewRect(const QRectF& rect, quint64 pickMask)
{
    const quint64 name = hitObjectNameInViewRect(rect, pickMask);
    if (name == noHitObjectName)
        return nullptr;
    const UFemGraphicViewDrawingCardValueDataCache& cache
        = controller_.drawingCacheManager().drawingCardValueDataCache();
    if (name >= cache.cardCount_selectableCard)
        return nullptr;
    UFemCard* card = cache.cardValueData(name).card;
    return card != nullptr ? card->shared_from_this() : nullptr;
}

UFemCardPtr UFemGraphicViewPicker::cardAtViewPoint(QPointF point, quint64 pickMask)
{
    return cardInViewRect(QRectF(point.x() - pickPointRadius, point.y() - pickPointRadius,
                              2 * pickPointRadius, 2 * pickPointRadius),
        pickMask);
}

bool UFemGraphicViewPicker::startSelectedCardIndexTable(const UFemCardSet& selectedCardSet)
{
    if (!selectedTask_.setArgumentIfNeededWithDelegate(this, selectedCardSet))
        return !selectedTask_.isCanceled();
    bool isCanceled = false;
    selectedTask_.startThreadIfNeeded_isCanceled(&isCanceled);
    return !isCanceled;
}

bool UFemGraphicViewPicker::runSelectedCardIndexTableCalcWithThreadContext(UThreadContext&)
{
    UFemGraphicViewDrawingCardIndexList& list = selectedTask_.cardIndexList();
    ListFinisher finisher(list);
    const UFemCardSet& set = selectedTask_.selectedCardSet_immutable();
    if (set.empty())
        return true;
    const UFemGraphicViewDrawingCardValueDataCache& cache
        = controller_.drawingCacheManager().drawingCardValueDataCache();
    for (quint64 index = 0; index < cache.cardCount_selectableCard; ++index) {
        if (selectedTask_.cancelFlag())
            return false;
        UFemCard* card = cache.cardValueData(index).card;
        if (card != nullptr && finisher.count < list.cardIndexTableCapacity()
            && set.contains(card->shared_from_this()))
            finisher.append(index);
    }
    return true;
}

quint64 UFemGraphicViewPicker::startUpdateRubberbandCardIndexTable(const QRectF& rect,
    quint64 pickMask, bool doesUpdateSelectedCard, quint64 changeIdentifier,
    const UFemCardSet& selectedCardSet)
{
    UFemWindowController& window = *controller_.windowController();
    const quint64 cardCount = controller_.windowCardTable().count();
    UFemCardSetManager& manager = window._selectedCardSetManager();
    const UFemCardSet& set = selectedCardSet;
    rubberbandTask_.clearAll_shouldNotRunning();
    bool isCanceled = !startHitWriter(rect, pickMask, cardCount, {}, /*isHitDepthNeeded=*/false);
    if (!isCanceled
        && rubberbandTask_.setArgumentIfNeededWithDelegate(
            this, cardCount, doesUpdateSelectedCard, changeIdentifier, set, &hitWriter_))
        rubberbandTask_.startThreadIfNeeded_isCanceled(&isCanceled);
    else
        isCanceled = true;
    if (isCanceled && changeIdentifier != 0) {
        // A prepared hand-over is always finished, here with the old set.
        manager.setCardArrayOrCardSetByOtherThread(set, changeIdentifier);
        manager.waitFinishChangeByOtherThreadWithChangeIdentifier(changeIdentifier);
        return 0;
    }
    return isCanceled ? 0 : changeIdentifier;
}

// Only cards that were not selected join the list, and the manager adds them to the selection.
bool UFemGraphicViewPicker::runRubberbandCardIndexTableCalcWithThreadContext(UThreadContext&)
{
    UFemGraphicViewDrawingCardIndexList& list = rubberbandTask_.cardIndexList();
    const UFemCardSet& selected = rubberbandTask_.selectedCardSet_immutable();
    UFemCardVector added;
    bool isComplete = false;
    {
        ListFinisher finisher(list);
        const UFemGraphicViewDrawingCardValueDataCache& cache
            = controller_.drawingCacheManager().drawingCardValueDataCache();
        // A card hits once for each of its primitives in the band; its first hit counts.
        std::vector<bool> isHit(cache.cardCount_selectableCard, false);
        quint64 consumed = 0;
        std::vector<GLuint> hits;
        for (;;) {
            using HitWait = UFemSelectBufferHitObjectWritingThreadTaskContext::HitWait;
            const HitWait wait = hitWriter_.waitForHitsAfter(consumed, &hits);
            if (wait != HitWait::newHits) {
                isComplete = wait == HitWait::finished;
                break;
            }
            for (quint64 word = 0; word + HitWriter::hitRecordWordCount <= hits.size();
                 word += HitWriter::hitRecordWordCount) {
                const quint64 name = hits[word + hitNameWord];
                if (name >= cache.cardCount_selectableCard || isHit[name]
                    || finisher.count >= list.cardIndexTableCapacity())
                    continue;
                isHit[name] = true;
                UFemCard* card = cache.cardValueData(name).card;
                if (card == nullptr)
                    continue;
                UFemCardPtr shared = card->shared_from_this();
                if (selected.contains(shared))
                    continue;
                finisher.append(name);
                added.push_back(std::move(shared));
            }
            consumed += hits.size() / HitWriter::hitRecordWordCount;
            finisher.publish();
        }
    }
    if (rubberbandTask_.doesUpdateSelectedCardSetManager()) {
        if (!isComplete)
            added.clear();
        controller_.windowController()
            ->_selectedCardSetManager()
            .addCardArrayOrCardSetByOtherThread(
                added, rubberbandTask_.selectedCardSetManagerChangeIdentifier());
    }
    return isComplete;
}
