#include "foundation/buffers/UReadWriteBuffer.h"
#include "foundation/UFemNotFound.h"

#include "foundation/errors/UException.h"

#include <unistd.h>

#include <cstdlib>
#include <limits>

namespace {

void* newPageAlignedBuffer(quint64 size)
{
    const long pageSize = sysconf(_SC_PAGESIZE);
    void* buffer = nullptr;
    if (posix_memalign(&buffer, pageSize > 0 ? size_t(pageSize) : 4096, size) != 0)
        UFemRaiseMemoryAllocationFailed();
    return buffer;
}

} // namespace

UReadWriteBuffer::UReadWriteBuffer(
    quint64 elementSize, quint64 bufferCount, quint64 bufferElementCapacity)
    : elementSize_(elementSize)
    , bufferCount_(bufferCount)
    , bufferElementCapacity_(bufferElementCapacity)
{
    if (bufferCount < minimumBufferCount || bufferCount > maximumBufferCount)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("bufferCount is out of range."), long(bufferCount));
    if (elementSize == 0 || bufferElementCapacity == 0
        || elementSize > std::numeric_limits<size_t>::max() / bufferElementCapacity)
        UFemRaiseProgramError(QStringLiteral("Buffer size is out of range."));
    for (quint64 index = 0; index < bufferCount_; ++index) {
        try {
            bufferTable_[index]
                = static_cast<char*>(newPageAlignedBuffer(elementSize * bufferElementCapacity));
        } catch (...) {
            for (quint64 made = 0; made < index; ++made)
                std::free(bufferTable_[made]);
            throw;
        }
    }
    resetState();
}

UReadWriteBuffer::~UReadWriteBuffer()
{
    for (quint64 index = 0; index < bufferCount_; ++index)
        std::free(bufferTable_[index]);
}

void UReadWriteBuffer::resetState()
{
    bufferElementCount_.fill(0);
    bufferStageIdentifier_x2_Table_.fill(UReadWriteBufferEmptyStageWord);
    currentWriteBufferIndex_ = 0;
    currentWriteStageIdentifier_x2_ = 0;
    currentReadBufferIndex_ = bufferCount_ - 1;
    currentReadStageIdentifier_x2_ = 0;
    isCurrentReadStageReadyToClose_ = false;
    isCanceled_.store(false);
}

void UReadWriteBuffer::markCanceled(bool* isCanceled)
{
    if (isCanceled != nullptr)
        *isCanceled = true;
}

void UReadWriteBuffer::requestCancel()
{
    std::lock_guard<UCondition> lock(lockCondition_);
    isCanceled_.store(true);
    lockCondition_.broadcast();
}

bool UReadWriteBuffer::isCanceled() const
{
    return isCanceled_.load();
}

quint64 UReadWriteBuffer::resetBuffer()
{
    return resetBufferWithChildBufferCount(1);
}

quint64 UReadWriteBuffer::resetBufferWithChildBufferCount(quint64)
{
    // Nobody reads or writes during a reset; the lock only orders it before the next users.
    std::lock_guard<UCondition> lock(lockCondition_);
    resetState();
    return 1;
}

UReadWriteBuffer* UReadWriteBuffer::childBufferAtIndex(quint64 childBufferIndex) const
{
    if (childBufferIndex != 0)
        UFemRaiseProgramError(QStringLiteral("aChildBufferIndex is out of range."));
    return const_cast<UReadWriteBuffer*>(this);
}

quint64 UReadWriteBuffer::getChildBufferTable(UReadWriteBuffer** childBufferTable) const
{
    childBufferTable[0] = const_cast<UReadWriteBuffer*>(this);
    return 1;
}

// Writing ------------------------------------------------------------------------------------

