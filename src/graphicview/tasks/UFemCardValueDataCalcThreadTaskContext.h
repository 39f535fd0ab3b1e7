#pragma once

#include "foundation/threads/UThreadTaskContext.h"
#include "graphicview/tasks/UFemGraphicViewThreadTaskRecords.h"

class UFemGraphicViewDrawingCardValueDataCache;

// Fills the card value data cache (deformed node positions and colour values per drawn card) for
// the card type records it names; tells its delegate once when all its threads have finished,
// whether they filled it or failed.
class UFemCardValueDataCalcThreadTaskContext final : public UThreadTaskContext {
public:
    class Delegate {
    public:
        virtual ~Delegate() = default;
        virtual bool calculateCardValueDataCacheWithThreadContext(UThreadContext& threadContext)
            = 0;
        // Under the task lock, by the last thread of a run that succeeded or failed; a canceled
        // run ends without it.
        virtual void cardValueDataCalcThreadTaskDidFinishedWithThreadContext(
            UThreadContext& threadContext)
            = 0;
    };

    UFemCardValueDataCalcThreadTaskContext() = default;
    ~UFemCardValueDataCalcThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // Copies the record indexes (at most nine) and keeps the cache pointer (not owned).
    bool setArgumentIfNeededWithDelegate(Delegate* delegate, const quint64* targetRecordIndexTable,
        quint64 targetRecordIndexCount,
        UFemGraphicViewDrawingCardValueDataCache* cardValueDataCache);
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;
    bool doThreadFinalizationTaskWithThreadContext(UThreadContext& threadContext) override;
    void doThreadFailureTaskWithThreadContext(UThreadContext& threadContext) override;

    const UFemGraphicViewTargetRecordIndexes& targetRecordIndexes() const
    {
        return targetRecordIndexes_;
    }
    UFemGraphicViewDrawingCardValueDataCache* cardValueDataCachePtr() const
    {
        return cardValueDataCache_;
    }

private:
    Delegate* delegate_ = nullptr;
    UFemGraphicViewTargetRecordIndexes targetRecordIndexes_;
    UFemGraphicViewDrawingCardValueDataCache* cardValueDataCache_ = nullptr;
};
