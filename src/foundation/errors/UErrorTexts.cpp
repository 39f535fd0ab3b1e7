#include "foundation/errors/UErrorTexts.h"

#include "foundation/errors/UException.h"

namespace {

UErrorUserInfo listedUserInfo(const UErrorTexts& texts)
{
    UErrorUserInfo info;
    info.description = texts.description;
    if (!texts.failureReason)
        return info;
    info.failureReason = texts.failureReason;
    if (!texts.recoverySuggestion)
        return info;
    info.recoverySuggestion = texts.recoverySuggestion;
    if (!texts.oneLineDescription)
        return info;
    info.oneLineDescription = texts.oneLineDescription;
    info.shortDescription = texts.shortDescription;
    info.cardErrorDescription = texts.cardErrorDescription;
    info.alertStyle = texts.alertStyle;
    info.underlyingError = texts.underlyingError;
    return info;
}

} // namespace

UErrorPtr UFemMakeError(qint64 code, const UErrorTexts& texts)
{
    return UError::create(UFemErrorDomain, code, listedUserInfo(texts));
}

const UError& UFemRequireBaseError(const UErrorPtr& baseError)
{
    if (!baseError)
        UFemRaiseProgramError(QStringLiteral("No base error to wrap."));
    return *baseError;
}

UErrorPtr UFemMakeSimpleError(
    qint64 code, const QString& text, const QString& recoverySuggestion, quint64 alertStyle)
{
    return UFemMakeError(code,
        {
            .description = text,
            .failureReason = text,
            .recoverySuggestion = recoverySuggestion,
            .oneLineDescription = text,
            .alertStyle = alertStyle,
        });
}
