#include "foundation/containers/USorting.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

namespace {

using Pairs = std::vector<UValueKeyPair>;
using KeyMaker = std::function<uint64_t(uint64_t i, uint64_t n, std::mt19937_64&)>;

bool byKey(const UValueKeyPair& a, const UValueKeyPair& b)
{
    return a.key < b.key;
}

bool byKeyThenValue(const UValueKeyPair& a, const UValueKeyPair& b)
{
    return a.key != b.key ? a.key < b.key : a.value < b.value;
}

Pairs makePairs(uint64_t n, const KeyMaker& key, uint64_t seed)
{
    std::mt19937_64 random(seed);
    Pairs pairs(n);
    for (uint64_t i = 0; i < n; ++i)
        pairs[i] = { i, key(i, n, random) };
    return pairs;
}

// The sorted pairs must be the input's pairs (values kept with their keys) in key order.
void expectSortedLikeStdSort(const Pairs& input, Pairs sorted, const std::string& label)
{
    Pairs expected = input;
    std::sort(expected.begin(), expected.end(), byKey);
    ASSERT_EQ(sorted.size(), expected.size()) << label;
    for (size_t i = 0; i < sorted.size(); ++i)
        ASSERT_EQ(sorted[i].key, expected[i].key) << label << " at " << i;
    std::sort(sorted.begin(), sorted.end(), byKeyThenValue);
    std::sort(expected.begin(), expected.end(), byKeyThenValue);
    for (size_t i = 0; i < sorted.size(); ++i)
        ASSERT_EQ(sorted[i].value, expected[i].value) << label << " at " << i;
}

const std::vector<std::pair<const char*, KeyMaker>>& keyShapes()
{
    static const std::vector<std::pair<const char*, KeyMaker>> shapes = {
        { "random", [](uint64_t, uint64_t, std::mt19937_64& r) { return r(); } },
        { "degrees", [](uint64_t, uint64_t, std::mt19937_64& r) { return r() % 30; } },
        { "fourKeys", [](uint64_t, uint64_t, std::mt19937_64& r) { return r() % 4; } },
        { "equal", [](uint64_t, uint64_t, std::mt19937_64&) { return uint64_t(7); } },
        { "ascending", [](uint64_t i, uint64_t, std::mt19937_64&) { return i; } },
        { "descending", [](uint64_t i, uint64_t n, std::mt19937_64&) { return n - i; } },
        { "organPipe",
            [](uint64_t i, uint64_t n, std::mt19937_64&) { return std::min(i, n - i); } },
        { "nearTop",
            [](uint64_t, uint64_t, std::mt19937_64& r) { return ~uint64_t(0) - r() % 1000; } },
        { "zerosAndTop",
            [](uint64_t, uint64_t, std::mt19937_64& r) { return r() % 2 ? 0 : ~uint64_t(0); } },
        { "positions", [](uint64_t, uint64_t n, std::mt19937_64& r) { return r() % (n + 1); } },
    };
    return shapes;
}

} // namespace

TEST(Sorting, ValueKeyPairsMatchStdSortUpTo200000Pairs)
{
    const uint64_t sizes[] = { 0, 1, 2, 5, 9, 10, 16, 17, 64, 65, 128, 129, 200, 512, 513, 777,
        9999, 10000, 10001, 200000 };
    for (const auto& [name, key] : keyShapes()) {
        for (const uint64_t n : sizes) {
            const Pairs input = makePairs(n, key, n * 31 + 5);
            Pairs sorted = input;
            USortValueKeyPairs(sorted.data(), n);
            expectSortedLikeStdSort(input, sorted, std::string(name) + " n=" + std::to_string(n));
        }
    }
}

TEST(Sorting, FourKeysTakeTheFallbackPathAndEndSorted)
{
    // 200 pairs with keys 0..3: the spread is below 4 + 200 / 32, so no quicksort partition runs.
    const Pairs input = makePairs(
        200, [](uint64_t i, uint64_t, std::mt19937_64&) { return (i * 7) % 4; }, 1);
    Pairs sorted = input;
    USortValueKeyPairs(sorted.data(), sorted.size());
    expectSortedLikeStdSort(input, sorted, "fourKeys");
}

