#pragma once

#include <QString>
#include <QtGlobal>

// One version of a file, told from another without reading it: the device and inode (a save
// through a temporary file makes a new inode), the size, and the modification time to the
// nanosecond, so that a rewrite within the same second shows too. A document keeps the stamp of
// each file it last read or wrote and compares it before it writes over that file.
class UFileStamp {
public:
    // No file: never differs from what is on disk.
    UFileStamp() = default;

    // The regular file at `path` as it is now; no file when nothing regular is there.
    static UFileStamp ofFile(const QString& path);

    // Whether the regular file now at `path` is another version than the one stamped. A stamp
    // taken at another path or of no file, and a path that holds no regular file now (it
    // vanished), answer false: writing there loses nobody's work.
    bool isChangedOnDisk(const QString& path) const;
    // Stamps the file at `path` anew when this stamp was taken there, after a write of one's own.
    void refreshIfAt(const QString& path);

    friend bool operator==(const UFileStamp&, const UFileStamp&) = default;

private:
    static QString normalizedPath(const QString& path);

    QString path_;
    bool hasFile_ = false;
    quint64 device_ = 0;
    quint64 inode_ = 0;
    qint64 size_ = 0;
    qint64 modifiedSeconds_ = 0;
    qint64 modifiedNanoseconds_ = 0;
};
