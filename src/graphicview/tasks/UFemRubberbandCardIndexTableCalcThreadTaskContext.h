#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "foundation/threads/UThreadTaskContext.h"
#include "graphicview/tasks/UFemGraphicViewDrawingCardIndexList.h"

class UFemSelectBufferHitObjectWritingThreadTaskContext;

// Turns the hits of a rubber-band pick into cache indexes on one worker, and prepares the
// selection change it may hand to the selected-card set.
class UFemRubberbandCardIndexTableCalcThreadTaskContext final : public UThreadTaskContext {
public:
    class Delegate {
    public:
        virtual ~Delegate() = default;
        virtual bool runRubberbandCardIndexTableCalcWithThreadContext(UThreadContext& threadContext)
            = 0;
    };

    UFemRubberbandCardIndexTableCalcThreadTaskContext() = default;
    ~UFemRubberbandCardIndexTableCalcThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // Grows the list to the capacity; the hit-writer task is not owned.
    bool setArgumentIfNeededWithDelegate(Delegate* delegate, quint64 cardIndexTableCapacity,
        bool doesUpdateSelectedCardSetManager, quint64 selectedCardSetManagerChangeIdentifier,
        UFemCardSet selectedCardSet_immutable,
        UFemSelectBufferHitObjectWritingThreadTaskContext*
            selectBufferHitObjectWritingThreadTaskContext);
    quint64 specifiedThreadCount() const override { return 1; }
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;

    UFemGraphicViewDrawingCardIndexList& cardIndexList() { return cardIndexList_; }
    bool doesUpdateSelectedCardSetManager() const { return doesUpdateSelectedCardSetManager_; }
    quint64 selectedCardSetManagerChangeIdentifier() const
    {
        return selectedCardSetManagerChangeIdentifier_;
    }
    const UFemCardSet& selectedCardSet_immutable() const { return selectedCardSet_immutable_; }
    UFemSelectBufferHitObjectWritingThreadTaskContext*
    selectBufferHitObjectWritingThreadTaskContext() const
    {
        return selectBufferHitObjectWritingThreadTaskContext_;
    }

private:
    Delegate* delegate_ = nullptr;
    UFemGraphicViewDrawingCardIndexList cardIndexList_;
    bool doesUpdateSelectedCardSetManager_ = false;
    quint64 selectedCardSetManagerChangeIdentifier_ = 0;
    UFemCardSet selectedCardSet_immutable_;
    UFemSelectBufferHitObjectWritingThreadTaskContext*
        selectBufferHitObjectWritingThreadTaskContext_
        = nullptr;
};
