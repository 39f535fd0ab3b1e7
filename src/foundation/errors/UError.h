#pragma once

#include <QString>

#include <memory>
#include <optional>

class UError;
using UErrorPtr = std::shared_ptr<const UError>;

// The domain of every error the program makes itself.
inline const QString UFemErrorDomain = QStringLiteral("UFemErrorDomain");

// Errors with this code report a cancelled calculation, whatever their domain.
inline constexpr qint64 UFemCalculationCanceledErrorCode = 21099;

// Alert styles, as stored under the alert-style entry.
enum UFemAlertStyle : quint64 {
    UFemAlertStyleWarning = 0,
    UFemAlertStyleInformational = 1,
    UFemAlertStyleCritical = 2,
};

// The entries an error carries. An absent entry is std::nullopt (or a null underlying error);
// the accessors of UError supply the fall-backs.
struct UErrorUserInfo {
    std::optional<QString> description;
    std::optional<QString> failureReason;
    std::optional<QString> recoverySuggestion;
    std::optional<QString> oneLineDescription;
    std::optional<QString> shortDescription;
    std::optional<QString> cardErrorDescription;
    std::optional<quint64> alertStyle;
    UErrorPtr underlyingError;
    // Only on the edit-card wrappers: the base error's texts before anything was appended.
    std::optional<QString> editCardErrorDescriptionString;
    std::optional<QString> editCardErrorOneLineDescriptionString;
    std::optional<QString> editCardErrorShortDescriptionString;
    std::optional<QString> editCardErrorColumnIndexInfoString;
};

// An immutable error: domain, code and the texts every place that shows an error needs.
// Shared as UErrorPtr; only the catalogue's constructor functions make errors of our domain.
class UError {
public:
    UError(QString domain, qint64 code, UErrorUserInfo userInfo);

    static UErrorPtr create(QString domain, qint64 code, UErrorUserInfo userInfo);

    const QString& domain() const { return domain_; }
    qint64 code() const { return code_; }
    const UErrorUserInfo& userInfo() const { return userInfo_; }
    const UErrorPtr& underlyingError() const { return userInfo_.underlyingError; }

    // The description; without one, "The operation couldn't be completed." followed by the failure
    // reason (or by domain and code when there is no reason either).
    QString localizedDescription() const;
    QString localizedFailureReason() const;
    QString localizedRecoverySuggestion() const;

    quint64 alertStyle() const;
    QString localizedOneLineDescription() const;
    QString localizedShortDescription() const;
    QString localizedCardErrorDescription() const;
    QString errorDescriptionStringForParentError() const;
    QString oneLineDescriptionStringForParentError() const;
    bool isUFemCalculationCanceledError() const;

private:
    QString domain_;
    qint64 code_;
    UErrorUserInfo userInfo_;
};

// Stores `error` through `out` for a fallible operation; raises the "Error Responder Error"
// program error when the caller passed no out-parameter.
void UFemSetError(UErrorPtr* out, UErrorPtr error);

// Wraps a fallible call given no error pointer: such a call raises its failure as a program error
// instead of returning it, so its result needs no check.
template <typename Result> constexpr void UFemRaisesOnFailure(Result&&) noexcept
{
}
