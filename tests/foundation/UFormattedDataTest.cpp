#include "FormattedDataSamples.h"

#include "foundation/buffers/UFormattedData.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

_UFormattedDataHeader headerOf(const QByteArray& data)
{
    _UFormattedDataHeader header;
    std::memcpy(&header, data.constData(), sizeof header);
    return header;
}

_UFormattedDataComponentRecord recordOf(const QByteArray& data, quint64 index)
{
    _UFormattedDataComponentRecord record;
    std::memcpy(&record, data.constData() + 72 + 64 * index, sizeof record);
    return record;
}

QByteArray swappedEvery(const QByteArray& bytes, quint64 width)
{
    QByteArray swapped = bytes;
    for (qsizetype start = 0; start + qsizetype(width) <= swapped.size(); start += qsizetype(width))
        std::reverse(swapped.begin() + start, swapped.begin() + start + qsizetype(width));
    return swapped;
}

QByteArray oneRawComponentContainer(
    const char* name, const QByteArray& bytes, quint64 valueType = 21)
{
    _UFormattedDataComponent component;
    component.identifier = 5;
    component.name = name;
    component.bytes = bytes.constData();
    component.length = quint64(bytes.size());
    component.valueType = valueType;
    UErrorPtr error;
    return UFormattedDataWithDataTypeNameString("T", 1, 1, 0, 0, &component, 1, &error);
}

void expectSampleReadsBack(const QByteArray& data, const FormattedDataSample& sample)
{
    SCOPED_TRACE(sample.name);
    UErrorPtr error;
    const UFormattedDataComponentObject object
        = UFormattedDataComponentObjectWithComponentNameString(
            data, sample.name, sample.valueType, &error);
    ASSERT_FALSE(error);
    QByteArray bytes("untouched");
    const quint64 length = getUFormattedDataComponentDataBytesWithComponentIdentifier(
        data, &bytes, sample.identifier, sample.valueType, &error);
    ASSERT_FALSE(error);
    switch (sample.valueType) {
    case 201:
        EXPECT_EQ(std::get<QString>(object), sample.string);
        EXPECT_TRUE(bytes.isNull());
        EXPECT_EQ(length, 0u);
        break;
    case 202:
        EXPECT_EQ(std::get<QStringList>(object), sample.stringArray);
        EXPECT_TRUE(bytes.isNull());
        break;
    default:
        EXPECT_EQ(std::get<QByteArray>(object), sample.memoryBytes);
        EXPECT_EQ(bytes, sample.memoryBytes);
        EXPECT_EQ(length, quint64(sample.memoryBytes.size()));
    }
}

} // namespace

TEST(FormattedData, EmptyContainerIsExactlyTheHeader)
{
    UErrorPtr error;
    const QByteArray data
        = UFormattedDataWithDataTypeNameString("Result", 7, 0, 11, 12, nullptr, 0, &error);
    ASSERT_EQ(data.size(), 72);
    EXPECT_EQ(data.left(8), QByteArray("\x00\xAA\x77\xFA\x04\x02\xFF\x00", 8));
    EXPECT_TRUE(isUFormattedData_error(data, &error));
    EXPECT_EQ(_UFormattedData_FormatVersionNumber_error(data, &error), 10u);
    EXPECT_EQ(UFormattedDataValueSizeType_error(data, &error), 2u);
    EXPECT_EQ(UFormattedDataEndianType_error(data, &error), 1u);
    EXPECT_STREQ(UFormattedDataTypeNameString_error(data, &error), "Result");
    EXPECT_EQ(UFormattedDataVersionNumber_error(data, &error), 7u);
    EXPECT_EQ(UFormattedDataOptionalInteger1_error(data, &error), 11u);
    EXPECT_EQ(UFormattedDataOptionalInteger2_error(data, &error), 12u);
    EXPECT_EQ(UFormattedDataComponentCount_error(data, &error), 0u);
    QStringList names { QStringLiteral("stale") };
    EXPECT_TRUE(UFormattedDataComponentNameStringArray_error(data, &names, &error));
    EXPECT_TRUE(names.isEmpty());
    EXPECT_FALSE(error);
}

