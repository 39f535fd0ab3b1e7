#pragma once

#include "foundation/UError.h"

#include <exception>

// The error that an exception escaping a task's work becomes at the task boundary.
UErrorPtr UThreadTaskErrorWithException(std::exception_ptr exception);
