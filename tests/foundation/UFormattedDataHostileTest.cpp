#include "FormattedDataSamples.h"

#include "foundation/buffers/UFormattedData.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <random>

namespace {

constexpr quint64 everyValueType[]
    = { 1, 11, 107, 3, 12, 105, 23, 103, 21, 101, 901, 999, 201, 202, 801, 5 };
// One value type of each kind (the samples' identifiers are their value types).
constexpr quint64 valueTypeOfEachKind[] = { 11, 3, 23, 21, 201, 202, 801 };

// A copy of `bytes` in a block of exactly their size, so that AddressSanitizer sees any read past
// it.
class ExactBlock {
public:
    explicit ExactBlock(const QByteArray& bytes)
        : storage_(new char[size_t(std::max<qsizetype>(bytes.size(), 1))])
    {
        std::memcpy(storage_.get(), bytes.constData(), size_t(bytes.size()));
        data_ = QByteArray::fromRawData(storage_.get(), bytes.size());
    }
    const QByteArray& data() const { return data_; }

private:
    std::unique_ptr<char[]> storage_;
    QByteArray data_;
};

void expectUnexpectedErrorOrNone(const UErrorPtr& error)
{
    if (error) {
        EXPECT_EQ(error->code(), 81004);
    }
}

// Runs every reader over `data` and checks that whatever comes back stays inside it. Each
// identifier is read as every value type, or (when `quick`) as the type the samples give it and one
// that is never right.
void exerciseEveryReader(const QByteArray& data, bool quick = false)
{
    const quint64 size = quint64(data.size());
    const bool isContainer = isUFormattedData_error(data, nullptr);
    UErrorPtr error;
    const quint64 count = UFormattedDataComponentCount_error(data, &error);
    if (const char* name = UFormattedDataTypeNameString_error(data, &error)) {
        EXPECT_LT(std::strlen(name), 32u);
    }
    std::vector<quint64> identifiers;
    EXPECT_EQ(getUFormattedDataComponentIdentifierTable(data, &identifiers, &error), isContainer);
    EXPECT_EQ(identifiers.size(), isContainer ? count : 0u);
    QStringList names;
    EXPECT_EQ(UFormattedDataComponentNameStringArray_error(data, &names, &error), isContainer);
    expectUnexpectedErrorOrNone(error);
    identifiers.push_back(5);
    for (const quint64 identifier : identifiers) {
        if (const char* name
            = UFormattedDataComponentNameStringWithComponentIdentifier(data, identifier, &error)) {
            EXPECT_LT(std::strlen(name), 32u);
        }
        const std::vector<quint64> valueTypes = quick
            ? std::vector<quint64> { identifier, 5 }
            : std::vector<quint64>(std::begin(everyValueType), std::end(everyValueType));
        for (const quint64 valueType : valueTypes) {
            error.reset();
            UFormattedDataComponentObject object;
            const UFormattedDataRange range
                = _UFormattedDataComponentDataRangeOrGetComponentObjectPtr(
                    data, &object, identifier, valueType, &error);
            EXPECT_LE(range.location, size);
            EXPECT_LE(range.length, size - range.location);
            expectUnexpectedErrorOrNone(error);
            UFormattedDataComponentObjectWithComponentIdentifier(
                data, identifier, valueType, &error);
            QByteArray bytes;
            const quint64 length = getUFormattedDataComponentDataBytesWithComponentIdentifier(
                data, &bytes, identifier, valueType, &error);
            EXPECT_EQ(length, quint64(bytes.size()));
            expectUnexpectedErrorOrNone(error);
        }
    }
}

QByteArray withRecordField(QByteArray data, quint64 index, size_t fieldOffset, quint64 value)
{
    std::memcpy(data.data() + 72 + 64 * index + fieldOffset, &value, sizeof value);
    return data;
}

quint64 lastAreaEnd(const QByteArray& data)
{
    const quint64 count = UFormattedDataComponentCount_error(data, nullptr);
    _UFormattedDataComponentRecord record;
    std::memcpy(&record, data.constData() + 72 + 64 * (count - 1), sizeof record);
    return record.dataOffset + record.dataLength;
}

// One component of each kind, so that every bit of it can be flipped in reasonable time.
QByteArray writeCompactContainer(quint64 endianType)
{
    std::vector<FormattedDataSample> samples;
    for (const FormattedDataSample& sample : formattedDataSamples()) {
        if (std::find(
                std::begin(valueTypeOfEachKind), std::end(valueTypeOfEachKind), sample.valueType)
            != std::end(valueTypeOfEachKind))
            samples.push_back(sample);
    }
    const std::vector<_UFormattedDataComponent> components = componentsOfSamples(samples);
    return UFormattedDataWithDataTypeNameString(
        "Compact", 1, endianType, 0, 0, components.data(), components.size(), nullptr);
}

} // namespace

