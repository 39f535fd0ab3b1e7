#include "foundation/containers/UPointerHashMap.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

namespace {

// Every entry of the reference is found with its value, and nothing else is.
void expectSameEntries(const UPointerHashMap<int, uint32_t>& map,
    const std::unordered_map<int*, uint32_t>& reference, std::vector<int>& pool)
{
    ASSERT_EQ(map.size(), reference.size());
    for (int& object : pool) {
        const auto found = reference.find(&object);
        const auto entry = map.find(&object);
        if (found == reference.end()) {
            EXPECT_EQ(entry, map.end());
        } else {
            ASSERT_NE(entry, map.end());
            EXPECT_EQ(entry->second, found->second);
        }
    }
}

} // namespace

TEST(PointerHashMap, RandomInsertionsAndErasuresMatchAStandardMap)
{
    // Adjacent objects hash to neighbouring runs, which exercises the backward shift on erasure.
    std::vector<int> pool(3000);
    std::unordered_map<int*, uint32_t> reference;
    UPointerHashMap<int, uint32_t> map;
    std::mt19937 random(7);
    for (int step = 0; step < 40000; ++step) {
        int* object = &pool[random() % pool.size()];
        switch (random() % 4) {
        case 0:
        case 1: {
            const uint32_t value = random();
            const bool inserted = map.try_emplace(object, value).second;
            EXPECT_EQ(inserted, reference.try_emplace(object, value).second);
            break;
        }
        case 2:
            EXPECT_EQ(map.erase(object), reference.erase(object) == 1);
            break;
        default:
            map[object] = uint32_t(step);
            reference[object] = uint32_t(step);
        }
        if (step % 5000 == 0)
            expectSameEntries(map, reference, pool);
    }
    expectSameEntries(map, reference, pool);

    const UPointerHashMap<int, uint32_t> copy = map;
    expectSameEntries(copy, reference, pool);
    uint64_t visited = 0;
    copy.forEach([&](int* key, uint32_t value) {
        ++visited;
        EXPECT_EQ(reference.at(key), value);
    });
    EXPECT_EQ(visited, reference.size());
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
