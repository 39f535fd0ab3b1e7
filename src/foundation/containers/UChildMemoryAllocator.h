#pragma once

#include "foundation/containers/UMemoryAllocator.h"

#include <cstdint>

// Child arena: cuts blocks without a lock from fixed-size chunks taken from a (usually locked)
// root, so threads that each own a child contend only once per chunk. It owns no memory; its
// blocks die with the root's reset, release or destruction.
struct _UCChildMemoryAllocator {
    char* currentMemoryPtr;
    char* currentMemoryEndPtr;
    _UCMemoryAllocator* rootMemoryAllocatorPtr; // not owned
    uint64_t memoryStorageCapacity; // chunk size in bytes
    uint64_t totalMemoryCapacity; // bytes taken from the root
};

void UCChildMemoryAllocatorInit(
    _UCChildMemoryAllocator* allocator, _UCMemoryAllocator* root, uint64_t chunkSize);
void* UCChildMemoryAllocatorAlloc(_UCChildMemoryAllocator* allocator, uint64_t size);
// Detaches the child from its root; frees nothing and keeps the total.
void UCChildMemoryAllocatorClear(_UCChildMemoryAllocator* allocator);

class UChildMemoryAllocator {
public:
    UChildMemoryAllocator(_UCMemoryAllocator* rootMemoryAllocator, uint64_t memoryStorageCapacity);
    ~UChildMemoryAllocator();
    UChildMemoryAllocator(const UChildMemoryAllocator&) = delete;
    UChildMemoryAllocator& operator=(const UChildMemoryAllocator&) = delete;

    void* allocMemoryWithSize(uint64_t size)
    {
        return UCChildMemoryAllocatorAlloc(&childMemoryAllocator_, size);
    }
    // Abandons the current chunk and restarts the total; the root and chunk size stay.
    void clearMemory();
    uint64_t totalMemoryCapacity() const { return childMemoryAllocator_.totalMemoryCapacity; }

private:
    _UCChildMemoryAllocator childMemoryAllocator_;
};
