#include "foundation/strings/UCharacterSet.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

struct Membership {
    char32_t codePoint;
    bool illegal;
    bool illegalExceptTabAndNewline;
    bool nameDelimiter;
};

} // namespace

TEST(CharacterSets, MembershipOfChosenCodePoints)
{
    const Membership table[] = {
        { 0x0020, false, false, true }, // blank
        { 0x0041, false, false, false }, // A
        { 0x007F, true, true, true }, // DEL, a control
        { 0x00A0, false, false, false }, // no-break space may stand in a name
        { 0x00A1, false, false, true }, // inverted exclamation mark
        { 0xFEFF, true, true, true }, // byte order mark, a format character
        { 0x0378, true, true, true }, // unassigned
        { 0x0221, true, true, true }, // assigned after Unicode 3.2
        { 0x0220, false, false, false }, // assigned in Unicode 3.2
        { 0x0009, true, false, true },
        { 0x000A, true, false, true },
        { 0x000D, true, false, true },
        { 0x0000, true, true, true },
        { 0x0085, true, true, true }, // a C1 control
        { 0x00AD, true, true, true }, // soft hyphen, a format character
        { 0xFFFE, true, true, true }, // non-character
        { 0xFDD0, true, true, true }, // non-character
        { 0x005F, false, false, false }, // underscore
        { 0x0030, false, false, false },
        { 0x002D, false, false, true }, // hyphen
        { 0x002E, false, false, true },
        { 0x002C, false, false, true },
        { 0x0040, false, false, true },
        { 0x005E, false, false, true },
        { 0x0060, false, false, true },
        { 0x007E, false, false, true },
        { 0x00A2, false, false, false },
        { 0x4E00, false, false, false },
        { 0xE000, false, false, false }, // private use
        { 0x1D400, false, false, false }, // assigned in Unicode 3.1
        { 0x10000, true, true, true }, // assigned in Unicode 4.0
        { 0xE0001, true, true, true }, // language tag, a format character
        { 0x10FFFF, true, true, true },
    };
    for (const Membership& row : table) {
        EXPECT_EQ(UFemIllegalCharacterSet().containsCharacter(row.codePoint), row.illegal)
            << std::hex << unsigned(row.codePoint);
        EXPECT_EQ(UFemIllegalCharacterSetExceptTabAndNewline().containsCharacter(row.codePoint),
            row.illegalExceptTabAndNewline)
            << std::hex << unsigned(row.codePoint);
        EXPECT_EQ(
            UFemNameDelimiterCharacterSet().containsCharacter(row.codePoint), row.nameDelimiter)
            << std::hex << unsigned(row.codePoint);
        if (row.codePoint <= 0xFFFF) {
            EXPECT_EQ(
                UFemNameDelimiterCharacterSet().containsUnit(static_cast<char16_t>(row.codePoint)),
                row.nameDelimiter);
        }
    }
}

TEST(CharacterSets, SurrogateUnitsReadAsNameCharacters)
{
    const QString pair = QString::fromUtf8("\xF0\x9D\x90\x80");
    ASSERT_EQ(pair.size(), 2);
    for (const QChar unit : pair) {
        EXPECT_FALSE(UFemIllegalCharacterSet().containsUnit(unit.unicode()));
        EXPECT_FALSE(UFemNameDelimiterCharacterSet().containsUnit(unit.unicode()));
    }
}

TEST(CharacterSets, NamesEndAtDelimiters)
{
    const QString name = QStringLiteral("Node_12abcXYZ\u00A0\u00E9");
    for (const QChar c : name)
        EXPECT_FALSE(UFemNameDelimiterCharacterSet().containsUnit(c.unicode()))
            << unsigned(c.unicode());
    for (const char16_t c :
        { u'-', u' ', u'.', u',', u'(', u'[', u'{', u'\t', u'\u0080', u'\u009F' })
        EXPECT_TRUE(UFemNameDelimiterCharacterSet().containsUnit(c)) << unsigned(c);
    // The sets nest: the strict set lies inside the illegal set, which lies inside the delimiters.
    for (char32_t c = 0; c <= 0xFFFF; ++c) {
        const char16_t unit = static_cast<char16_t>(c);
        if (UFemIllegalCharacterSetExceptTabAndNewline().containsUnit(unit)) {
            ASSERT_TRUE(UFemIllegalCharacterSet().containsUnit(unit));
        }
        if (UFemIllegalCharacterSet().containsUnit(unit)) {
            ASSERT_TRUE(UFemNameDelimiterCharacterSet().containsUnit(unit));
        }
    }
}
