#pragma once

#include "foundation/errors/UError.h"

#include <exception>

// The error an exception raised inside the calculation becomes, so that none escapes the
// calculation thread: exhausted memory (std::bad_alloc, the arenas' "Memory allocation failed.",
// or a thread refused for want of resources) is 81001; any other exception is the unexpected
// error with its reason. Never throws: where the error cannot be composed for want of memory, it
// is the memory error made at start.
UErrorPtr UFemWFCalculationErrorWithException(std::exception_ptr exception) noexcept;

// Runs one step of the calculation; an exception it raises becomes its error.
template <class Step> [[nodiscard]] bool UFemWFRunCalculationStep(UErrorPtr* error, Step&& step)
{
    try {
        return step();
    } catch (...) {
        UFemSetError(error, UFemWFCalculationErrorWithException(std::current_exception()));
        return false;
    }
}
