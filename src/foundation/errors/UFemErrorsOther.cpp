#include "foundation/errors/UFemErrorsOther.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFormattedString.h"

namespace {

UErrorPtr makeMallocFailedError()
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

// Made before main: where memory has run out, making the report of it would fail as well.
const UErrorPtr mallocFailedError = makeMallocFailedError();

QString memoryText(quint64 bytes)
{
    constexpr double bytesPerMegabyte = 1024.0 * 1024.0;
    constexpr double megabytesPerGigabyte = 1024.0;
    const double megabytes = double(bytes) / bytesPerMegabyte;
    return megabytes >= megabytesPerGigabyte
        ? QStringLiteral("%1 GB").arg(megabytes / megabytesPerGigabyte, 0, 'f', 1)
        : QStringLiteral("%1 MB").arg(megabytes, 0, 'f', 1);
}

} // namespace

UErrorPtr UFemMallocFailedError() noexcept
{
    return mallocFailedError;
}

UErrorPtr UFemMallocFailedError_withMemoryBytes(quint64 requiredBytes, quint64 availableBytes)
{
    const QString failed = ULocalizedFormattedString(
        "Memory allocation failed. The calculation needs %@ of memory; %@ is available.",
        memoryText(requiredBytes), memoryText(availableBytes));
    return UFemMakeError(81001,
        {
            .description = failed,
            .failureReason = failed,
            .recoverySuggestion = ULocalizedFormattedString(
                "Close other programs, or calculate a smaller model or fewer cases at once."),
            .oneLineDescription = failed,
            .alertStyle = UFemAlertStyleCritical,
        });
}

UErrorPtr UFemToolElementDividerMallocFailedError_withMemoryBytes(
    quint64 requiredBytes, quint64 availableBytes)
{
    const QString failed = ULocalizedFormattedString(
        "Memory allocation failed. Dividing the elements needs %@ of memory; %@ is available.",
        memoryText(requiredBytes), memoryText(availableBytes));
    return UFemMakeError(81001,
        {
            .description = failed,
            .failureReason = failed,
            .recoverySuggestion = ULocalizedFormattedString(
                "Set a smaller 'Number of dividing', or divide fewer elements at once."),
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
