#include "foundation/buffers/UFormattedData.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <cstring>
#include <limits>

namespace {

constexpr quint64 maximumContainerSize = quint64(std::numeric_limits<qsizetype>::max());

quint64 storedEndianType(quint64 endianType)
{
    if (endianType == 0 || endianType == 1 || endianType == 3)
        return UFormattedDataEndianTypeInMemoryOrder;
    return endianType & 0xFFFF;
}

quint64 paddedLength(quint64 length)
{
    return (length + UFormattedDataAreaAlignment - 1) / UFormattedDataAreaAlignment
        * UFormattedDataAreaAlignment;
}

void copyName(char* field, const char* name, const QString& tooLongReason)
{
    if (name == nullptr)
        return;
    const size_t length = strnlen(name, UFormattedDataNameFieldSize);
    if (length >= UFormattedDataNameFieldSize)
        UFemRaiseProgramError(tooLongReason);
    std::memcpy(field, name, length);
}

// The bytes stored for one component; for numeric and raw types a raw view of the caller's bytes.
QByteArray storedBytes(const _UFormattedDataComponent& component, bool swapsData)
{
    switch (component.valueType) {
    case UFormattedDataValueTypeString:
        return component.string.toUtf8();
    case UFormattedDataValueTypeStringArray:
        return component.stringArray.join(QChar(0)).toUtf8();
    case UFormattedDataValueTypeReservedArea:
        return QByteArray();
    default:
        break;
    }
    if (swapsData) {
        const quint64 width = UFormattedDataElementWidthOfValueType(component.valueType);
        if (width == 0)
            UFemRaiseProgramError(QStringLiteral("Unexpected aFormattedDataComponent.valueType."));
        if (component.length % width != 0)
            UFemRaiseProgramError(QStringLiteral(
                "aFormattedDataComponent.length is not a whole number of elements."));
    }
    if (component.length > 0 && component.bytes == nullptr)
        UFemRaiseProgramError(QStringLiteral("aFormattedDataComponent.bytes is NULL."));
    if (component.length > maximumContainerSize)
        return QByteArray();
    return QByteArray::fromRawData(
        static_cast<const char*>(component.bytes), qsizetype(component.length));
}

quint64 storedLength(const _UFormattedDataComponent& component, const QByteArray& bytes)
{
    return component.valueType == UFormattedDataValueTypeString
            || component.valueType == UFormattedDataValueTypeStringArray
        ? quint64(bytes.size())
        : component.length;
}

void writeArea(
    char* area, const _UFormattedDataComponent& component, const QByteArray& bytes, bool swapsData)
{
    const quint64 length = storedLength(component, bytes);
    if (component.valueType == UFormattedDataValueTypeReservedArea || length == 0)
        return;
    const quint64 width = UFormattedDataElementWidthOfValueType(component.valueType);
    if (swapsData && width > 1)
        UFormattedDataCopySwappingElements(bytes.constData(), area, length, width);
    else
        std::memcpy(area, bytes.constData(), length);
}

void writeHeader(char* block, const char* dataTypeNameString, quint64 dataVersionNumber,
    quint64 endianType, quint64 optionalInteger1, quint64 optionalInteger2,
    quint64 dataComponentCount)
{
    _UFormattedDataHeader header {};
    header.magic = UFormattedDataMagicNumber;
    header.formatVersion = UFormattedDataFormatVersionNumber;
    header.valueSizeType = UFormattedDataWrittenValueSizeType;
    header.endianType = quint16(endianType);
    copyName(header.dataTypeName, dataTypeNameString,
        QStringLiteral("dataTypeNameString is longer than 31 bytes."));
    header.dataVersionNumber = quint32(dataVersionNumber);
    header.optionalInteger1 = quint32(optionalInteger1);
    header.optionalInteger2 = quint32(optionalInteger2);
    header.componentCount = quint32(dataComponentCount);
    std::memcpy(block, &header, sizeof header);
}

_UFormattedDataComponentRecord recordOf(
    const _UFormattedDataComponent& component, quint64 offset, quint64 length)
{
    _UFormattedDataComponentRecord record {};
    record.identifier = quint32(component.identifier);
    record.valueType = quint32(component.valueType);
    record.dataOffset = offset;
    record.dataLength = length;
    copyName(record.name, component.name,
        QStringLiteral("aFormattedDataComponent.name is longer than 31 bytes."));
    return record;
}

} // namespace

QByteArray UFormattedDataWithDataTypeNameString(const char* dataTypeNameString,
    quint64 dataVersionNumber, quint64 endianType, quint64 optionalInteger1,
    quint64 optionalInteger2, const _UFormattedDataComponent* dataComponentTable,
    quint64 dataComponentCount, UErrorPtr* error)
{
    if (dataComponentCount > std::numeric_limits<quint32>::max())
        UFemRaiseProgramError(QStringLiteral("dataComponentCount is too big."));
    const quint64 storedEndian = storedEndianType(endianType);
    const bool swapsData = storedEndian != UFormattedDataEndianTypeInMemoryOrder;

    // Sizes first, so that one zero-filled block is allocated and nothing is made on a refusal.
    std::vector<QByteArray> bytesTable;
    bytesTable.reserve(dataComponentCount);
    const quint64 tableEnd = sizeof(_UFormattedDataHeader)
        + sizeof(_UFormattedDataComponentRecord) * dataComponentCount;
    quint64 size = tableEnd;
    for (quint64 index = 0; index < dataComponentCount; ++index) {
        const _UFormattedDataComponent& component = dataComponentTable[index];
        bytesTable.push_back(storedBytes(component, swapsData));
        const quint64 length = storedLength(component, bytesTable.back());
        if (length > maximumContainerSize || paddedLength(length) > maximumContainerSize - size) {
            UFemSetError(error, UFemMallocFailedError());
            return QByteArray();
        }
        size += paddedLength(length);
    }

    QByteArray block(qsizetype(size), '\0');
    char* bytes = block.data();
    writeHeader(bytes, dataTypeNameString, dataVersionNumber, storedEndian, optionalInteger1,
        optionalInteger2, dataComponentCount);
    quint64 offset = tableEnd;
    for (quint64 index = 0; index < dataComponentCount; ++index) {
        const _UFormattedDataComponent& component = dataComponentTable[index];
        const quint64 length = storedLength(component, bytesTable[index]);
        const _UFormattedDataComponentRecord record = recordOf(component, offset, length);
        std::memcpy(
            bytes + sizeof(_UFormattedDataHeader) + sizeof record * index, &record, sizeof record);
        writeArea(bytes + offset, component, bytesTable[index], swapsData);
        offset += paddedLength(length);
    }
    return block;
}