TEST(FormattedDataHostile, EveryTruncationIsRefusedWithTheVersionError)
{
    for (const quint64 endianType : { 1u, 2u }) {
        const QByteArray full = writeSampleContainer(endianType);
        const quint64 end = lastAreaEnd(full);
        for (qsizetype length = 0; length < full.size(); ++length) {
            SCOPED_TRACE(length);
            const ExactBlock block(full.left(length));
            EXPECT_EQ(isUFormattedData_error(block.data(), nullptr), quint64(length) >= end);
            exerciseEveryReader(block.data());
        }
    }
    const ExactBlock truncated(writeSampleContainer(1).left(100));
    UErrorPtr error;
    EXPECT_EQ(UFormattedDataComponentIdentifierWithComponentNameString(
                  truncated.data(), "doubles", &error),
        ~quint64(0));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(
        error->localizedDescription(), "Unexpected error occurred. Unextedted File Data Version.");
    EXPECT_EQ(error->localizedRecoverySuggestion(), "Unexpected error occurred.");
    EXPECT_THROW(static_cast<void>(UFormattedDataComponentNameStringWithComponentIdentifier(
                     truncated.data(), 1, nullptr)),
        UException);
}

TEST(FormattedDataHostile, BitFlipsNeverReadOutside)
{
    for (const quint64 endianType : { 1u, 2u }) {
        const QByteArray full = writeCompactContainer(endianType);
        ASSERT_TRUE(isUFormattedData_error(full, nullptr));
        for (qsizetype byte = 0; byte < full.size(); ++byte) {
            for (int bit = 0; bit < 8; ++bit) {
                QByteArray flipped = full;
                flipped[byte] = char(flipped[byte] ^ (1 << bit));
                const ExactBlock block(flipped);
                exerciseEveryReader(block.data(), true);
            }
        }
    }
}

TEST(FormattedDataHostile, RandomDamageNeverReadsOutside)
{
    std::mt19937_64 random(20261207);
    const QByteArray full = writeSampleContainer(2);
    for (int trial = 0; trial < 3000; ++trial) {
        QByteArray damaged = full.left(qsizetype(random() % quint64(full.size() + 1)));
        for (int change = 0; change < 4 && !damaged.isEmpty(); ++change)
            damaged[qsizetype(random() % quint64(damaged.size()))] = char(random());
        const ExactBlock block(damaged);
        exerciseEveryReader(block.data(), true);
    }
}

TEST(FormattedDataHostile, AreaBoundsCannotWrapAround)
{
    const QByteArray full = writeSampleContainer(1);
    const size_t lengthField = offsetof(_UFormattedDataComponentRecord, dataLength);
    const size_t offsetField = offsetof(_UFormattedDataComponentRecord, dataOffset);
    // An early area whose end wraps past zero, so that every later area still looks in order.
    EXPECT_FALSE(
        isUFormattedData_error(withRecordField(full, 0, lengthField, ~quint64(0) - 7), nullptr));
    EXPECT_FALSE(
        isUFormattedData_error(withRecordField(full, 3, offsetField, ~quint64(0) - 3), nullptr));
    // An area before the record table, or overlapping the previous one.
    EXPECT_FALSE(isUFormattedData_error(withRecordField(full, 0, offsetField, 64), nullptr));
    EXPECT_FALSE(
        isUFormattedData_error(withRecordField(full, 4, offsetField, 72 + 64 * 15 + 8), nullptr));
    // Gaps between areas are allowed.
    EXPECT_TRUE(isUFormattedData_error(withRecordField(full, 0, lengthField, 8), nullptr));

    // A count far beyond the block is refused without allocating anything for it.
    QByteArray counted = full;
    const quint32 hugeCount = 0xFFFFFFFF;
    std::memcpy(counted.data() + 68, &hugeCount, 4);
    EXPECT_FALSE(isUFormattedData_error(counted, nullptr));
}

