#include "foundation/errors/UFemErrorsEditCard.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

namespace {

// The base error's texts before a wrapper appends anything. Description and one-line come from a
// wrapped edit-card error's own record, so that wrapping twice does not append twice.
struct EditCardBaseTexts {
    QString description;
    QString oneLineDescription;
    QString shortDescription;
    QString cardErrorDescription;
};

EditCardBaseTexts baseTexts(const UError& base)
{
    const UErrorUserInfo& info = base.userInfo();
    return {
        info.editCardErrorDescriptionString.value_or(base.localizedDescription()),
        info.editCardErrorOneLineDescriptionString.value_or(base.localizedOneLineDescription()),
        base.localizedShortDescription(),
        base.localizedCardErrorDescription(),
    };
}

// The entries every edit-card wrapper stores, then the base's reason and suggestion where it has
// them.
UErrorUserInfo wrapperUserInfo(const UErrorPtr& baseError, const EditCardBaseTexts& base,
    QString description, QString oneLine, QString shortDescription, QString cardError)
{
    UErrorUserInfo info;
    info.description = std::move(description);
    info.oneLineDescription = std::move(oneLine);
    info.shortDescription = std::move(shortDescription);
    info.cardErrorDescription = std::move(cardError);
    info.alertStyle = UFemAlertStyleWarning;
    info.underlyingError = baseError;
    info.editCardErrorDescriptionString = base.description;
    info.editCardErrorOneLineDescriptionString = base.oneLineDescription;
    info.editCardErrorShortDescriptionString = base.shortDescription;
    info.failureReason = baseError->userInfo().failureReason;
    info.recoverySuggestion = baseError->userInfo().recoverySuggestion;
    return info;
}

// Errors that a card also shows as its own error.
UErrorPtr makeCardError(qint64 code, const QString& text, const QString& recoverySuggestion)
{
    return UFemMakeError(code,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription = text,
            .cardErrorDescription = text,
        });
}

} // namespace

UErrorPtr UFemEditCardError_withBaseError_appendingColumnIndexInfoString(
    const UErrorPtr& baseError, const QString& appendingColumnIndexInfoString)
{
    const EditCardBaseTexts base = baseTexts(UFemRequireBaseError(baseError));
    const QString& column = appendingColumnIndexInfoString;
    UErrorUserInfo info = wrapperUserInfo(baseError, base,
        ULocalizedFormattedString("%@ ( %@ )", base.description, column),
        ULocalizedFormattedString("%@ ( %@ )", base.oneLineDescription, column),
        ULocalizedFormattedString("%@ ( %@ )", base.shortDescription, column),
        ULocalizedFormattedString("%@ ( %@ )", base.cardErrorDescription, column));
    info.editCardErrorColumnIndexInfoString = column;
    return UError::create(UFemErrorDomain, 12001, std::move(info));
}

UErrorPtr UFemEditCardError_withBaseError_appendingCardInfoString(
    const UErrorPtr& baseError, const QString& appendingCardInfoString)
{
    const UError& baseErrorRef = UFemRequireBaseError(baseError);
    const EditCardBaseTexts base = baseTexts(baseErrorRef);
    const QString& card = appendingCardInfoString;
    const std::optional<QString>& column
        = baseErrorRef.userInfo().editCardErrorColumnIndexInfoString;
    if (!column) {
        return UError::create(UFemErrorDomain, 12002,
            wrapperUserInfo(baseError, base,
                ULocalizedFormattedString("%@ ( %@ )", base.description, card),
                ULocalizedFormattedString("%@ ( %@ )", base.oneLineDescription, card),
                ULocalizedFormattedString("%@ ( %@ )", base.shortDescription, card),
                base.cardErrorDescription));
    }
    // The wrapped column error's short text already ends with the column, so the unappended one is
    // used; its card-error text names the column after the base text already.
    const QString shortBase = baseErrorRef.userInfo().editCardErrorShortDescriptionString.value_or(
        base.shortDescription);
    UErrorUserInfo info = wrapperUserInfo(baseError, base,
        ULocalizedFormattedString("%@ ( %@, %@ )", base.description, card, *column),
        ULocalizedFormattedString("%@ ( %@, %@ )", base.oneLineDescription, card, *column),
        ULocalizedFormattedString("%@ ( %@, %@ )", shortBase, card, *column),
        base.cardErrorDescription);
    info.editCardErrorColumnIndexInfoString = column;
    return UError::create(UFemErrorDomain, 12002, std::move(info));
}

UErrorPtr UFemNotEditableOnProjectInfoViewError()
{
    return UFemMakeSimpleError(12003,
        ULocalizedFormattedString("Can't edit model data on Project Info View."),
        ULocalizedFormattedString("Edit model data on Card View or Graphic View."));
}

UErrorPtr UFemModelDataLockedError()
{
    return UFemMakeSimpleError(
        12004, ULocalizedFormattedString("Model data is locked."), ULocalizedFormattedString(""));
}

UErrorPtr UFemModelDataLockedError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion)
{
    return UFemMakeError(12005,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription = description,
        });
}

