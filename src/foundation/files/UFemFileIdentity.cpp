#include "foundation/files/UFemFileIdentity.h"

#include "foundation/errors/UFemErrorsFile.h"

#include <QFile>

#include <sys/stat.h>

bool UFemIsSameFile(const QString& path, const QString& otherPath)
{
    struct stat status { };
    struct stat otherStatus { };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
        && ::stat(QFile::encodeName(otherPath).constData(), &otherStatus) == 0
        && status.st_dev == otherStatus.st_dev && status.st_ino == otherStatus.st_ino;
}

bool UFemCheckResultFileIsNotModelFile(
    const QString& resultFilePath, const QString& modelFilePath, UErrorPtr* error)
{
    if (!UFemIsSameFile(resultFilePath, modelFilePath))
        return true;
    UFemSetError(error, UFemResultFileIsModelFileError_withFilePathString(resultFilePath));
    return false;
}
