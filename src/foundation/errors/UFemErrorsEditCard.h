#pragma once

#include "foundation/errors/UError.h"

#include <optional>

// Errors of editing cards: card text columns, card names, locked model data (12xxx). The errors a
// card shows as its own error carry a card-error description.

// Wraps the error of one column of a card being read and appends where it lies ("Column 3").
UErrorPtr UFemEditCardError_withBaseError_appendingColumnIndexInfoString(
    const UErrorPtr& baseError, const QString& appendingColumnIndexInfoString);
// Wraps the error of a card and appends the card's identification; a column named by a wrapped
// column error is named after it.
UErrorPtr UFemEditCardError_withBaseError_appendingCardInfoString(
    const UErrorPtr& baseError, const QString& appendingCardInfoString);
UErrorPtr UFemNotEditableOnProjectInfoViewError();
UErrorPtr UFemModelDataLockedError();
UErrorPtr UFemModelDataLockedError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion);
UErrorPtr UFemModelDataCardIdentifierDidReachLimitError();
UErrorPtr UFemEmptyCardClassNameError();
UErrorPtr UFemUnknownCardClassError_withCardClassNameString(const QString& cardClassNameString);
UErrorPtr UFemTooMuchColumnsError_withCardClassNameString(const QString& cardClassNameString,
    quint64 numberOfColumnsForCard, quint64 numberOfColumns_tried);
UErrorPtr UFemCardStringContainsSomeLinesError();
UErrorPtr UFemEmptyCardNameOfCardError();
UErrorPtr UFemChangingCardNameEmptyCardNameError();
// Has no description of its own: UError supplies "The operation couldn't be completed." and the
// reason.
UErrorPtr UFemChangingCardNameCardNameNotChangedError_withCardNameString(
    const QString& cardNameString);
UErrorPtr UFemCardNameUsedBySameTypeError_withCardNameString(
    const QString& cardNameString, const QString& cardTypeString);
UErrorPtr UFemCardNameUsedByDifferentTypeError_withCardNameString(const QString& cardNameString,
    const QString& cardTypeString, const QString& cardTypeString_tried);
UErrorPtr UFemCardErrorToRegisterWithErrorDescriptionString(const QString& errorDescriptionString);
UErrorPtr UFemCardErrorToRunWithErrorDescriptionString(const QString& errorDescriptionString);
// The same texts as the error to run; only the code differs.
UErrorPtr UFemCardWarningToRunWithErrorDescriptionString(const QString& errorDescriptionString);
