#include "platform/BinaryPropertyListWriter.h"

#include "platform/BinaryPropertyList.h"

#include <cstring>

namespace {

constexpr int trailerUnusedBytes = 6;
constexpr quint8 markerFalse = 0x08;
constexpr quint8 markerTrue = 0x09;
constexpr quint8 markerInteger = 0x10;
constexpr quint8 markerReal = 0x23;
constexpr quint8 markerDate = 0x33;
constexpr quint8 markerData = 0x40;
constexpr quint8 markerAscii = 0x50;
constexpr quint8 markerUtf16 = 0x60;
constexpr quint8 markerUid = 0x80;
constexpr quint8 markerArray = 0xA0;
constexpr quint8 markerDictionary = 0xD0;
constexpr quint64 nibbleCountLimit = 15;

int widthOf(quint64 value)
{
    int width = 1;
    while (width < 8 && value >> (8 * width) != 0)
        ++width;
    return width;
}

// Integers take 1, 2, 4 or 8 bytes; negative values always 8.
int integerWidthExponent(qint64 value)
{
    if (value < 0)
        return 3;
    const int width = widthOf(quint64(value));
    return width == 1 ? 0 : width == 2 ? 1 : width <= 4 ? 2 : 3;
}

void appendUnsigned(QByteArray* out, quint64 value, int width)
{
    for (int i = width - 1; i >= 0; --i)
        out->append(char(quint8(value >> (8 * i))));
}

QByteArray integerEncoding(qint64 value)
{
    const int exponent = integerWidthExponent(value);
    QByteArray out(1, char(markerInteger | exponent));
    appendUnsigned(&out, quint64(value), 1 << exponent);
    return out;
}

QByteArray markerWithCount(quint8 marker, quint64 count)
{
    if (count < nibbleCountLimit)
        return QByteArray(1, char(marker | count));
    return QByteArray(1, char(marker | 0x0F)) + integerEncoding(qint64(count));
}

QByteArray realEncoding(quint8 marker, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray out(1, char(marker));
    appendUnsigned(&out, bits, 8);
    return out;
}

bool isAscii(const QString& value)
{
    for (const QChar c : value)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

} // namespace

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addBool(bool value)
{
    return add({ QByteArray(1, char(value ? markerTrue : markerFalse)), {} });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addInteger(qint64 value)
{
    return add({ integerEncoding(value), {} });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addReal(double value)
{
    return add({ realEncoding(markerReal, value), {} });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addDate(double referenceSeconds)
{
    return add({ realEncoding(markerDate, referenceSeconds), {} });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addString(const QString& value)
{
    if (isAscii(value))
        return add({ markerWithCount(markerAscii, quint64(value.size())) + value.toLatin1(), {} });
    QByteArray out = markerWithCount(markerUtf16, quint64(value.size()));
    for (const QChar c : value)
        appendUnsigned(&out, c.unicode(), 2);
    return add({ out, {} });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addData(const QByteArray& value)
{
    return add({ markerWithCount(markerData, quint64(value.size())) + value, {} });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addUid(quint64 value)
{
    const int width = widthOf(value);
    QByteArray out(1, char(markerUid | (width - 1)));
    appendUnsigned(&out, value, width);
    return add({ out, {} });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addArray(
    const std::vector<Index>& elements)
{
    return add({ markerWithCount(markerArray, elements.size()), elements });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::addDictionary(
    const std::vector<std::pair<Index, Index>>& entries)
{
    std::vector<Index> references;
    references.reserve(2 * entries.size());
    for (const auto& entry : entries)
        references.push_back(entry.first);
    for (const auto& entry : entries)
        references.push_back(entry.second);
    return add({ markerWithCount(markerDictionary, entries.size()), std::move(references) });
}

BinaryPropertyListWriter::Index BinaryPropertyListWriter::add(Entry entry)
{
    QByteArray content = entry.encoded;
    for (const Index reference : entry.references)
        appendUnsigned(&content, reference, 8);
    const auto found = indexOfContent_.constFind(content);
    if (found != indexOfContent_.cend())
        return found.value();
    const Index index = entries_.size();
    entries_.push_back(std::move(entry));
    indexOfContent_.insert(content, index);
    return index;
}

QByteArray BinaryPropertyListWriter::data(Index root) const
{
    const int referenceWidth = widthOf(entries_.empty() ? 0 : entries_.size() - 1);
    QByteArray out(BinaryPropertyList::headerMagic);
    std::vector<quint64> offsets;
    offsets.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        offsets.push_back(quint64(out.size()));
        out += entry.encoded;
        for (const Index reference : entry.references)
            appendUnsigned(&out, reference, referenceWidth);
    }
    const quint64 tableOffset = quint64(out.size());
    const int offsetWidth = widthOf(offsets.empty() ? 0 : offsets.back());
    for (const quint64 offset : offsets)
        appendUnsigned(&out, offset, offsetWidth);
    out.append(QByteArray(trailerUnusedBytes, '\0'));
    out.append(char(offsetWidth));
    out.append(char(referenceWidth));
    appendUnsigned(&out, entries_.size(), 8);
    appendUnsigned(&out, root, 8);
    appendUnsigned(&out, tableOffset, 8);
    return out;
}
