#include "foundation/buffers/URootReadWriteBuffer.h"
#include "foundation/UFemNotFound.h"

#include "foundation/errors/UException.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr std::chrono::milliseconds pollInterval { 5 };

} // namespace

struct URootReadWriteBuffer::UReadOutputs {
    const void* start = nullptr;
    const void* end = nullptr;
    UReadWriteBuffer* child = nullptr;
    quint64 index = UFemNotFound;
};

URootReadWriteBuffer::URootReadWriteBuffer(
    quint64 elementSize, quint64 bufferCount, quint64 bufferElementCapacity)
    : readWriteBuffer_elementSize_(elementSize)
    , readWriteBuffer_bufferCount_(bufferCount)
    , readWriteBuffer_bufferElementCapacity_(bufferElementCapacity)
{
}

URootReadWriteBuffer::~URootReadWriteBuffer() = default;

std::unique_ptr<UReadWriteBuffer> URootReadWriteBuffer::newChildBuffer()
{
    return std::make_unique<UReadWriteBuffer>(readWriteBuffer_elementSize_,
        readWriteBuffer_bufferCount_, readWriteBuffer_bufferElementCapacity_);
}

void URootReadWriteBuffer::requestCancel()
{
    isCanceled_.store(true);
    for (quint64 index = 0; index < activeChildBufferCount_; ++index)
        childBufferTable_[index]->requestCancel();
}

bool URootReadWriteBuffer::isCanceled() const
{
    return isCanceled_.load();
}

bool URootReadWriteBuffer::isCanceledAndMark(bool* isCanceled) const
{
    if (!isCanceled_.load())
        return false;
    if (isCanceled != nullptr)
        *isCanceled = true;
    return true;
}

quint64 URootReadWriteBuffer::resetBuffer()
{
    return resetBufferWithChildBufferCount(
        activeChildBufferCount_ == 0 ? 1 : activeChildBufferCount_);
}

quint64 URootReadWriteBuffer::resetBufferWithChildBufferCount(quint64 childBufferCount)
{
    const quint64 count = std::min(childBufferCount, maximumChildBufferCount);
    isCanceled_.store(false);
    for (; childBufferCountInTable_ < count; ++childBufferCountInTable_)
        childBufferTable_[childBufferCountInTable_] = newChildBuffer();
    activeChildBufferCount_ = count;
    for (quint64 index = 0; index < count; ++index) {
        childBufferTable_[index]->resetBuffer();
        childBufferCurrentReadStageIdentifier_x2_Table_[index] = 0;
    }
    currentReadStageIdentifier_x2_ = 0;
    isCurrentReadStageReadyToClose_ = false;
    currentReadChildBufferIndex_ = 0;
    return count;
}

UReadWriteBuffer* URootReadWriteBuffer::childBufferAtIndex(quint64 childBufferIndex) const
{
    if (childBufferIndex >= activeChildBufferCount_)
        UFemRaiseProgramError(QStringLiteral("aChildBufferIndex is out of range."));
    return childBufferTable_[childBufferIndex].get();
}

quint64 URootReadWriteBuffer::getChildBufferTable(UReadWriteBuffer** childBufferTable) const
{
    for (quint64 index = 0; index < activeChildBufferCount_; ++index)
        childBufferTable[index] = childBufferTable_[index].get();
    return activeChildBufferCount_;
}

bool URootReadWriteBuffer::peekChildNextWord(UReadWriteBuffer& child, quint64* word)
{
    bool isUnknown = false;
    bool isChildCanceled = false;
    const quint64 stage
        = child.nextReadStageIdentifier_returnsWhenUnknown(&isUnknown, &isChildCanceled);
    if (isChildCanceled)
        return false;
    if (isUnknown)
        *word = 0;
    else
        *word = stage == UFemNotFound ? UReadWriteBufferFinishedStageWord
                                      : UReadWriteBufferOpenStageWord(stage);
    return true;
}

quint64 URootReadWriteBuffer::nextReadStageIdentifier_returnsWhenUnknown(
    bool* returnsWhenUnknown, bool* isCanceled)
{
    for (;;) {
        const quint64 rootWord = currentReadStageIdentifier_x2_;
        const quint64 targetWord = rootWord + 1;
        quint64 smallestWord = UReadWriteBufferFinishedStageWord;
        bool isEveryChildKnown = true;
        for (quint64 index = 0; index < activeChildBufferCount_; ++index) {
            if (isCanceledAndMark(isCanceled))
                return 0;
            quint64 word = childBufferCurrentReadStageIdentifier_x2_Table_[index];
            if (word <= rootWord && !peekChildNextWord(*childBufferTable_[index], &word)) {
                if (isCanceled != nullptr)
                    *isCanceled = true;
                return 0;
            }
            if (word == 0) {
                isEveryChildKnown = false;
                continue;
            }
            if (word == targetWord)
                return UReadWriteBufferStageOfWord(word);
            smallestWord = std::min(smallestWord, word);
        }
        if (isEveryChildKnown)
            return UReadWriteBufferStageOfWord(smallestWord);
        if (returnsWhenUnknown != nullptr) {
            *returnsWhenUnknown = true;
            return 0;
        }
        std::this_thread::sleep_for(pollInterval);
    }
}

quint64 URootReadWriteBuffer::currentReadStageIdentifier_isCanceled(bool* isCanceled)
{
    if (isCanceledAndMark(isCanceled))
        return 0;
    return UReadWriteBufferStageOfWord(currentReadStageIdentifier_x2_);
}

