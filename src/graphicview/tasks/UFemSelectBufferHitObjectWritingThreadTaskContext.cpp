#include "graphicview/tasks/UFemSelectBufferHitObjectWritingThreadTaskContext.h"

#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

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
        if (selectionBuffer_.size() < selectionBufferCapacity)
            selectionBuffer_
                = std::vector<GLuint>(selectionBufferCapacity + selectionBufferCapacityAddition);
        hitObjectCount_ = 0;
    });
}

bool UFemSelectBufferHitObjectWritingThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    return delegate_->runSelectBufferHitObjectWritingWithThreadContext(threadContext);
}