TEST(Sorting, FindPivotGivesAPairOfTheRangeOrSortsIt)
{
    for (const uint64_t n : { 600u, 9000u, 20000u, 150000u }) {
        for (const auto& [name, key] : keyShapes()) {
            const Pairs input = makePairs(n, key, n);
            Pairs work = input;
            UValueKeyPair* pivot = USortValueKeyPairsFindPivot(work.data(), n);
            const std::string label = std::string(name) + " n=" + std::to_string(n);
            if (pivot) {
                ASSERT_GE(pivot, work.data()) << label;
                ASSERT_LT(pivot, work.data() + n) << label;
                // The pivot splits the range: keys at least 4 + n/32 below and above it exist.
                const uint64_t margin = 4 + n / 32;
                const auto [low, high] = std::minmax_element(work.begin(), work.end(), byKey);
                EXPECT_GE(pivot->key, low->key + margin) << label;
                EXPECT_GE(high->key, pivot->key + margin) << label;
                std::sort(work.begin(), work.end(), byKey); // still a permutation of the input
            }
            expectSortedLikeStdSort(input, work, label);
        }
    }
}

TEST(Sorting, BubbleSortIsStable)
{
    const Pairs input = makePairs(
        300, [](uint64_t, uint64_t, std::mt19937_64& r) { return r() % 10; }, 3);
    Pairs sorted = input;
    USortValueKeyPairsByBubbleSort(sorted.data(), sorted.size());
    Pairs expected = input;
    std::stable_sort(expected.begin(), expected.end(), byKey);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(sorted[i].key, expected[i].key);
        EXPECT_EQ(sorted[i].value, expected[i].value);
    }
    USortValueKeyPairsByBubbleSort(sorted.data(), 0);
}

TEST(Sorting, IndexArrayByKeyTable)
{
    // Equal keys below 17 entries keep their given order.
    const std::vector<uint64_t> equalKeys(20, 3);
    std::vector<uint64_t> indexes = { 9, 4, 15, 0, 2, 11, 7, 1, 3, 5, 6, 8, 10, 12, 13, 14 };
    const std::vector<uint64_t> given = indexes;
    USortIndexArrayByKeyTable(indexes.data(), equalKeys.data(), indexes.size());
    EXPECT_EQ(indexes, given);

    // Small inputs are stable; every size sorts by the keys of the indexes.
    std::mt19937_64 random(11);
    for (const uint64_t n : { 1u, 16u, 17u, 64u, 65u, 128u, 129u, 5000u, 200000u }) {
        std::vector<uint64_t> keyTable(n + 10);
        for (uint64_t& key : keyTable)
            key = random() % (n / 3 + 2);
        std::vector<uint64_t> array(n);
        for (uint64_t i = 0; i < n; ++i)
            array[i] = (i * 7919 + 3) % keyTable.size();
        std::vector<uint64_t> expected = array;
        std::stable_sort(expected.begin(), expected.end(),
            [&](uint64_t a, uint64_t b) { return keyTable[a] < keyTable[b]; });
        USortIndexArrayByKeyTable(array.data(), keyTable.data(), n);
        if (n <= 16) {
            EXPECT_EQ(array, expected) << n;
        }
        for (uint64_t i = 0; i < n; ++i)
            ASSERT_EQ(keyTable[array[i]], keyTable[expected[i]]) << n << " at " << i;
        std::sort(array.begin(), array.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(array, expected) << n;
    }
}

TEST(Sorting, InverseTables)
{
    const uint64_t permutation[] = { 2, UFemNotFound, 0 };
    uint64_t inverse[3] = { 5, 5, 5 };
    UMakeInversePermutation(inverse, permutation, 3, 3);
    EXPECT_EQ(inverse[0], 2u);
    EXPECT_EQ(inverse[1], UFemNotFound);
    EXPECT_EQ(inverse[2], 0u);
    uint64_t tooSmall[2];
    EXPECT_THROW(UMakeInversePermutation(tooSmall, permutation, 3, 2), URangeException);

    std::vector<uint64_t> table;
    const uint64_t fiveOne[] = { 5, 1 };
    EXPECT_EQ(UMakeInverseIndexTable(table, fiveOne, 2), 6u);
    EXPECT_EQ(table,
        (std::vector<uint64_t> { UFemNotFound, 1, UFemNotFound, UFemNotFound, UFemNotFound, 0 }));

    const uint64_t allAbsent[] = { UFemNotFound, UFemNotFound };
    EXPECT_EQ(UMakeInverseIndexTable(table, allAbsent, 2), 0u);
    EXPECT_TRUE(table.empty());
    EXPECT_EQ(UMakeInverseIndexTable(table, nullptr, 0), 0u);
}
