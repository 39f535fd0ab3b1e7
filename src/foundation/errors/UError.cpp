#include "foundation/errors/UError.h"

#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"

UError::UError(QString domain, qint64 code, UErrorUserInfo userInfo)
    : domain_(std::move(domain))
    , code_(code)
    , userInfo_(std::move(userInfo))
{
}

UErrorPtr UError::create(QString domain, qint64 code, UErrorUserInfo userInfo)
{
    return std::make_shared<const UError>(std::move(domain), code, std::move(userInfo));
}

QString UError::localizedDescription() const
{
    if (userInfo_.description)
        return *userInfo_.description;
    const QString reason = localizedFailureReason();
    if (!reason.isEmpty())
        return ULocalizedFormattedString("The operation couldn't be completed. %@", reason);
    return ULocalizedFormattedString(
        "The operation couldn't be completed. (%@ error %ld.)", domain_, code_);
}

QString UError::localizedFailureReason() const
{
    return userInfo_.failureReason.value_or(QString());
}

QString UError::localizedRecoverySuggestion() const
{
    return userInfo_.recoverySuggestion.value_or(QString());
}

quint64 UError::alertStyle() const
{
    return userInfo_.alertStyle.value_or(0);
}

QString UError::localizedOneLineDescription() const
{
    return userInfo_.oneLineDescription ? *userInfo_.oneLineDescription : localizedDescription();
}

QString UError::localizedShortDescription() const
{
    return userInfo_.shortDescription ? *userInfo_.shortDescription : localizedDescription();
}

QString UError::localizedCardErrorDescription() const
{
    return userInfo_.cardErrorDescription ? *userInfo_.cardErrorDescription
                                          : localizedDescription();
}

QString UError::errorDescriptionStringForParentError() const
{
    const QString description = localizedDescription();
    const QString suggestion = localizedRecoverySuggestion();
    if (!description.isEmpty() && !suggestion.isEmpty())
        return description + QLatin1Char('\n') + suggestion;
    return description.isEmpty() ? suggestion : description;
}

QString UError::oneLineDescriptionStringForParentError() const
{
    return localizedOneLineDescription();
}

bool UError::isUFemCalculationCanceledError() const
{
    return code_ == UFemCalculationCanceledErrorCode;
}

void UFemSetError(UErrorPtr* out, UErrorPtr error)
{
    if (!out)
        UFemRaiseErrorResponderError();
    *out = std::move(error);
}
