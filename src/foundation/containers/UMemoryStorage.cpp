#include "foundation/containers/UMemoryStorage.h"

#include "foundation/errors/UException.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {

_UCMemoryStorage allocateInPages(uint64_t size)
{
    void* storage = nullptr;
    if (size > SIZE_MAX || posix_memalign(&storage, UMemoryAllocatorPageSize, size) != 0)
        UFemRaiseMemoryAllocationFailed();
    return { storage, size, false };
}

// A mapping of `size` bytes starting on a huge-page boundary: mapped with one huge page to spare,
// the unaligned ends cut off.
char* mapHugePageAligned(uint64_t size)
{
    const uint64_t spare = UMemoryAllocatorHugePageSize - UMemoryAllocatorPageSize;
    if (size > SIZE_MAX - spare)
        UFemRaiseMemoryAllocationFailed();
    void* mapped
        = mmap(nullptr, size + spare, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        UFemRaiseMemoryAllocationFailed();
    char* start = static_cast<char*>(mapped);
    const uint64_t offset = reinterpret_cast<uintptr_t>(start) % UMemoryAllocatorHugePageSize;
    const uint64_t lead = offset == 0 ? 0 : UMemoryAllocatorHugePageSize - offset;
    if (lead > 0)
        munmap(start, lead);
    if (spare > lead)
        munmap(start + lead + size, spare - lead);
    return start + lead;
}

} // namespace

int UMemorySystemHugePageAdvice(void* address, size_t length)
{
    return madvise(address, length, MADV_HUGEPAGE);
}

int UMemorySystemSmallPageAdvice(void* address, size_t length)
{
    return madvise(address, length, MADV_NOHUGEPAGE);
}

UMemoryHugePageAdvice UMemoryPageAdviceOfPolicy(UMemoryPagePolicy policy)
{
    const bool huge = policy == UMemoryPagePolicy::residentHugePages
        || policy == UMemoryPagePolicy::faultedHugePages;
    return huge ? UMemorySystemHugePageAdvice : UMemorySystemSmallPageAdvice;
}

_UCMemoryStorage UCMemoryStorageAllocate(uint64_t size, UMemoryHugePageAdvice advice)
{
    if (size < UMemoryAllocatorHugePageSize || advice == nullptr)
        return allocateInPages(size);
    char* storage = mapHugePageAligned(size);
    if (advice(storage, size) != 0) {
        munmap(storage, size);
        return allocateInPages(size);
    }
    return { storage, size, true };
}

void UCMemoryStorageFree(const _UCMemoryStorage& storage)
{
    if (storage.isMapped)
        munmap(storage.storage, storage.size);
    else
        std::free(storage.storage);
}
