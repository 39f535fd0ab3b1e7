#include "foundation/containers/USorting.h"
#include "foundation/UFemNotFound.h"

#include "foundation/errors/UException.h"

#include <algorithm>
#include <memory>
#include <new>

namespace {

constexpr uint64_t insertionSortMax = 16;
constexpr uint64_t shellSortMax = 128;
constexpr uint64_t stackPairCount = 64;
constexpr uint64_t shellOnlyInsertionMax = 9;
constexpr uint64_t quickSortFallbackShellMax = 512;
constexpr uint64_t findPivotShellMax = 10000;
constexpr uint64_t windowSize = 16;
constexpr uint64_t spreadMinimum = 4;
constexpr uint64_t spreadDivisor = 32;

// Moves each pair left while the pair `gap` before it has a strictly greater key.
void gapInsertionPass(UValueKeyPair* pairs, uint64_t count, uint64_t gap)
{
    for (uint64_t i = gap; i < count; ++i) {
        const UValueKeyPair pair = pairs[i];
        uint64_t j = i;
        while (j >= gap && pairs[j - gap].key > pair.key) {
            pairs[j] = pairs[j - gap];
            j -= gap;
        }
        pairs[j] = pair;
    }
}

void insertionSort(UValueKeyPair* pairs, uint64_t count)
{
    gapInsertionPass(pairs, count, 1);
}

void shellSort(UValueKeyPair* pairs, uint64_t count)
{
    if (count > shellOnlyInsertionMax) {
        uint64_t gap = 1;
        while (9 * gap < count)
            gap = 3 * gap + 1;
        for (; gap > 1; gap /= 3)
            gapInsertionPass(pairs, count, gap);
    }
    insertionSort(pairs, count);
}

// Sorts the pairs at the given positions by key, in place (positions ascending and distinct).
template <size_t N> void sortSamples(UValueKeyPair* pairs, const uint64_t (&positions)[N])
{
    for (size_t i = 1; i < N; ++i) {
        const UValueKeyPair pair = pairs[positions[i]];
        size_t j = i;
        while (j > 0 && pairs[positions[j - 1]].key > pair.key) {
            pairs[positions[j]] = pairs[positions[j - 1]];
            --j;
        }
        pairs[positions[j]] = pair;
    }
}

// Whether the three keys lie far enough apart for the median to split the range well.
bool spreadIsWide(uint64_t smallest, uint64_t median, uint64_t largest, uint64_t count)
{
    const uint64_t margin = spreadMinimum + count / spreadDivisor;
    if (median > ~uint64_t(0) - margin)
        return false;
    return median >= smallest + margin && largest >= median + margin;
}

UValueKeyPair* medianOfFive(UValueKeyPair* pairs, uint64_t count)
{
    const uint64_t quarter = count / 4;
    const uint64_t positions[5] = { 0, quarter, 2 * quarter, 3 * quarter, count - 1 };
    sortSamples(pairs, positions);
    if (spreadIsWide(
            pairs[positions[0]].key, pairs[positions[2]].key, pairs[positions[4]].key, count))
        return &pairs[positions[2]];
    return nullptr;
}

// Partitions around the pivot; returns the sizes of the parts left and right of the pivot's keys.
// The pivot's key is at least spreadMinimum, so a zero key at position 0 stops the right scan.
std::pair<uint64_t, uint64_t> partition(
    UValueKeyPair* pairs, uint64_t count, UValueKeyPair* pivotPtr)
{
    std::swap(pairs[0], *pivotPtr);
    const UValueKeyPair pivot = pairs[0];
    pairs[0].key = 0;
    uint64_t left = 1;
    uint64_t right = count - 1;
    for (;;) {
        while (left < count && pairs[left].key <= pivot.key)
            ++left;
        while (pairs[right].key >= pivot.key)
            --right;
        if (left >= right)
            break;
        std::swap(pairs[left], pairs[right]);
    }
    pairs[0] = pairs[right];
    pairs[right] = pivot;
    return { right, count - left };
}

void sortPart(UValueKeyPair* pairs, uint64_t count)
{
    if (count <= shellSortMax)
        shellSort(pairs, count);
    else
        USortValueKeyPairs(pairs, count);
}

UValueKeyPair* allocatePairs(uint64_t count)
{
    if (count > SIZE_MAX / sizeof(UValueKeyPair))
        UFemRaiseMemoryAllocationFailed();
    auto* pairs = new (std::nothrow) UValueKeyPair[count];
    if (!pairs)
        UFemRaiseMemoryAllocationFailed();
    return pairs;
}

} // namespace