bool UReadWriteBuffer::waitForNextWriteBuffer(std::unique_lock<UCondition>& lock)
{
    if (currentWriteBufferIndex_ == UFemNotFound)
        UFemRaiseProgramError(QStringLiteral("Write buffer is already finished."));
    while (nextIndex(currentWriteBufferIndex_) == currentReadBufferIndex_ && !isCanceled_.load())
        lock.mutex()->wait();
    return !isCanceled_.load();
}

void UReadWriteBuffer::didMoveToNextWriteBufferAtBufferIndex(quint64 bufferIndex, bool)
{
    bufferElementCount_[bufferIndex] = 0;
}

void UReadWriteBuffer::openWriteStageWithStageIdentifier(quint64 stageIdentifier, bool* isCanceled)
{
    if (isCanceled_.load())
        return markCanceled(isCanceled);
    std::lock_guard<UCondition> lock(lockCondition_);
    if (currentWriteBufferIndex_ == UFemNotFound)
        UFemRaiseProgramError(QStringLiteral("Write buffer is already finished."));
    currentWriteStageIdentifier_x2_ = UReadWriteBufferOpenStageWord(stageIdentifier);
    bufferStageIdentifier_x2_Table_[currentWriteBufferIndex_] = currentWriteStageIdentifier_x2_;
    didMoveToNextWriteBufferAtBufferIndex(currentWriteBufferIndex_, true);
    lockCondition_.broadcast();
}

quint64 UReadWriteBuffer::moveToNextWriteBuffer_isCanceled(bool* isCanceled)
{
    if (isCanceled_.load()) {
        markCanceled(isCanceled);
        return UFemNotFound;
    }
    std::unique_lock<UCondition> lock(lockCondition_);
    if (!waitForNextWriteBuffer(lock)) {
        markCanceled(isCanceled);
        return UFemNotFound;
    }
    const quint64 next = nextIndex(currentWriteBufferIndex_);
    bufferStageIdentifier_x2_Table_[next] = currentWriteStageIdentifier_x2_;
    currentWriteBufferIndex_ = next;
    didMoveToNextWriteBufferAtBufferIndex(next, false);
    lockCondition_.broadcast();
    return next;
}

void UReadWriteBuffer::closeCurrentWriteStage_isCanceled(bool* isCanceled)
{
    if (isCanceled_.load())
        return markCanceled(isCanceled);
    std::unique_lock<UCondition> lock(lockCondition_);
    if (!waitForNextWriteBuffer(lock))
        return markCanceled(isCanceled);
    const quint64 next = nextIndex(currentWriteBufferIndex_);
    currentWriteStageIdentifier_x2_ += 1;
    bufferStageIdentifier_x2_Table_[next] = UReadWriteBufferEmptyStageWord;
    currentWriteBufferIndex_ = next;
    lockCondition_.broadcast();
}

void UReadWriteBuffer::finishWriteBuffer_isCanceled(bool* isCanceled)
{
    if (isCanceled_.load())
        return markCanceled(isCanceled);
    std::lock_guard<UCondition> lock(lockCondition_);
    if (currentWriteBufferIndex_ == UFemNotFound)
        return;
    currentWriteStageIdentifier_x2_ = UReadWriteBufferFinishedStageWord;
    bufferStageIdentifier_x2_Table_[currentWriteBufferIndex_] = UReadWriteBufferFinishedStageWord;
    currentWriteBufferIndex_ = UFemNotFound;
    lockCondition_.broadcast();
}

quint64 UReadWriteBuffer::currentWriteStageIdentifier_isCanceled(bool* isCanceled)
{
    if (isCanceled_.load()) {
        markCanceled(isCanceled);
        return 0;
    }
    std::lock_guard<UCondition> lock(lockCondition_);
    return UReadWriteBufferStageOfWord(currentWriteStageIdentifier_x2_);
}

quint64 UReadWriteBuffer::currentWriteBufferIndex()
{
    std::lock_guard<UCondition> lock(lockCondition_);
    return (currentWriteStageIdentifier_x2_ & 1) != 0 ? currentWriteBufferIndex_ : UFemNotFound;
}

