#pragma once

#include "foundation/errors/UError.h"

#include <exception>

// The error that an exception escaping a task's work becomes at the task boundary: the memory
// error (81001) for exhausted memory, else the calculation error (21011) with the exception's
// name and reason, or its message.
UErrorPtr UThreadTaskErrorWithException(std::exception_ptr exception);
