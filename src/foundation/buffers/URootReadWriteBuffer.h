#pragma once

#include "foundation/buffers/UReadWriteBuffer.h"
#include "foundation/buffers/UReadWriteBufferReading.h"

#include <array>
#include <atomic>
#include <memory>

// The reading side over up to four rings, one per writing thread, read stage by stage. It never
// waits on a child: it asks without waiting and polls when nothing is ready, so that one reader
// serves every writer. Cancelling the root cancels its active children too, which wakes writers
// waiting in them.
class URootReadWriteBuffer : public UReadWriteBufferReading {
public:
    // Children are made by the first reset.
    URootReadWriteBuffer(quint64 elementSize, quint64 bufferCount, quint64 bufferElementCapacity);
    URootReadWriteBuffer(const URootReadWriteBuffer&) = delete;
    URootReadWriteBuffer& operator=(const URootReadWriteBuffer&) = delete;
    ~URootReadWriteBuffer() override;

    void requestCancel() override;
    bool isCanceled() const override;
    quint64 resetBuffer() override;
    // Makes the missing children, resets the first `childBufferCount` (at most 4) and uses them.
    quint64 resetBufferWithChildBufferCount(quint64 childBufferCount) override;
    quint64 childBufferCount() const override { return activeChildBufferCount_; }
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

protected:
    // A new child ring with the stored sizes.
    virtual std::unique_ptr<UReadWriteBuffer> newChildBuffer();

    quint64 readWriteBuffer_elementSize() const { return readWriteBuffer_elementSize_; }
    quint64 readWriteBuffer_bufferCount() const { return readWriteBuffer_bufferCount_; }
    quint64 readWriteBuffer_bufferElementCapacity() const
    {
        return readWriteBuffer_bufferElementCapacity_;
    }

private:
    struct UReadOutputs;
    enum class UChildVisit { NotReady, Done, Empty, GaveBuffer, Canceled };

    // One child's next stage word without waiting: 0 when not known yet, the stage's open word or
    // the finished mark otherwise; false when the child was canceled.
    bool peekChildNextWord(UReadWriteBuffer& child, quint64* word);
    UChildVisit visitChild(quint64 childIndex, UReadOutputs& outputs);
    bool isCanceledAndMark(bool* isCanceled) const;

    const quint64 readWriteBuffer_elementSize_;
    const quint64 readWriteBuffer_bufferCount_;
    const quint64 readWriteBuffer_bufferElementCapacity_;
    std::atomic<bool> isCanceled_ { false };
    std::array<std::unique_ptr<UReadWriteBuffer>, maximumChildBufferCount> childBufferTable_;
    quint64 childBufferCountInTable_ = 0;
    quint64 activeChildBufferCount_ = 0;
    quint64 currentReadStageIdentifier_x2_ = 0;
    bool isCurrentReadStageReadyToClose_ = false;
    std::array<quint64, maximumChildBufferCount> childBufferCurrentReadStageIdentifier_x2_Table_ {};
    quint64 currentReadChildBufferIndex_ = 0;
};