// The element count of the write buffer is the writer's alone: no lock below.
quint64 UReadWriteBuffer::currentWriteBufferSpaceElementCount_isCanceled(bool* isCanceled)
{
    if (isCanceled_.load()) {
        markCanceled(isCanceled);
        return 0;
    }
    if (currentWriteBufferIndex_ == UFemNotFound)
        return 0;
    return bufferElementCapacity_ - bufferElementCount_[currentWriteBufferIndex_];
}

void* UReadWriteBuffer::writeBufferPtrWithElementCount(
    quint64 elementCount, bool doesIncrement, bool* isCanceled)
{
    if (elementCount > bufferElementCapacity_)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("ElementCount is bigger than bufferElementCapacity. (RWBuffer)"),
            long(elementCount));
    if (isCanceled_.load()) {
        markCanceled(isCanceled);
        return nullptr;
    }
    if (currentWriteBufferIndex_ == UFemNotFound)
        UFemRaiseProgramError(QStringLiteral("Write buffer is already finished."));
    if (elementCount > bufferElementCapacity_ - bufferElementCount_[currentWriteBufferIndex_]) {
        bool wasCanceled = false;
        moveToNextWriteBuffer_isCanceled(&wasCanceled);
        if (wasCanceled) {
            markCanceled(isCanceled);
            return nullptr;
        }
    }
    quint64& count = bufferElementCount_[currentWriteBufferIndex_];
    char* pointer = bufferTable_[currentWriteBufferIndex_] + count * elementSize_;
    if (doesIncrement)
        count += elementCount;
    return pointer;
}

void UReadWriteBuffer::incrementWriteElementCount(quint64 elementCount, bool* isCanceled)
{
    if (isCanceled_.load())
        return markCanceled(isCanceled);
    if (currentWriteBufferIndex_ == UFemNotFound)
        UFemRaiseProgramError(QStringLiteral("Write buffer is already finished."));
    quint64& count = bufferElementCount_[currentWriteBufferIndex_];
    if (elementCount > bufferElementCapacity_ - count)
        UFemRaiseProgramError(QStringLiteral("ElementCount will be over bufferElementCapacity."));
    count += elementCount;
}

// Reading ------------------------------------------------------------------------------------

bool UReadWriteBuffer::waitForNextReadStageKnown(
    std::unique_lock<UCondition>& lock, bool* returnsWhenUnknown)
{
    const quint64 next = nextIndex(currentReadBufferIndex_);
    while (next == currentWriteBufferIndex_
        && bufferStageIdentifier_x2_Table_[next] == UReadWriteBufferEmptyStageWord
        && !isCanceled_.load()) {
        if (returnsWhenUnknown != nullptr) {
            *returnsWhenUnknown = true;
            return false;
        }
        lock.mutex()->wait();
    }
    return true;
}

quint64 UReadWriteBuffer::nextReadStageIdentifier_returnsWhenUnknown(
    bool* returnsWhenUnknown, bool* isCanceled)
{
    std::unique_lock<UCondition> lock(lockCondition_);
    if (!waitForNextReadStageKnown(lock, returnsWhenUnknown))
        return 0;
    const quint64 word = bufferStageIdentifier_x2_Table_[nextIndex(currentReadBufferIndex_)];
    lock.unlock();
    if (isCanceled_.load()) {
        markCanceled(isCanceled);
        return 0;
    }
    return UReadWriteBufferStageOfWord(word);
}

quint64 UReadWriteBuffer::currentReadStageIdentifier_isCanceled(bool* isCanceled)
{
    if (isCanceled_.load()) {
        markCanceled(isCanceled);
        return 0;
    }
    return UReadWriteBufferStageOfWord(currentReadStageIdentifier_x2_);
}

