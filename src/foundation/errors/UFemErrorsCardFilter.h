#pragma once

#include "foundation/errors/UError.h"

// Syntax errors of card filters (41xxx); all carry a short description for table cells.

// Takes the base's reason and suggestion; where the base has none, the error ends its entries
// there.
UErrorPtr UFemCardFilterStringSyntaxError_withBaseError(const UErrorPtr& baseError);
UErrorPtr UFemCardFilterStringSyntaxError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString);
UErrorPtr UFemCardFilterStringSyntaxError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString);
UErrorPtr UFemCardFilterStringSyntaxError_withDescription(const QString& description);
