#include "platform/UFileStamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

QString UFileStamp::normalizedPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

UFileStamp UFileStamp::ofFile(const QString& path)
{
    UFileStamp stamp;
    stamp.path_ = normalizedPath(path);
    struct stat status { };
    // QFileInfo keeps milliseconds only.
    if (::stat(QFile::encodeName(stamp.path_).constData(), &status) != 0
        || !S_ISREG(status.st_mode))
        return stamp;
    stamp.hasFile_ = true;
    stamp.device_ = quint64(status.st_dev);
    stamp.inode_ = quint64(status.st_ino);
    stamp.size_ = qint64(status.st_size);
    stamp.modifiedSeconds_ = qint64(status.st_mtim.tv_sec);
    stamp.modifiedNanoseconds_ = qint64(status.st_mtim.tv_nsec);
    return stamp;
}

void UFileStamp::refreshIfAt(const QString& path)
{
    if (normalizedPath(path) == path_)
        *this = ofFile(path);
}

bool UFileStamp::isChangedOnDisk(const QString& path) const
{
    if (!hasFile_ || normalizedPath(path) != path_)
        return false;
    const UFileStamp now = ofFile(path);
    return now.hasFile_ && now != *this;
}
