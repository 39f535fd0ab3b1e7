#include "platform/BinaryPropertyList.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <iterator>

#include <cstring>

namespace {

constexpr int maximumWidth = 8;
// Milliseconds from 1970-01-01 to 2001-01-01, the epoch of property-list dates.
constexpr qint64 referenceEpochMilliseconds = 978307200000;
constexpr double millisecondsPerSecond = 1000.0;
// Dates within about 2200 years of the epoch convert to milliseconds and back exactly.
constexpr double maximumDateMilliseconds = double(qint64(1) << 46);

bool malformed(KeyedArchiveError* error, const QString& reason)
{
    return failKeyedArchive(error, KeyedArchiveErrorCode::Malformed, reason);
}

QString at(qsizetype offset)
{
    return QStringLiteral(" at offset %1").arg(offset);
}

} // namespace

std::optional<BinaryPropertyList> BinaryPropertyList::open(
    const QByteArray& data, KeyedArchiveError* error)
{
    if (data.size() < headerSize + 1 + trailerSize
        || std::memcmp(data.constData(), headerMagic, headerSize) != 0) {
        failKeyedArchive(error, KeyedArchiveErrorCode::NotPropertyList,
            QStringLiteral("no binary property-list header"));
        return std::nullopt;
    }
    BinaryPropertyList list(data);
    if (!list.readTrailer(error))
        return std::nullopt;
    return list;
}

bool BinaryPropertyList::readTrailer(KeyedArchiveError* error)
{
    const qsizetype trailer = data_.size() - trailerSize;
    offsetSize_ = quint8(data_[trailer + 6]);
    referenceSize_ = quint8(data_[trailer + 7]);
    objectCount_ = readUnsigned(trailer + 8, 8);
    rootIndex_ = readUnsigned(trailer + 16, 8);
    const quint64 tableOffset = readUnsigned(trailer + 24, 8);
    auto fail = [error](const QString& reason) {
        return failKeyedArchive(error, KeyedArchiveErrorCode::NotPropertyList, reason);
    };
    if (offsetSize_ < 1 || offsetSize_ > maximumWidth || referenceSize_ < 1
        || referenceSize_ > maximumWidth)
        return fail(QStringLiteral("offset or reference size outside 1 to 8"));
    // Every object takes at least one byte before the offset table.
    if (tableOffset <= quint64(headerSize) || tableOffset > quint64(trailer))
        return fail(QStringLiteral("offset table outside the data"));
    offsetTable_ = qsizetype(tableOffset);
    if (objectCount_ == 0 || objectCount_ > quint64(offsetTable_ - headerSize)
        || objectCount_ > quint64(trailer - offsetTable_) / quint64(offsetSize_))
        return fail(QStringLiteral("object count does not fit the data"));
    if (rootIndex_ >= objectCount_)
        return fail(QStringLiteral("root object outside the object table"));
    return true;
}

quint64 BinaryPropertyList::readUnsigned(qsizetype offset, int width) const
{
    quint64 value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | quint8(data_[offset + i]);
    return value;
}

bool BinaryPropertyList::object(quint64 index, Object* object, KeyedArchiveError* error) const
{
    if (index >= objectCount_)
        return malformed(error, QStringLiteral("object %1 outside the object table").arg(index));
    const quint64 offset = readUnsigned(offsetTable_ + qsizetype(index) * offsetSize_, offsetSize_);
    if (offset < quint64(headerSize) || offset >= quint64(offsetTable_))
        return malformed(error, QStringLiteral("object %1 outside the data").arg(index));
    const qsizetype position = qsizetype(offset);
    *object = Object {};
    return readObject(quint8(data_[position]), position, object, error);
}

bool BinaryPropertyList::readObject(
    quint8 marker, qsizetype offset, Object* object, KeyedArchiveError* error) const
{
    const int low = marker & 0x0F;
    switch (marker >> 4) {
    case 0x0:
        if (low != 0x8 && low != 0x9)
            return malformed(error, QStringLiteral("unsupported marker") + at(offset));
        object->kind = Kind::Bool;
        object->boolean = low == 0x9;
        return true;
    case 0x1:
        return readInteger(offset, object, error);
    case 0x2:
    case 0x3:
        return readReal(offset, object, error);
    case 0x8:
        if (low + 1 > maximumWidth || low + 1 > offsetTable_ - offset - 1)
            return malformed(error, QStringLiteral("bad UID") + at(offset));
        object->kind = Kind::Uid;
        object->uid = readUnsigned(offset + 1, low + 1);
        return true;
    default:
        return readSized(marker, offset, object, error);
    }
}

// Integers of 1, 2 and 4 bytes are unsigned, of 8 bytes signed; 16 bytes are accepted where the
// value fits 64 bits with its sign.
bool BinaryPropertyList::readInteger(
    qsizetype offset, Object* object, KeyedArchiveError* error) const
{
    const int exponent = quint8(data_[offset]) & 0x0F;
    const qsizetype payload = offset + 1;
    if (exponent > 4 || (1 << exponent) > offsetTable_ - payload)
        return malformed(error, QStringLiteral("bad integer") + at(offset));
    const int width = 1 << exponent;
    quint64 value = readUnsigned(payload, std::min(width, maximumWidth));
    if (width == 2 * maximumWidth) {
        const quint64 upper = value;
        value = readUnsigned(payload + maximumWidth, maximumWidth);
        if (upper != (qint64(value) < 0 ? ~quint64(0) : 0))
            return malformed(error, QStringLiteral("integer beyond 64 bits") + at(offset));
    }
    object->kind = Kind::Integer;
    object->integer = qint64(value);
    return true;
}

