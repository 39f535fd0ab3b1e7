#include "foundation/strings/UUnicharString.h"

#include "foundation/errors/UException.h"

namespace {

QString deepCopy(const QString& string, URange range)
{
    if (!URangeIsWithin(range, static_cast<quint64>(string.size())))
        URaiseRangeException();
    return QString(string.constData() + range.location, static_cast<qsizetype>(range.length));
}

} // namespace

UUnicharString::UUnicharString(const QString& string)
    : string_(deepCopy(string, { 0, static_cast<quint64>(string.size()) }))
{
}

UUnicharString::UUnicharString(const QString& string, URange range)
    : string_(deepCopy(string, range))
{
}

UUnicharStringPtr UUnicharString::unicharStringWithString(const QString& string)
{
    return std::make_shared<const UUnicharString>(string);
}

UUnicharStringPtr UUnicharString::unicharStringWithString(const QString& string, URange range)
{
    return std::make_shared<const UUnicharString>(string, range);
}

char16_t UUnicharString::characterAtIndex(quint64 index) const
{
    if (index >= length())
        URaiseRangeException();
    return unicharPtr()[index];
}

QString UUnicharString::substringWithRange(URange range) const
{
    if (!URangeIsWithin(range, length()))
        URaiseRangeException();
    return string_.mid(
        static_cast<qsizetype>(range.location), static_cast<qsizetype>(range.length));
}

quint64 UUnicharString::getCharacterAndSetValidCharacterBufferPtr(
    const char16_t** validCharacterBufferPtr, quint64 fromStartIndex, quint64 toEndIndex, char16_t*,
    quint64) const
{
    if (fromStartIndex >= toEndIndex || toEndIndex > length())
        URaiseRangeException();
    *validCharacterBufferPtr = unicharPtr() + fromStartIndex;
    return toEndIndex - fromStartIndex;
}
