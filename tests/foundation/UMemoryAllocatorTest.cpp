#include "foundation/containers/UMemoryAllocator.h"
#include "foundation/containers/UChildMemoryAllocator.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

namespace {

uintptr_t address(const void* p)
{
    return reinterpret_cast<uintptr_t>(p);
}

uint64_t storageSize(UMemoryAllocator& arena, uint64_t index)
{
    return arena.memoryAllocatorStructPtr()->memoryStorageArray.table[index].size;
}

uint64_t storageCount(UMemoryAllocator& arena)
{
    return arena.memoryAllocatorStructPtr()->memoryStorageArray.count;
}

int agreeingAdvice(void*, size_t)
{
    return 0;
}

int refusingAdvice(void*, size_t)
{
    return -1;
}

} // namespace

TEST(MemoryArena, StorageCapacitiesArePageRounded)
{
    UMemoryAllocator rounded(10000, false);
    EXPECT_EQ(rounded.memoryAllocatorStructPtr()->memoryStorageCapacity, 12288u);
    EXPECT_EQ(
        rounded.memoryAllocatorStructPtr()->currentMemoryStorageIndex, UMemoryAllocatorNoStorage);
    EXPECT_EQ(rounded.memoryAllocatorStructPtr()->memoryStorageArray.capacity, 32u);
    EXPECT_EQ(rounded.totalMemoryCapacity(), 0u);
    rounded.allocMemoryWithSize(1);
    EXPECT_EQ(rounded.totalMemoryCapacity(), 12288u);
    EXPECT_EQ(
        address(rounded.memoryAllocatorStructPtr()->memoryStorageArray.table[0].storage) % 4096,
        0u);

    UMemoryAllocator exact(4096, false);
    exact.allocMemoryWithSize(1);
    EXPECT_EQ(exact.totalMemoryCapacity(), 4096u);

    UMemoryAllocator zero(0, false);
    void* a = zero.allocMemoryWithSize(100);
    void* b = zero.allocMemoryWithSize(5000);
    ASSERT_EQ(storageCount(zero), 2u);
    EXPECT_EQ(storageSize(zero, 0), 4096u);
    EXPECT_EQ(storageSize(zero, 1), 8192u);
    EXPECT_NE(a, b);
    UMemoryAllocator empty(0, false);
    EXPECT_NE(empty.allocMemoryWithSize(0), nullptr);
    EXPECT_EQ(empty.totalMemoryCapacity(), 4096u);
}

TEST(MemoryArena, BlocksAreSixteenByteAlignedAndPacked)
{
    UMemoryAllocator arena(4096, false);
    char* first = static_cast<char*>(arena.allocMemoryWithSize(1));
    char* second = static_cast<char*>(arena.allocMemoryWithSize(1));
    EXPECT_EQ(second - first, 16);
    char* third = static_cast<char*>(arena.allocMemoryWithSize(17));
    EXPECT_EQ(third - second, 16);
    char* fourth = static_cast<char*>(arena.allocMemoryWithSize(3));
    EXPECT_EQ(fourth - third, 32);
    for (uint64_t size : { 1u, 7u, 16u, 33u, 4000u, 5000u })
        EXPECT_EQ(address(arena.allocMemoryWithSize(size)) % 16, 0u) << size;
}

TEST(MemoryArena, LargeRequestGetsItsOwnStorageThatLaterRequestsShare)
{
    UMemoryAllocator arena(12288, false);
    char* big = static_cast<char*>(arena.allocMemoryWithSize(20000));
    ASSERT_EQ(storageCount(arena), 1u);
    EXPECT_EQ(storageSize(arena, 0), 20480u);
    char* small = static_cast<char*>(arena.allocMemoryWithSize(400));
    EXPECT_EQ(small - big, 20000);
    EXPECT_EQ(storageCount(arena), 1u);
    arena.allocMemoryWithSize(81); // 20,400 + 81 > 20,480: the next storage
    EXPECT_EQ(storageCount(arena), 2u);
    EXPECT_EQ(storageSize(arena, 1), 12288u);
}

