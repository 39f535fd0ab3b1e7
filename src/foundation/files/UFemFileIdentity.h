#pragma once

#include "foundation/errors/UError.h"

#include <QString>

// Whether two paths name one file: the same device and inode, links followed. False when either
// does not exist.
bool UFemIsSameFile(const QString& path, const QString& otherPath);

// A result written over its own model would destroy the model: false with 11018 when
// `resultFilePath` names the model file, by any path or link.
[[nodiscard]] bool UFemCheckResultFileIsNotModelFile(
    const QString& resultFilePath, const QString& modelFilePath, UErrorPtr* error);
