#include "foundation/files/UFemFileWriting.h"

#include "platform/UFileWriting.h"

#include <QFileInfo>

namespace {

const QString FileErrorDomain = QStringLiteral("UFileErrorDomain");

UErrorPtr writeFailureError(const QString& path, const UFileWriteFailure& failure)
{
    UErrorUserInfo info;
    info.description = QStringLiteral("The file “%1” could not be saved. %2.")
                           .arg(QFileInfo(path).fileName(), failure.reason);
    info.failureReason = failure.reason;
    info.recoverySuggestion
        = QStringLiteral("Check that the folder exists, is writable and has free space.");
    return UError::create(FileErrorDomain, failure.code, std::move(info));
}

} // namespace

bool UFemWriteFileData(const QString& path, const QByteArray& data, UErrorPtr* error)
{
    const std::optional<UFileWriteFailure> failure = UWriteFileWhole(path, data);
    if (!failure)
        return true;
    UFemSetError(error, writeFailureError(path, *failure));
    return false;
}

bool UFemCheckFileCanBeWritten(const QString& path, UErrorPtr* error)
{
    const std::optional<UFileWriteFailure> refusal = UFileWriteRefusal(path);
    if (!refusal)
        return true;
    UFemSetError(error, writeFailureError(path, *refusal));
    return false;
}
