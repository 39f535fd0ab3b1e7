#include "foundation/errors/UFemErrorsParsingString.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

UErrorPtr UFemReadingCharacterError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString)
{
    const QString text = ULocalizedFormattedString("%@", description);
    const QString oneLine
        = ULocalizedFormattedString("%@ - Error on: %@", description, errorRangeHighlightedString);
    return UFemMakeError(13001,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion
            = ULocalizedFormattedString("Error on: %@", errorRangeHighlightedString),
            .oneLineDescription = oneLine,
            .shortDescription = text,
            .cardErrorDescription = oneLine,
        });
}

UErrorPtr UFemReadingCharacterError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString)
{
    const QString text = ULocalizedFormattedString("%@", description);
    const QString oneLine = ULocalizedFormattedString(
        "%@ - Error on: %@ - %@", description, errorRangeHighlightedString, recoverySuggestion);
    return UFemMakeError(13002,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString(
                "Error on: %@\n%@", errorRangeHighlightedString, recoverySuggestion),
            .oneLineDescription = oneLine,
            .shortDescription = text,
            .cardErrorDescription = oneLine,
        });
}
