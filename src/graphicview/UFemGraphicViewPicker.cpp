#include "graphicview/UFemGraphicViewPicker.h"

#include "cardmodel/data/UFemWindowCardTable.h"

#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"

#include <limits>

namespace {

constexpr quint64 hitRecordWordCount = 4;
constexpr quint64 hitMinimumDepthWord = 1;
constexpr quint64 hitNameWord = 3;

} // namespace

UFemGraphicViewPicker::UFemGraphicViewPicker(UFemGraphicViewController& controller)
    : controller_(controller)
    , hitWriter_(static_cast<UFemSelectBufferHitObjectWritingThreadTaskContext&>(
          controller.selectBufferHitObjectWritingThreadTaskContext()))
    , compositor_(controller,
          static_cast<UFemBufferDrawingThreadTaskContext&>(
              controller.bufferDrawingThreadTaskContext_selectMode()),
          static_cast<UFemLayerImageDrawingThreadTaskContext&>(
              controller.layerImageDrawingThreadTaskContext_selectMode()))
{
}

bool UFemGraphicViewPicker::startHitWriter(const QRectF& rect, quint64 pickMask, quint64 cardCount)
{
    hitWriter_.clearAll_shouldNotRunning();
    if (controller_.graphicView() == nullptr
        || controller_.openGLManagerWithOpenGLContextIndex(1) == nullptr)
        return false;
    drawRectInfo_
        = controller_.graphicView()->drawRectInfoWithOutputType(UGLDrawingOutputTypeSelectMode);
    threadCount_ = UFemForegroundTaskThreadCountOfDataController(controller_.dataController());
    if (!hitWriter_.setArgumentIfNeededWithDelegate(
            this, rect, pickMask, cardCount * selectionBufferWordsPerCard))
        return false;
    bool isCanceled = false;
    hitWriter_.startThreadIfNeeded_isCanceled(&isCanceled);
    return !isCanceled;
}

bool UFemGraphicViewPicker::runSelectBufferHitObjectWritingWithThreadContext(UThreadContext&)
{
    return compositor_.composeSelectMode(drawRectInfo_, threadCount_, hitWriter_.pickViewRect(),
        hitWriter_.drawingCardTypeIndexes(), hitWriter_);
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
        for (quint64 word = 0; word + hitRecordWordCount <= hits.size();
             word += hitRecordWordCount) {
            if (hits[word + hitMinimumDepthWord] < bestDepth) {
                bestDepth = hits[word + hitMinimumDepthWord];
                bestName = hits[word + hitNameWord];
            }
        }
        consumed += hits.size() / hitRecordWordCount;
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
