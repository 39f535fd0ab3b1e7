#include "foundation/strings/UPlatformString.h"

#include "foundation/errors/UException.h"

#include <algorithm>
#include <cstring>

char16_t UPlatformString::characterAtIndex(quint64 index) const
{
    if (index >= length())
        URaiseRangeException();
    return string_.at(static_cast<qsizetype>(index)).unicode();
}

QString UPlatformString::substringWithRange(URange range) const
{
    if (!URangeIsWithin(range, length()))
        URaiseRangeException();
    return string_.mid(
        static_cast<qsizetype>(range.location), static_cast<qsizetype>(range.length));
}

quint64 UPlatformString::getCharacterAndSetValidCharacterBufferPtr(
    const char16_t** validCharacterBufferPtr, quint64 fromStartIndex, quint64 toEndIndex,
    char16_t* withCharacterBuffer, quint64 characterBufferLength) const
{
    if (fromStartIndex >= toEndIndex || toEndIndex > length() || characterBufferLength == 0)
        URaiseRangeException();
    const quint64 count = std::min(toEndIndex - fromStartIndex, characterBufferLength);
    std::memcpy(
        withCharacterBuffer, string_.constData() + fromStartIndex, count * sizeof(char16_t));
    *validCharacterBufferPtr = withCharacterBuffer;
    return count;
}
