#include "foundation/errors/UFemErrorsCardFilter.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

UErrorPtr UFemCardFilterStringSyntaxError_withBaseError(const UErrorPtr& baseError)
{
    const UError& base = UFemRequireBaseError(baseError);
    return UFemMakeError(41001,
        {
            .description = ULocalizedFormattedString(
                "Card Filter Syntax Error - %@", base.localizedDescription()),
            .failureReason = base.userInfo().failureReason,
            .recoverySuggestion = base.userInfo().recoverySuggestion,
            .oneLineDescription = ULocalizedFormattedString(
                "Card Filter Syntax Error - %@", base.localizedOneLineDescription()),
            .shortDescription = ULocalizedFormattedString("Filter Syntax Error"),
            .underlyingError = baseError,
        });
}

UErrorPtr UFemCardFilterStringSyntaxError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString)
{
    const QString text = ULocalizedFormattedString("Card Filter Syntax Error - %@", description);
    return UFemMakeError(41002,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString(
                "%@\nError on: %@", recoverySuggestion, errorRangeHighlightedString),
            .oneLineDescription
            = ULocalizedFormattedString("Card Filter Syntax Error - %@ - Error on: %@", description,
                errorRangeHighlightedString),
            .shortDescription = ULocalizedFormattedString("Filter Syntax Error"),
        });
}

UErrorPtr UFemCardFilterStringSyntaxError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString)
{
    const QString text = ULocalizedFormattedString("Card Filter Syntax Error - %@", description);
    return UFemMakeError(41003,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion
            = ULocalizedFormattedString("Error on: %@", errorRangeHighlightedString),
            .oneLineDescription
            = ULocalizedFormattedString("Card Filter Syntax Error - %@ - Error on: %@", description,
                errorRangeHighlightedString),
            .shortDescription = ULocalizedFormattedString("Filter Syntax Error"),
        });
}

UErrorPtr UFemCardFilterStringSyntaxError_withDescription(const QString& description)
{
    const QString text = ULocalizedFormattedString("Card Filter Syntax Error - %@", description);
    return UFemMakeError(41004,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString(""),
            .oneLineDescription = text,
            .shortDescription = ULocalizedFormattedString("Filter Syntax Eror"),
        });
}
