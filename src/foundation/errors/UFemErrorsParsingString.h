#pragma once

#include "foundation/errors/UError.h"

// Errors of the model text lexer and the column parsers (13xxx). `errorRangeHighlightedString`
// is an excerpt made by UMakeErrorRangeHighlightedString.

UErrorPtr UFemReadingCharacterError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString);
UErrorPtr UFemReadingCharacterError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString);
