#pragma once

#include "foundation/UFemNotFound.h"

#include <QtGlobal>

#include <array>
#include <mutex>
#include <span>

struct UThreadTaskIndexRange {
    quint64 location;
    quint64 length;
    bool operator==(const UThreadTaskIndexRange&) const = default;
};

// The work dispenser that the threads of one run share: up to four indexes that only move
// forward, all four all-ones once the work is finished. Every operation takes its own lock
// (never the task lock); nothing ever waits on the dispenser, so a plain mutex serves. The
// isCanceled arguments are accepted for symmetry and not used.
class UThreadTaskNextTargetIndexesManager {
public:
    static constexpr std::size_t UThreadTaskNextTargetIndexesCount = 4;

    UThreadTaskNextTargetIndexesManager() = default;
    UThreadTaskNextTargetIndexesManager(const UThreadTaskNextTargetIndexesManager&) = delete;
    UThreadTaskNextTargetIndexesManager& operator=(const UThreadTaskNextTargetIndexesManager&)
        = delete;

    // All four indexes 0.
    void clear();

    // The next `count` indexes below maxIndex, from index 0: (location, count) while more
    // remain, then the rest (location, maxIndex − location) which finishes the dispenser, then
    // (all-ones, 0).
    UThreadTaskIndexRange nextTargetIndexRangeWithCount(
        quint64 count, quint64 maxIndex, bool* isCanceled = nullptr);

    // The old index 0; unless it is all-ones, index 0 grows by `increment` without bound.
    quint64 nextTargetIndexWithIncrementCount(quint64 increment, bool* isCanceled = nullptr);

    // Copies indexes 0 and 1 out; unless index 0 is all-ones, index 1 grows by `count`.
    void getNextTargetIndexesOf2ToIndex1Ptr(
        quint64* index1, quint64* index2, quint64 count, bool* isCanceled = nullptr);

    // Copies the first indexes.size() (at most 4) out; unless the first is all-ones, the last
    // of them grows by `increment`.
    void getNextTargetIndexes(
        std::span<quint64> indexes, quint64 increment, bool* isCanceled = nullptr);

    // Moves the pair (index 0, index 1) forward to (index1, index2) when that pair is greater
    // in lexicographic order; index1 all-ones finishes the dispenser.
    void forwardNextTargetIndexesOf2WithIndexe1(quint64 index1, quint64 index2);

    // The same over the first indexes.size() (at most 4) places; an empty table changes nothing.
    void forwardNextTargetIndexesToIndexes(std::span<const quint64> indexes);

    void forwardNextTargetIndexesToFinished();

private:
    void forwardToFinished_whileLocked();
    static void checkIndexesCount(std::size_t count);

    std::mutex lock_;
    std::array<quint64, UThreadTaskNextTargetIndexesCount> nextTargetIndexes_ {};
};