TEST(FormattedData, FiveRawBytesTakeAnEightByteArea)
{
    const QByteArray data = oneRawComponentContainer("five", QByteArray("12345"));
    ASSERT_EQ(data.size(), 144);
    const _UFormattedDataComponentRecord record = recordOf(data, 0);
    EXPECT_EQ(record.identifier, 5u);
    EXPECT_EQ(record.valueType, 21u);
    EXPECT_EQ(record.dataOffset, 136u);
    EXPECT_EQ(record.dataLength, 5u);
    EXPECT_STREQ(record.name, "five");
    EXPECT_EQ(data.mid(136), QByteArray("12345\0\0\0", 8));

    // A second area starts 8 bytes after the first.
    _UFormattedDataComponent components[2];
    for (quint64 index = 0; index < 2; ++index) {
        components[index].identifier = index;
        components[index].bytes = "12345";
        components[index].length = 5;
        components[index].valueType = 21;
    }
    UErrorPtr error;
    const QByteArray two
        = UFormattedDataWithDataTypeNameString("T", 1, 1, 0, 0, components, 2, &error);
    EXPECT_EQ(two.size(), 72 + 128 + 16);
    EXPECT_EQ(recordOf(two, 1).dataOffset - recordOf(two, 0).dataOffset, 8u);
}

TEST(FormattedData, EndianTypesOfTheWriter)
{
    const quint64 expected[][2] = { { 0, 1 }, { 1, 1 }, { 2, 2 }, { 3, 1 } };
    for (const auto& [given, stored] : expected) {
        UErrorPtr error;
        const QByteArray data
            = UFormattedDataWithDataTypeNameString("T", 1, given, 0, 0, nullptr, 0, &error);
        EXPECT_EQ(headerOf(data).endianType, stored) << given;
        EXPECT_TRUE(isUFormattedData_error(data, &error));
    }
    // Above 3 the type is stored as given, which no reader accepts.
    UErrorPtr error;
    const QByteArray four
        = UFormattedDataWithDataTypeNameString("T", 1, 4, 0, 0, nullptr, 0, &error);
    EXPECT_EQ(headerOf(four).endianType, 4u);
    EXPECT_FALSE(isUFormattedData_error(four, &error));
    EXPECT_EQ(UFormattedDataComponentCount_error(four, &error), 0u);
    EXPECT_FALSE(error);
}

TEST(FormattedData, SwappedEightByteOneIsStoredBigEndFirst)
{
    const QByteArray one = bytesOfValues<qint64>({ 1 });
    _UFormattedDataComponent component;
    component.identifier = 9;
    component.bytes = one.constData();
    component.length = 8;
    component.valueType = 11;
    UErrorPtr error;
    const QByteArray data
        = UFormattedDataWithDataTypeNameString("T", 1, 2, 0, 0, &component, 1, &error);
    EXPECT_EQ(data.mid(136, 8), QByteArray("\0\0\0\0\0\0\0\x01", 8));
    QByteArray bytes;
    EXPECT_EQ(
        getUFormattedDataComponentDataBytesWithComponentIdentifier(data, &bytes, 9, 11, &error),
        8u);
    qint64 value = 0;
    std::memcpy(&value, bytes.constData(), 8);
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(error);
}

TEST(FormattedData, EveryValueTypeRoundTripsInBothEndianForms)
{
    const std::vector<FormattedDataSample> samples = formattedDataSamples();
    for (const quint64 endianType : { 1u, 2u }) {
        SCOPED_TRACE(endianType);
        const QByteArray data = writeSampleContainer(endianType);
        ASSERT_TRUE(isUFormattedData_error(data, nullptr));
        UErrorPtr error;
        EXPECT_EQ(UFormattedDataEndianType_error(data, &error), endianType);
        EXPECT_EQ(UFormattedDataOptionalInteger2_error(data, &error), 0xFFFFFFFFu);
        for (const FormattedDataSample& sample : samples)
            expectSampleReadsBack(data, sample);

        // Stored bytes: swapped element by element, raw and string data never.
        for (quint64 index = 0; index < samples.size(); ++index) {
            const FormattedDataSample& sample = samples[index];
            const _UFormattedDataComponentRecord record = recordOf(data, index);
            EXPECT_EQ(record.dataOffset % 8, 0u);
            const QByteArray stored
                = data.mid(qsizetype(record.dataOffset), qsizetype(record.dataLength));
            const quint64 width = UFormattedDataElementWidthOfValueType(sample.valueType);
            if (sample.valueType < 200 && width > 1) {
                EXPECT_EQ(stored,
                    endianType == 2 ? swappedEvery(sample.memoryBytes, width) : sample.memoryBytes)
                    << sample.name;
            }
        }
    }
}

