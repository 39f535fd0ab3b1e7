#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "foundation/threads/UThreadTaskContext.h"
#include "graphicview/tasks/UFemGraphicViewDrawingCardIndexList.h"

// Finds the cache indexes of the selected cards on one worker, for the selection layer.
class UFemSelectedCardIndexTableCalcThreadTaskContext final : public UThreadTaskContext {
public:
    class Delegate {
    public:
        virtual ~Delegate() = default;
        virtual bool runSelectedCardIndexTableCalcWithThreadContext(UThreadContext& threadContext)
            = 0;
    };

    UFemSelectedCardIndexTableCalcThreadTaskContext() = default;
    ~UFemSelectedCardIndexTableCalcThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // Grows the list to the set's count.
    bool setArgumentIfNeededWithDelegate(Delegate* delegate, UFemCardSet selectedCardSet_immutable);
    quint64 specifiedThreadCount() const override { return 1; }
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;

    UFemGraphicViewDrawingCardIndexList& cardIndexList() { return cardIndexList_; }
    const UFemCardSet& selectedCardSet_immutable() const { return selectedCardSet_immutable_; }

private:
    Delegate* delegate_ = nullptr;
    UFemGraphicViewDrawingCardIndexList cardIndexList_;
    UFemCardSet selectedCardSet_immutable_;
};
