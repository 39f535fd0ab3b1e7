#pragma once

#include <QtGlobal>

// The writing side of a read-write buffer, used by one writer thread. Operations taking
// `isCanceled` set it to true when the buffer is canceled (never clear it) and answer a neutral
// value.
class UReadWriteBufferWriting {
public:
    virtual ~UReadWriteBufferWriting() = default;

    virtual void requestCancel() = 0;
    virtual bool isCanceled() const = 0;
    virtual quint64 currentWriteBufferSpaceElementCount_isCanceled(bool* isCanceled) = 0;
    virtual void openWriteStageWithStageIdentifier(quint64 stageIdentifier, bool* isCanceled) = 0;
    virtual void closeCurrentWriteStage_isCanceled(bool* isCanceled) = 0;
    virtual void finishWriteBuffer_isCanceled(bool* isCanceled) = 0;
    virtual quint64 currentWriteStageIdentifier_isCanceled(bool* isCanceled) = 0;
    virtual quint64 moveToNextWriteBuffer_isCanceled(bool* isCanceled) = 0;
    virtual void* writeBufferPtrWithElementCount(
        quint64 elementCount, bool doesIncrement, bool* isCanceled)
        = 0;
    virtual void incrementWriteElementCount(quint64 elementCount, bool* isCanceled) = 0;
    virtual quint64 currentWriteBufferIndex() = 0;
    virtual quint64 bufferCount() const = 0;
};
