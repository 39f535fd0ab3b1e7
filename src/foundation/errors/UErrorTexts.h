#pragma once

#include "foundation/errors/UError.h"

#include <optional>

// The entries of a catalogue error in the order its user info lists them. An absent failure
// reason, recovery suggestion or one-line description ends the list: it and every later entry are
// left out, and the accessors fall back to the description. An absent description is simply not
// listed (the errors without a description of their own). Short and card-error descriptions and
// the underlying error are listed only where the error has them.
struct UErrorTexts {
    std::optional<QString> description = std::nullopt;
    std::optional<QString> failureReason = std::nullopt;
    std::optional<QString> recoverySuggestion = std::nullopt;
    std::optional<QString> oneLineDescription = std::nullopt;
    std::optional<QString> shortDescription = std::nullopt;
    std::optional<QString> cardErrorDescription = std::nullopt;
    quint64 alertStyle = UFemAlertStyleWarning;
    UErrorPtr underlyingError = nullptr;
};

// An error of our domain with the given code, built from `texts` by the listing rule above.
UErrorPtr UFemMakeError(qint64 code, const UErrorTexts& texts);

// The common shape: one text as description, failure reason and one-line description.
UErrorPtr UFemMakeSimpleError(qint64 code, const QString& text, const QString& recoverySuggestion,
    quint64 alertStyle = UFemAlertStyleWarning);

// The error every wrapper needs: raises a program error when a caller hands over no base error.
const UError& UFemRequireBaseError(const UErrorPtr& baseError);
