#pragma once

#include "foundation/threads/UThreadTaskContext.h"
#include "graphics/opengl/UGLOpenGL.h"

#include <QRectF>

#include <vector>

// Picks in select mode: one worker draws the pickable records of the pick rectangle and its
// hit records land in the selection buffer this task owns.
class UFemSelectBufferHitObjectWritingThreadTaskContext final : public UThreadTaskContext {
public:
    // Room added to a selection buffer that must grow.
    static constexpr quint64 selectionBufferCapacityAddition = 256;
    // Words of one hit record: the name count (always 1), the least and greatest depth, the name.
    static constexpr quint64 hitRecordWordCount = 4;

    class Delegate {
    public:
        virtual ~Delegate() = default;
        virtual bool runSelectBufferHitObjectWritingWithThreadContext(UThreadContext& threadContext)
            = 0;
    };

    UFemSelectBufferHitObjectWritingThreadTaskContext() = default;
    ~UFemSelectBufferHitObjectWritingThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // A buffer of fewer words than asked is replaced by one of capacity + 256 words. A pass
    // whose reader takes every hit and no depth (a rubber band) lets geometry lying wholly
    // inside the rectangle hit without being drawn.
    bool setArgumentIfNeededWithDelegate(Delegate* delegate, const QRectF& pickViewRect,
        quint64 drawingCardTypeIndexes, quint64 selectionBufferCapacity,
        bool isHitDepthNeeded = true);
    quint64 specifiedThreadCount() const override { return 1; }
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;

    // What a reader of the hits learns from one wait.
    enum class HitWait { newHits, finished, failed };
    // Waits until hits past the first `consumedHitCount` arrive or the writer stops, and copies
    // the new hit records (4 words each). A writer that failed or was canceled ends the wait with
    // `failed`, so that no reader waits for it forever.
    HitWait waitForHitsAfter(quint64 consumedHitCount, std::vector<GLuint>* hitRecords);
    // Under the task lock: a larger buffer that keeps the hits written so far.
    void growSelectionBuffer_whileLocked();
    // Under the task lock: hit records of depth 0 for `names` after the first `hitCount`,
    // growing the buffer as needed; answers the new count.
    quint64 appendHitsWithoutDepth_whileLocked(quint64 hitCount, const std::vector<GLuint>& names);
    // Under the task lock: publishes the count of complete hit records and wakes the readers.
    void publishHitObjectCount_whileLocked(quint64 hitObjectCount);
    // A test's limit on the words a new argument asks for, so that a pass overflows.
    void setSelectionBufferCapacityLimitForTesting(quint64 words) { capacityLimit_ = words; }

    const QRectF& pickViewRect() const { return pickViewRect_; }
    quint64 drawingCardTypeIndexes() const { return drawingCardTypeIndexes_; }
    bool isHitDepthNeeded() const { return isHitDepthNeeded_; }
    GLuint* selectionBufferPtr() { return selectionBuffer_.data(); }
    quint64 selectionBufferCapacity_GLUInt() const { return selectionBuffer_.size(); }
    // Under the task lock; the layer worker publishes through this pointer.
    quint64* hitObjectCountPtr() { return &hitObjectCount_; }
    quint64 hitObjectCount() const { return hitObjectCount_; }

private:
    Delegate* delegate_ = nullptr;
    QRectF pickViewRect_;
    quint64 drawingCardTypeIndexes_ = 0;
    bool isHitDepthNeeded_ = true;
    std::vector<GLuint> selectionBuffer_;
    quint64 hitObjectCount_ = 0;
    quint64 capacityLimit_ = ~quint64(0);
};