// Reals of 4 or 8 bytes; dates are 8-byte reals.
bool BinaryPropertyList::readReal(qsizetype offset, Object* object, KeyedArchiveError* error) const
{
    const quint8 marker = quint8(data_[offset]);
    const bool isDate = (marker >> 4) == 0x3;
    const int width = 1 << std::min(marker & 0x0F, 4);
    if ((width != 4 && width != 8) || (isDate && width != 8) || width > offsetTable_ - offset - 1)
        return malformed(error, QStringLiteral("bad real or date") + at(offset));
    const quint64 bits = readUnsigned(offset + 1, width);
    if (width == 4) {
        float value;
        const quint32 narrow = quint32(bits);
        std::memcpy(&value, &narrow, sizeof value);
        object->real = value;
    } else {
        std::memcpy(&object->real, &bits, sizeof object->real);
    }
    object->kind = isDate ? Kind::Date : Kind::Real;
    return true;
}

// Data, strings and containers: a count, then that many elements.
bool BinaryPropertyList::readSized(
    quint8 marker, qsizetype offset, Object* object, KeyedArchiveError* error) const
{
    struct Layout {
        int high;
        Kind kind;
        quint64 elementSize;
    };
    const Layout layouts[] = {
        { 0x4, Kind::Data, 1 },
        { 0x5, Kind::AsciiString, 1 },
        { 0x6, Kind::Utf16String, 2 },
        { 0xA, Kind::Array, quint64(referenceSize_) },
        { 0xD, Kind::Dictionary, 2 * quint64(referenceSize_) },
    };
    const auto layout = std::find_if(std::begin(layouts), std::end(layouts),
        [marker](const Layout& l) { return l.high == marker >> 4; });
    if (layout == std::end(layouts))
        return malformed(error, QStringLiteral("unsupported marker") + at(offset));
    qsizetype start = offset;
    quint64 count = 0;
    if (!readCount(marker, &start, &count, error))
        return false;
    // A UTF-16 string must hold whole units: an odd number of bytes left is refused here too.
    if (count > quint64(offsetTable_ - start) / layout->elementSize)
        return malformed(error, QStringLiteral("payload beyond the objects") + at(offset));
    object->kind = layout->kind;
    object->start = start;
    object->count = count;
    return true;
}

// The element count of a marker's low nibble, or of the integer object that follows a nibble of
// 0xF. `offset` moves from the marker to the payload.
bool BinaryPropertyList::readCount(
    quint8 marker, qsizetype* offset, quint64* count, KeyedArchiveError* error) const
{
    const qsizetype markerAt = *offset;
    if ((marker & 0x0F) != 0x0F) {
        *count = marker & 0x0F;
        *offset = markerAt + 1;
        return true;
    }
    const qsizetype lengthAt = markerAt + 1;
    if (lengthAt >= offsetTable_)
        return malformed(error, QStringLiteral("truncated length") + at(markerAt));
    const quint8 lengthMarker = quint8(data_[lengthAt]);
    const int width = 1 << (lengthMarker & 0x0F);
    if ((lengthMarker >> 4) != 0x1 || width > maximumWidth || width > offsetTable_ - lengthAt - 1)
        return malformed(error, QStringLiteral("bad length") + at(markerAt));
    *count = readUnsigned(lengthAt + 1, width);
    *offset = lengthAt + 1 + width;
    return true;
}

bool BinaryPropertyList::reference(
    const Object& container, quint64 position, quint64* index, KeyedArchiveError* error) const
{
    const quint64 slotCount
        = container.kind == Kind::Dictionary ? 2 * container.count : container.count;
    if ((container.kind != Kind::Array && container.kind != Kind::Dictionary)
        || position >= slotCount)
        return malformed(error, QStringLiteral("no such element"));
    *index = readUnsigned(container.start + qsizetype(position) * referenceSize_, referenceSize_);
    if (*index >= objectCount_)
        return malformed(
            error, QStringLiteral("reference %1 outside the object table").arg(*index));
    return true;
}

QString BinaryPropertyList::string(const Object& object) const
{
    const char* bytes = data_.constData() + object.start;
    if (object.kind == Kind::AsciiString)
        return QString::fromLatin1(bytes, qsizetype(object.count));
    QString text(qsizetype(object.count), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromBigEndian<quint16>(bytes + 2 * i));
    return text;
}

QByteArray BinaryPropertyList::bytes(const Object& object) const
{
    // A copy: the data may be a caller's raw buffer that does not outlive the list.
    return QByteArray(data_.constData() + object.start, qsizetype(object.count));
}

QDateTime BinaryPropertyList::dateFromReferenceSeconds(double seconds)
{
    double milliseconds = seconds * millisecondsPerSecond;
    if (!(std::abs(milliseconds) < maximumDateMilliseconds))
        milliseconds = 0; // a date out of any calendar's reach reads as the epoch itself
    return QDateTime::fromMSecsSinceEpoch(
        qint64(std::llround(milliseconds)) + referenceEpochMilliseconds, Qt::UTC);
}

double BinaryPropertyList::referenceSecondsFromDate(const QDateTime& date)
{
    // In doubles: exact for any date that reads back, and no overflow for the others.
    return (double(date.toMSecsSinceEpoch()) - double(referenceEpochMilliseconds))
        / millisecondsPerSecond;
}
