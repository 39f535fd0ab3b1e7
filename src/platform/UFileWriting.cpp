#include "platform/UFileWriting.h"

#include <QFileInfo>
#include <QSaveFile>

bool UWriteWholeAndFlush(QIODevice& device, const QByteArray& data)
{
    // A short count carries no error: the next call meets the limit at once and says why.
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 written = device.write(data.constData() + done, data.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    auto* file = qobject_cast<QFileDevice*>(&device);
    return !file || (file->flush() && file->error() == QFileDevice::NoError);
}

std::optional<UFileWriteFailure> UFileWriteRefusal(const QString& path)
{
    // The new file would be renamed over a device, FIFO, socket or folder (or the one a link
    // names), replacing it with a regular file.
    if (const QFileInfo target(path); target.exists() && !target.isFile())
        return UFileWriteFailure { QFileDevice::OpenError, QStringLiteral("Not a regular file") };
    return std::nullopt;
}

std::optional<UFileWriteFailure> UWriteFileWhole(const QString& path, const QByteArray& data)
{
    if (std::optional<UFileWriteFailure> refusal = UFileWriteRefusal(path))
        return refusal;
    QSaveFile file(path);
    // Unbuffered, so that every failure shows at the write that meets it, with its reason.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && UWriteWholeAndFlush(file, data)
        && file.commit())
        return std::nullopt;
    UFileWriteFailure failure { file.error(), file.errorString() };
    if (failure.code == QFileDevice::NoError)
        failure.code = QFileDevice::WriteError;
    file.cancelWriting();
    return failure;
}
