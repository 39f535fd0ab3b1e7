#include "foundation/errors/UFemErrorsCardValue.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

namespace {

const char* const UExpressionSyntaxErrorFormat = "Card Value Expression Syntax Error - %@";
const char* const UExpressionSyntaxErrorShort = "ValueExpression Syntax Error";
const char* const UGettingValueErrorFormat = "Could not get value with Card Value Expression. - %@";
const char* const UClipboardErrorFormat = "Clipboard Card Value Error - %@";
const char* const UClipboardErrorShort = "Clipboard Card Value Error";

// Errors whose description is also their reason and one-line description, with a short text.
UErrorPtr makeShortError(qint64 code, const QString& text, const QString& recoverySuggestion,
    const QString& shortDescription)
{
    return UFemMakeError(code,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription = text,
            .shortDescription = shortDescription,
        });
}

// Errors that point into the parsed text: `format` names the argument, `oneLineFormat` adds the
// excerpt.
UErrorPtr makeRangeError(qint64 code, const char* format, const char* oneLineFormat,
    const QString& argument, const QString& recoverySuggestion,
    const QString& errorRangeHighlightedString, const QString& shortDescription)
{
    const QString text = ULocalizedFormattedString(format, argument);
    return UFemMakeError(code,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription
            = ULocalizedFormattedString(oneLineFormat, argument, errorRangeHighlightedString),
            .shortDescription = shortDescription,
        });
}

// The wrappers: fixed headline around the base's texts, the base's reason and suggestion.
UErrorPtr makeWrapper(
    qint64 code, const char* format, const char* shortText, const UErrorPtr& baseError)
{
    const UError& base = UFemRequireBaseError(baseError);
    return UFemMakeError(code,
        {
            .description = ULocalizedFormattedString(format, base.localizedDescription()),
            .failureReason = base.userInfo().failureReason,
            .recoverySuggestion = base.userInfo().recoverySuggestion,
            .oneLineDescription
            = ULocalizedFormattedString(format, base.localizedOneLineDescription()),
            .shortDescription = ULocalizedFormattedString(shortText),
            .underlyingError = baseError,
        });
}

} // namespace

UErrorPtr UFemCardValueExpressionStringSyntaxError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42001, UExpressionSyntaxErrorFormat,
        "Card Value Expression Syntax Error - %@ - Error on: %@", description,
        ULocalizedFormattedString(
            "%@\nError on: %@", recoverySuggestion, errorRangeHighlightedString),
        errorRangeHighlightedString, ULocalizedFormattedString(UExpressionSyntaxErrorShort));
}

UErrorPtr UFemCardValueExpressionStringSyntaxError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42002, UExpressionSyntaxErrorFormat,
        "Card Value Expression Syntax Error - %@ - Error on: %@", description,
        UFormattedString("Error on: %@", errorRangeHighlightedString), errorRangeHighlightedString,
        ULocalizedFormattedString(UExpressionSyntaxErrorShort));
}

UErrorPtr UFemCardValueExpressionStringSyntaxError_withBaseError(const UErrorPtr& baseError)
{
    const qint64 code = UFemRequireBaseError(baseError).code();
    return makeWrapper(code, UExpressionSyntaxErrorFormat, UExpressionSyntaxErrorShort, baseError);
}

UErrorPtr UFemCardValueExpressionUnknownMajorCardValueTypeError_withMajorCardValueTypeString(
    const QString& majorCardValueTypeString, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42003, "Unknown Major Card Value Type '%@'",
        "Unknown Major Card Value Type '%@' - Error on: %@", majorCardValueTypeString,
        UFormattedString("Error on: %@", errorRangeHighlightedString), errorRangeHighlightedString,
        ULocalizedFormattedString("Unknown Value Type '%@'", majorCardValueTypeString));
}

