#pragma once

#include "foundation/errors/UError.h"

#include <exception>

// The error that an exception escaping a task's work becomes at the task boundary: the memory
// error (81001) for exhausted memory (std::bad_alloc, "Memory allocation failed.", or a thread
// refused for want of resources), else the calculation error (21011) with the exception's name
// and reason, or its message. Never throws: where the error cannot be composed for want of
// memory, it is the memory error made at start.
UErrorPtr UThreadTaskErrorWithException(std::exception_ptr exception) noexcept;
