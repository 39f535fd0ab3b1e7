#pragma once

#include "foundation/buffers/UReadWriteBufferReading.h"
#include "foundation/buffers/UReadWriteBufferStage.h"
#include "foundation/buffers/UReadWriteBufferWriting.h"
#include "foundation/threads/UCondition.h"

#include <array>
#include <atomic>

// One writer's ring of equal buffers, passed to one reader stage by stage. The writer never
// enters the buffer last handed to the reader, and the reader never reads the buffer being
// written, so each side waits only for the other to move on.
class UReadWriteBuffer : public UReadWriteBufferReading, public UReadWriteBufferWriting {
public:
    static constexpr quint64 minimumBufferCount = 3;
    static constexpr quint64 maximumBufferCount = 32;

    // `bufferCount` must lie in 3...32 and the sizes must be positive.
    UReadWriteBuffer(quint64 elementSize, quint64 bufferCount, quint64 bufferElementCapacity);
    UReadWriteBuffer(const UReadWriteBuffer&) = delete;
    UReadWriteBuffer& operator=(const UReadWriteBuffer&) = delete;
    ~UReadWriteBuffer() override;

    quint64 elementSize() const { return elementSize_; }
    quint64 bufferElementCapacity() const { return bufferElementCapacity_; }

    // Both sides.
    void requestCancel() override;
    bool isCanceled() const override;
    quint64 bufferCount() const override { return bufferCount_; }

    // Writing.
    quint64 currentWriteBufferSpaceElementCount_isCanceled(bool* isCanceled) override;
    void openWriteStageWithStageIdentifier(quint64 stageIdentifier, bool* isCanceled) override;
    void closeCurrentWriteStage_isCanceled(bool* isCanceled) override;
    void finishWriteBuffer_isCanceled(bool* isCanceled) override;
    quint64 currentWriteStageIdentifier_isCanceled(bool* isCanceled) override;
    quint64 moveToNextWriteBuffer_isCanceled(bool* isCanceled) override;
    void* writeBufferPtrWithElementCount(
        quint64 elementCount, bool doesIncrement, bool* isCanceled) override;
    void incrementWriteElementCount(quint64 elementCount, bool* isCanceled) override;
    quint64 currentWriteBufferIndex() override;

    // Reading.
    quint64 resetBuffer() override;
    quint64 resetBufferWithChildBufferCount(quint64 childBufferCount) override;
    quint64 childBufferCount() const override { return 1; }
    UReadWriteBuffer* childBufferAtIndex(quint64 childBufferIndex) const override;
    quint64 getChildBufferTable(UReadWriteBuffer** childBufferTable) const override;
    quint64 nextReadStageIdentifier_returnsWhenUnknown(
        bool* returnsWhenUnknown, bool* isCanceled) override;
    quint64 currentReadStageIdentifier_isCanceled(bool* isCanceled) override;
    bool isReadBufferFinished_isCanceled(bool* isCanceled) override;
    bool openReadStageWithStageIdentifier(quint64 stageIdentifier, bool* isCanceled) override;
    bool getNextReadBufferStartPtr(const void** startPtr, const void** endPtr,
        bool* returnsWhenEmpty, bool* isCanceled) override;
    bool getNextReadBufferStartPtr(const void** startPtr, const void** endPtr,
        UReadWriteBuffer** nextReadChildBufferPtr, quint64* nextReadBufferIndexPtr,
        bool* returnsWhenEmpty, bool* isCanceled) override;
    void closeCurrentReadStage_isCanceled(bool* isCanceled) override;
    quint64 currentReadBufferIndex();

protected:
    // Called with the lock held when the writer enters buffer `bufferIndex`, for a new stage or
    // by moving on; the base empties the buffer's element count.
    virtual void didMoveToNextWriteBufferAtBufferIndex(quint64 bufferIndex, bool forNewStage);

    char* bufferAtIndex(quint64 bufferIndex) const { return bufferTable_[bufferIndex]; }
    quint64 elementCountAtIndex(quint64 bufferIndex) const
    {
        return bufferElementCount_[bufferIndex];
    }

private:
    quint64 nextIndex(quint64 index) const { return (index + 1) % bufferCount_; }
    void resetState();
    // With the lock held: waits while the writer's next buffer is the one the reader holds.
    bool waitForNextWriteBuffer(std::unique_lock<UCondition>& lock);
    // With the lock held: waits until the writer has opened something in the reader's next
    // buffer, or answers false at once when `returnsWhenUnknown` is given.
    bool waitForNextReadStageKnown(std::unique_lock<UCondition>& lock, bool* returnsWhenUnknown);
    static void markCanceled(bool* isCanceled);

    const quint64 elementSize_;
    const quint64 bufferCount_;
    const quint64 bufferElementCapacity_;
    std::atomic<bool> isCanceled_ { false };
    quint64 currentWriteBufferIndex_ = 0;
    quint64 currentWriteStageIdentifier_x2_ = 0;
    quint64 currentReadBufferIndex_ = 0;
    quint64 currentReadStageIdentifier_x2_ = 0;
    bool isCurrentReadStageReadyToClose_ = false;
    std::array<quint64, maximumBufferCount> bufferStageIdentifier_x2_Table_ {};
    std::array<char*, maximumBufferCount> bufferTable_ {};
    std::array<quint64, maximumBufferCount> bufferElementCount_ {};
    mutable UCondition lockCondition_;
};