TEST(MemoryArena, FirstStorageTakenAheadServesTheFirstBlocks)
{
    UMemoryAllocator arena(12288, false);
    _UCMemoryAllocator* root = arena.memoryAllocatorStructPtr();
    UCMemoryAllocatorTakeFirstStorage(root);
    UCMemoryAllocatorTakeFirstStorage(root);
    ASSERT_EQ(storageCount(arena), 1u);
    const void* storage = root->memoryStorageArray.table[0].storage;
    EXPECT_EQ(arena.allocMemoryWithSize(12288), storage);
    EXPECT_EQ(storageCount(arena), 1u);
}

TEST(MemoryArena, CurrentPointerNeverPassesTheEnd)
{
    UMemoryAllocator arena(4096, false);
    _UCMemoryAllocator* root = arena.memoryAllocatorStructPtr();
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t size = random() % 700;
        char* block = static_cast<char*>(arena.allocMemoryWithSize(size));
        ASSERT_LE(root->currentMemoryPtr, root->currentMemoryEndPtr);
        ASSERT_LE(block + size, root->currentMemoryEndPtr);
        ASSERT_EQ(address(block) % 16, 0u);
    }
    // 4,090 bytes round to the whole page: the next byte opens a new storage.
    UMemoryAllocator tight(4096, false);
    tight.allocMemoryWithSize(4090);
    EXPECT_EQ(tight.memoryAllocatorStructPtr()->currentMemoryPtr,
        tight.memoryAllocatorStructPtr()->currentMemoryEndPtr);
    tight.allocMemoryWithSize(1);
    EXPECT_EQ(storageCount(tight), 2u);
}

TEST(MemoryArena, StorageTableGrowsByThirtyTwoPairs)
{
    UMemoryAllocator arena(4096, false);
    for (int i = 0; i < 32; ++i)
        arena.allocMemoryWithSize(4096);
    EXPECT_EQ(arena.memoryAllocatorStructPtr()->memoryStorageArray.capacity, 32u);
    arena.allocMemoryWithSize(4096);
    EXPECT_EQ(arena.memoryAllocatorStructPtr()->memoryStorageArray.capacity, 64u);
    EXPECT_EQ(storageCount(arena), 33u);
    EXPECT_EQ(arena.totalMemoryCapacity(), 33u * 4096u);
}

TEST(MemoryArena, ClearReusesStoragesInOrderAndFreeReleasesThem)
{
    UMemoryAllocator arena(4096, false);
    std::vector<void*> firstRound;
    for (int i = 0; i < 3; ++i)
        firstRound.push_back(arena.allocMemoryWithSize(4000));
    const uint64_t total = arena.totalMemoryCapacity();
    EXPECT_EQ(total, 3u * 4096u);

    arena.clearMemory();
    EXPECT_EQ(
        arena.memoryAllocatorStructPtr()->currentMemoryStorageIndex, UMemoryAllocatorNoStorage);
    EXPECT_EQ(arena.totalMemoryCapacity(), total);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(arena.allocMemoryWithSize(4000), firstRound[i]) << i;
    EXPECT_EQ(arena.totalMemoryCapacity(), total);

    // A kept storage too small for the request is replaced by one of the request's size.
    arena.clearMemory();
    arena.allocMemoryWithSize(10000);
    EXPECT_EQ(storageSize(arena, 0), 12288u);
    EXPECT_EQ(storageCount(arena), 3u);

    arena.freeMemory();
    EXPECT_EQ(arena.totalMemoryCapacity(), 0u);
    EXPECT_EQ(storageCount(arena), 0u);
    EXPECT_EQ(arena.memoryAllocatorStructPtr()->memoryStorageArray.capacity, 32u);
    arena.allocMemoryWithSize(8);
    EXPECT_EQ(arena.memoryAllocatorStructPtr()->currentMemoryStorageIndex, 0u);
    EXPECT_EQ(arena.totalMemoryCapacity(), 4096u);
}

