#pragma once

#include <QtGlobal>

#include <array>

// An immutable set of Unicode code points. Membership of a UTF-16 unit is one bit lookup, for
// the scanners' inner loops; code points beyond the Basic Multilingual Plane ask the rule itself.
// A surrogate unit is never a member, so the halves of a pair read as ordinary characters.
class UCharacterSet {
public:
    using Rule = bool (*)(char32_t codePoint);

    explicit UCharacterSet(Rule rule);

    bool containsUnit(char16_t unit) const { return (bmp_[unit >> 6] >> (unit & 63)) & 1u; }
    bool containsCharacter(char32_t codePoint) const
    {
        return codePoint <= 0xFFFF ? containsUnit(static_cast<char16_t>(codePoint))
                                   : rule_(codePoint);
    }

private:
    Rule rule_;
    std::array<quint64, 0x10000 / 64> bmp_ {};
};

// Non-characters, code points unassigned in Unicode 3.2, and the control and format characters
// (general categories Cc and Cf): what the model text tokenizers refuse.
const UCharacterSet& UFemIllegalCharacterSet();
// The same without U+0009, U+000A and U+000D.
const UCharacterSet& UFemIllegalCharacterSetExceptTabAndNewline();
// What ends a name token: the illegal set plus U+0020-U+002F, U+003A-U+0040, U+005B-U+005E,
// U+0060, U+007B-U+007F and U+00A1.
const UCharacterSet& UFemNameDelimiterCharacterSet();
