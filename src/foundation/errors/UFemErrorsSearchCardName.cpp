#include "foundation/errors/UFemErrorsSearchCardName.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

UErrorPtr UFemSearchingCardNameEmptyCardNameError()
{
    const QString text = ULocalizedFormattedString("Card Name is empty.");
    return UFemMakeError(31001,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString("No card name to search."),
            .oneLineDescription = text,
            .cardErrorDescription
            = ULocalizedFormattedString("Card Name is empty. No card name to search."),
        });
}

UErrorPtr UFemSearchingCardNameCardOfCardNameNotExistError_withCardNameString(
    const QString& cardNameString)
{
    const QString text
        = ULocalizedFormattedString("Card of Card Name '%@' does not exist.", cardNameString);
    return UFemMakeError(31002,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = ULocalizedFormattedString(
                "The card name used as reference card name, but not exist."),
            .oneLineDescription
            = ULocalizedFormattedString("Card of Card Name '%@' does not exist. The card name used "
                                        "as reference card name, but not exist.",
                cardNameString),
        });
}

UErrorPtr UFemSearchingCardNameCardNameNotUsedError_withCardNameString(
    const QString& cardNameString)
{
    const QString text
        = ULocalizedFormattedString("Card of Card Name '%@' does not exist.", cardNameString);
    return UFemMakeError(31013,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion
            = ULocalizedFormattedString("This card name is not used as reference card name, too."),
            .oneLineDescription
            = ULocalizedFormattedString("Card of Card Name '%@' does not exist. This card name is "
                                        "not used as reference card name, too.",
                cardNameString),
        });
}

UErrorPtr UFemOverwritingCardCardOfCardNameAllowedHaveSomeCardError_withCardNameString(
    const QString& cardNameString)
{
    return UFemMakeSimpleError(31014,
        ULocalizedFormattedString(
            "Card of Card Name '%@' is a card of card type that allowed to have some card.",
            cardNameString),
        ULocalizedFormattedString(
            "You can overwrite card of card type that only one card exists for one card name. "
            "( such as 'Node card', 'Element card', 'Case card', etc. )"));
}

UErrorPtr UFemModelEditorTargetDocumentNotExistError()
{
    return UFemMakeSimpleError(31015, ULocalizedFormattedString("Target window is not exist."),
        ULocalizedFormattedString("Open and select a document window to apply."));
}

UErrorPtr UFemModelEditorTargetDocumentClosedError()
{
    return UFemMakeSimpleError(31016, ULocalizedFormattedString("Target window has closed."),
        ULocalizedFormattedString(""));
}
