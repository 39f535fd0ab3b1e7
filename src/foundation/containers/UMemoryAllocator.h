#pragma once

#include "foundation/containers/UMemoryStorage.h"

#include <cstdint>
#include <memory>
#include <mutex>

struct _UCMemoryStorageArray {
    _UCMemoryStorage* table;
    uint64_t capacity;
    uint64_t count;
};

// Root arena: hands out 16-byte-aligned blocks from a growing list of storages by moving a
// pointer. Blocks are never freed one by one; they all die with a reset, release or destruction.
struct _UCMemoryAllocator {
    std::unique_ptr<std::mutex> lock; // null for an arena that belongs to one thread
    uint64_t currentMemoryStorageIndex; // all-ones before the first allocation and after a reset
    char* currentMemoryPtr;
    char* currentMemoryEndPtr;
    _UCMemoryStorageArray memoryStorageArray;
    uint64_t memoryStorageCapacity; // a multiple of UMemoryAllocatorPageSize
    UMemoryHugePageAdvice pageAdvice; // for storages of a huge page or more
};

inline constexpr uint64_t UMemoryAllocatorAlignment = 16;
inline constexpr uint64_t UMemoryAllocatorStorageTableStep = 32;
inline constexpr uint64_t UMemoryAllocatorNoStorage = ~uint64_t(0);

// Every function below raises UFemRaiseMemoryAllocationFailed() when the system cannot supply
// memory; the arena is left as it was before the call.
void UCMemoryAllocatorInit(
    _UCMemoryAllocator* allocator, uint64_t memoryStorageCapacity, bool useLock);
// The advice later storages of at least one huge page are mapped with (huge pages by default).
void UCMemoryAllocatorSetPageAdvice(_UCMemoryAllocator* allocator, UMemoryHugePageAdvice advice);
void* UCMemoryAllocatorAlloc(_UCMemoryAllocator* allocator, uint64_t size);
// Takes the first storage (of the arena's storage capacity) before any block is handed out, so that
// its pages can be made resident ahead of use; the first blocks then come from it.
void UCMemoryAllocatorTakeFirstStorage(_UCMemoryAllocator* allocator);
uint64_t UCMemoryAllocatorTotalCapacity(_UCMemoryAllocator* allocator);
void UCMemoryAllocatorFreeStorages(_UCMemoryAllocator* allocator);
void UCMemoryAllocatorDestroy(_UCMemoryAllocator* allocator);
// Keeps the storages for reuse in order; invalidates every block handed out.
void UCMemoryAllocatorReset(_UCMemoryAllocator* allocator);

// The object form of a root arena; the calculation shares one locked root among its rows.
class UMemoryAllocator {
public:
    UMemoryAllocator(uint64_t memoryStorageCapacity, bool useLock);
    ~UMemoryAllocator();
    UMemoryAllocator(const UMemoryAllocator&) = delete;
    UMemoryAllocator& operator=(const UMemoryAllocator&) = delete;

    _UCMemoryAllocator* memoryAllocatorStructPtr() { return &memoryAllocator_; }
    void* allocMemoryWithSize(uint64_t size)
    {
        return UCMemoryAllocatorAlloc(&memoryAllocator_, size);
    }
    void clearMemory() { UCMemoryAllocatorReset(&memoryAllocator_); }
    void freeMemory() { UCMemoryAllocatorFreeStorages(&memoryAllocator_); }
    uint64_t totalMemoryCapacity() { return UCMemoryAllocatorTotalCapacity(&memoryAllocator_); }

private:
    _UCMemoryAllocator memoryAllocator_;
};
