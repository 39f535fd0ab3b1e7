#include "foundation/strings/UCharacterSet.h"

#include <QChar>

UCharacterSet::UCharacterSet(Rule rule)
    : rule_(rule)
{
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const bool isSurrogate = c >= 0xD800 && c <= 0xDFFF;
        if (!isSurrogate && rule(c))
            bmp_[c >> 6] |= quint64(1) << (c & 63);
    }
}

namespace {

bool isIllegal(char32_t c)
{
    const QChar::UnicodeVersion version = QChar::unicodeVersion(c);
    if (QChar::isNonCharacter(c) || version == QChar::Unicode_Unassigned
        || version > QChar::Unicode_3_2)
        return true;
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

bool isIllegalExceptTabAndNewline(char32_t c)
{
    return c != u'\t' && c != u'\n' && c != u'\r' && isIllegal(c);
}

bool isNameDelimiter(char32_t c)
{
    return (c >= 0x20 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x5E)
        || c == 0x60 || (c >= 0x7B && c <= 0x7F) || c == 0xA1 || isIllegal(c);
}

} // namespace

const UCharacterSet& UFemIllegalCharacterSet()
{
    static const UCharacterSet set(isIllegal);
    return set;
}

const UCharacterSet& UFemIllegalCharacterSetExceptTabAndNewline()
{
    static const UCharacterSet set(isIllegalExceptTabAndNewline);
    return set;
}

const UCharacterSet& UFemNameDelimiterCharacterSet()
{
    static const UCharacterSet set(isNameDelimiter);
    return set;
}
