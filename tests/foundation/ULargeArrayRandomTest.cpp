#include "foundation/containers/ULargeArray.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <thread>
#include <vector>

namespace {

struct Item {
    uint64_t id;
};

using Array = ULargeArray<Item>;
using ItemPtr = std::shared_ptr<Item>;

// Drives a large array and a plain vector of the same objects with the same random edits.
class Differential {
public:
    explicit Differential(uint64_t seed)
        : random_(seed)
    {
    }
    const Array& array() const { return array_; }

    void run(int operations, uint64_t targetSize, uint64_t prefill = 0)
    {
        {
            const std::vector<ItemPtr> items = takeFree(prefill);
            array_.addObjectsFromArray(items);
            insertModel(0, items);
        }
        for (int step = 0; step < operations; ++step) {
            const uint64_t operation = random_() % 100;
            edit(operation, targetSize);
            ASSERT_EQ(array_.count(), model_.size())
                << "step " << step << " operation " << operation;
            if (!model_.empty()) {
                const uint64_t index = pick(model_.size());
                ASSERT_EQ(array_.objectAtIndex(index).get(), model_[index]) << "step " << step;
            }
            if (step % 2000 == 0)
                checkWhole(step);
        }
        checkWhole(operations);
    }

private:
    uint64_t pick(uint64_t bound) { return bound == 0 ? 0 : random_() % bound; }

    ItemPtr takeFree()
    {
        if (free_.empty()) {
            all_.push_back(std::make_shared<Item>(Item { all_.size() }));
            return all_.back();
        }
        const uint64_t id = free_.back();
        free_.pop_back();
        return all_[id];
    }

    std::vector<ItemPtr> takeFree(uint64_t count)
    {
        std::vector<ItemPtr> items;
        for (uint64_t i = 0; i < count; ++i)
            items.push_back(takeFree());
        return items;
    }

    void releaseModel(uint64_t from, uint64_t to)
    {
        for (uint64_t i = from; i < to; ++i)
            free_.push_back(model_[i]->id);
        model_.erase(model_.begin() + from, model_.begin() + to);
    }

    void insertModel(uint64_t index, const std::vector<ItemPtr>& items)
    {
        std::vector<Item*> raw;
        for (const ItemPtr& item : items)
            raw.push_back(item.get());
        model_.insert(model_.begin() + index, raw.begin(), raw.end());
    }

    uint64_t bulkLength() { return random_() % 16 == 0 ? pick(2500) : pick(40); }

    void edit(uint64_t operation, uint64_t targetSize)
    {
        const uint64_t size = model_.size();
        const bool shrink = size > targetSize;
        if (size < targetSize && operation >= 37 && operation < 90 && random_() % 2)
            operation %= 37; // drifts towards the target size
        if (operation < 20 && !shrink) {
            const ItemPtr item = takeFree();
            const uint64_t index = pick(size + 1);
            array_.insertObject(item, index);
            model_.insert(model_.begin() + index, item.get());
        } else if (operation < 28 && !shrink) {
            const ItemPtr item = takeFree();
            array_.addObject(item);
            model_.push_back(item.get());
        } else if (operation < 34 && !shrink) {
            const std::vector<ItemPtr> items = takeFree(bulkLength());
            const uint64_t index = pick(size + 1);
            array_.insertObjectFromArray(items, index);
            insertModel(index, items);
        } else if (operation < 37 && !shrink) {
            const std::vector<ItemPtr> items = takeFree(bulkLength());
            array_.addObjectsFromArray(items);
            insertModel(size, items);
        } else if (operation < 60 && size > 0) {
            const uint64_t index = pick(size);
            array_.removeObjectAtIndex(index);
            releaseModel(index, index + 1);
        } else if (operation < 64 && size > 0) {
            array_.removeLastObject();
            releaseModel(size - 1, size);
        } else if (operation < 70 && size > 0) {
            const uint64_t location = pick(size);
            const uint64_t length = std::min(size - location, bulkLength());
            array_.removeObjectsInRange({ location, length });
            releaseModel(location, location + length);
        } else if (operation < 74 && size > 0) {
            removeIndexes(size);
        } else if (operation < 80 && size > 0) {
            const uint64_t index = pick(size);
            const ItemPtr item = all_[model_[index]->id];
            if (random_() % 2)
                array_.removeObjectIdenticalTo(item);
            else
                array_.removeObject(item);
            releaseModel(index, index + 1);
        } else if (operation < 86 && size > 0) {
            const uint64_t index = pick(size);
            const ItemPtr item = takeFree();
            array_.replaceObjectAtIndex(index, item);
            free_.push_back(model_[index]->id);
            model_[index] = item.get();
        } else if (operation < 90 && size > 0) {
            const uint64_t location = pick(size);
            const uint64_t length = std::min(size - location, bulkLength());
            const std::vector<ItemPtr> items = takeFree(bulkLength());
            array_.replaceObjectsInRange({ location, length }, items);
            releaseModel(location, location + length);
            insertModel(location, items);
        } else if (operation < 97) {
            checkSearches();
        } else if (operation < 98) {
            checkGetObjects();
        } else if (operation < 99 && random_() % 20 == 0) {
            array_.optimizeWithOptimizeLevel(2);
        } else if (random_() % 50 == 0) {
            array_.removeAllObjects();
            releaseModel(0, size);
        }
    }

