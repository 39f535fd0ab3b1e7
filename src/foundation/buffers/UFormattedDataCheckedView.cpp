#include "foundation/buffers/UFormattedDataCheckedView.h"

#include <cstring>

namespace {

bool isTerminatedName(const char* field)
{
    return std::memchr(field, 0, UFormattedDataNameFieldSize) != nullptr;
}

bool hasValidHeaderFields(const _UFormattedDataHeader& header)
{
    return header.magic == UFormattedDataMagicNumber
        && header.formatVersion == UFormattedDataFormatVersionNumber
        && (header.valueSizeType == 1 || header.valueSizeType == 2)
        && (header.endianType == UFormattedDataEndianTypeInMemoryOrder
            || header.endianType == UFormattedDataEndianTypeSwapped)
        && isTerminatedName(header.dataTypeName);
}

// Areas lie in record order, do not overlap and end inside the block. Every sum is bounded by the
// block size before it is formed, so no offset or length can wrap around.
bool areAreasInBounds(const UFormattedDataCheckedView& view, quint64 tableEnd, quint64 size)
{
    quint64 areaStart = tableEnd;
    for (quint64 index = 0; index < view.componentCount(); ++index) {
        const _UFormattedDataComponentRecord record = view.record(index);
        if (record.dataOffset < areaStart || record.dataOffset > size
            || record.dataLength > size - record.dataOffset)
            return false;
        if (!isTerminatedName(view.recordNamePtr(index)))
            return false;
        areaStart = record.dataOffset + record.dataLength;
    }
    return true;
}

} // namespace

UFormattedDataCheckedView::UFormattedDataCheckedView(
    const char* bytes, const _UFormattedDataHeader& header)
    : bytes_(bytes)
    , header_(header)
{
}

std::optional<UFormattedDataCheckedView> UFormattedDataCheckedView::check(const QByteArray& data)
{
    const quint64 size = quint64(data.size());
    if (size < recordTableOffset)
        return std::nullopt;
    _UFormattedDataHeader header;
    std::memcpy(&header, data.constData(), sizeof header);
    if (!hasValidHeaderFields(header))
        return std::nullopt;
    const quint64 tableEnd = recordTableOffset + recordSize * header.componentCount;
    if (size < tableEnd)
        return std::nullopt;
    UFormattedDataCheckedView view(data.constData(), header);
    if (!areAreasInBounds(view, tableEnd, size))
        return std::nullopt;
    return view;
}

_UFormattedDataComponentRecord UFormattedDataCheckedView::record(quint64 index) const
{
    _UFormattedDataComponentRecord record;
    std::memcpy(&record, bytes_ + recordTableOffset + recordSize * index, sizeof record);
    return record;
}

const char* UFormattedDataCheckedView::recordNamePtr(quint64 index) const
{
    return bytes_ + recordTableOffset + recordSize * index
        + offsetof(_UFormattedDataComponentRecord, name);
}

const char* UFormattedDataCheckedView::dataTypeNamePtr() const
{
    return bytes_ + offsetof(_UFormattedDataHeader, dataTypeName);
}
