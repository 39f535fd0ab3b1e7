#include "platform/UStackReserve.h"

#include <alloca.h>
#include <sys/auxv.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// Left below the reserve for the calls made while it is mapped and for the frames above it.
constexpr std::size_t StackMargin = std::size_t(64) << 10;
// A reserve smaller than this is not worth mapping: it would protect little.
constexpr std::size_t SmallestStackReserve = std::size_t(32) << 10;

// The soft limit of the main stack; the largest size where there is none.
std::size_t stackLimit() noexcept
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::numeric_limits<std::size_t>::max();
    return std::size_t(limit.rlim_cur);
}

// The top of the main stack: the kernel puts the program's file name just below it, above the
// arguments and the environment, which also count against the limit.
std::uintptr_t stackTop() noexcept
{
    const auto name = ::getauxval(AT_EXECFN);
    return name == 0 ? 0 : std::uintptr_t(name) + std::strlen(reinterpret_cast<const char*>(name));
}

// How much of `wanted` to map when the stack may grow to `limit` bytes and `used` are in use.
std::size_t reserveWithin(std::size_t wanted, std::size_t limit, std::size_t used) noexcept
{
    if (limit <= used || limit - used <= StackMargin + SmallestStackReserve)
        return 0;
    return std::min(wanted, limit - used - StackMargin);
}

} // namespace

void UReserveStack(std::size_t bytes) noexcept
{
    const auto frame = std::uintptr_t(__builtin_frame_address(0));
    const std::uintptr_t top = stackTop();
    // Without a known top the frame's depth is unknown: the margin alone cannot be trusted.
    if (top <= frame)
        return;
    bytes = reserveWithin(bytes, stackLimit(), top - frame);
    if (bytes == 0)
        return;
    const auto page = std::size_t(::sysconf(_SC_PAGESIZE));
    // Volatile, so that the writes that map each page are kept; from the top down, as the stack
    // grows.
    auto* area = static_cast<volatile char*>(alloca(bytes));
    for (std::size_t offset = bytes; offset >= page; offset -= page)
        area[offset - page] = 0;
}
