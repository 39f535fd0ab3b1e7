#include "graphicview/tasks/UFemRubberbandCardIndexTableCalcThreadTaskContext.h"

#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

#include <mutex>

UFemRubberbandCardIndexTableCalcThreadTaskContext::
    ~UFemRubberbandCardIndexTableCalcThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemRubberbandCardIndexTableCalcThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate_ = nullptr;
    {
        std::lock_guard listLock(cardIndexList_.lockCondition());
        cardIndexList_.clear();
    }
    doesUpdateSelectedCardSetManager_ = false;
    selectedCardSetManagerChangeIdentifier_ = 0;
    selectedCardSet_immutable_.clear();
    selectBufferHitObjectWritingThreadTaskContext_ = nullptr;
}

bool UFemRubberbandCardIndexTableCalcThreadTaskContext::setArgumentIfNeededWithDelegate(
    Delegate* delegate, quint64 cardIndexTableCapacity, bool doesUpdateSelectedCardSetManager,
    quint64 selectedCardSetManagerChangeIdentifier, UFemCardSet selectedCardSet_immutable,
    UFemSelectBufferHitObjectWritingThreadTaskContext*
        selectBufferHitObjectWritingThreadTaskContext)
{
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] {
        delegate_ = delegate;
        {
            std::lock_guard listLock(cardIndexList_.lockCondition());
            cardIndexList_.growToCapacity(cardIndexTableCapacity);
        }
        doesUpdateSelectedCardSetManager_ = doesUpdateSelectedCardSetManager;
        selectedCardSetManagerChangeIdentifier_ = selectedCardSetManagerChangeIdentifier;
        selectedCardSet_immutable_ = std::move(selectedCardSet_immutable);
        selectBufferHitObjectWritingThreadTaskContext_
            = selectBufferHitObjectWritingThreadTaskContext;
    });
}

bool UFemRubberbandCardIndexTableCalcThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    return delegate_->runRubberbandCardIndexTableCalcWithThreadContext(threadContext);
}
