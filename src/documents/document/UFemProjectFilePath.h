#pragma once

#include "foundation/errors/UError.h"

#include <QString>

#include <optional>

// Whether a model or result path of a project names a file of that kind: longer than the
// extension plus one character, and the extension of its last component exactly `extension`.
bool UFemIsProjectFilePathValid(const QString& path, const QString& extension);

// The path standardized: a leading "~" expanded to the home directory, "." and ".." resolved.
QString UFemStandardizedFilePath(const QString& path);

// The absolute path of a project's model or result path: an absolute path as it stands, a
// relative one inside the directory of the project file. A path that names no file (a relative
// path without a project file, a NUL character) gives 11010 with the standardized path.
[[nodiscard]] std::optional<QString> UFemResolvedProjectFilePath(
    const QString& path, const QString& projectFilePath, UErrorPtr* error);

// A path with the home directory written as "~".
QString UFemAbbreviatedFilePath(const QString& path);
