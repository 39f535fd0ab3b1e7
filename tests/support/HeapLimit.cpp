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

#include <malloc.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> heldBytes { 0 };
std::atomic<bool> isExhausted { false };

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
    if (!admits(size))
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
