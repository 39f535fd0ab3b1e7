#include "foundation/containers/UPointerHashMap.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace {

// Every entry of the reference is found with its value, and nothing else is.
template <typename Key>
void expectSameEntries(const UOpenHashMap<Key, uint32_t>& map,
    const std::unordered_map<Key, uint32_t>& reference, const std::vector<Key>& keys)
{
    ASSERT_EQ(map.size(), reference.size());
    for (const Key key : keys) {
        const auto found = reference.find(key);
        const auto entry = map.find(key);
        if (found == reference.end()) {
            EXPECT_EQ(entry, map.end());
        } else {
            ASSERT_NE(entry, map.end());
            EXPECT_EQ(entry->second, found->second);
        }
    }
}

// Random insertions, assignments and erasures, then a copy and a walk of it.
template <typename Key> void expectRandomEditsMatchAStandardMap(const std::vector<Key>& keys)
{
    std::unordered_map<Key, uint32_t> reference;
    UOpenHashMap<Key, uint32_t> map;
    std::mt19937 random(7);
    for (int step = 0; step < 40000; ++step) {
        const Key key = keys[random() % keys.size()];
        switch (random() % 4) {
        case 0:
        case 1: {
            const uint32_t value = random();
            const bool inserted = map.try_emplace(key, value).second;
            EXPECT_EQ(inserted, reference.try_emplace(key, value).second);
            break;
        }
        case 2:
            EXPECT_EQ(map.erase(key), reference.erase(key) == 1);
            break;
        default:
            map[key] = uint32_t(step);
            reference[key] = uint32_t(step);
        }
        if (step % 5000 == 0)
            expectSameEntries(map, reference, keys);
    }
    expectSameEntries(map, reference, keys);

    const UOpenHashMap<Key, uint32_t> copy = map;
    expectSameEntries(copy, reference, keys);
    uint64_t visited = 0;
    copy.forEach([&](Key key, uint32_t value) {
        ++visited;
        EXPECT_EQ(reference.at(key), value);
    });
    EXPECT_EQ(visited, reference.size());
}

} // namespace

TEST(PointerHashMap, RandomInsertionsAndErasuresMatchAStandardMap)
{
    // Adjacent objects hash to neighbouring runs, which exercises the backward shift on erasure.
    std::vector<int> pool(3000);
    std::vector<int*> keys;
    for (int& object : pool)
        keys.push_back(&object);
    expectRandomEditsMatchAStandardMap(keys);
}

// Integers are their own hash: numbers in a row fill one long run, and multiples of a table size
// share a home, so erasures shift entries across runs and around the end of the table.
TEST(PointerHashMap, IntegerKeysInRunsAndOnOneHomeMatchAStandardMap)
{
    std::vector<uint64_t> keys;
    for (uint64_t number = 1; number <= 2000; ++number)
        keys.push_back(number);
    for (uint64_t k = 1; k <= 1000; ++k)
        keys.push_back(k * 8192 - 1);
    expectRandomEditsMatchAStandardMap(keys);
}

TEST(PointerHashMap, ErasingByEntryClearingAndReserving)
{
    std::vector<int> pool(100);
    UPointerHashMap<int, uint32_t> map;
    map.reserve(1000);
    for (uint32_t i = 0; i < pool.size(); ++i)
        map.emplace(&pool[i], i);
    EXPECT_FALSE(map.try_emplace(&pool[5], 99).second);
    EXPECT_EQ(map.find(&pool[5])->second, 5u);
    map.erase(map.find(&pool[5]));
    EXPECT_FALSE(map.contains(&pool[5]));
    EXPECT_EQ(map.size(), pool.size() - 1);
    for (uint32_t i = 0; i < pool.size(); ++i) {
        if (i != 5) {
            EXPECT_EQ(map.find(&pool[i])->second, i);
        }
    }
    map.clear();
    EXPECT_TRUE(map.empty());
    EXPECT_FALSE(map.contains(&pool[0]));
    EXPECT_FALSE(map.erase(&pool[0]));
}
