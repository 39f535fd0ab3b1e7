#pragma once

#include "foundation/threads/UCondition.h"
#include "graphicview/caches/UFemDrawingCardTypeInfoRecord.h"
#include "graphicview/caches/UFemDrawingLayerImageInfoRecord.h"
#include "graphicview/caches/UFemGraphicViewDrawingCardValueDataCache.h"
#include "graphicview/caches/UFemGraphicViewDrawingPreferenceCache.h"
#include "graphicview/tasks/UFemCardValueDataCalcThreadTaskContext.h"
#include "graphicview/tasks/UFemColorScaleRangeCalcThreadTaskContext.h"

#include <functional>
#include <span>

class UFemGraphicViewDrawingCacheSource;
class UFemRubberbandCardIndexTableCalcThreadTaskContext;
class UFemSelectedCardIndexTableCalcThreadTaskContext;

// The four caches a 3-D view keeps between frames: the drawing preference cache with its
// automatic factors and colour range, the card type and layer record tables, and the card value
// data (deformed nodes and colour values per drawn card), with the workers that fill them.
//
// Locks: building the card type or layer table takes its own lock before the preference cache
// lock; clearing (only while no task of the view runs) takes the three one at a time.
class UFemGraphicViewDrawingCacheManager final
    : public UFemColorScaleRangeCalcThreadTaskContext::Delegate,
      public UFemCardValueDataCalcThreadTaskContext::Delegate {
public:
    // The view's tasks; the manager fills the first two and clears the picking ones.
    struct Tasks {
        UFemColorScaleRangeCalcThreadTaskContext& colorScaleRange;
        UFemCardValueDataCalcThreadTaskContext& cardValueData;
        UThreadTaskContext& selectBufferHitObjectWriting;
        UFemSelectedCardIndexTableCalcThreadTaskContext& selectedCardIndexTable;
        UFemRubberbandCardIndexTableCalcThreadTaskContext& rubberbandCardIndexTable;
        UThreadTaskContext& bufferDrawing_screen;
        UThreadTaskContext& bufferDrawing_selectMode;
        UThreadTaskContext& layerImageDrawing_screen;
        UThreadTaskContext& layerImageDrawing_selectMode;
    };

    UFemGraphicViewDrawingCacheManager(UFemGraphicViewDrawingCacheSource& source, Tasks tasks);
    ~UFemGraphicViewDrawingCacheManager() override;
    UFemGraphicViewDrawingCacheManager(const UFemGraphicViewDrawingCacheManager&) = delete;
    UFemGraphicViewDrawingCacheManager& operator=(const UFemGraphicViewDrawingCacheManager&)
        = delete;

    // ---- Preference cache (main thread builds it; workers settle its automatic values).
    void updateDrawingPreferenceCacheIfNeeded();
    // Each settles its automatic value once per cache: true, or false with *cancelFlag set when
    // the range was canceled.
    bool waitAndUpdateDrawingPreferenceCacheIfNeeded_ForceScaleFactor(bool* cancelFlag);
    bool waitAndUpdateDrawingPreferenceCacheIfNeeded_DispScaleFactor(bool* cancelFlag);
    bool waitAndUpdateDrawingPreferenceCacheIfNeeded_ColorScaleRange(bool* cancelFlag);
    // A copy taken under the lock.
    UFemGraphicViewDrawingPreferenceCache drawingPreferenceCache() const;
    bool isDrawingPreferenceCacheValid() const;

    // ---- Starting and waiting (main thread).
    bool startForceValueRangeCalcThreadIfNeededWithThreadCountToRun(quint64 threadCount);
    bool startDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(quint64 threadCount);
    bool startColorScaleRangeCalcThreadIfNeededWithThreadCountToRun(quint64 threadCount);
    bool startCardValueDataCalcThreadIfNeededWithThreadCountToRun(quint64 threadCount);
    bool getColorScaleRangeToMinCardValuePtr(double* minCardValue, double* maxCardValue,
        std::vector<UErrorPtr>* errorArray, bool* isCanceled);
    bool waitColorScaleRangeCalcThreadFinished_isCanceled(bool* isCanceled);
    bool waitCardValueDataCalcThreadFinished_isCanceled(bool* isCanceled);
    void quitColorScaleRangeCalcThreadIfCalculating();
    void quitCardValueDataCalcThreadIfCalculating();
    void clearColorScaleRangeCache();
    // Every cache dropped. A task of the view still running is a program error.
    void clearGraphicViewDrawingCache();

    // ---- Record tables (built by the first worker that needs them).
    bool waitAndUpdateDrawingLayerImageInfoRecordTableIfNeeded_cancelFlagPtr(bool* cancelFlag);
    bool waitAndUpdateDrawingCardTypeInfoRecordTableIfNeeded_cancelFlagPtr(bool* cancelFlag);
    // Under their locks, while valid.
    UCondition& drawingCardTypeInfoRecordTableLockCondition()
    {
        return drawingCardTypeInfoRecordTableLockCondition_;
    }
    bool isDrawingCardTypeInfoRecordTableValid() const
    {
        return isDrawingCardTypeInfoRecordTableValid_;
    }
    const UFemDrawingCardTypeInfoRecordTable& drawingCardTypeInfoRecordTable() const
    {
        return drawingCardTypeInfoRecordTable_;
    }
    UCondition& drawingLayerImageInfoRecordTableLockCondition()
    {
        return drawingLayerImageInfoRecordTableLockCondition_;
    }
    bool isDrawingLayerImageInfoRecordTableValid() const
    {
        return isDrawingLayerImageInfoRecordTableValid_;
    }
    const UFemDrawingLayerImageInfoRecordTable& drawingLayerImageInfoRecordTable() const
    {
        return drawingLayerImageInfoRecordTable_;
    }
    // Valid while the card value data task's value is.
    const UFemGraphicViewDrawingCardValueDataCache& drawingCardValueDataCache() const
    {
        return drawingCardValueDataCache_;
    }

    // ---- Worker bodies.
    bool calculateColorScaleRangeWithThreadContext(UThreadContext& threadContext) override;
    bool calculateCardValueDataCacheWithThreadContext(UThreadContext& threadContext) override;
    void cardValueDataCalcThreadTaskDidFinishedWithThreadContext(
        UThreadContext& threadContext) override;

private:
    struct ColorRangeCounts;
    struct CardValueDataThreadState;

    bool settleAutomaticValue(quint64 UFemGraphicViewDrawingPreferenceCache::*status,
        const std::function<bool(UFemGraphicViewDrawingPreferenceCache&, bool*)>& settle,
        const std::function<void(UFemGraphicViewDrawingPreferenceCache&,
            const UFemGraphicViewDrawingPreferenceCache&)>& apply,
        bool* cancelFlag);
    bool settleColorScaleRange(UFemGraphicViewDrawingPreferenceCache& cache, bool* cancelFlag);
    void fillCardValueDataCache_whileLocked();
    bool isAnyTaskRunning() const;
    bool calculateColorScaleRangeWithCardRange(std::span<const UFemCardPtr> cards,
        ColorRangeCounts& counts, UThreadContext& threadContext);
    bool nextCardValueDataChunk(quint64* recordIndex, quint64* location, quint64* length);
    void calculateCardValueDataTableWithDrawingCardTypeInfoRecord(
        const UFemDrawingCardTypeInfoRecord& record, quint64 location, quint64 length,
        CardValueDataThreadState& state);
    void addSectionPointDrawingError(quint64 sectionPointCount);

    UFemGraphicViewDrawingCacheSource& source_;
    Tasks tasks_;

    mutable UCondition drawingPreferenceCacheLockCondition_;
    UFemGraphicViewDrawingPreferenceCache drawingPreferenceCache_;
    bool isDrawingPreferenceCacheValid_ = false;

    UCondition drawingLayerImageInfoRecordTableLockCondition_;
    UFemDrawingLayerImageInfoRecordTable drawingLayerImageInfoRecordTable_ {};
    bool isDrawingLayerImageInfoRecordTableValid_ = false;

    UCondition drawingCardTypeInfoRecordTableLockCondition_;
    UFemDrawingCardTypeInfoRecordTable drawingCardTypeInfoRecordTable_;
    bool isDrawingCardTypeInfoRecordTableValid_ = false;
    // Taken on the main thread when the card value data starts.
    UFemDrawingCardTypeCardArrays windowCardTypeCardArrays_;

    UFemGraphicViewDrawingCardValueDataCache drawingCardValueDataCache_;
};
