#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"

#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {

constexpr quint64 hitRecordWordCount = 4;
// Waking up now and then also sees a writer that stopped without a broadcast.
constexpr auto hitWaitStep = std::chrono::milliseconds(50);

} // namespace

UFemSelectBufferHitObjectWritingThreadTaskContext::
    ~UFemSelectBufferHitObjectWritingThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemSelectBufferHitObjectWritingThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate_ = nullptr;
    pickViewRect_ = QRectF();
    drawingCardTypeIndexes_ = 0;
    hitObjectCount_ = 0;
}

bool UFemSelectBufferHitObjectWritingThreadTaskContext::setArgumentIfNeededWithDelegate(
    Delegate* delegate, const QRectF& pickViewRect, quint64 drawingCardTypeIndexes,
    quint64 selectionBufferCapacity)
{
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] {
        delegate_ = delegate;
        pickViewRect_ = pickViewRect;
        drawingCardTypeIndexes_ = drawingCardTypeIndexes;
        const quint64 capacity = std::min(selectionBufferCapacity, capacityLimit_);
        if (selectionBuffer_.size() < capacity)
            selectionBuffer_ = std::vector<GLuint>(capacity + selectionBufferCapacityAddition);
        hitObjectCount_ = 0;
    });
}

bool UFemSelectBufferHitObjectWritingThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    return delegate_->runSelectBufferHitObjectWritingWithThreadContext(threadContext);
}

UFemSelectBufferHitObjectWritingThreadTaskContext::HitWait
UFemSelectBufferHitObjectWritingThreadTaskContext::waitForHitsAfter(
    quint64 consumedHitCount, std::vector<GLuint>* hitRecords)
{
    hitRecords->clear();
    std::unique_lock lock(*this);
    while (hitObjectCount_ == consumedHitCount && (isRunning() || isReadyToRun()))
        waitUntilDate(std::chrono::steady_clock::now() + hitWaitStep);
    if (hitObjectCount_ > consumedHitCount)
        hitRecords->assign(
            selectionBuffer_.begin() + qsizetype(consumedHitCount * hitRecordWordCount),
            selectionBuffer_.begin() + qsizetype(hitObjectCount_ * hitRecordWordCount));
    if (!hitRecords->empty())
        return HitWait::newHits;
    return isValueValid() ? HitWait::finished : HitWait::failed;
}

void UFemSelectBufferHitObjectWritingThreadTaskContext::growSelectionBuffer_whileLocked()
{
    selectionBuffer_.resize(selectionBuffer_.size() * 2 + selectionBufferCapacityAddition);
}

void UFemSelectBufferHitObjectWritingThreadTaskContext::publishHitObjectCount_whileLocked(
    quint64 hitObjectCount)
{
    hitObjectCount_ = hitObjectCount;
    broadcast();
}