UErrorPtr UFemModelDataCardIdentifierDidReachLimitError()
{
    const QString description = ULocalizedFormattedString(
        "Total Card Count reached to the limit. The Operation has aborted.");
    return UFemMakeError(12005,
        {
            .description = description,
            .failureReason = ULocalizedFormattedString("Total Card Count reached to the limit."),
            .recoverySuggestion
            = ULocalizedFormattedString("You can't continue to edit the model data on this "
                                        "document. Please close this document, and then "
                                        "re-open it.\n( You need to close all windows of this "
                                        "document, but not need to close other "
                                        "documents. )"),
            .oneLineDescription = description,
            .alertStyle = UFemAlertStyleCritical,
        });
}

UErrorPtr UFemEmptyCardClassNameError()
{
    return makeCardError(12006,
        ULocalizedFormattedString("Card Class Name ( 1st column ) is empty."),
        ULocalizedFormattedString(
            "Check 1st column on card. 'Comma' or 'Tab' might exist before some characters."));
}

UErrorPtr UFemUnknownCardClassError_withCardClassNameString(const QString& cardClassNameString)
{
    return makeCardError(12007,
        ULocalizedFormattedString("Unknown Card Class Name: '%@'.", cardClassNameString),
        ULocalizedFormattedString("Check 1st column on card."));
}

UErrorPtr UFemTooMuchColumnsError_withCardClassNameString(const QString& cardClassNameString,
    quint64 numberOfColumnsForCard, quint64 numberOfColumns_tried)
{
    const QString description = ULocalizedFormattedString("Too much columns for this card class.");
    const QString oneLine = ULocalizedFormattedString(
        "Too much columns for card class '%@'. It should be %lu columns, but %lu "
        "columns exist.",
        cardClassNameString, numberOfColumnsForCard, numberOfColumns_tried);
    return UFemMakeError(12008,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion
            = ULocalizedFormattedString("%lu columns for card class '%@'. But %lu columns exist.",
                numberOfColumnsForCard, cardClassNameString, numberOfColumns_tried),
            .oneLineDescription = oneLine,
            .cardErrorDescription = oneLine,
        });
}

UErrorPtr UFemCardStringContainsSomeLinesError()
{
    return makeCardError(12009, ULocalizedFormattedString("Card string contains some lines."),
        ULocalizedFormattedString(""));
}

UErrorPtr UFemEmptyCardNameOfCardError()
{
    return makeCardError(12010, ULocalizedFormattedString("Card Name ( 2nd column ) is empty."),
        ULocalizedFormattedString(""));
}

UErrorPtr UFemChangingCardNameEmptyCardNameError()
{
    return UFemMakeSimpleError(
        12011, ULocalizedFormattedString("Card Name is empty."), ULocalizedFormattedString(""));
}

UErrorPtr UFemChangingCardNameCardNameNotChangedError_withCardNameString(
    const QString& cardNameString)
{
    const QString text
        = ULocalizedFormattedString("Card Name '%@' is not changed.", cardNameString);
    return UFemMakeError(12012,
        {
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("Nothing changed."),
            .oneLineDescription = text,
            .alertStyle = UFemAlertStyleInformational,
        });
}

UErrorPtr UFemCardNameUsedBySameTypeError_withCardNameString(
    const QString& cardNameString, const QString& cardTypeString)
{
    const QString description
        = ULocalizedFormattedString("Card Name '%@' is already used.", cardNameString);
    const QString oneLine = ULocalizedFormattedString(
        "Card Name '%@' is already used. ( same card type )", cardNameString);
    return UFemMakeError(12013,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion = ULocalizedFormattedString(
                "The Card Name is used by other card as card type: '%@'. ( same card type )",
                cardTypeString),
            .oneLineDescription = oneLine,
            .cardErrorDescription = oneLine,
        });
}

UErrorPtr UFemCardNameUsedByDifferentTypeError_withCardNameString(const QString& cardNameString,
    const QString& cardTypeString, const QString& cardTypeString_tried)
{
    const QString description = ULocalizedFormattedString(
        "Card Name '%@' is already used as card name of different card type.", cardNameString);
    return UFemMakeError(12014,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion
            = ULocalizedFormattedString("The Card Name is used as card name of different card "
                                        "type: '%@'. ( tried to use as: '%@' )",
                cardTypeString, cardTypeString_tried),
            .oneLineDescription
            = ULocalizedFormattedString("Card Name '%@' is already used as card name of different "
                                        "card type: '%@'. ( tried to use as: '%@' )",
                cardNameString, cardTypeString, cardTypeString_tried),
            .cardErrorDescription
            = ULocalizedFormattedString("Card Name '%@' is already used as different card type : "
                                        "'%@'. ( tried to use as : '%@' )",
                cardNameString, cardTypeString, cardTypeString_tried),
        });
}

UErrorPtr UFemCardErrorToRegisterWithErrorDescriptionString(const QString& errorDescriptionString)
{
    return makeCardError(12015,
        ULocalizedFormattedString("( Error on Register ) %@", errorDescriptionString),
        ULocalizedFormattedString(""));
}

UErrorPtr UFemCardErrorToRunWithErrorDescriptionString(const QString& errorDescriptionString)
{
    return makeCardError(12016,
        ULocalizedFormattedString("( Error to Run ) %@", errorDescriptionString),
        ULocalizedFormattedString(""));
}

UErrorPtr UFemCardWarningToRunWithErrorDescriptionString(const QString& errorDescriptionString)
{
    return makeCardError(12017,
        ULocalizedFormattedString("( Error to Run ) %@", errorDescriptionString),
        ULocalizedFormattedString(""));
}
