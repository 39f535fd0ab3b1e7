#pragma once

#include "foundation/errors/UError.h"

// Errors of reading the preferences (71xxx).

// `description` says what was wrong and becomes the failure reason.
UErrorPtr UFemPreferencesFileError_withDescription(const QString& description);
