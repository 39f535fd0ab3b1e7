#pragma once

#include <QtGlobal>

class UReadWriteBuffer;

// The reading side of a read-write buffer (one ring or a root over several), used by one reader
// thread. `returnsWhenUnknown` and `returnsWhenEmpty` may be null: then the operation waits;
// otherwise it sets the flag and answers at once instead of waiting. Operations taking
// `isCanceled` set it to true when the buffer is canceled (never clear it).
class UReadWriteBufferReading {
public:
    // Room a child table must have.
    static constexpr quint64 maximumChildBufferCount = 4;

    virtual ~UReadWriteBufferReading() = default;

    virtual void requestCancel() = 0;
    virtual bool isCanceled() const = 0;
    virtual quint64 resetBuffer() = 0;
    virtual quint64 resetBufferWithChildBufferCount(quint64 childBufferCount) = 0;
    virtual quint64 childBufferCount() const = 0;
    virtual UReadWriteBuffer* childBufferAtIndex(quint64 childBufferIndex) const = 0;
    virtual quint64 getChildBufferTable(UReadWriteBuffer** childBufferTable) const = 0;
    // The stage of the next data, all-ones once every writer finished; 0 with a flag set otherwise.
    virtual quint64 nextReadStageIdentifier_returnsWhenUnknown(
        bool* returnsWhenUnknown, bool* isCanceled)
        = 0;
    virtual quint64 currentReadStageIdentifier_isCanceled(bool* isCanceled) = 0;
    virtual bool isReadBufferFinished_isCanceled(bool* isCanceled) = 0;
    // True when the next data is of this stage; false when the stage is empty here.
    virtual bool openReadStageWithStageIdentifier(quint64 stageIdentifier, bool* isCanceled) = 0;
    // Hands out the next full buffer of the open stage [start, end); true when the stage is over.
    virtual bool getNextReadBufferStartPtr(
        const void** startPtr, const void** endPtr, bool* returnsWhenEmpty, bool* isCanceled)
        = 0;
    virtual bool getNextReadBufferStartPtr(const void** startPtr, const void** endPtr,
        UReadWriteBuffer** nextReadChildBufferPtr, quint64* nextReadBufferIndexPtr,
        bool* returnsWhenEmpty, bool* isCanceled)
        = 0;
    virtual void closeCurrentReadStage_isCanceled(bool* isCanceled) = 0;
};