TEST(FormattedDataHostile, NamesMustEndInsideTheirField)
{
    const QByteArray full = writeSampleContainer(1);
    QByteArray typeName = full;
    std::memset(typeName.data() + 24, 'N', 32);
    EXPECT_FALSE(isUFormattedData_error(typeName, nullptr));
    EXPECT_EQ(UFormattedDataTypeNameString_error(typeName, nullptr), nullptr);

    QByteArray componentName = full;
    std::memset(componentName.data() + 72 + 64 * 2 + 32, 'N', 32);
    EXPECT_FALSE(isUFormattedData_error(componentName, nullptr));
    UErrorPtr error;
    EXPECT_EQ(UFormattedDataComponentNameStringWithComponentIdentifier(componentName, 107, &error),
        nullptr);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
}

TEST(FormattedDataHostile, WrongValueTypeIsAnError)
{
    const QByteArray data = writeSampleContainer(1);
    UErrorPtr error;
    const UFormattedDataComponentObject object
        = UFormattedDataComponentObjectWithComponentIdentifier(data, 1, 11, &error);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(object));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(error->localizedDescription(),
        "Unexpected error occurred. ValueType doesn't match with valueType in FormattedData.");
    QByteArray bytes("kept");
    error.reset();
    EXPECT_EQ(getUFormattedDataComponentDataBytesWithComponentNameString(
                  data, &bytes, "title", 21, &error),
        0u);
    EXPECT_TRUE(bytes.isNull());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
}

TEST(FormattedDataHostile, SwappedAreaOfPartialElementsIsAnError)
{
    const QByteArray swapped = writeSampleContainer(2);
    const QByteArray damaged
        = withRecordField(swapped, 1, offsetof(_UFormattedDataComponentRecord, dataLength), 23);
    ASSERT_TRUE(isUFormattedData_error(damaged, nullptr));
    UErrorPtr error;
    QByteArray bytes("kept");
    EXPECT_EQ(
        getUFormattedDataComponentDataBytesWithComponentIdentifier(damaged, &bytes, 11, 11, &error),
        0u);
    EXPECT_TRUE(bytes.isNull());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(error->localizedDescription(),
        "Unexpected error occurred. Data length is not a whole number of elements in "
        "FormattedData.");

    // In memory order the same area is handed out as it is.
    const QByteArray native = withRecordField(
        writeSampleContainer(1), 1, offsetof(_UFormattedDataComponentRecord, dataLength), 23);
    error.reset();
    EXPECT_EQ(
        getUFormattedDataComponentDataBytesWithComponentIdentifier(native, &bytes, 11, 11, &error),
        23u);
    EXPECT_FALSE(error);
}

TEST(FormattedDataHostile, InvalidUtf8GivesNoString)
{
    _UFormattedDataComponent component;
    component.identifier = 1;
    component.valueType = 201;
    component.string = QStringLiteral("abcd");
    UErrorPtr error;
    QByteArray data = UFormattedDataWithDataTypeNameString("T", 1, 1, 0, 0, &component, 1, &error);
    data[136 + 1] = char(0xC3); // a lead byte followed by an ASCII letter
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        UFormattedDataComponentObjectWithComponentIdentifier(data, 1, 201, &error)));
    data[136 + 1] = 'b';
    data[136 + 3] = char(0xC3); // a sequence cut off by the end of the area
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        UFormattedDataComponentObjectWithComponentIdentifier(data, 1, 201, &error)));
    EXPECT_FALSE(error);

    component.valueType = 202;
    component.stringArray = { QStringLiteral("ab"), QStringLiteral("cd") };
    data = UFormattedDataWithDataTypeNameString("T", 1, 1, 0, 0, &component, 1, &error);
    data[136 + 4] = char(0xFF);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        UFormattedDataComponentObjectWithComponentIdentifier(data, 1, 202, &error)));
    EXPECT_FALSE(error);
}
