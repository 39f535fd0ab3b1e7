#pragma once

#include "foundation/errors/UError.h"

// Errors of the string search (61xxx).

UErrorPtr UFemEmptySearchStringError();
