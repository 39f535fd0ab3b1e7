#include "graphicview/tasks/UFemCardValueDataCalcThreadTaskContext.h"

#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

UFemCardValueDataCalcThreadTaskContext::~UFemCardValueDataCalcThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemCardValueDataCalcThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate_ = nullptr;
    targetRecordIndexes_.count = 0;
    cardValueDataCache_ = nullptr;
}

bool UFemCardValueDataCalcThreadTaskContext::setArgumentIfNeededWithDelegate(Delegate* delegate,
    const quint64* targetRecordIndexTable, quint64 targetRecordIndexCount,
    UFemGraphicViewDrawingCardValueDataCache* cardValueDataCache)
{
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] {
        delegate_ = delegate;
        targetRecordIndexes_.assign(targetRecordIndexTable, targetRecordIndexCount);
        cardValueDataCache_ = cardValueDataCache;
    });
}

bool UFemCardValueDataCalcThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    return delegate_->calculateCardValueDataCacheWithThreadContext(threadContext);
}

bool UFemCardValueDataCalcThreadTaskContext::doThreadFinalizationTaskWithThreadContext(
    UThreadContext& threadContext)
{
    delegate_->cardValueDataCalcThreadTaskDidFinishedWithThreadContext(threadContext);
    return true;
}

// A frame that gave up waiting for the data must hear of the failure too, or its progress box
// stays.
void UFemCardValueDataCalcThreadTaskContext::doThreadFailureTaskWithThreadContext(
    UThreadContext& threadContext)
{
    delegate_->cardValueDataCalcThreadTaskDidFinishedWithThreadContext(threadContext);
}