void USortValueKeyPairs(UValueKeyPair* pairs, uint64_t count)
{
    // The larger part is sorted by the loop, the smaller by recursion, so the stack stays shallow.
    while (count > shellSortMax) {
        UValueKeyPair* pivot = medianOfFive(pairs, count);
        if (!pivot) {
            if (count < quickSortFallbackShellMax + 1) {
                shellSort(pairs, count);
                return;
            }
            pivot = USortValueKeyPairsFindPivot(pairs, count);
            if (!pivot)
                return;
        }
        const auto [leftCount, rightCount] = partition(pairs, count, pivot);
        UValueKeyPair* right = pairs + (count - rightCount);
        if (leftCount < rightCount) {
            sortPart(pairs, leftCount);
            pairs = right;
            count = rightCount;
        } else {
            sortPart(right, rightCount);
            count = leftCount;
        }
    }
    shellSort(pairs, count);
}

UValueKeyPair* USortValueKeyPairsFindPivot(UValueKeyPair* pairs, uint64_t count)
{
    if (count <= quickSortFallbackShellMax) {
        shellSort(pairs, count);
        return nullptr;
    }
    const uint64_t eighth = count / 8;
    const uint64_t positions[9] = { 0, eighth, 2 * eighth, 3 * eighth, 4 * eighth, 5 * eighth,
        6 * eighth, 7 * eighth, count - 1 };
    sortSamples(pairs, positions);
    if (spreadIsWide(
            pairs[positions[0]].key, pairs[positions[4]].key, pairs[positions[8]].key, count))
        return &pairs[positions[4]];
    if (count < findPivotShellMax) {
        shellSort(pairs, count);
        return nullptr;
    }
    const uint64_t middle = count / 2;
    for (const uint64_t gap : { count / 5, count / 12 }) {
        gapInsertionPass(pairs, count, gap);
        insertionSort(pairs, windowSize);
        insertionSort(pairs + middle - windowSize / 2, windowSize);
        insertionSort(pairs + count - windowSize, windowSize);
        if (spreadIsWide(pairs[0].key, pairs[middle].key, pairs[count - 1].key, count))
            return &pairs[middle];
    }
    shellSort(pairs, count);
    return nullptr;
}

void USortValueKeyPairsByBubbleSort(UValueKeyPair* pairs, uint64_t count)
{
    for (uint64_t end = count; end > 1; --end) {
        for (uint64_t i = 0; i + 1 < end; ++i) {
            if (pairs[i].key > pairs[i + 1].key)
                std::swap(pairs[i], pairs[i + 1]);
        }
    }
}

void USortIndexArrayByKeyTable(uint64_t* indexArray, const uint64_t* keyTable, uint64_t count)
{
    UValueKeyPair stackPairs[stackPairCount];
    std::unique_ptr<UValueKeyPair[]> heapPairs;
    UValueKeyPair* pairs = stackPairs;
    if (count > stackPairCount) {
        heapPairs.reset(allocatePairs(count));
        pairs = heapPairs.get();
    }
    for (uint64_t i = 0; i < count; ++i)
        pairs[i] = { indexArray[i], keyTable[indexArray[i]] };
    if (count <= insertionSortMax)
        insertionSort(pairs, count);
    else if (count <= shellSortMax)
        shellSort(pairs, count);
    else
        USortValueKeyPairs(pairs, count);
    for (uint64_t i = 0; i < count; ++i)
        indexArray[i] = pairs[i].value;
}

void UMakeInversePermutation(uint64_t* inverse, const uint64_t* permutation,
    uint64_t permutationCount, uint64_t inverseCount)
{
    std::fill(inverse, inverse + inverseCount, UFemNotFound);
    for (uint64_t i = 0; i < permutationCount; ++i) {
        const uint64_t p = permutation[i];
        if (p == UFemNotFound)
            continue;
        if (p >= inverseCount)
            URaiseRangeException();
        inverse[p] = i;
    }
}

uint64_t UMakeInverseIndexTable(
    std::vector<uint64_t>& table, const uint64_t* permutation, uint64_t count)
{
    table.clear();
    uint64_t largest = 0;
    bool anyPresent = false;
    for (uint64_t i = 0; i < count; ++i) {
        if (permutation[i] != UFemNotFound) {
            largest = anyPresent ? std::max(largest, permutation[i]) : permutation[i];
            anyPresent = true;
        }
    }
    if (!anyPresent)
        return 0;
    if (largest >= table.max_size())
        UFemRaiseMemoryAllocationFailed();
    try {
        table.assign(largest + 1, UFemNotFound);
    } catch (const std::bad_alloc&) {
        UFemRaiseMemoryAllocationFailed();
    }
    for (uint64_t i = 0; i < count; ++i) {
        if (permutation[i] != UFemNotFound)
            table[permutation[i]] = i;
    }
    return largest + 1;
}