TEST(FormattedData, InPlaceReadsPointIntoTheContainer)
{
    const QByteArray data = writeSampleContainer(1);
    UFormattedDataComponentObject object;
    UErrorPtr error;
    const UFormattedDataRange range
        = _UFormattedDataComponentDataRangeOrGetComponentObjectPtr(data, &object, 1, 1, &error);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(object));
    EXPECT_EQ(range.length, 24u);
    QByteArray bytes;
    getUFormattedDataComponentDataBytesWithComponentIdentifier(data, &bytes, 1, 1, &error);
    EXPECT_EQ(bytes.constData(), data.constData() + range.location);

    const UFormattedDataRange reserved
        = _UFormattedDataComponentDataRangeOrGetComponentObjectPtr(data, &object, 801, 801, &error);
    EXPECT_EQ(reserved.length, 12u);
    EXPECT_FALSE(error);
}

TEST(FormattedData, StringListsEmptyAndWithZeroCharacters)
{
    _UFormattedDataComponent components[2];
    components[0].identifier = 1;
    components[0].valueType = 202;
    components[1].identifier = 2;
    components[1].valueType = 202;
    components[1].stringArray
        = { QStringLiteral("a") + QChar(0) + QStringLiteral("b"), QStringLiteral("c") };
    UErrorPtr error;
    const QByteArray data
        = UFormattedDataWithDataTypeNameString("T", 1, 1, 0, 0, components, 2, &error);
    EXPECT_EQ(recordOf(data, 0).dataLength, 0u);
    EXPECT_EQ(std::get<QStringList>(
                  UFormattedDataComponentObjectWithComponentIdentifier(data, 1, 202, &error)),
        QStringList { QString() });
    EXPECT_EQ(std::get<QStringList>(
                  UFormattedDataComponentObjectWithComponentIdentifier(data, 2, 202, &error)),
        (QStringList { "a", "b", "c" }));
    EXPECT_FALSE(error);
}

TEST(FormattedData, NamesOfThirtyOneBytesFitAndLongerOnesAreRefused)
{
    const char* longest = "abcdefghijklmnopqrstuvwxyz01234";
    ASSERT_EQ(std::strlen(longest), 31u);
    const QByteArray data = oneRawComponentContainer(longest, QByteArray("x"));
    UErrorPtr error;
    EXPECT_EQ(UFormattedDataComponentIdentifierWithComponentNameString(data, longest, &error), 5u);
    EXPECT_STREQ(
        UFormattedDataComponentNameStringWithComponentIdentifier(data, 5, &error), longest);
    EXPECT_EQ(UFormattedDataComponentIdentifierWithComponentNameString(
                  data, "abcdefghijklmnopqrstuvwxyz012345", &error),
        ~quint64(0));
    EXPECT_FALSE(error);
    EXPECT_THROW(
        oneRawComponentContainer("abcdefghijklmnopqrstuvwxyz012345", QByteArray("x")), UException);
    EXPECT_THROW(UFormattedDataWithDataTypeNameString(
                     "abcdefghijklmnopqrstuvwxyz012345", 1, 1, 0, 0, nullptr, 0, &error),
        UException);

    const QByteArray typeName
        = UFormattedDataWithDataTypeNameString(longest, 1, 1, 0, 0, nullptr, 0, &error);
    EXPECT_STREQ(UFormattedDataTypeNameString_error(typeName, &error), longest);
}