TEST(MemoryArena, DestroyZeroesTheRecord)
{
    _UCMemoryAllocator root;
    UCMemoryAllocatorInit(&root, 100, true);
    EXPECT_NE(root.lock, nullptr);
    EXPECT_EQ(root.memoryStorageCapacity, 4096u);
    UCMemoryAllocatorAlloc(&root, 10);
    UCMemoryAllocatorDestroy(&root);
    EXPECT_EQ(root.lock, nullptr);
    EXPECT_EQ(root.memoryStorageArray.table, nullptr);
    EXPECT_EQ(root.memoryStorageArray.count, 0u);
    EXPECT_EQ(root.memoryStorageCapacity, 0u);
}

TEST(MemoryArena, ImpossibleRequestsRaiseTheAllocationError)
{
    UMemoryAllocator arena(4096, true);
    try {
        arena.allocMemoryWithSize(~uint64_t(0) - 5);
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), "Memory allocation failed.");
    }
    // The arena is unchanged and its lock released.
    EXPECT_EQ(arena.totalMemoryCapacity(), 0u);
    EXPECT_NE(arena.allocMemoryWithSize(16), nullptr);

    UChildMemoryAllocator child(arena.memoryAllocatorStructPtr(), 1024);
    EXPECT_THROW(child.allocMemoryWithSize(~uint64_t(0) - 5), UException);
}

TEST(MemoryArena, ChildCutsBlocksFromChunks)
{
    UMemoryAllocator root(4096, false);
    UChildMemoryAllocator child(root.memoryAllocatorStructPtr(), 40);
    char* a = static_cast<char*>(child.allocMemoryWithSize(16));
    char* b = static_cast<char*>(child.allocMemoryWithSize(16));
    EXPECT_EQ(b - a, 16);
    EXPECT_EQ(child.totalMemoryCapacity(), 40u);
    // Eight bytes are left in the chunk: a request of 8 is served there, the next takes a chunk.
    char* c = static_cast<char*>(child.allocMemoryWithSize(8));
    EXPECT_EQ(c - a, 32);
    char* d = static_cast<char*>(child.allocMemoryWithSize(1));
    EXPECT_EQ(child.totalMemoryCapacity(), 80u);
    EXPECT_EQ(d - a, 48); // the root rounds the 40-byte chunk to 48
    EXPECT_EQ(address(d) % 16, 0u);
}

// From one huge page on a storage is its own 2 MiB-aligned mapping, of the size asked (its end
// stays in small pages); where the advice is refused or the storage is smaller, an allocation as
// before. Either way fresh, writable and freed by the right call (the sanitizers check the free).
TEST(MemoryArena, LargeStoragesAreHugePageAlignedMappingsUnlessRefused)
{
    struct Case {
        uint64_t size;
        UMemoryHugePageAdvice advice;
        bool mapped;
    };
    const uint64_t large = 3 * UMemoryAllocatorHugePageSize / 2 + UMemoryAllocatorPageSize;
    for (const Case& c : { Case { large, agreeingAdvice, true },
             Case { UMemoryAllocatorHugePageSize, agreeingAdvice, true },
             Case { large, refusingAdvice, false },
             Case { UMemoryAllocatorHugePageSize - UMemoryAllocatorPageSize, agreeingAdvice,
                 false } }) {
        const _UCMemoryStorage storage = UCMemoryStorageAllocate(c.size, c.advice);
        EXPECT_EQ(storage.isMapped, c.mapped) << c.size;
        EXPECT_EQ(storage.size, c.size);
        EXPECT_EQ(address(storage.storage)
                % (c.mapped ? UMemoryAllocatorHugePageSize : UMemoryAllocatorPageSize),
            0u);
        auto* bytes = static_cast<unsigned char*>(storage.storage);
        if (c.mapped) {
            EXPECT_EQ(std::count(bytes, bytes + c.size, 0), std::ptrdiff_t(c.size));
        }
        std::memset(bytes, 0xA5, c.size);
        EXPECT_EQ(bytes[c.size - 1], 0xA5);
        UCMemoryStorageFree(storage);
    }

    // The arena's accounting counts what it asked for, not a rounding to huge pages.
    UMemoryAllocator arena(large, false);
    arena.allocMemoryWithSize(1);
    EXPECT_EQ(arena.totalMemoryCapacity(), large);
    const _UCMemoryStorage& kept = arena.memoryAllocatorStructPtr()->memoryStorageArray.table[0];
    if (kept.isMapped) {
        EXPECT_EQ(address(kept.storage) % UMemoryAllocatorHugePageSize, 0u);
    }
    // The arena's own advice decides for its later storages.
    UCMemoryAllocatorSetPageAdvice(arena.memoryAllocatorStructPtr(), refusingAdvice);
    arena.allocMemoryWithSize(large);
    EXPECT_FALSE(arena.memoryAllocatorStructPtr()->memoryStorageArray.table[1].isMapped);
}