bool URootReadWriteBuffer::isReadBufferFinished_isCanceled(bool* isCanceled)
{
    bool wasCanceled = false;
    const quint64 stage = nextReadStageIdentifier_returnsWhenUnknown(nullptr, &wasCanceled);
    if (wasCanceled) {
        if (isCanceled != nullptr)
            *isCanceled = true;
        return false;
    }
    return stage == UFemNotFound;
}

bool URootReadWriteBuffer::openReadStageWithStageIdentifier(
    quint64 stageIdentifier, bool* isCanceled)
{
    bool wasCanceled = false;
    const quint64 nextStage = nextReadStageIdentifier_returnsWhenUnknown(nullptr, &wasCanceled);
    if (wasCanceled) {
        if (isCanceled != nullptr)
            *isCanceled = true;
        return false;
    }
    if (nextStage == stageIdentifier) {
        currentReadStageIdentifier_x2_ = UReadWriteBufferOpenStageWord(stageIdentifier);
        return true;
    }
    if (nextStage > stageIdentifier)
        return false;
    UFemRaiseProgramErrorWithValue(
        QStringLiteral("Unexpected stageIdentifier."), long(stageIdentifier));
}

// One child's part in a pass of reading: opens its next stage when it has none with the root,
// then asks it for a buffer without waiting.
URootReadWriteBuffer::UChildVisit URootReadWriteBuffer::visitChild(
    quint64 childIndex, UReadOutputs& outputs)
{
    if (isCanceled_.load())
        return UChildVisit::Canceled;
    UReadWriteBuffer& child = *childBufferTable_[childIndex];
    quint64& rememberedWord = childBufferCurrentReadStageIdentifier_x2_Table_[childIndex];
    const quint64 rootWord = currentReadStageIdentifier_x2_;
    bool isChildCanceled = false;
    if (rememberedWord < rootWord) {
        quint64 nextWord = 0;
        if (!peekChildNextWord(child, &nextWord))
            return UChildVisit::Canceled;
        if (nextWord == 0)
            return UChildVisit::NotReady;
        if (nextWord != UReadWriteBufferFinishedStageWord) {
            child.openReadStageWithStageIdentifier(
                UReadWriteBufferStageOfWord(nextWord), &isChildCanceled);
            if (isChildCanceled)
                return UChildVisit::Canceled;
        }
        rememberedWord = nextWord;
    }
    if (rememberedWord > rootWord)
        return UChildVisit::Done;
    bool isEmpty = false;
    const bool isStageOver = child.getNextReadBufferStartPtr(
        &outputs.start, &outputs.end, &outputs.child, &outputs.index, &isEmpty, &isChildCanceled);
    if (isChildCanceled)
        return UChildVisit::Canceled;
    if (isStageOver) {
        child.closeCurrentReadStage_isCanceled(&isChildCanceled);
        rememberedWord += 1;
        return UChildVisit::Done;
    }
    return isEmpty ? UChildVisit::Empty : UChildVisit::GaveBuffer;
}

bool URootReadWriteBuffer::getNextReadBufferStartPtr(
    const void** startPtr, const void** endPtr, bool* returnsWhenEmpty, bool* isCanceled)
{
    return getNextReadBufferStartPtr(
        startPtr, endPtr, nullptr, nullptr, returnsWhenEmpty, isCanceled);
}

bool URootReadWriteBuffer::getNextReadBufferStartPtr(const void** startPtr, const void** endPtr,
    UReadWriteBuffer** nextReadChildBufferPtr, quint64* nextReadBufferIndexPtr,
    bool* returnsWhenEmpty, bool* isCanceled)
{
    UReadOutputs outputs;
    const auto answer = [&](bool isStageOver) {
        *startPtr = outputs.start;
        *endPtr = outputs.end;
        if (nextReadChildBufferPtr != nullptr)
            *nextReadChildBufferPtr = outputs.child;
        if (nextReadBufferIndexPtr != nullptr)
            *nextReadBufferIndexPtr = outputs.index;
        return isStageOver;
    };
    if (isCurrentReadStageReadyToClose_)
        return answer(true);
    for (;;) {
        quint64 doneCount = 0;
        bool isPassComplete = true;
        for (quint64 step = 0; step < activeChildBufferCount_ && isPassComplete; ++step) {
            const quint64 childIndex
                = (currentReadChildBufferIndex_ + step) % activeChildBufferCount_;
            switch (visitChild(childIndex, outputs)) {
            case UChildVisit::Canceled:
                if (isCanceled != nullptr)
                    *isCanceled = true;
                outputs = UReadOutputs();
                return answer(false);
            case UChildVisit::GaveBuffer:
                currentReadChildBufferIndex_ = childIndex;
                return answer(false);
            case UChildVisit::Done:
                ++doneCount;
                break;
            case UChildVisit::Empty:
                break;
            case UChildVisit::NotReady:
                isPassComplete = false;
                break;
            }
        }
        outputs = UReadOutputs();
        if (isPassComplete && doneCount == activeChildBufferCount_) {
            isCurrentReadStageReadyToClose_ = true;
            return answer(true);
        }
        if (returnsWhenEmpty != nullptr) {
            *returnsWhenEmpty = true;
            return answer(false);
        }
        std::this_thread::sleep_for(pollInterval);
    }
}

void URootReadWriteBuffer::closeCurrentReadStage_isCanceled(bool* isCanceled)
{
    if (isCanceledAndMark(isCanceled))
        return;
    currentReadStageIdentifier_x2_ += 1;
    isCurrentReadStageReadyToClose_ = false;
}