bool UReadWriteBuffer::isReadBufferFinished_isCanceled(bool* isCanceled)
{
    bool wasCanceled = false;
    const quint64 stage = nextReadStageIdentifier_returnsWhenUnknown(nullptr, &wasCanceled);
    if (wasCanceled) {
        markCanceled(isCanceled);
        return false;
    }
    return stage == UFemNotFound;
}

bool UReadWriteBuffer::openReadStageWithStageIdentifier(quint64 stageIdentifier, bool* isCanceled)
{
    std::unique_lock<UCondition> lock(lockCondition_);
    waitForNextReadStageKnown(lock, nullptr);
    const quint64 word = bufferStageIdentifier_x2_Table_[nextIndex(currentReadBufferIndex_)];
    lock.unlock();
    if (isCanceled_.load()) {
        markCanceled(isCanceled);
        return false;
    }
    const quint64 openWord = UReadWriteBufferOpenStageWord(stageIdentifier);
    if (word == openWord) {
        currentReadStageIdentifier_x2_ = openWord;
        return true;
    }
    if (word > openWord)
        return false;
    UFemRaiseProgramErrorWithValue(QStringLiteral("Unexpected stageIdentifier."), long(openWord));
}

bool UReadWriteBuffer::getNextReadBufferStartPtr(
    const void** startPtr, const void** endPtr, bool* returnsWhenEmpty, bool* isCanceled)
{
    return getNextReadBufferStartPtr(
        startPtr, endPtr, nullptr, nullptr, returnsWhenEmpty, isCanceled);
}

bool UReadWriteBuffer::getNextReadBufferStartPtr(const void** startPtr, const void** endPtr,
    UReadWriteBuffer** nextReadChildBufferPtr, quint64* nextReadBufferIndexPtr,
    bool* returnsWhenEmpty, bool* isCanceled)
{
    const auto answer = [&](const char* start, quint64 index, bool isStageOver) {
        *startPtr = start;
        *endPtr = start == nullptr ? nullptr : start + bufferElementCount_[index] * elementSize_;
        if (nextReadChildBufferPtr != nullptr)
            *nextReadChildBufferPtr = start == nullptr ? nullptr : this;
        if (nextReadBufferIndexPtr != nullptr)
            *nextReadBufferIndexPtr = start == nullptr ? UFemNotFound : index;
        return isStageOver;
    };
    if (isCanceled_.load()) {
        markCanceled(isCanceled);
        return answer(nullptr, 0, false);
    }
    if (isCurrentReadStageReadyToClose_)
        return answer(nullptr, 0, true);

    std::unique_lock<UCondition> lock(lockCondition_);
    const quint64 next = nextIndex(currentReadBufferIndex_);
    while (next == currentWriteBufferIndex_
        && bufferStageIdentifier_x2_Table_[next] == currentReadStageIdentifier_x2_) {
        if (returnsWhenEmpty != nullptr) {
            *returnsWhenEmpty = true;
            return answer(nullptr, 0, false);
        }
        if (isCanceled_.load()) {
            markCanceled(isCanceled);
            return answer(nullptr, 0, false);
        }
        lock.mutex()->wait();
    }
    if (bufferStageIdentifier_x2_Table_[next] == currentReadStageIdentifier_x2_) {
        currentReadBufferIndex_ = next;
        lockCondition_.broadcast();
        return answer(bufferTable_[next], next, false);
    }
    isCurrentReadStageReadyToClose_ = true;
    return answer(nullptr, 0, true);
}

void UReadWriteBuffer::closeCurrentReadStage_isCanceled(bool* isCanceled)
{
    if (isCanceled_.load())
        return markCanceled(isCanceled);
    currentReadStageIdentifier_x2_ += 1;
    isCurrentReadStageReadyToClose_ = false;
}

quint64 UReadWriteBuffer::currentReadBufferIndex()
{
    std::lock_guard<UCondition> lock(lockCondition_);
    return (currentReadStageIdentifier_x2_ & 1) != 0 ? currentReadBufferIndex_ : UFemNotFound;
}
