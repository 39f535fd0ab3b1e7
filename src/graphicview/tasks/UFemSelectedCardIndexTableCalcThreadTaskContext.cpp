#include "graphicview/tasks/UFemSelectedCardIndexTableCalcThreadTaskContext.h"

#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

#include <mutex>

UFemSelectedCardIndexTableCalcThreadTaskContext::~UFemSelectedCardIndexTableCalcThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemSelectedCardIndexTableCalcThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate_ = nullptr;
    {
        std::lock_guard listLock(cardIndexList_.lockCondition());
        cardIndexList_.clear();
    }
    selectedCardSet_immutable_.clear();
}

bool UFemSelectedCardIndexTableCalcThreadTaskContext::setArgumentIfNeededWithDelegate(
    Delegate* delegate, UFemCardSet selectedCardSet_immutable)
{
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] {
        delegate_ = delegate;
        {
            std::lock_guard listLock(cardIndexList_.lockCondition());
            cardIndexList_.growToCapacity(selectedCardSet_immutable.size());
        }
        selectedCardSet_immutable_ = std::move(selectedCardSet_immutable);
    });
}

bool UFemSelectedCardIndexTableCalcThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    return delegate_->runSelectedCardIndexTableCalcWithThreadContext(threadContext);
}
