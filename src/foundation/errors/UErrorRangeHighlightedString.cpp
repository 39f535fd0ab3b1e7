#include "foundation/errors/UErrorRangeHighlightedString.h"

#include "foundation/strings/UFormattedString.h"

namespace {

// Stretches up to this long stand whole before and after the error part.
constexpr quint64 UWholeStretchLimit = 20;
// Characters kept at either end of a shortened stretch before the error, and at its start after it.
constexpr quint64 UExcerptHeadLength = 8;
// Characters kept at the end of a shortened stretch after the error.
constexpr quint64 UExcerptTailLength = 10;

QString characters(const QString& string, quint64 from, quint64 to)
{
    if (to <= from || from >= quint64(string.size()))
        return QString();
    return string.mid(
        qsizetype(from), qsizetype(std::min<quint64>(to - from, quint64(string.size()) - from)));
}

} // namespace

QString UMakeErrorRangeHighlightedString(const QString& string, quint64 rangeLocation,
    quint64 rangeLength, quint64 errorLocation, quint64 errorLength)
{
    const quint64 errorEnd = errorLocation + errorLength;
    const quint64 rangeEnd = rangeLocation + rangeLength;
    const QString errorPart = characters(string, errorLocation, errorEnd);

    QString result;
    if (rangeLocation + UWholeStretchLimit >= errorLocation) {
        result = UFormattedString(
            u"%@'%@'", characters(string, rangeLocation, errorLocation), errorPart);
    } else {
        result = UFormattedString(u"%@...%@'%@'",
            characters(string, rangeLocation, rangeLocation + UExcerptHeadLength),
            characters(string, errorLocation - UExcerptHeadLength, errorLocation), errorPart);
    }
    if (rangeEnd <= errorEnd + UWholeStretchLimit) {
        result += characters(string, errorEnd, rangeEnd);
    } else {
        result += UFormattedString(u"%@...%@",
            characters(string, errorEnd, errorEnd + UExcerptHeadLength),
            characters(string, rangeEnd - UExcerptTailLength, rangeEnd));
    }
    return result;
}
