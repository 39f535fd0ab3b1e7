// Feeds arbitrary bytes to every reader of the formatted data container. Whatever the input, a
// reader must answer with an error or with data inside the block.

#include "foundation/buffers/UFormattedData.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr quint64 valueTypes[]
    = { 1, 11, 107, 3, 12, 105, 23, 103, 21, 101, 901, 999, 201, 202, 801, 5 };

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void readComponent(const QByteArray& data, quint64 identifier, quint64 valueType)
{
    UErrorPtr error;
    UFormattedDataComponentObject object;
    const UFormattedDataRange range = _UFormattedDataComponentDataRangeOrGetComponentObjectPtr(
        data, &object, identifier, valueType, &error);
    require(range.location <= quint64(data.size())
        && range.length <= quint64(data.size()) - range.location);
    require(!error || error->code() == 81004);
    UFormattedDataComponentObjectWithComponentIdentifier(data, identifier, valueType, &error);
    QByteArray bytes;
    const quint64 length = getUFormattedDataComponentDataBytesWithComponentIdentifier(
        data, &bytes, identifier, valueType, &error);
    require(length == quint64(bytes.size()));
    // Touch every byte handed out, so that a bad range shows up under the sanitizer.
    volatile char sum = 0;
    for (const char byte : bytes)
        sum = char(sum + byte);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QByteArray data
        = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes), qsizetype(size));
    UErrorPtr error;
    if (const char* name = UFormattedDataTypeNameString_error(data, &error))
        require(std::strlen(name) < UFormattedDataNameFieldSize);
    std::vector<quint64> identifiers;
    static_cast<void>(getUFormattedDataComponentIdentifierTable(data, &identifiers, &error));
    QStringList names;
    static_cast<void>(UFormattedDataComponentNameStringArray_error(data, &names, &error));
    for (const QString& name : names)
        UFormattedDataComponentIdentifierWithComponentNameString(
            data, name.toUtf8().constData(), &error);
    identifiers.push_back(0);
    for (const quint64 identifier : identifiers) {
        if (const char* name
            = UFormattedDataComponentNameStringWithComponentIdentifier(data, identifier, &error))
            require(std::strlen(name) < UFormattedDataNameFieldSize);
        for (const quint64 valueType : valueTypes)
            readComponent(data, identifier, valueType);
    }
    return 0;
}
