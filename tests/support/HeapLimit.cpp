// Linked into a child program, this bounds its heap: the global allocation functions are replaced
// so that the bytes held through operator new stay within VANTREL_HEAP_LIMIT (bytes; unset or 0:
// no bound). Past the bound a request throws std::bad_alloc. As glibc serves each thread but the
// first from an arena of its own, which under an address-space limit fails small requests too once
// it has met the limit, a refusal leaves every thread but the main one refused until what is held
// has fallen below half the bound; the main thread meets the bound alone.
//
// This stands in for an address-space limit, which AddressSanitizer rules out: it reserves
// terabytes of shadow memory at start (under `ulimit -v` it dies there), and its own operator new
// ends the process on exhaustion instead of throwing std::bad_alloc. Memory Qt takes with malloc is
// not counted.
//
// With VANTREL_FAIL_ALLOCATION=K, the K-th call of an allocation function while the application
// object is up (counted from 1 across all threads) fails, and only that one: a sweep over K
// reaches every allocation a run makes after Qt has started (see HeapLimit.h for the sweep's own
// counting).

#include "HeapLimit.h"

#include <QCoreApplication>

#include <malloc.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> heldBytes { 0 };
std::atomic<bool> isExhausted { false };

constexpr std::uint64_t unread = ~std::uint64_t(0);
std::atomic<std::uint64_t> failingNumber { unread };
std::atomic<std::uint64_t> ownCount { 0 };
std::atomic<std::atomic<std::uint64_t>*> allocationCount { &ownCount };

// getenv allocates nothing, so the first allocation may read the variable.
std::uint64_t failingAllocationNumber() noexcept
{
    std::uint64_t number = failingNumber.load(std::memory_order_relaxed);
    if (number != unread)
        return number;
    const char* text = std::getenv("VANTREL_FAIL_ALLOCATION");
    std::uint64_t expected = unread;
    failingNumber.compare_exchange_strong(
        expected, text ? std::uint64_t(std::strtoull(text, nullptr, 10)) : 0);
    return failingNumber.load(std::memory_order_relaxed);
}

// Only while the application object is up: a failure inside its constructor ends in Qt's own
// code, which can neither unwind nor report it; nothing the program does comes before.
bool isFailingAllocation() noexcept
{
    if (QCoreApplication::startingUp() || QCoreApplication::closingDown())
        return false;
    const std::uint64_t failing = failingAllocationNumber();
    const std::uint64_t number
        = allocationCount.load(std::memory_order_relaxed)->fetch_add(1, std::memory_order_relaxed)
        + 1;
    return failing != 0 && number == failing;
}

std::size_t limitBytes() noexcept
{
    static const std::size_t limit = [] {
        const char* text = std::getenv("VANTREL_HEAP_LIMIT");
        return text ? std::size_t(std::strtoull(text, nullptr, 10)) : std::size_t(0);
    }();
    return limit;
}

bool isMainThread() noexcept
{
    thread_local const bool isMain = ::syscall(SYS_gettid) == ::getpid();
    return isMain;
}

bool admits(std::size_t size) noexcept
{
    const std::size_t limit = limitBytes();
    if (limit == 0)
        return true;
    const std::size_t held = heldBytes.load(std::memory_order_relaxed);
    if (isExhausted.load(std::memory_order_relaxed) && !isMainThread()) {
        if (held >= limit / 2)
            return false;
        isExhausted.store(false, std::memory_order_relaxed);
    }
    if (held + size <= limit)
        return true;
    isExhausted.store(true, std::memory_order_relaxed);
    return false;
}

void* allocate(std::size_t size, std::size_t alignment) noexcept
{
    if (isFailingAllocation() || !admits(size))
        return nullptr;
    void* memory = nullptr;
    if (alignment <= alignof(std::max_align_t))
        memory = std::malloc(size == 0 ? 1 : size);
    else if (posix_memalign(&memory, alignment, size == 0 ? 1 : size) != 0)
        memory = nullptr;
    if (memory != nullptr)
        heldBytes.fetch_add(malloc_usable_size(memory), std::memory_order_relaxed);
    return memory;
}

void* allocateOrThrow(std::size_t size, std::size_t alignment)
{
    if (void* memory = allocate(size, alignment))
        return memory;
    throw std::bad_alloc();
}

void release(void* memory) noexcept
{
    if (memory == nullptr)
        return;
    heldBytes.fetch_sub(malloc_usable_size(memory), std::memory_order_relaxed);
    std::free(memory);
}

constexpr std::size_t plain = alignof(std::max_align_t);

} // namespace

void HeapLimit::failAllocation(std::uint64_t number, std::atomic<std::uint64_t>* count) noexcept
{
    allocationCount.store(count, std::memory_order_relaxed);
    failingNumber.store(number, std::memory_order_relaxed);
}

void* operator new(std::size_t size)
{
    return allocateOrThrow(size, plain);
}
void* operator new[](std::size_t size)
{
    return allocateOrThrow(size, plain);
}
void* operator new(std::size_t size, std::align_val_t alignment)
{
    return allocateOrThrow(size, std::size_t(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment)
{
    return allocateOrThrow(size, std::size_t(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size, plain);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return allocate(size, plain);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocate(size, std::size_t(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    return allocate(size, std::size_t(alignment));
}

void operator delete(void* memory) noexcept
{
    release(memory);
}
void operator delete[](void* memory) noexcept
{
    release(memory);
}
void operator delete(void* memory, std::size_t) noexcept
{
    release(memory);
}
void operator delete[](void* memory, std::size_t) noexcept
{
    release(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept
{
    release(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept
{
    release(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept
{
    release(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept
{
    release(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    release(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    release(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept
{
    release(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept
{
    release(memory);
}
