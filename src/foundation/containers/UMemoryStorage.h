#pragma once

#include <cstddef>
#include <cstdint>

// One storage of a root arena: a page-aligned block and its size in bytes. A storage of at least
// one huge page is its own mapping, starting on a 2 MiB boundary and advised as its arena says (to
// use huge pages by default, so that its faults and its release go per 2 MiB instead of 4 KiB). The
// system backs only whole 2 MiB ranges so; a shorter end stays in 4 KiB pages. A huge page is
// resident whole once touched: a storage filled from its start holds at most one partly used one.
struct _UCMemoryStorage {
    void* storage;
    uint64_t size;
    bool isMapped; // freed by unmapping, not by free()
};

inline constexpr uint64_t UMemoryAllocatorPageSize = 4096;
inline constexpr uint64_t UMemoryAllocatorHugePageSize = uint64_t(2) << 20;

// Asks the system to back a mapping with huge pages; 0 when it agrees.
using UMemoryHugePageAdvice = int (*)(void* address, size_t length);
int UMemorySystemHugePageAdvice(void* address, size_t length);
// Keeps a mapping in 4 KiB pages even where the system gives huge pages unasked.
int UMemorySystemSmallPageAdvice(void* address, size_t length);

// How the pages of large storages are backed and when they become resident: in huge pages made
// resident (zeroed) by their owner before use, in huge pages faulted in by their first writes, in
// 4 KiB pages faulted in by their first writes, or (adaptive) in 4 KiB pages but for the largest
// ones, which their owner makes resident in huge pages while that goes fast and leaves to 4 KiB
// pages once it does not. Only time and system work differ, never the contents.
enum class UMemoryPagePolicy { residentHugePages, faultedHugePages, smallPages, adaptivePages };
// The advice for storages that are not made resident ahead (4 KiB pages unless huge pages are the
// policy).
UMemoryHugePageAdvice UMemoryPageAdviceOfPolicy(UMemoryPagePolicy policy);

// A storage of `size` bytes (a multiple of the page size). From one huge page on it is a huge-page
// mapping when `advice` agrees; where it refuses (no huge pages on this system), the storage is
// allocated as a smaller one is. Raises UFemRaiseMemoryAllocationFailed() when
// the system has no memory.
_UCMemoryStorage UCMemoryStorageAllocate(uint64_t size, UMemoryHugePageAdvice advice);
void UCMemoryStorageFree(const _UCMemoryStorage& storage);