UErrorPtr UFemCardValueExpressionUnknownMinorCardValueTypeError_withMinorCardValueTypeString(
    const QString& minorCardValueTypeString, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42004, "Unknown Minor Card Value Type '%@'",
        "Unknown Minor Card Value Type '%@' - Error on: %@", minorCardValueTypeString,
        UFormattedString("Error on: %@", errorRangeHighlightedString), errorRangeHighlightedString,
        ULocalizedFormattedString("Unknown Minor Value Type '%@'", minorCardValueTypeString));
}

UErrorPtr UFemCardValueExpressionCardValueArraySizeNotMatchError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42005, "Card Value Array Size doesn't match. %@",
        "Card Value Array Size doesn't match. %@ - Error on: %@", description,
        UFormattedString("Error on: %@", errorRangeHighlightedString), errorRangeHighlightedString,
        ULocalizedFormattedString("CardValueArraySize Error"));
}

UErrorPtr UFemCardValueExpressionGettingValueError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42006, UGettingValueErrorFormat,
        "Could not get value with Card Value Expression. - %@ - Error on: %@", description,
        UFormattedString("%@\nError on: %@", recoverySuggestion, errorRangeHighlightedString),
        errorRangeHighlightedString, ULocalizedFormattedString("Getting Value Error"));
}

UErrorPtr UFemCardValueExpressionGettingValueError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42007, UGettingValueErrorFormat,
        "Could not get value with Card Value Expression. - %@ - Error on: %@", description,
        UFormattedString("Error on: %@", errorRangeHighlightedString), errorRangeHighlightedString,
        ULocalizedFormattedString("Getting Value Error"));
}

UErrorPtr UFemCardValueExpressionNoCaseSelectedError_withCardValueExpressionString(
    const QString& cardValueExpressionString)
{
    return makeShortError(42008,
        ULocalizedFormattedString(
            "No case selected. Value '%@' requires specifying cases.", cardValueExpressionString),
        ULocalizedFormattedString("Select cases."), ULocalizedFormattedString("No case selected."));
}

UErrorPtr UFemCardValueExpressionResultDataNotExistError_withCardValueExpressionString(
    const QString& cardValueExpressionString)
{
    return makeShortError(42009,
        ULocalizedFormattedString(
            "No result data. Value Type '%@' requires result data.", cardValueExpressionString),
        ULocalizedFormattedString("Load Result Data, or calculate this model."),
        ULocalizedFormattedString("No result data."));
}

UErrorPtr UFemCardValueExpressionSeveralCardSelectedError_withCardValueExpressionString(
    const QString& cardValueExpressionString)
{
    return makeShortError(42010,
        ULocalizedFormattedString(
            "Several card selected. Value '%@' doesn't merge cards.", cardValueExpressionString),
        ULocalizedFormattedString("Select one card."),
        ULocalizedFormattedString("Several card selected."));
}

UErrorPtr UFemCardValueExpressionSeveralCaseSelectedError_withCaseValueExpressionString(
    const QString& caseValueExpressionString)
{
    return makeShortError(42011,
        ULocalizedFormattedString(
            "Several case selected. Value '%@' doesn't merge cases.", caseValueExpressionString),
        ULocalizedFormattedString("Select one case."),
        ULocalizedFormattedString("Several case selected."));
}

UErrorPtr UFemCardValueExprListStringSyntaxError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion)
{
    const QString text
        = ULocalizedFormattedString("Card Value List Syntax Error - %@", description);
    return UFemMakeError(42012,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription = text,
            .shortDescription = ULocalizedFormattedString("ValueList Syntax Eror"),
        });
}

UErrorPtr UFemCardNotSupportCardValueTypeError_withCardNameString(
    const QString& cardNameString, const QString& cardValueTypeString)
{
    return makeShortError(42013,
        ULocalizedFormattedString(
            "Card '%@' does not return value '%@'.", cardNameString, cardValueTypeString),
        ULocalizedFormattedString("Check Card Value Expression and Card Filter."),
        ULocalizedFormattedString("Could not get value '%@'.", cardValueTypeString));
}

