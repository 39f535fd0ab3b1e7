#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"

#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace {

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
    isHitDepthNeeded_ = true;
    hitObjectCount_ = 0;
}

bool UFemSelectBufferHitObjectWritingThreadTaskContext::setArgumentIfNeededWithDelegate(
    Delegate* delegate, const QRectF& pickViewRect, quint64 drawingCardTypeIndexes,
    quint64 selectionBufferCapacity, bool isHitDepthNeeded)
{
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] {
        delegate_ = delegate;
        pickViewRect_ = pickViewRect;
        drawingCardTypeIndexes_ = drawingCardTypeIndexes;
        isHitDepthNeeded_ = isHitDepthNeeded;
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

quint64 UFemSelectBufferHitObjectWritingThreadTaskContext::appendHitsWithoutDepth_whileLocked(
    quint64 hitCount, const std::vector<GLuint>& names)
{
    const quint64 newCount = hitCount + names.size();
    while (selectionBuffer_.size() < newCount * hitRecordWordCount)
        growSelectionBuffer_whileLocked();
    GLuint* record = selectionBuffer_.data() + hitCount * hitRecordWordCount;
    for (const GLuint name : names) {
        record[0] = 1; // names on the stack
        record[1] = 0; // minimum depth
        record[2] = 0; // maximum depth
        record[3] = name;
        record += hitRecordWordCount;
    }
    return newCount;
}

void UFemSelectBufferHitObjectWritingThreadTaskContext::publishHitObjectCount_whileLocked(
    quint64 hitObjectCount)
{
    hitObjectCount_ = hitObjectCount;
    broadcast();
}
