#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

// Whole-file writes that never leave a short file in place of a good one. QSaveFile alone commits
// a file whose buffered tail never reached the disk (the flush inside commit() goes unchecked), and
// a write that stops part-way (a size limit reached mid-call) keeps no reason.

struct UFileWriteFailure {
    QFileDevice::FileError code = QFileDevice::NoError;
    // The system's words: "File too large", "No space left on device", "Permission denied" ...
    QString reason;
};

// All of `data` to the device, then flushed; false as soon as the device fails, its error set.
[[nodiscard]] bool UWriteWholeAndFlush(QIODevice& device, const QByteArray& data);

// Replaces the file at `path` by `data` through a temporary file beside it; on failure the file
// stays as it was and the failure is returned. Only a regular file, or a link to one, is replaced:
// anything else at `path` is refused with the reason "Not a regular file".
[[nodiscard]] std::optional<UFileWriteFailure> UWriteFileWhole(
    const QString& path, const QByteArray& data);

// The failure UWriteFileWhole would give at once for what is at `path` ("Not a regular file"), so
// that a program can refuse the path before the work whose result it is to hold; else nothing.
[[nodiscard]] std::optional<UFileWriteFailure> UFileWriteRefusal(const QString& path);