TEST(MemoryArena, ChildTakesRequestsOfAWholeChunkStraightFromTheRoot)
{
    UMemoryAllocator root(1 << 20, false);
    UChildMemoryAllocator child(root.memoryAllocatorStructPtr(), 65536);
    char* small = static_cast<char*>(child.allocMemoryWithSize(100));
    EXPECT_EQ(child.totalMemoryCapacity(), 65536u);
    char* whole = static_cast<char*>(child.allocMemoryWithSize(65536));
    EXPECT_EQ(whole - small, 65536);
    EXPECT_EQ(child.totalMemoryCapacity(), 131072u);
    char* next = static_cast<char*>(child.allocMemoryWithSize(100));
    EXPECT_EQ(next - small, 131072); // a new chunk, the first one's rest abandoned
    EXPECT_EQ(child.totalMemoryCapacity(), 196608u);

    child.clearMemory();
    EXPECT_EQ(child.totalMemoryCapacity(), 0u);
    child.allocMemoryWithSize(1);
    EXPECT_EQ(child.totalMemoryCapacity(), 65536u);

    _UCChildMemoryAllocator record;
    UCChildMemoryAllocatorInit(&record, root.memoryAllocatorStructPtr(), 256);
    UCChildMemoryAllocatorAlloc(&record, 10);
    UCChildMemoryAllocatorClear(&record);
    EXPECT_EQ(record.rootMemoryAllocatorPtr, nullptr);
    EXPECT_EQ(record.memoryStorageCapacity, 0u);
    EXPECT_EQ(record.currentMemoryPtr, nullptr);
    EXPECT_EQ(record.totalMemoryCapacity, 256u);
}

// Worker threads each fill rows through their own child arena on one locked root; every block
// must be private to its writer.
TEST(MemoryArenaThreads, ChildArenasShareALockedRoot)
{
    constexpr int threadCount = 8;
    constexpr int blocksPerThread = 4000;
    UMemoryAllocator root(1 << 16, true);
    std::vector<std::vector<std::pair<unsigned char*, uint64_t>>> blocks(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            UChildMemoryAllocator child(root.memoryAllocatorStructPtr(), 4096);
            std::mt19937 random(t);
            for (int i = 0; i < blocksPerThread; ++i) {
                const uint64_t size = 1 + random() % (i % 100 == 0 ? 9000 : 200);
                auto* block = static_cast<unsigned char*>(child.allocMemoryWithSize(size));
                std::memset(block, t + 1, size);
                blocks[t].push_back({ block, size });
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < threadCount; ++t) {
        for (const auto& [block, size] : blocks[t]) {
            ASSERT_EQ(address(block) % 16, 0u);
            for (uint64_t i = 0; i < size; ++i)
                ASSERT_EQ(block[i], t + 1);
        }
    }
    EXPECT_GT(root.totalMemoryCapacity(), 0u);
}
