#include "foundation/threads/UThreadTaskNextTargetIndexesManager.h"
#include "foundation/UFemNotFound.h"

#include "foundation/errors/UException.h"

#include <QStringLiteral>

#include <algorithm>
#include <mutex>

void UThreadTaskNextTargetIndexesManager::clear()
{
    std::lock_guard<std::mutex> locked(lock_);
    nextTargetIndexes_.fill(0);
}

UThreadTaskIndexRange UThreadTaskNextTargetIndexesManager::nextTargetIndexRangeWithCount(
    quint64 count, quint64 maxIndex, bool*)
{
    std::lock_guard<std::mutex> locked(lock_);
    const quint64 location = nextTargetIndexes_[0];
    if (location == UFemNotFound)
        return { UFemNotFound, 0 };
    // Written as a difference so that neither side overflows, and a location at or beyond
    // maxIndex hands out an empty rest instead of a wrapped-around length.
    const quint64 remaining = location < maxIndex ? maxIndex - location : 0;
    if (count < remaining) {
        nextTargetIndexes_[0] = location + count;
        return { location, count };
    }
    forwardToFinished_whileLocked();
    return { location, remaining };
}

quint64 UThreadTaskNextTargetIndexesManager::nextTargetIndexWithIncrementCount(
    quint64 increment, bool*)
{
    std::lock_guard<std::mutex> locked(lock_);
    const quint64 index = nextTargetIndexes_[0];
    if (index != UFemNotFound)
        nextTargetIndexes_[0] = index + increment;
    return index;
}

void UThreadTaskNextTargetIndexesManager::getNextTargetIndexesOf2ToIndex1Ptr(
    quint64* index1, quint64* index2, quint64 count, bool*)
{
    std::lock_guard<std::mutex> locked(lock_);
    *index1 = nextTargetIndexes_[0];
    *index2 = nextTargetIndexes_[1];
    if (nextTargetIndexes_[0] != UFemNotFound)
        nextTargetIndexes_[1] += count;
}

void UThreadTaskNextTargetIndexesManager::getNextTargetIndexes(
    std::span<quint64> indexes, quint64 increment, bool*)
{
    checkIndexesCount(indexes.size());
    if (indexes.empty())
        return;
    std::lock_guard<std::mutex> locked(lock_);
    std::copy_n(nextTargetIndexes_.begin(), indexes.size(), indexes.begin());
    if (nextTargetIndexes_[0] != UFemNotFound)
        nextTargetIndexes_[indexes.size() - 1] += increment;
}

void UThreadTaskNextTargetIndexesManager::forwardNextTargetIndexesOf2WithIndexe1(
    quint64 index1, quint64 index2)
{
    const quint64 pair[] = { index1, index2 };
    forwardNextTargetIndexesToIndexes(pair);
}

void UThreadTaskNextTargetIndexesManager::forwardNextTargetIndexesToIndexes(
    std::span<const quint64> indexes)
{
    checkIndexesCount(indexes.size());
    if (indexes.empty())
        return;
    std::lock_guard<std::mutex> locked(lock_);
    if (indexes[0] == UFemNotFound) {
        forwardToFinished_whileLocked();
        return;
    }
    const auto current = nextTargetIndexes_.begin();
    if (std::lexicographical_compare(
            current, current + indexes.size(), indexes.begin(), indexes.end()))
        std::copy(indexes.begin(), indexes.end(), current);
}

void UThreadTaskNextTargetIndexesManager::forwardNextTargetIndexesToFinished()
{
    std::lock_guard<std::mutex> locked(lock_);
    forwardToFinished_whileLocked();
}

void UThreadTaskNextTargetIndexesManager::forwardToFinished_whileLocked()
{
    if (nextTargetIndexes_[0] == UFemNotFound)
        return;
    nextTargetIndexes_.fill(UFemNotFound);
}

void UThreadTaskNextTargetIndexesManager::checkIndexesCount(std::size_t count)
{
    if (count > UThreadTaskNextTargetIndexesCount)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Too many next target indexes."), long(count));
}