TEST(FormattedData, LookupsFindTheFirstOfRepeatedIdentifiersAndSkipMissingOnes)
{
    _UFormattedDataComponent components[2];
    components[0] = { 4, "first", {}, {}, "A", 1, 21 };
    components[1] = { 4, "second", {}, {}, "B", 1, 21 };
    UErrorPtr error;
    const QByteArray data
        = UFormattedDataWithDataTypeNameString("T", 1, 1, 0, 0, components, 2, &error);
    EXPECT_STREQ(
        UFormattedDataComponentNameStringWithComponentIdentifier(data, 4, &error), "first");
    EXPECT_EQ(std::get<QByteArray>(
                  UFormattedDataComponentObjectWithComponentIdentifier(data, 4, 21, &error)),
        "A");
    EXPECT_EQ(UFormattedDataComponentIdentifierWithComponentNameString(data, "second", &error), 4u);
    std::vector<quint64> identifiers;
    EXPECT_TRUE(getUFormattedDataComponentIdentifierTable(data, &identifiers, &error));
    EXPECT_EQ(identifiers, (std::vector<quint64> { 4, 4 }));
    QStringList names;
    EXPECT_TRUE(UFormattedDataComponentNameStringArray_error(data, &names, &error));
    EXPECT_EQ(names, (QStringList { "first", "second" }));

    // Missing components are not errors.
    EXPECT_EQ(UFormattedDataComponentNameStringWithComponentIdentifier(data, 99, &error), nullptr);
    EXPECT_EQ(UFormattedDataComponentIdentifierWithComponentNameString(data, "none", &error),
        ~quint64(0));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        UFormattedDataComponentObjectWithComponentNameString(data, "none", 21, &error)));
    QByteArray bytes("kept");
    EXPECT_EQ(
        getUFormattedDataComponentDataBytesWithComponentIdentifier(data, &bytes, 99, 21, &error),
        0u);
    EXPECT_EQ(bytes, "kept");
    EXPECT_EQ(getUFormattedDataComponentDataBytesWithComponentNameString(
                  data, &bytes, "none", 21, &error),
        0u);
    EXPECT_TRUE(bytes.isNull());
    EXPECT_FALSE(error);
}

TEST(FormattedData, EmptyAreaGivesNoObject)
{
    const QByteArray data = oneRawComponentContainer("empty", QByteArray());
    UErrorPtr error;
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        UFormattedDataComponentObjectWithComponentIdentifier(data, 5, 21, &error)));
    EXPECT_FALSE(error);
}

// Writes the fuzz seeds when VANTREL_WRITE_FUZZ_SEEDS names a folder; always checks that they read.
TEST(FormattedDataSeeds, SampleContainersAreWellFormed)
{
    const QByteArray seeds[] = { writeSampleContainer(1), writeSampleContainer(2),
        oneRawComponentContainer("five", QByteArray("12345")),
        UFormattedDataWithDataTypeNameString("Empty", 1, 1, 0, 0, nullptr, 0, nullptr) };
    const QString folder = qEnvironmentVariable("VANTREL_WRITE_FUZZ_SEEDS");
    int number = 0;
    for (const QByteArray& seed : seeds) {
        EXPECT_TRUE(isUFormattedData_error(seed, nullptr));
        if (folder.isEmpty())
            continue;
        QFile file(QDir(folder).filePath(QStringLiteral("container-%1.bin").arg(++number)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(seed);
    }
}

TEST(FormattedData, WriterRefusesMalformedComponents)
{
    const char bytes[8] = {};
    _UFormattedDataComponent component;
    component.bytes = bytes;
    component.length = 6;
    component.valueType = 3;
    UErrorPtr error;
    const auto write = [&](quint64 endianType) {
        return UFormattedDataWithDataTypeNameString(
            "T", 1, endianType, 0, 0, &component, 1, &error);
    };
    // Swapping needs whole elements of a known width; in memory order the bytes are copied as
    // given.
    EXPECT_THROW(write(2), UException);
    EXPECT_EQ(write(1).size(), 144);
    component.length = 8;
    component.valueType = 5;
    try {
        write(2);
        ADD_FAILURE() << "no program error";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), "Unexpected aFormattedDataComponent.valueType.");
    }
    EXPECT_EQ(write(1).size(), 144);
    EXPECT_FALSE(error);

    // A length beyond any block is reported, not allocated.
    component.valueType = 21;
    component.length = ~quint64(0) - 4;
    EXPECT_TRUE(write(1).isNull());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81001);
}
