#pragma once

#include <cstddef>

// The main thread's stack is mapped as it grows. Once memory has run out (an address-space limit
// reached), it can no longer grow, and the next deeper call ends the program with SIGSEGV instead
// of the memory error, typically the first exception's unwinding. Called first thing in main, this
// maps the stack down to `bytes` below the caller while memory is still there, or less: never
// closer to the stack's size limit than a margin, and nothing when the limit leaves little room.
void UReserveStack(std::size_t bytes) noexcept;

// What the programs reserve: far more than reading a model or unwinding from it takes.
inline constexpr std::size_t UMainThreadStackReserve = std::size_t(1) << 20;
