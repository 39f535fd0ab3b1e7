#pragma once

#include "foundation/errors/UError.h"

#include <QByteArray>
#include <QString>

// Every file the program saves goes through here: written whole beside the old one and put in its
// place only when every byte reached the disk. On failure the old file is untouched and the error,
// of the file system's domain, gives the system's reason ("File too large", "No space left on
// device", "Permission denied" ...); callers wrap it in the catalogue's saving error.
[[nodiscard]] bool UFemWriteFileData(const QString& path, const QByteArray& data, UErrorPtr* error);

// False with the error UFemWriteFileData would give at once for what is at `path` (a device, FIFO,
// socket or folder): checked before the work whose result is to be saved there.
[[nodiscard]] bool UFemCheckFileCanBeWritten(const QString& path, UErrorPtr* error);
