// The lexer and the column value parsers over the examples of the line grammar: ranges, stop
// characters, where the index is left, values and the exact error texts.
#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/strings/UPlatformString.h"
#include "foundation/strings/UUnicharString.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>

namespace {

constexpr auto Comma = UFemColumnSeparatingCharacterTypeComma;
constexpr auto Tab = UFemColumnSeparatingCharacterTypeTab;
constexpr auto CommaOrTab = UFemColumnSeparatingCharacterTypeCommaOrTab;
constexpr auto None = UFemColumnSeparatingCharacterTypeNone;

// What one reading gave. `value` holds the value or the tokens as text; `error` the description
// of the error, empty when there was none.
struct Outcome {
    URange range;
    char16_t stop = 0;
    quint64 index = 0;
    QString value;
    QString error;
    qint64 code = 0;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

void PrintTo(const Outcome& outcome, std::ostream* stream)
{
    *stream << "{range " << outcome.range.location << "+" << outcome.range.length << ", stop "
            << int(outcome.stop) << ", index " << outcome.index << ", value \""
            << outcome.value.toStdString() << "\", error \"" << outcome.error.toStdString()
            << "\", code " << outcome.code << "}";
}

Outcome withError(Outcome outcome, const UErrorPtr& error)
{
    if (error) {
        outcome.error = error->localizedDescription();
        outcome.code = error->code();
    }
    return outcome;
}

using SourceReader = std::function<Outcome(const UStringGettingCharactersProtocol&)>;

// Every source reader runs over both sources: a UUnicharString answers in one piece, a
// UPlatformString through the reader's small buffer.
Outcome overBothSources(const QString& text, const SourceReader& read)
{
    const Outcome whole = read(UUnicharString(text));
    const Outcome chunked = read(UPlatformString(text));
    EXPECT_EQ(whole, chunked) << "sources disagree on \"" << text.toStdString() << "\"";
    return whole;
}

Outcome column(const QString& text, UFemColumnSeparatingCharacterType type, quint64 start = 0)
{
    return overBothSources(text, [&](const UStringGettingCharactersProtocol& source) {
        Outcome outcome;
        outcome.index = start;
        UErrorPtr error;
        outcome.stop = UFemReadModelColumnString(
            source, outcome.index, source.length(), outcome.range, type, &error);
        return withError(outcome, error);
    });
}

// All tokens of one line, joined by '|', and the stop character of the last.
Outcome tokens(const QString& text, UFemColumnSeparatingCharacterType type)
{
    return overBothSources(text, [&](const UStringGettingCharactersProtocol& source) {
        Outcome outcome;
        QStringList list;
        for (;;) {
            URange token;
            UErrorPtr error;
            outcome.stop = UFemReadModelColumnString(
                source, outcome.index, source.length(), token, type, &error);
            if (error)
                return withError(outcome, error);
            list.append(source.substringWithRange(token));
            if (outcome.stop != u',' && outcome.stop != u'\t')
                break;
            ++outcome.index;
        }
        outcome.value = list.join(u'|');
        return outcome;
    });
}

Outcome comment(const QString& text)
{
    return overBothSources(text, [&](const UStringGettingCharactersProtocol& source) {
        Outcome outcome;
        UErrorPtr error;
        outcome.stop = UFemReadModelCommentString(
            source, outcome.index, source.length(), outcome.range, &error);
        return withError(outcome, error);
    });
}

Outcome line(const QString& text)
{
    return overBothSources(text, [&](const UStringGettingCharactersProtocol& source) {
        Outcome outcome;
        UErrorPtr error;
        outcome.stop = UFemReadModelLineString(
            source, outcome.index, source.length(), outcome.range, &error);
        return withError(outcome, error);
    });
}

Outcome name(const QString& text)
{
    return overBothSources(text, [&](const UStringGettingCharactersProtocol& source) {
        Outcome outcome;
        outcome.stop = UFemReadNameToken(source, outcome.index, source.length(), outcome.range);
        return outcome;
    });
}

Outcome block(const QString& text)
{
    return overBothSources(text, [&](const UStringGettingCharactersProtocol& source) {
        Outcome outcome;
        UErrorPtr error;
        URange inner;
        outcome.range
            = UFemReadParenthesisBlock(source, outcome.index, source.length(), inner, &error);
        outcome.value = inner.location == UFemRangeNotFound
            ? QStringLiteral("none")
            : QStringLiteral("%1+%2").arg(inner.location).arg(inner.length);
        return withError(outcome, error);
    });
}

QString number(double value)
{
    return QString::number(value, 'g', 17);
}

Outcome realColumn(const QString& text)
{
    Outcome outcome;
    UErrorPtr error;
    double value = 1;
    const bool ok = UFemParseRealColumnString(text, outcome.range, value, &error);
    EXPECT_EQ(ok, !error);
    outcome.value = std::signbit(value) && value == 0 ? QStringLiteral("-0") : number(value);
    return withError(outcome, error);
}

Outcome integerColumn(const QString& text)
{
    Outcome outcome;
    UErrorPtr error;
    qint64 value = 1;
    const bool ok = UFemParseIntegerColumnString(text, outcome.range, value, &error);
    EXPECT_EQ(ok, !error);
    outcome.value = QString::number(value);
    return withError(outcome, error);
}

Outcome boolColumn(const QString& text)
{
    Outcome outcome;
    UErrorPtr error;
    bool value = false;
    const bool ok = UFemParseBoolColumnString(text, outcome.range, value, &error);
    EXPECT_EQ(ok, !error);
    outcome.value = value ? QStringLiteral("YES") : QStringLiteral("NO");
    return withError(outcome, error);
}

Outcome cardNameColumn(const QString& text)
{
    Outcome outcome;
    UErrorPtr error;
    outcome.stop = UFemParseCardNameColumnString(text, outcome.range, &error);
    return withError(outcome, error);
}

// The range is the node name's, the value the direction range and index.
Outcome degreeOfFreedomColumn(const QString& text)
{
    Outcome outcome;
    UErrorPtr error;
    URange direction;
    int index = -1;
    const bool ok
        = UFemParseDegreeOfFreedomColumnString(text, outcome.range, direction, index, &error);
    EXPECT_EQ(ok, !error);
    outcome.value
        = QStringLiteral("%1+%2:%3").arg(direction.location).arg(direction.length).arg(index);
    return withError(outcome, error);
}

Outcome columnRange(const QString& text, quint64 column)
{
    Outcome outcome;
    UErrorPtr error;
    outcome.range = UFemColumnRangeInCardString(text, column, Comma, &error);
    if (outcome.range.location == UFemRangeNotFound)
        outcome.value = QStringLiteral("none");
    return withError(outcome, error);
}

Outcome expressionList(const QString& text)
{
    Outcome outcome;
    UErrorPtr error;
    const std::optional<QStringList> list = UFemParseCardValueExpressionStringList(text, &error);
    EXPECT_EQ(list.has_value(), !error);
    outcome.value = list ? list->join(u'|') : QString();
    return withError(outcome, error);
}

struct Case {
    const char* name;
    std::function<Outcome()> read;
    Outcome expected;
};

void PrintTo(const Case& c, std::ostream* stream)
{
    *stream << c.name;
}

constexpr qint64 Reading = 13002;
constexpr qint64 FewChance = 81002;
constexpr qint64 Unexpected = 81004;
constexpr qint64 ExpressionSyntax = 42001;

Outcome ok(URange range, char16_t stop, quint64 index, QString value = {})
{
    return { range, stop, index, std::move(value), {}, 0 };
}

Outcome failed(quint64 index, QString error, qint64 code = Reading, QString value = {})
{
    return { {}, 0, index, std::move(value), std::move(error), code };
}

Outcome parsed(URange range, QString value)
{
    return { range, 0, 0, std::move(value), {}, 0 };
}

Outcome refused(QString error, QString value, qint64 code = Reading)
{
    return { {}, 0, 0, std::move(value), std::move(error), code };
}

const QString tabBetween = QStringLiteral("'Tab' character exists between string blocks.");
const QString commaFound
    = QStringLiteral("Character ',' found while reading as Tab-Separated Text.");
const QString noDigits
    = QStringLiteral("Can't read as real number. No digits character in real number.");
const QString noExponent
    = QStringLiteral("Can't read as real number. No digits character after 'E' (exponent number).");
const QString notBool = QStringLiteral("Can't read as Bool value.");
const QString noDirection = QStringLiteral(
    "'TX', 'TY', 'RZ', etc. doesn't exist after '@' in 'Degree of Freedom' column.");

QString nested(int depth)
{
    return QString(depth, u'(') + QString(depth, u')');
}

const std::vector<Case>& cases()
{
    static const std::vector<Case> table = {
        // Column tokens.
        { "node line tokens", [] { return tokens(u"Node , N01 , 0 , 0 , 0 ,"_qs, Comma); },
            ok({}, 0, 24, u"Node|N01|0|0|0|"_qs) },
        { "inner blank stays", [] { return column(u"a b"_qs, Comma); }, ok({ 0, 3 }, 0, 3) },
        { "tab between words, type 1", [] { return column(u"a\tb"_qs, Comma); },
            failed(1, tabBetween) },
        { "tab between words, type 3", [] { return tokens(u"a\tb"_qs, CommaOrTab); },
            ok({}, 0, 3, u"a|b"_qs) },
        { "tab separates, type 2", [] { return tokens(u"a b\t c "_qs, Tab); },
            ok({}, 0, 7, u"a b|c"_qs) },
        { "comma in type 2", [] { return column(u"ab,c"_qs, Tab); }, failed(2, commaFound) },
        { "comma in type 4", [] { return column(u" x,"_qs, None); }, failed(2, commaFound) },
        { "tab between words, type 4", [] { return column(u"a\tb"_qs, None); },
            failed(1, tabBetween) },
        { "leading and trailing tabs are blanks", [] { return column(u"\t a \t"_qs, Comma); },
            ok({ 2, 1 }, 0, 5) },
        { "stops at comment", [] { return column(u" x \\ c"_qs, Comma); }, ok({ 1, 1 }, u'\\', 3) },
        { "stops at CR", [] { return column(u"x\ry"_qs, Comma); }, ok({ 0, 1 }, u'\r', 1) },
        { "stops at LF, from the middle", [] { return column(u"a , bc\nd"_qs, Comma, 3); },
            ok({ 4, 2 }, u'\n', 6) },
        { "empty source", [] { return column(QString(), Comma); }, ok({ 0, 0 }, 0, 0) },
        { "error tail to the line end",
            [] { return column(u"  ab \u00A1 Error : x, y\\z\nnext"_qs, Comma); },
            ok({ 2, 2 }, u'\n', 21) },
        { "error tail to the end", [] { return column(u"ab \u00A1 Error : x\tq"_qs, None); },
            ok({ 0, 2 }, 0, 16) },
        { "line end after error tail, type 4",
            [] { return column(u"ab \u00A1 Error : x\ny"_qs, None); },
            failed(14, u"Character LF or CR exist."_qs) },
        { "an inverted exclamation mark that opens no written error tail",
            [] { return column(u"ab \u00A1 x"_qs, Comma); },
            failed(
                3, u"Illegal character or control character exists. ( Character code: 161 )"_qs) },
        { "control character", [] { return column(u"a\x01z"_qs, Comma); },
            failed(1, u"Illegal character or control character exists. ( Character code: 1 )"_qs) },
        { "non-character", [] { return column(u"a\uFFFEz"_qs, Comma); },
            failed(1,
                u"Illegal character or control character exists. ( Character code: 65534 )"_qs) },
        { "delete character", [] { return column(u"a\x7F"_qs, Comma); },
            failed(
                1, u"Illegal character or control character exists. ( Character code: 127 )"_qs) },
        { "letters beyond ASCII", [] { return column(u" \u00E9t\u00E9 \u65E5 ,"_qs, Comma); },
            ok({ 1, 5 }, u',', 7) },
        // Comments and whole lines.
        { "comment", [] { return comment(u" comment text  \nx"_qs); }, ok({ 1, 12 }, u'\n', 15) },
        { "comment keeps commas and backslashes", [] { return comment(u"a, b \\ c"_qs); },
            ok({ 0, 8 }, 0, 8) },
        { "comment with tab between words", [] { return comment(u"a\tb"_qs); },
            failed(1, u"'Tab' character exists in column string."_qs) },
        { "comment with control character", [] { return comment(u"a\x02"_qs); },
            failed(1,
                u"Character '\x02' (char code: 2) exists in comment string. (control char or illegal char)"_qs) },
        { "comment error tail", [] { return comment(u"ab \u00A1 Error : \t x\ty"_qs); },
            ok({ 0, 2 }, 0, 18) },
        { "line: tabs anywhere", [] { return line(u"\t a\tb , c \t\r"_qs); },
            ok({ 2, 7 }, u'\r', 11) },
        { "line with control character", [] { return line(u"ab\x7F"_qs); },
            failed(2,
                u"Character '\x7F' (char code: 127) exists in comment string. (control char or illegal char)"_qs) },
        // Name tokens.
        { "name and blanks after it", [] { return name(u"  node_01  @TX"_qs); },
            ok({ 2, 7 }, u'@', 11) },
        { "no name", [] { return name(u"  @x"_qs); }, ok({ 0, 0 }, u'@', 2) },
        { "blank name", [] { return name(u"   "_qs); }, ok({ 0, 0 }, 0, 3) },
        { "name beyond ASCII", [] { return name(u"\u00F1ame x"_qs); }, ok({ 0, 4 }, u'x', 5) },
        { "error tail ends a name", [] { return name(u"a\u00A1b"_qs); },
            ok({ 0, 1 }, u'\u00A1', 1) },
        { "name may begin with a digit", [] { return name(u"01a-"_qs); }, ok({ 0, 3 }, u'-', 3) },
        // Real number columns.
        { "real 1e5", [] { return realColumn(u"1e5"_qs); }, parsed({ 0, 3 }, u"100000"_qs) },
        { "real digit and point", [] { return realColumn(u"5."_qs); }, parsed({ 0, 2 }, u"5"_qs) },
        { "real point and digit", [] { return realColumn(u".5"_qs); },
            parsed({ 0, 2 }, u"0.5"_qs) },
        { "real negative exponent", [] { return realColumn(u"-2.5E-3"_qs); },
            parsed({ 0, 7 }, number(-2.5e-3)) },
        { "real sign, blank, number", [] { return realColumn(u" - 5 "_qs); },
            parsed({ 1, 3 }, u"-5"_qs) },
        { "real sign alone", [] { return realColumn(u" -"_qs); }, parsed({ 1, 1 }, u"-0"_qs) },
        { "real blank", [] { return realColumn(u"  "_qs); }, parsed({ 2, 0 }, u"0"_qs) },
        { "real underflow is zero", [] { return realColumn(u"1e-400"_qs); },
            parsed({ 0, 6 }, u"0"_qs) },
        { "real exponent only", [] { return realColumn(u"e5"_qs); }, refused(noDigits, u"0"_qs) },
        { "real point alone", [] { return realColumn(u"."_qs); }, refused(noDigits, u"0"_qs) },
        { "real letter", [] { return realColumn(u"x"_qs); }, refused(noDigits, u"0"_qs) },
        { "real no exponent digits", [] { return realColumn(u"1e"_qs); },
            refused(noExponent, u"0"_qs) },
        { "real exponent sign only", [] { return realColumn(u"1e+"_qs); },
            refused(noExponent, u"0"_qs) },
        { "real two points", [] { return realColumn(u"1.5.3"_qs); },
            refused(u"Character '.' exists in Real Number Value column."_qs, u"0"_qs) },
        { "real 32 characters", [] { return realColumn(QString(32, u'1')); },
            parsed({ 0, 32 }, number(1.1111111111111111e31)) },
        { "real 33 characters", [] { return realColumn(QString(33, u'1')); },
            refused(u"Float value string '%1' seems too long."_qs.arg(QString(33, u'1')), u"0"_qs,
                FewChance) },
        { "real overflow", [] { return realColumn(u"1e999"_qs); },
            refused(u"Can't read as real number. The value is out of range."_qs, u"0"_qs) },
        // Integer columns.
        { "integer nine digits", [] { return integerColumn(u"123456789"_qs); },
            parsed({ 0, 9 }, u"123456789"_qs) },
        { "integer sign, blank, number", [] { return integerColumn(u"- 42 "_qs); },
            parsed({ 0, 4 }, u"-42"_qs) },
        { "integer ten digits", [] { return integerColumn(u"1234567890"_qs); },
            refused(u"Integer value '1234567890' is too big. ( Too long integer string. )"_qs,
                u"0"_qs, FewChance) },
        { "integer leading zero counts", [] { return integerColumn(u"0123456789"_qs); },
            refused(u"Integer value '0123456789' is too big. ( Too long integer string. )"_qs,
                u"0"_qs, FewChance) },
        { "integer point", [] { return integerColumn(u"12.5"_qs); },
            refused(u"Character '.' exists in Integer Value column."_qs, u"0"_qs) },
        { "integer letter", [] { return integerColumn(u"12a"_qs); },
            refused(u"Character 'a' exists in integer string."_qs, u"0"_qs) },
        // Boolean columns.
        { "bool YES", [] { return boolColumn(u" YES "_qs); }, parsed({ 1, 3 }, u"YES"_qs) },
        { "bool NO", [] { return boolColumn(u"NO"_qs); }, parsed({ 0, 2 }, u"NO"_qs) },
        { "bool 1", [] { return boolColumn(u"1"_qs); }, parsed({ 0, 1 }, u"YES"_qs) },
        { "bool 0", [] { return boolColumn(u"0"_qs); }, parsed({ 0, 1 }, u"NO"_qs) },
        { "bool 7", [] { return boolColumn(u"7"_qs); }, parsed({ 0, 1 }, u"YES"_qs) },
        { "bool -3", [] { return boolColumn(u"- 3"_qs); }, parsed({ 2, 1 }, u"YES"_qs) },
        { "bool small letters", [] { return boolColumn(u"yes"_qs); }, refused(notBool, u"NO"_qs) },
        { "bool ten digits", [] { return boolColumn(u"1234567890"_qs); },
            refused(notBool, u"NO"_qs) },
        { "bool then more", [] { return boolColumn(u"YES x"_qs); },
            refused(u"Character 'x' exists in Boolean Value column."_qs, u"NO"_qs) },
        // Card name columns.
        { "card name", [] { return cardNameColumn(u"  N01 "_qs); }, parsed({ 2, 3 }, {}) },
        { "card name blank", [] { return cardNameColumn(u" "_qs); }, parsed({ 0, 0 }, {}) },
        { "card name two words", [] { return cardNameColumn(u"N 01"_qs); },
            refused(u"Character '0' exists in Card Name column."_qs, {}) },
        { "card name delimiter first", [] { return cardNameColumn(u"#x"_qs); },
            refused(u"Character '#' exists in Card Name column."_qs, {}) },
        // Degree-of-freedom columns.
        { "dof TX", [] { return degreeOfFreedomColumn(u"node_01@TX"_qs); },
            parsed({ 0, 7 }, u"7+3:0"_qs) },
        { "dof blanks around @", [] { return degreeOfFreedomColumn(u"n @ RZ "_qs); },
            parsed({ 0, 1 }, u"1+5:5"_qs) },
        { "dof blank", [] { return degreeOfFreedomColumn(u"  "_qs); }, parsed({}, u"0+0:0"_qs) },
        { "dof small letters", [] { return degreeOfFreedomColumn(u"n@tx"_qs); },
            refused(noDirection, u"0+0:0"_qs) },
        { "dof one letter", [] { return degreeOfFreedomColumn(u"n@T"_qs); },
            refused(noDirection, u"0+0:0"_qs) },
        { "dof digit after", [] { return degreeOfFreedomColumn(u"node_01@TX 5"_qs); },
            refused(u"Character '5' exists after 'TX' in 'Degree of Freedom' column."_qs,
                u"0+0:0"_qs) },
        { "dof no name", [] { return degreeOfFreedomColumn(u"@TX"_qs); },
            refused(u"Character '@' exists first in 'Degree of Freedom' column."_qs, u"0+0:0"_qs) },
        { "dof name only", [] { return degreeOfFreedomColumn(u"n1 "_qs); },
            refused(
                u"'@TX', '@TY', '@RZ', etc. doesn't exist after Node Card Name in 'Degree of Freedom' column."_qs,
                u"0+0:0"_qs) },
        { "dof no @", [] { return degreeOfFreedomColumn(u"n1#TX"_qs); },
            refused(
                u"Character '#' exists on location '@' should exist in 'Degree of Freedom' column."_qs,
                u"0+0:0"_qs) },
        // Column locator.
        { "column 3", [] { return columnRange(u"Node , N1 ,  , 1"_qs, 3); },
            parsed({ 15, 1 }, {}) },
        { "empty column 2", [] { return columnRange(u"Node , N1 ,  , 1"_qs, 2); },
            parsed({ 11, 0 }, {}) },
        { "column beyond the last", [] { return columnRange(u"Node , N1 ,  , 1"_qs, 4); },
            parsed({ UFemRangeNotFound, 0 }, u"none"_qs) },
        { "column after a comment", [] { return columnRange(u"a \\ b, c"_qs, 1); },
            parsed({ UFemRangeNotFound, 0 }, u"none"_qs) },
        { "column after a bad column", [] { return columnRange(u"a\tb , c"_qs, 1); },
            Outcome { { UFemRangeNotFound, 0 }, 0, 0, u"none"_qs, tabBetween, Reading } },
        // Bracketed blocks.
        { "block", [] { return block(u"(a (b) c) d"_qs); }, ok({ 0, 9 }, 0, 9, u"1+7"_qs) },
        { "block trimmed inside", [] { return block(u"( a )"_qs); },
            ok({ 0, 5 }, 0, 5, u"2+1"_qs) },
        { "block without content", [] { return block(u"( )"_qs); },
            ok({ 0, 3 }, 0, 3, u"none"_qs) },
        { "block quoted", [] { return block(u"\"(abc\" x"_qs); }, ok({ 0, 6 }, 0, 6, u"1+4"_qs) },
        { "block with a quoted closer", [] { return block(u"(a \"b)\" )"_qs); },
            ok({ 0, 9 }, 0, 9, u"1+6"_qs) },
        { "block at the end", [] { return block(QString()); }, ok({ 0, 0 }, 0, 0, u"0+0"_qs) },
        { "block closed by square bracket", [] { return block(u"(a]"_qs); },
            failed(2,
                u"Parenthesis doesn't close correctly. Character ']' appeared while parenthesis of '(' is not closed yet."_qs,
                Reading, u"0+0"_qs) },
        { "block closed by angle bracket", [] { return block(u"([x)>"_qs); },
            failed(3,
                u"Parenthesis doesn't close correctly. Character ')' appeared while parenthesis of '[' is not closed yet."_qs,
                Reading, u"0+0"_qs) },
        { "block 32 deep", [] { return block(nested(32)); }, ok({ 0, 64 }, 0, 64, u"1+62"_qs) },
        { "block 33 deep", [] { return block(nested(33)); },
            failed(32, u"Nested parenthesis count is over 32."_qs, FewChance, u"0+0"_qs) },
        { "block not closed", [] { return block(u"(a {b}"_qs); },
            failed(6,
                u"Parenthesis doesn't close correctly. String reached to the end while parenthesis of '(' is not closed yet."_qs,
                Reading, u"0+0"_qs) },
        { "block quote not closed", [] { return block(u"(a \"b)"_qs); },
            failed(6,
                u"Parenthesis doesn't close correctly. String reached to the end while parenthesis of '\"' is not closed yet."_qs,
                Reading, u"0+0"_qs) },
        { "block not opened", [] { return block(u"x("_qs); },
            failed(0,
                u"Unexpected error occurred. string[firstIndex] is not open-parenthesis-character when reading parenthesis block."_qs,
                Unexpected, u"0+0"_qs) },
        // Expression lists.
        { "expression list", [] { return expressionList(u"a+b, c\nd,,\re "_qs); },
            parsed({}, u"a+b|c|d|e"_qs) },
        { "expression list empty", [] { return expressionList(QString()); }, parsed({}, {}) },
        { "expression list backslash", [] { return expressionList(u"a , b \\ c"_qs); },
            refused(u"Card Value Expression Syntax Error - Unexpected character '\\' exist."_qs, {},
                ExpressionSyntax) },
    };
    return table;
}

class ModelTextLexerTable : public testing::TestWithParam<Case> { };

TEST_P(ModelTextLexerTable, ReadsAsTheGrammarSays)
{
    EXPECT_EQ(GetParam().read(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, ModelTextLexerTable, testing::ValuesIn(cases()),
    [](const testing::TestParamInfo<Case>& info) {
        std::string name;
        for (const char c : std::string(info.param.name))
            name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

} // namespace
