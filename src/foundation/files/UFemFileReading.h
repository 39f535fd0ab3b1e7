#pragma once

#include "foundation/errors/UError.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Every file the program opens is read through here, and only when it is a regular file: a FIFO
// would block the reader and a device (/dev/zero) would never end. Errors: 11016 when the path
// does not exist, 11017 for a directory or another file that is not regular, 11022 when it cannot
// be read, the memory error when it is larger than the memory its reading takes (a file that
// grows while read stops at that bound too).
[[nodiscard]] std::optional<QByteArray> UFemReadFileData(const QString& path, UErrorPtr* error);
