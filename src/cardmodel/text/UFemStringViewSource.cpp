#include "cardmodel/text/UFemStringViewSource.h"

#include "foundation/errors/UException.h"

char16_t UFemStringViewSource::characterAtIndex(quint64 index) const
{
    if (index >= length())
        URaiseRangeException();
    return string_.at(qsizetype(index)).unicode();
}

QString UFemStringViewSource::substringWithRange(URange range) const
{
    if (!URangeIsWithin(range, length()))
        URaiseRangeException();
    return string_.mid(qsizetype(range.location), qsizetype(range.length)).toString();
}

quint64 UFemStringViewSource::getCharacterAndSetValidCharacterBufferPtr(
    const char16_t** validCharacterBufferPtr, quint64 fromStartIndex, quint64 toEndIndex, char16_t*,
    quint64) const
{
    if (fromStartIndex >= toEndIndex || toEndIndex > length())
        URaiseRangeException();
    *validCharacterBufferPtr
        = reinterpret_cast<const char16_t*>(string_.constData()) + fromStartIndex;
    return toEndIndex - fromStartIndex;
}
