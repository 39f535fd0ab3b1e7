#pragma once

#include "foundation/errors/UException.h"

#include <sys/mman.h>

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

// A fixed number of value-initialized slots for a large hash table. Beyond a few megabytes the
// block comes from its own mapping advised to use huge pages: random probes over tens of
// megabytes otherwise miss the TLB on nearly every access. Move-only.
template <typename T> class ULargeTable {
public:
    ULargeTable() = default;
    explicit ULargeTable(std::size_t count)
        : count_(count)
    {
        if (count == 0)
            return;
        bytes_ = count * sizeof(T);
        slots_ = static_cast<T*>(
            bytes_ >= hugePageThreshold ? mapHugePages(bytes_) : allocate(bytes_));
        std::uninitialized_value_construct_n(slots_, count);
    }
    ULargeTable(ULargeTable&& other) noexcept { swap(other); }
    ULargeTable& operator=(ULargeTable&& other) noexcept
    {
        ULargeTable moved(std::move(other));
        swap(moved);
        return *this;
    }
    ULargeTable(const ULargeTable&) = delete;
    ULargeTable& operator=(const ULargeTable&) = delete;
    ~ULargeTable() { release(); }

    std::size_t size() const { return count_; }
    T& operator[](std::size_t i) { return slots_[i]; }
    const T& operator[](std::size_t i) const { return slots_[i]; }
    T* data() { return slots_; }
    const T* data() const { return slots_; }

private:
    static constexpr std::size_t hugePageThreshold = std::size_t(4) << 20;

    static void* allocate(std::size_t bytes)
    {
        void* memory = ::operator new(bytes, std::align_val_t(alignof(T)), std::nothrow);
        if (memory == nullptr)
            UFemRaiseMemoryAllocationFailed();
        return memory;
    }
    static void* mapHugePages(std::size_t bytes)
    {
        void* memory
            = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED)
            UFemRaiseMemoryAllocationFailed();
        // Only advice: without huge pages the table works the same, just slower.
        madvise(memory, bytes, MADV_HUGEPAGE);
        return memory;
    }
    void release()
    {
        if (slots_ == nullptr)
            return;
        std::destroy_n(slots_, count_);
        if (bytes_ >= hugePageThreshold)
            munmap(slots_, bytes_);
        else
            ::operator delete(slots_, std::align_val_t(alignof(T)));
        slots_ = nullptr;
    }
    void swap(ULargeTable& other) noexcept
    {
        std::swap(slots_, other.slots_);
        std::swap(count_, other.count_);
        std::swap(bytes_, other.bytes_);
    }

    T* slots_ = nullptr;
    std::size_t count_ = 0;
    std::size_t bytes_ = 0;
};
