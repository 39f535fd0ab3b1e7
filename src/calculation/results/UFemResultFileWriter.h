#pragma once

#include "calculation/results/UFemResultDataRecords.h"
#include "foundation/errors/UError.h"

#include <QByteArray>

#include <optional>

// The result file of `contents`; the endian type is the container's (0 native order, 2 swapped).
// Nullopt with the container's error when it cannot be made.
[[nodiscard]] std::optional<QByteArray> UFemResultFileDataWithContents(
    const UFemResultDataContents& contents, quint64 endianType, UErrorPtr* error);

// Writes the file whole or not at all: a failed write leaves the file that was there.
[[nodiscard]] bool UFemWriteResultFile(
    const QString& filePath, const QByteArray& resultFileData, UErrorPtr* error);

// False with the error UFemWriteResultFile would give at once for what is at `filePath` (a device,
// FIFO, socket or folder): checked before the calculation whose results it is to hold.
[[nodiscard]] bool UFemCheckResultFileCanBeWritten(const QString& filePath, UErrorPtr* error);