UErrorPtr UFemNoCardRegisteredToGetValueForCardNameError_withCardNameString(
    const QString& cardNameString)
{
    return makeShortError(42014,
        ULocalizedFormattedString(
            "Card '%@' doesn't exist, so could not get values.", cardNameString),
        ULocalizedFormattedString("Add card for the card name."),
        ULocalizedFormattedString("Card '%@' not exist.", cardNameString));
}

UErrorPtr UFemCaseNameNotFoundInResultDataError_withCardNameString(const QString& cardNameString)
{
    return UFemMakeSimpleError(42015,
        ULocalizedFormattedString("Case Name '%@' is not found in result data.", cardNameString),
        ULocalizedFormattedString("The result data seems calculated with another model data."));
}

UErrorPtr UFemNodeNameNotFoundInResultDataError_withCardNameString(const QString& cardNameString)
{
    return UFemMakeSimpleError(42016,
        ULocalizedFormattedString("Node Name '%@' is not found in result data.", cardNameString),
        ULocalizedFormattedString("The result data seems calculated with another model data."));
}

UErrorPtr UFemAutoColorByValueValueRangeNoCardRespondToCardValueTypeError_withCardValueTypeString(
    const QString& cardValueTypeString, const QString& cardFilterString)
{
    return UFemMakeSimpleError(42017,
        ULocalizedFormattedString(
            "( Error on Calculating Auto Color Value Range ) No card responds Value '%@' with "
            "Card Filter '%@'.",
            cardValueTypeString, cardFilterString),
        ULocalizedFormattedString("Check Card Value Expression and Card Filter."));
}

UErrorPtr UFemClipboardCardValueStringError_withBaseError(const UErrorPtr& baseError)
{
    return makeWrapper(42018, UClipboardErrorFormat, UClipboardErrorShort, baseError);
}

UErrorPtr UFemClipboardCardValueStringError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42019, UClipboardErrorFormat,
        "Clipboard Card Value Error - %@ - Error on: %@", description,
        ULocalizedFormattedString(
            "%@\nError on: %@", recoverySuggestion, errorRangeHighlightedString),
        errorRangeHighlightedString, ULocalizedFormattedString(UClipboardErrorShort));
}

UErrorPtr UFemClipboardCardValueStringError_withDescription_errorRangeHighlightedString(
    const QString& description, const QString& errorRangeHighlightedString)
{
    return makeRangeError(42020, UClipboardErrorFormat,
        "Clipboard Card Value Error - %@ - Error on: %@", description,
        ULocalizedFormattedString("Error on: %@", errorRangeHighlightedString),
        errorRangeHighlightedString, ULocalizedFormattedString(UClipboardErrorShort));
}

UErrorPtr UFemClipboardCardValueStringError_withDescription(const QString& description)
{
    return makeShortError(42021, ULocalizedFormattedString(UClipboardErrorFormat, description),
        ULocalizedFormattedString(""), ULocalizedFormattedString(UClipboardErrorShort));
}

UErrorPtr UFemCardNameNotFoundInClipboardCardValueDataError_withCardNameString(
    const QString& cardNameString)
{
    return UFemMakeSimpleError(42022,
        ULocalizedFormattedString(
            "Card Name '%@' is not found in Clipboard Card Value Data.", cardNameString),
        ULocalizedFormattedString(
            "To get Clipboard Card Value, Clipboard must contain string with card name and the "
            "value, like\nelem_01 , 12.3 \nelem_02 , 13.5\n..."));
}

UErrorPtr UFemClipboardCardValueStringError_withDescription_recoverySuggestion(
    const QString& description, const std::optional<QString>& recoverySuggestion)
{
    const QString text = ULocalizedFormattedString(UClipboardErrorFormat, description);
    return UFemMakeError(42023,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription = text,
            .shortDescription = ULocalizedFormattedString(UClipboardErrorShort),
        });
}