    void removeIndexes(uint64_t size)
    {
        std::vector<uint64_t> indexes;
        const uint64_t count = 1 + pick(random_() % 12 == 0 ? 2000 : 40);
        const uint64_t base = pick(size);
        for (uint64_t i = 0; i < count; ++i)
            indexes.push_back((base + pick(3000)) % size);
        std::sort(indexes.begin(), indexes.end());
        indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
        if (random_() % 2)
            array_.removeObjectsAtIndexes(indexes);
        else
            array_.removeObjectsFromIndices(indexes.data(), indexes.size());
        uint64_t write = indexes.front();
        auto next = indexes.begin();
        for (uint64_t read = write; read < size; ++read) {
            if (next != indexes.end() && *next == read) {
                free_.push_back(model_[read]->id);
                ++next;
            } else {
                model_[write++] = model_[read];
            }
        }
        model_.resize(write);
    }

    void checkSearches()
    {
        if (model_.empty() || free_.empty())
            return;
        const uint64_t index = pick(model_.size());
        const ItemPtr& member = all_[model_[index]->id];
        ASSERT_TRUE(array_.containsObject(member));
        ASSERT_EQ(array_.indexOfObjectIdenticalTo(member), index);
        const uint64_t location = pick(model_.size());
        const uint64_t length = pick(model_.size() - location + 1);
        const bool inside = index >= location && index < location + length;
        ASSERT_EQ(array_.indexOfObjectIdenticalTo(member, { location, length }),
            inside ? index : UNSNotFound);
        const ItemPtr& outsider = all_[free_.back()];
        ASSERT_FALSE(array_.containsObject(outsider));
        ASSERT_EQ(array_.indexOfObject(outsider), UNSNotFound);
    }

    void checkGetObjects()
    {
        const uint64_t location = pick(model_.size() + 1);
        const uint64_t length = pick(model_.size() - location + 1);
        std::vector<ItemPtr> buffer(length);
        array_.getObjects(buffer.data(), { location, length });
        for (uint64_t i = 0; i < length; ++i)
            ASSERT_EQ(buffer[i].get(), model_[location + i]);
    }

    void checkWhole(int step)
    {
        ASSERT_EQ(array_.invariantViolation(), QString()) << "step " << step;
        const std::vector<ItemPtr> objects = array_.toVector();
        ASSERT_EQ(objects.size(), model_.size());
        for (size_t i = 0; i < objects.size(); ++i)
            ASSERT_EQ(objects[i].get(), model_[i]) << "step " << step << " index " << i;
        // Objects outside the array are held by the test alone.
        for (const uint64_t id : free_)
            ASSERT_EQ(all_[id].use_count(), 1) << "step " << step;
    }

    std::mt19937_64 random_;
    Array array_;
    std::vector<Item*> model_;
    std::vector<ItemPtr> all_;
    std::vector<uint64_t> free_;
};

} // namespace

TEST(LargeArrayRandom, MatchesAVectorOverMixedEdits)
{
    Differential differential(1);
    differential.run(260000, 5000);
}

// Past 65,536 objects the reference size doubles and the children are rebalanced to it.
TEST(LargeArrayRandom, MatchesAVectorAcrossAReferenceSizeChange)
{
    Differential differential(2);
    differential.run(40000, 80000, 64000);
    EXPECT_EQ(differential.array().childArrayCount_ref(), 2048u);
}

// Readers share an array whose starts are mostly stale; every lookup must still be right.
TEST(LargeArrayThreads, ConcurrentReadersFindTheSameObjects)
{
    constexpr int threadCount = 8;
    std::vector<ItemPtr> items;
    for (uint64_t i = 0; i < 60000; ++i)
        items.push_back(std::make_shared<Item>(Item { i }));
    Array array(items.data(), items.size());
    std::mt19937_64 random(5);
    for (int i = 0; i < 300; ++i) {
        const uint64_t index = random() % array.count();
        array.removeObjectAtIndex(index);
        items.erase(items.begin() + index);
    }
    array.removeObjectAtIndex(0); // leaves only the first start known
    items.erase(items.begin());

    std::vector<std::thread> threads;
    std::vector<int> failures(threadCount, 0);
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            std::mt19937_64 local(t);
            for (int i = 0; i < 3000; ++i) {
                const uint64_t index
                    = t % 2 ? local() % items.size() : items.size() - 1 - (local() % 2000);
                failures[t] += array.objectAtIndex(index) != items[index];
                const uint64_t other = local() % items.size();
                failures[t] += array.indexOfObjectIdenticalTo(items[other]) != other;
                if (i % 300 == 0) {
                    std::vector<ItemPtr> buffer(500);
                    const uint64_t location = local() % (items.size() - 500);
                    array.getObjects(buffer.data(), { location, 500 });
                    failures[t] += buffer.back() != items[location + 499];
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < threadCount; ++t)
        EXPECT_EQ(failures[t], 0) << "thread " << t;
    EXPECT_EQ(array.invariantViolation(), QString());
}
