#include "foundation/containers/UChildMemoryAllocator.h"

#include "foundation/errors/UException.h"

#include <algorithm>

void UCChildMemoryAllocatorInit(
    _UCChildMemoryAllocator* allocator, _UCMemoryAllocator* root, uint64_t chunkSize)
{
    *allocator = { nullptr, nullptr, root, chunkSize, 0 };
}

void* UCChildMemoryAllocatorAlloc(_UCChildMemoryAllocator* allocator, uint64_t size)
{
    if (size > ~uint64_t(0) - (UMemoryAllocatorAlignment - 1))
        UFemRaiseMemoryAllocationFailed();
    const uint64_t rounded
        = (size + UMemoryAllocatorAlignment - 1) & ~(UMemoryAllocatorAlignment - 1);
    char* current = allocator->currentMemoryPtr;
    if (current && size <= uint64_t(allocator->currentMemoryEndPtr - current)) {
        const uint64_t left = uint64_t(allocator->currentMemoryEndPtr - current);
        allocator->currentMemoryPtr = current + std::min(rounded, left);
        return current;
    }
    const uint64_t chunkSize = allocator->memoryStorageCapacity;
    if (size < chunkSize) {
        char* chunk = static_cast<char*>(
            UCMemoryAllocatorAlloc(allocator->rootMemoryAllocatorPtr, chunkSize));
        allocator->currentMemoryEndPtr = chunk + chunkSize;
        allocator->currentMemoryPtr = chunk + std::min(rounded, chunkSize);
        allocator->totalMemoryCapacity += chunkSize;
        return chunk;
    }
    void* block = UCMemoryAllocatorAlloc(allocator->rootMemoryAllocatorPtr, rounded);
    allocator->currentMemoryPtr = nullptr;
    allocator->currentMemoryEndPtr = nullptr;
    allocator->totalMemoryCapacity += rounded;
    return block;
}

void UCChildMemoryAllocatorClear(_UCChildMemoryAllocator* allocator)
{
    allocator->currentMemoryPtr = nullptr;
    allocator->currentMemoryEndPtr = nullptr;
    allocator->rootMemoryAllocatorPtr = nullptr;
    allocator->memoryStorageCapacity = 0;
}

UChildMemoryAllocator::UChildMemoryAllocator(
    _UCMemoryAllocator* rootMemoryAllocator, uint64_t memoryStorageCapacity)
{
    UCChildMemoryAllocatorInit(&childMemoryAllocator_, rootMemoryAllocator, memoryStorageCapacity);
}

UChildMemoryAllocator::~UChildMemoryAllocator()
{
    UCChildMemoryAllocatorClear(&childMemoryAllocator_);
}

void UChildMemoryAllocator::clearMemory()
{
    childMemoryAllocator_.currentMemoryPtr = nullptr;
    childMemoryAllocator_.currentMemoryEndPtr = nullptr;
    childMemoryAllocator_.totalMemoryCapacity = 0;
}
