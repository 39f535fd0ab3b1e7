#pragma once

#include "foundation/errors/UError.h"

#include <optional>

// Errors of card value expressions, value lists, result values and clipboard card values (42xxx).
// `errorRangeHighlightedString` is an excerpt made by UMakeErrorRangeHighlightedString.

UErrorPtr UFemCardValueExpressionStringSyntaxError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString);
UErrorPtr UFemCardValueExpressionStringSyntaxError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString);
// The one error that takes its code from the error it wraps.
UErrorPtr UFemCardValueExpressionStringSyntaxError_withBaseError(const UErrorPtr& baseError);
UErrorPtr UFemCardValueExpressionUnknownMajorCardValueTypeError_withMajorCardValueTypeString(
    const QString& majorCardValueTypeString, const QString& errorRangeHighlightedString);
UErrorPtr UFemCardValueExpressionUnknownMinorCardValueTypeError_withMinorCardValueTypeString(
    const QString& minorCardValueTypeString, const QString& errorRangeHighlightedString);
UErrorPtr UFemCardValueExpressionCardValueArraySizeNotMatchError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString);
UErrorPtr UFemCardValueExpressionGettingValueError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString);
UErrorPtr UFemCardValueExpressionGettingValueError_withDescription(
    const QString& description, const QString& errorRangeHighlightedString);
UErrorPtr UFemCardValueExpressionNoCaseSelectedError_withCardValueExpressionString(
    const QString& cardValueExpressionString);
UErrorPtr UFemCardValueExpressionResultDataNotExistError_withCardValueExpressionString(
    const QString& cardValueExpressionString);
UErrorPtr UFemCardValueExpressionSeveralCardSelectedError_withCardValueExpressionString(
    const QString& cardValueExpressionString);
UErrorPtr UFemCardValueExpressionSeveralCaseSelectedError_withCaseValueExpressionString(
    const QString& caseValueExpressionString);
UErrorPtr UFemCardValueExprListStringSyntaxError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion);
UErrorPtr UFemCardNotSupportCardValueTypeError_withCardNameString(
    const QString& cardNameString, const QString& cardValueTypeString);
UErrorPtr UFemNoCardRegisteredToGetValueForCardNameError_withCardNameString(
    const QString& cardNameString);
UErrorPtr UFemCaseNameNotFoundInResultDataError_withCardNameString(const QString& cardNameString);
UErrorPtr UFemNodeNameNotFoundInResultDataError_withCardNameString(const QString& cardNameString);
UErrorPtr UFemAutoColorByValueValueRangeNoCardRespondToCardValueTypeError_withCardValueTypeString(
    const QString& cardValueTypeString, const QString& cardFilterString);
// Takes the base's reason and suggestion; where the base has none, the error ends its entries
// there.
UErrorPtr UFemClipboardCardValueStringError_withBaseError(const UErrorPtr& baseError);
UErrorPtr UFemClipboardCardValueStringError_withDescription(const QString& description,
    const QString& recoverySuggestion, const QString& errorRangeHighlightedString);
UErrorPtr UFemClipboardCardValueStringError_withDescription_errorRangeHighlightedString(
    const QString& description, const QString& errorRangeHighlightedString);
UErrorPtr UFemClipboardCardValueStringError_withDescription(const QString& description);
UErrorPtr UFemCardNameNotFoundInClipboardCardValueDataError_withCardNameString(
    const QString& cardNameString);
UErrorPtr UFemClipboardCardValueStringError_withDescription_recoverySuggestion(
    const QString& description, const std::optional<QString>& recoverySuggestion);
