#include "foundation/buffers/UZlibData.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace {

constexpr quint64 maximumChunk = std::numeric_limits<uInt>::max();
constexpr quint64 maximumBufferSize = quint64(std::numeric_limits<qsizetype>::max()) / 2;
constexpr quint64 capacityBase = 4096;

// The output sizes of the two directions, relative to the input length.
struct UZlibStreamShape {
    quint64 initialNumerator, initialDenominator, growthNumerator, growthDenominator;
    int finalFlush;
    const char* failureFormat;
};

constexpr UZlibStreamShape compressShape { 1, 2, 1, 2, Z_FINISH,
    "Compressing Data failed. ( status: %@ )" };
constexpr UZlibStreamShape decompressShape { 16, 1, 4, 1, Z_SYNC_FLUSH,
    "Decompressing Data failed. ( status: %@ )" };

qsizetype scaledCapacity(quint64 length, quint64 numerator, quint64 denominator)
{
    const quint64 bounded = std::min(length, maximumBufferSize / 16);
    return qsizetype(std::min(bounded * numerator / denominator + capacityBase, maximumBufferSize));
}

// Drives one deflate or inflate stream over the whole input; answers the last status of
// `process`, Z_STREAM_END when the stream completed. `output` holds the bytes produced.
template <typename Process>
int runStream(z_stream& stream, Process process, const UZlibStreamShape& shape,
    const QByteArray& input, QByteArray& output)
{
    const quint64 length = quint64(input.size());
    const qsizetype growth = scaledCapacity(length, shape.growthNumerator, shape.growthDenominator);
    output.resize(scaledCapacity(length, shape.initialNumerator, shape.initialDenominator));
    const char* next = input.constData();
    quint64 remaining = length;
    qsizetype produced = 0;
    int status = Z_OK;
    while (status == Z_OK) {
        if (stream.avail_in == 0 && remaining > 0) {
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(next));
            stream.avail_in = uInt(std::min(remaining, maximumChunk));
            next += stream.avail_in;
            remaining -= stream.avail_in;
        }
        if (produced == output.size())
            output.resize(output.size() + growth);
        const uInt room = uInt(std::min(quint64(output.size() - produced), maximumChunk));
        stream.next_out = reinterpret_cast<Bytef*>(output.data() + produced);
        stream.avail_out = room;
        status = process(&stream, remaining == 0 ? shape.finalFlush : Z_NO_FLUSH);
        produced += qsizetype(room - stream.avail_out);
    }
    output.truncate(produced);
    return status;
}

UErrorPtr failureError(const UZlibStreamShape& shape, int status)
{
    return UFemFewChanceError_withDescription(
        ULocalizedFormattedString(shape.failureFormat, UFemZlibStatusNameString(status)),
        QString(""));
}

template <typename Init, typename Process, typename End>
QByteArray transformed(const QByteArray& data, const UZlibStreamShape& shape, Init init,
    Process process, End end, UErrorPtr* error)
{
    if (data.isEmpty())
        return data.isNull() ? QByteArray("") : data;
    z_stream stream {};
    int status = init(&stream);
    if (status != Z_OK) {
        UFemSetError(error, failureError(shape, status));
        return QByteArray();
    }
    QByteArray output;
    status = runStream(stream, process, shape, data, output);
    if (status != Z_STREAM_END) {
        end(&stream);
        UFemSetError(error, failureError(shape, status));
        return QByteArray();
    }
    status = end(&stream);
    if (status != Z_OK) {
        UFemSetError(error, failureError(shape, status));
        return QByteArray();
    }
    return output;
}

} // namespace

QByteArray zlibCompressedData_error(const QByteArray& data, UErrorPtr* error)
{
    return transformed(
        data, compressShape,
        [](z_streamp stream) { return deflateInit(stream, Z_DEFAULT_COMPRESSION); }, deflate,
        deflateEnd, error);
}

QByteArray zlibDecompressedData_error(const QByteArray& data, UErrorPtr* error)
{
    return transformed(
        data, decompressShape, [](z_streamp stream) { return inflateInit(stream); }, inflate,
        inflateEnd, error);
}

QString UFemZlibStatusNameString(int status)
{
    switch (status) {
    case Z_OK:
        return QStringLiteral("Z_OK");
    case Z_STREAM_END:
        return QStringLiteral("Z_STREAM_END");
    case Z_STREAM_ERROR:
        return QStringLiteral("Z_STREAM_ERROR");
    case Z_DATA_ERROR:
        return QStringLiteral("Z_DATA_ERROR");
    case Z_BUF_ERROR:
        return QStringLiteral("Z_BUF_ERROR");
    default:
        return QString::number(status);
    }
}
