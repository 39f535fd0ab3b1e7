#include "foundation/containers/UMemoryAllocator.h"

#include "foundation/errors/UException.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

uint64_t roundUp(uint64_t size, uint64_t multiple)
{
    if (size > ~uint64_t(0) - (multiple - 1))
        UFemRaiseMemoryAllocationFailed();
    return (size + multiple - 1) & ~(multiple - 1);
}

// A zero-byte request still gets a whole page, so that a storage is never empty.
uint64_t pageRounded(uint64_t size)
{
    return roundUp(size == 0 ? 1 : size, UMemoryAllocatorPageSize);
}

class OptionalLock {
public:
    explicit OptionalLock(std::mutex* lock)
    {
        if (lock)
            guard_.emplace(*lock);
    }

private:
    std::optional<std::lock_guard<std::mutex>> guard_;
};

void growStorageTable(_UCMemoryStorageArray& array)
{
    const uint64_t capacity
        = std::max(array.capacity + UMemoryAllocatorStorageTableStep, array.count + 1);
    void* table = std::realloc(array.table, capacity * sizeof(_UCMemoryStorage));
    if (!table)
        UFemRaiseMemoryAllocationFailed();
    array.table = static_cast<_UCMemoryStorage*>(table);
    array.capacity = capacity;
}

// Makes the storage at `index` able to hold `size` bytes: a new one is appended, a kept one is
// reused when large enough and replaced otherwise.
_UCMemoryStorage& storageForIndex(_UCMemoryAllocator* allocator, uint64_t index, uint64_t size)
{
    _UCMemoryStorageArray& array = allocator->memoryStorageArray;
    if (index >= array.count) {
        const uint64_t storageSize = std::max(allocator->memoryStorageCapacity, pageRounded(size));
        if (array.count == array.capacity)
            growStorageTable(array);
        array.table[array.count] = UCMemoryStorageAllocate(storageSize, allocator->pageAdvice);
        return array.table[array.count++];
    }
    _UCMemoryStorage& kept = array.table[index];
    if (size > kept.size) {
        const _UCMemoryStorage storage
            = UCMemoryStorageAllocate(pageRounded(size), allocator->pageAdvice);
        UCMemoryStorageFree(kept);
        kept = storage;
    }
    return kept;
}

void releaseStorages(_UCMemoryAllocator* allocator)
{
    _UCMemoryStorageArray& array = allocator->memoryStorageArray;
    for (uint64_t i = 0; i < array.count; ++i)
        UCMemoryStorageFree(array.table[i]);
    array.count = 0;
    allocator->currentMemoryStorageIndex = UMemoryAllocatorNoStorage;
    allocator->currentMemoryPtr = nullptr;
    allocator->currentMemoryEndPtr = nullptr;
}

} // namespace

void UCMemoryAllocatorInit(
    _UCMemoryAllocator* allocator, uint64_t memoryStorageCapacity, bool useLock)
{
    *allocator = _UCMemoryAllocator {};
    const uint64_t capacity = roundUp(memoryStorageCapacity, UMemoryAllocatorPageSize);
    auto* table = static_cast<_UCMemoryStorage*>(
        std::malloc(UMemoryAllocatorStorageTableStep * sizeof(_UCMemoryStorage)));
    if (!table)
        UFemRaiseMemoryAllocationFailed();
    if (useLock)
        allocator->lock = std::make_unique<std::mutex>();
    allocator->currentMemoryStorageIndex = UMemoryAllocatorNoStorage;
    allocator->memoryStorageArray = { table, UMemoryAllocatorStorageTableStep, 0 };
    allocator->memoryStorageCapacity = capacity;
    allocator->pageAdvice = UMemorySystemHugePageAdvice;
}

void UCMemoryAllocatorSetPageAdvice(_UCMemoryAllocator* allocator, UMemoryHugePageAdvice advice)
{
    OptionalLock lock(allocator->lock.get());
    allocator->pageAdvice = advice;
}

void* UCMemoryAllocatorAlloc(_UCMemoryAllocator* allocator, uint64_t size)
{
    OptionalLock lock(allocator->lock.get());
    const uint64_t rounded = roundUp(size, UMemoryAllocatorAlignment);
    char* current = allocator->currentMemoryPtr;
    // Offsets, not pointer sums: the current pointer never passes the end of its storage.
    if (current && size <= uint64_t(allocator->currentMemoryEndPtr - current)) {
        const uint64_t left = uint64_t(allocator->currentMemoryEndPtr - current);
        allocator->currentMemoryPtr = current + std::min(rounded, left);
        return current;
    }
    const uint64_t index = allocator->currentMemoryStorageIndex + 1; // all-ones wraps to 0
    _UCMemoryStorage& storage = storageForIndex(allocator, index, size);
    char* start = static_cast<char*>(storage.storage);
    allocator->currentMemoryStorageIndex = index;
    allocator->currentMemoryEndPtr = start + storage.size;
    allocator->currentMemoryPtr = start + std::min(rounded, storage.size);
    return start;
}

void UCMemoryAllocatorTakeFirstStorage(_UCMemoryAllocator* allocator)
{
    OptionalLock lock(allocator->lock.get());
    if (allocator->memoryStorageArray.count == 0)
        storageForIndex(allocator, 0, allocator->memoryStorageCapacity);
}

uint64_t UCMemoryAllocatorTotalCapacity(_UCMemoryAllocator* allocator)
{
    OptionalLock lock(allocator->lock.get());
    uint64_t total = 0;
    for (uint64_t i = 0; i < allocator->memoryStorageArray.count; ++i)
        total += allocator->memoryStorageArray.table[i].size;
    return total;
}

void UCMemoryAllocatorReset(_UCMemoryAllocator* allocator)
{
    OptionalLock lock(allocator->lock.get());
    allocator->currentMemoryStorageIndex = UMemoryAllocatorNoStorage;
    allocator->currentMemoryPtr = nullptr;
    allocator->currentMemoryEndPtr = nullptr;
}

void UCMemoryAllocatorFreeStorages(_UCMemoryAllocator* allocator)
{
    OptionalLock lock(allocator->lock.get());
    releaseStorages(allocator);
}

void UCMemoryAllocatorDestroy(_UCMemoryAllocator* allocator)
{
    {
        OptionalLock lock(allocator->lock.get());
        releaseStorages(allocator);
    }
    std::free(allocator->memoryStorageArray.table);
    *allocator = _UCMemoryAllocator {};
}

UMemoryAllocator::UMemoryAllocator(uint64_t memoryStorageCapacity, bool useLock)
{
    UCMemoryAllocatorInit(&memoryAllocator_, memoryStorageCapacity, useLock);
}

UMemoryAllocator::~UMemoryAllocator()
{
    UCMemoryAllocatorDestroy(&memoryAllocator_);
}
