#include "platform/UStackReserve.h"

#include <alloca.h>
#include <unistd.h>

void UReserveStack(std::size_t bytes) noexcept
{
    const auto page = std::size_t(::sysconf(_SC_PAGESIZE));
    // Volatile, so that the writes that map each page are kept; from the top down, as the stack
    // grows.
    auto* area = static_cast<volatile char*>(alloca(bytes));
    for (std::size_t offset = bytes; offset >= page; offset -= page)
        area[offset - page] = 0;
}
