#include "foundation/buffers/UZlibData.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <random>

namespace {

QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = char(random());
    return bytes;
}

QByteArray zlibUncompressed(const QByteArray& stream, qsizetype size)
{
    QByteArray output(size, '\0');
    uLongf length = uLongf(size);
    const int status = uncompress(reinterpret_cast<Bytef*>(output.data()), &length,
        reinterpret_cast<const Bytef*>(stream.constData()), uLong(stream.size()));
    EXPECT_EQ(status, Z_OK);
    output.truncate(qsizetype(length));
    return output;
}

} // namespace

TEST(ZlibData, RoundTripsThroughZlibBothWays)
{
    // Incompressible data outgrows the first compress buffer; long runs of one byte outgrow the
    // first decompress buffer.
    const QByteArray blocks[]
        = { QByteArray("x"), randomBytes(100, 1), randomBytes(300000, 2), QByteArray(3 << 20, 'a'),
              QByteArray("The quick brown fox jumps over the lazy dog.").repeated(5000) };
    for (const QByteArray& block : blocks) {
        SCOPED_TRACE(block.size());
        UErrorPtr error;
        const QByteArray compressed = zlibCompressedData_error(block, &error);
        ASSERT_FALSE(error);
        EXPECT_EQ(zlibUncompressed(compressed, block.size()), block);
        EXPECT_EQ(zlibDecompressedData_error(compressed, &error), block);

        uLongf length = compressBound(uLong(block.size()));
        QByteArray foreign(qsizetype(length), '\0');
        ASSERT_EQ(compress(reinterpret_cast<Bytef*>(foreign.data()), &length,
                      reinterpret_cast<const Bytef*>(block.constData()), uLong(block.size())),
            Z_OK);
        foreign.truncate(qsizetype(length));
        EXPECT_EQ(zlibDecompressedData_error(foreign, &error), block);
        EXPECT_FALSE(error);
    }
}

TEST(ZlibData, EmptyBlockComesBackAsItself)
{
    UErrorPtr error;
    const QByteArray empty("");
    const QByteArray compressed = zlibCompressedData_error(empty, &error);
    EXPECT_TRUE(compressed.isEmpty());
    EXPECT_FALSE(compressed.isNull());
    EXPECT_TRUE(zlibDecompressedData_error(QByteArray(), &error).isEmpty());
    EXPECT_FALSE(zlibDecompressedData_error(QByteArray(), &error).isNull());
    EXPECT_FALSE(error);
}

TEST(ZlibData, TruncatedAndForeignStreamsFailWithTheirStatus)
{
    UErrorPtr error;
    const QByteArray block = randomBytes(5000, 3);
    const QByteArray compressed = zlibCompressedData_error(block, &error);
    const QByteArray truncated
        = zlibDecompressedData_error(compressed.left(compressed.size() / 2), &error);
    EXPECT_TRUE(truncated.isNull());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81002);
    EXPECT_EQ(error->localizedDescription(), "Decompressing Data failed. ( status: Z_BUF_ERROR )");
    EXPECT_EQ(error->localizedRecoverySuggestion(), "");

    error.reset();
    EXPECT_TRUE(
        zlibDecompressedData_error(QByteArray("this is not a zlib stream"), &error).isNull());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(), "Decompressing Data failed. ( status: Z_DATA_ERROR )");

    // A damaged checksum at the very end.
    QByteArray damaged = compressed;
    damaged[damaged.size() - 1] = char(damaged[damaged.size() - 1] ^ 0x55);
    error.reset();
    EXPECT_TRUE(zlibDecompressedData_error(damaged, &error).isNull());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(), "Decompressing Data failed. ( status: Z_DATA_ERROR )");

    EXPECT_THROW(zlibDecompressedData_error(QByteArray("junk"), nullptr), UException);
}

TEST(ZlibData, StatusNames)
{
    EXPECT_EQ(UFemZlibStatusNameString(Z_OK), "Z_OK");
    EXPECT_EQ(UFemZlibStatusNameString(Z_STREAM_END), "Z_STREAM_END");
    EXPECT_EQ(UFemZlibStatusNameString(Z_STREAM_ERROR), "Z_STREAM_ERROR");
    EXPECT_EQ(UFemZlibStatusNameString(Z_DATA_ERROR), "Z_DATA_ERROR");
    EXPECT_EQ(UFemZlibStatusNameString(Z_BUF_ERROR), "Z_BUF_ERROR");
    EXPECT_EQ(UFemZlibStatusNameString(Z_MEM_ERROR), "-4");
    EXPECT_EQ(UFemZlibStatusNameString(Z_NEED_DICT), "2");
}
