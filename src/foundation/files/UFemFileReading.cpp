#include "foundation/files/UFemFileReading.h"

#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "platform/UAvailableMemory.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

// Reading a file takes about this many bytes per byte of it: the bytes, their text (two per
// character) and the cards or results made of it.
constexpr quint64 memoryPerFileByte = 8;
// The most one read may ask for (a QByteArray holds less than 2 GiB).
constexpr quint64 maximumReadBytes = quint64(std::numeric_limits<int>::max()) - 1;
// A file that grows while read is read on in steps of this size, up to the bound.
constexpr qint64 readStepBytes = qint64(1) << 20;

std::optional<QByteArray> failed(UErrorPtr* error, UErrorPtr failure)
{
    UFemSetError(error, std::move(failure));
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> UFemReadFileData(const QString& path, UErrorPtr* error)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failed(error, UFemFileNotExistError_withFilePathString(path));
    if (info.isDir())
        return failed(error, UFemFileNotExistButDirectoryExistError_withFilePathString(path));
    if (!info.isFile())
        return failed(error, UFemNotRegularFileError_withFilePathString(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(error, UFemReadingFileFailedError_withFilePathString(path));
    const qint64 readable
        = qint64(std::min(UAvailableMemoryBytes() / memoryPerFileByte, maximumReadBytes));
    if (file.size() > readable)
        return failed(error, UFemMallocFailedError());
    // Read what the file holds, not the bound: asking for the bound at once allocates it.
    QByteArray data = file.read(file.size() + 1);
    while (data.size() <= readable && file.error() == QFileDevice::NoError) {
        const QByteArray more = file.read(std::min(readStepBytes, readable + 1 - data.size()));
        if (more.isEmpty())
            break;
        data += more;
    }
    if (file.error() != QFileDevice::NoError)
        return failed(error, UFemReadingFileFailedError_withFilePathString(path));
    if (data.size() > readable)
        return failed(error, UFemMallocFailedError());
    return data;
}
