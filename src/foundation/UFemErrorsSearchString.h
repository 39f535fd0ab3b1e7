#pragma once

#include "foundation/UError.h"

// Errors of the string search (61xxx).

UErrorPtr UFemEmptySearchStringError();
