#pragma once

// Whole-buffer zlib compression for result files.

#include "foundation/errors/UError.h"

#include <QByteArray>
#include <QString>

// The buffer as one zlib stream; a null array and the error on failure. An empty buffer comes
// back as itself.
QByteArray zlibCompressedData_error(const QByteArray& data, UErrorPtr* error);

// The zlib stream decompressed; a null array and the error on failure (a stream that ends early
// fails with "Z_BUF_ERROR", bytes that are not a stream with "Z_DATA_ERROR"). An empty buffer
// comes back as itself.
QByteArray zlibDecompressedData_error(const QByteArray& data, UErrorPtr* error);

// "Z_OK", "Z_STREAM_END", "Z_STREAM_ERROR", "Z_DATA_ERROR", "Z_BUF_ERROR", else the number.
QString UFemZlibStatusNameString(int status);
