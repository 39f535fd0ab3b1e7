#include "foundation/strings/UStringAddition.h"

#include "foundation/strings/UUnicharString.h"

QString UStringWithUUnicharString(const UUnicharString& unicharString)
{
    return unicharString.string();
}

QString UStringWithUUnicharString(const UUnicharString& unicharString, URange range)
{
    return unicharString.substringWithRange(range);
}

bool UDoesStartWithSubstring(const QString& string, const QString& substring, quint64 location)
{
    const quint64 length = static_cast<quint64>(string.size());
    const quint64 needed = static_cast<quint64>(substring.size());
    if (location > length || needed > length - location)
        return false;
    return QStringView(string).sliced(static_cast<qsizetype>(location), substring.size())
        == substring;
}

namespace {

bool isTrimmedBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

std::optional<QString> UTrimmedStringOrNil(const QString& string)
{
    qsizetype first = 0;
    qsizetype last = string.size();
    while (first < last && isTrimmedBlank(string[first]))
        ++first;
    while (last > first && isTrimmedBlank(string[last - 1]))
        --last;
    if (first == last)
        return std::nullopt;
    return string.mid(first, last - first);
}
