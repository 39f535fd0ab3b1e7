#include "foundation/buffers/UFormattedData.h"

#include "foundation/buffers/UFormattedDataCheckedView.h"

#include <algorithm>
#include <cstring>

quint64 UFormattedDataElementWidthOfValueType(quint64 valueType)
{
    switch (valueType) {
    case 1:
    case 11:
    case 107:
        return 8;
    case 3:
    case 12:
    case 105:
        return 4;
    case 23:
    case 103:
        return 2;
    case 21:
    case 101:
    case 901:
    case 999:
    case UFormattedDataValueTypeString:
    case UFormattedDataValueTypeStringArray:
    case UFormattedDataValueTypeReservedArea:
        return 1;
    default:
        return 0;
    }
}

void UFormattedDataCopySwappingElements(
    const char* source, char* destination, quint64 length, quint64 width)
{
    for (quint64 start = 0; start + width <= length; start += width)
        std::reverse_copy(source + start, source + start + width, destination + start);
}

bool _checkUFormattedDataAndGetFormattedDataHeaderPtrPtr(const QByteArray& data,
    const _UFormattedDataHeader** formattedDataHeaderPtr,
    const _UFormattedDataComponentRecord** formattedDataComponentRecordTablePtr,
    quint64* formatVertionPtr, quint64* valueSizeTypePtr, quint64* endianTypePtr,
    const char** dataTypeNameStringPtr, quint64* dataVersionNumberPtr, quint64* optionalInteger1,
    quint64* optionalInteger2, quint64* dataComponentCount, UErrorPtr*)
{
    const std::optional<UFormattedDataCheckedView> view = UFormattedDataCheckedView::check(data);
    const auto put = [](auto* out, auto value) {
        if (out != nullptr)
            *out = value;
    };
    const char* bytes = view ? data.constData() : nullptr;
    const _UFormattedDataHeader empty {};
    const _UFormattedDataHeader& header = view ? view->header() : empty;
    put(formattedDataHeaderPtr, reinterpret_cast<const _UFormattedDataHeader*>(bytes));
    put(formattedDataComponentRecordTablePtr,
        view ? reinterpret_cast<const _UFormattedDataComponentRecord*>(
            bytes + sizeof(_UFormattedDataHeader))
             : nullptr);
    put(formatVertionPtr, quint64(header.formatVersion));
    put(valueSizeTypePtr, quint64(header.valueSizeType));
    put(endianTypePtr, quint64(header.endianType));
    put(dataTypeNameStringPtr, view ? view->dataTypeNamePtr() : nullptr);
    put(dataVersionNumberPtr, quint64(header.dataVersionNumber));
    put(optionalInteger1, quint64(header.optionalInteger1));
    put(optionalInteger2, quint64(header.optionalInteger2));
    put(dataComponentCount, quint64(header.componentCount));
    return view.has_value();
}

bool isUFormattedData_error(const QByteArray& data, UErrorPtr*)
{
    return UFormattedDataCheckedView::check(data).has_value();
}

bool hasUFormattedDataMagicNumber(const QByteArray& data)
{
    quint64 magic = 0;
    if (quint64(data.size()) < sizeof magic)
        return false;
    std::memcpy(&magic, data.constData(), sizeof magic);
    return magic == UFormattedDataMagicNumber;
}

namespace {

template <typename Field> quint64 headerField(const QByteArray& data, Field field)
{
    const std::optional<UFormattedDataCheckedView> view = UFormattedDataCheckedView::check(data);
    return view ? quint64(view->header().*field) : 0;
}

} // namespace

quint64 _UFormattedData_FormatVersionNumber_error(const QByteArray& data, UErrorPtr*)
{
    return headerField(data, &_UFormattedDataHeader::formatVersion);
}

quint64 UFormattedDataValueSizeType_error(const QByteArray& data, UErrorPtr*)
{
    return headerField(data, &_UFormattedDataHeader::valueSizeType);
}

quint64 UFormattedDataEndianType_error(const QByteArray& data, UErrorPtr*)
{
    return headerField(data, &_UFormattedDataHeader::endianType);
}

quint64 UFormattedDataVersionNumber_error(const QByteArray& data, UErrorPtr*)
{
    return headerField(data, &_UFormattedDataHeader::dataVersionNumber);
}

quint64 UFormattedDataOptionalInteger1_error(const QByteArray& data, UErrorPtr*)
{
    return headerField(data, &_UFormattedDataHeader::optionalInteger1);
}

quint64 UFormattedDataOptionalInteger2_error(const QByteArray& data, UErrorPtr*)
{
    return headerField(data, &_UFormattedDataHeader::optionalInteger2);
}

quint64 UFormattedDataComponentCount_error(const QByteArray& data, UErrorPtr*)
{
    return headerField(data, &_UFormattedDataHeader::componentCount);
}

const char* UFormattedDataTypeNameString_error(const QByteArray& data, UErrorPtr*)
{
    const std::optional<UFormattedDataCheckedView> view = UFormattedDataCheckedView::check(data);
    return view ? view->dataTypeNamePtr() : nullptr;
}
