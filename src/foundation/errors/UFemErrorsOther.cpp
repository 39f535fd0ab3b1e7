#include "foundation/errors/UFemErrorsOther.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

UErrorPtr UFemMallocFailedError()
{
    const QString failed = ULocalizedFormattedString("Memory allocation failed.");
    return UFemMakeError(81001,
        {
            .description = ULocalizedFormattedString(
                "Memory allocation failed. Other error might occurred or will occurred."),
            .failureReason = failed,
            .recoverySuggestion = ULocalizedFormattedString(
                "Save Documents and Quit this application. Recommended to save with different file "
                "name, or "
                "duplicate the files on 'Finder' first then save document."),
            .oneLineDescription = failed,
            .alertStyle = UFemAlertStyleCritical,
        });
}

UErrorPtr UFemFewChanceError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion)
{
    return UFemMakeError(81002,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription
            = UFormattedString("%@ - %@", description, recoverySuggestion.value_or(QString())),
        });
}

UErrorPtr UFemFewChanceError_withDescription(const QString& description, const UErrorPtr& baseError)
{
    const UError& base = UFemRequireBaseError(baseError);
    return UFemMakeError(81003,
        {
            .description = description,
            .failureReason = base.userInfo().failureReason,
            .recoverySuggestion = base.errorDescriptionStringForParentError(),
            .oneLineDescription = UFormattedString(
                "%@ - %@", description, base.oneLineDescriptionStringForParentError()),
        });
}

UErrorPtr UFemUnexpectedError_withDescription(const QString& description)
{
    return UFemUnexpectedError_withDescription(
        description, ULocalizedFormattedString("Unexpected error occurred."));
}

UErrorPtr UFemUnexpectedError_withDescription(
    const QString& description, const std::optional<QString>& recoverySuggestion)
{
    const QString text = ULocalizedFormattedString("Unexpected error occurred. %@", description);
    return UFemMakeError(81004,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription = text,
        });
}
