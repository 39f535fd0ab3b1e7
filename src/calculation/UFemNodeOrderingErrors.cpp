#include "calculation/UFemNodePotentialTable.h"

// Until the error catalogue arrives: code and texts of the catalogue's unexpected error.
UErrorPtr UFemNodeOrderingUnexpectedError(const QString& description)
{
    UErrorUserInfo info;
    info.description = QStringLiteral("Unexpected error occurred. %1").arg(description);
    info.failureReason = QStringLiteral("Unexpected error occurred.");
    return UError::create(UFemErrorDomain, 81004, std::move(info));
}
