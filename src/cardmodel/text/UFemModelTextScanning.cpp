#include "cardmodel/text/UFemModelTextScanning.h"

#include "cardmodel/text/UFemModelTextTypes.h"
#include "foundation/errors/UErrorRangeHighlightedString.h"
#include "foundation/strings/UCharacterSet.h"

#include <algorithm>

namespace {

// UMakeErrorRangeHighlightedString shows a stretch whole up to this length, and otherwise only
// its first 8 and last 8 (before the error) or 10 (after it) characters.
constexpr quint64 WholeStretchLimit = 20;
constexpr quint64 KeptHead = 8;
constexpr quint64 KeptTail = 10;
// Stands in for the characters an excerpt leaves out; the excerpt never shows it.
constexpr quint64 GapLength = WholeStretchLimit;

void appendStretch(
    QString& text, const UStringGettingCharactersProtocol& source, quint64 from, quint64 to)
{
    if (to > WholeStretchLimit + from) {
        text += source.substringWithRange({ from, KeptHead });
        text += QString(qsizetype(GapLength), QLatin1Char(' '));
        text += source.substringWithRange({ to - KeptTail, KeptTail });
    } else if (to > from) {
        text += source.substringWithRange({ from, to - from });
    }
}

} // namespace

quint64 UFemLineEndIndex(const UStringGettingCharactersProtocol& source, quint64 from, quint64 end)
{
    return UFemScanUnits<128>(
        source, from, end, [](char16_t unit, quint64) { return !UFemIsLineEnd(unit); });
}

quint64 UFemIndexAfterLineEnd(
    const UStringGettingCharactersProtocol& source, quint64 lineEnd, quint64 end)
{
    if (lineEnd + 1 < end && source.characterAtIndex(lineEnd) == u'\r'
        && source.characterAtIndex(lineEnd + 1) == u'\n')
        return lineEnd + 2;
    return lineEnd + 1;
}

QString UFemModelTextExcerpt(const UStringGettingCharactersProtocol& source,
    quint64 contextLocation, quint64 contextEnd, quint64 errorLocation, quint64 errorLength)
{
    const quint64 length = source.length();
    contextEnd = std::min(contextEnd, length);
    errorLocation = std::clamp(errorLocation, contextLocation, contextEnd);
    errorLength = std::min(errorLength, contextEnd - errorLocation);
    const quint64 errorEnd = errorLocation + errorLength;

    // A compact copy whose long stretches keep only what the excerpt shows of them.
    QString compact;
    appendStretch(compact, source, contextLocation, errorLocation);
    const quint64 compactError = quint64(compact.size());
    if (errorLength > 0)
        compact += source.substringWithRange({ errorLocation, errorLength });
    appendStretch(compact, source, errorEnd, contextEnd);
    return UMakeErrorRangeHighlightedString(
        compact, 0, quint64(compact.size()), compactError, errorLength);
}

QString UFemModelTextCharacterExcerpt(
    const UStringGettingCharactersProtocol& source, quint64 location)
{
    const quint64 length = source.length();
    return UFemModelTextExcerpt(source, 0, length, location, location < length ? 1 : 0);
}

QString UFemQuotedToken(const UStringGettingCharactersProtocol& source)
{
    const quint64 length = source.length();
    if (length <= UFemQuotedTokenLength)
        return source.substringWithRange({ 0, length });
    return source.substringWithRange({ 0, UFemQuotedTokenLength }) + QChar(u'…');
}

bool UFemIsIllegalUnitAboveAscii(char16_t unit)
{
    return UFemIllegalCharacterSetExceptTabAndNewline().containsUnit(unit);
}

bool UFemIsNameCharacter(char16_t unit)
{
    if (unit < 0x80) {
        return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'Z')
            || (unit >= u'a' && unit <= u'z') || unit == u'_';
    }
    return !UFemNameDelimiterCharacterSet().containsUnit(unit);
}
