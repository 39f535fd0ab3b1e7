// Whole error texts of the lexer: the excerpt that shows where a line failed, and the program
// errors of callers that pass no error out-parameter.
#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "foundation/errors/UErrorRangeHighlightedString.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UUnicharString.h"

#include <gtest/gtest.h>

namespace {

UErrorPtr columnError(const QString& text, quint64 start)
{
    const UUnicharString source(text);
    quint64 index = start;
    URange token;
    UErrorPtr error;
    UFemReadModelColumnString(
        source, index, source.length(), token, UFemColumnSeparatingCharacterTypeComma, &error);
    return error;
}

TEST(ModelTextErrorTexts, ColumnErrorShowsTheColumnToItsLineEnd)
{
    const UErrorPtr error = columnError(u"Node , a\tb , c\nnext"_qs, 6);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 13002);
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        u"Error on:  a'\t'b , c\nCan't use 'Tab' character in a column."_qs);
    EXPECT_EQ(error->localizedCardErrorDescription(),
        u"'Tab' character exists between string blocks. - Error on:  a'\t'b , c - Can't use 'Tab' character in a column."_qs);
}

TEST(ModelTextErrorTexts, LongLinesAreShortenedAroundTheError)
{
    const QString before(30, u'a');
    const QString after(30, u'b');
    const QString badLine = before + QChar(1) + after;
    const UUnicharString source(badLine + u"\nzzz"_qs);
    quint64 index = 0;
    URange range;
    UErrorPtr error;
    UFemReadModelLineString(source, index, source.length(), range, &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(index, 30u);
    const QString excerpt
        = UMakeErrorRangeHighlightedString(badLine, 0, quint64(badLine.size()), 30, 1);
    EXPECT_EQ(excerpt, u"aaaaaaaa...aaaaaaaa'\x01'bbbbbbbb...bbbbbbbbbb"_qs);
    EXPECT_EQ(error->localizedRecoverySuggestion(), u"Error on: "_qs + excerpt + u"\n"_qs);
}

TEST(ModelTextErrorTexts, ParserErrorsHighlightTheCharacter)
{
    URange range;
    double value = 0;
    UErrorPtr error;
    EXPECT_FALSE(UFemParseRealColumnString(u"1.5.3"_qs, range, value, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedOneLineDescription(),
        u"Character '.' exists in Real Number Value column. - Error on: 1.5'.'3 - "_qs);

    qint64 integer = 0;
    error.reset();
    EXPECT_FALSE(UFemParseIntegerColumnString(u"1234567890"_qs, range, integer, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedRecoverySuggestion(), u"Integer value can be max 9 digits."_qs);

    URange node;
    URange direction;
    int directionIndex = 0;
    error.reset();
    EXPECT_FALSE(UFemParseDegreeOfFreedomColumnString(
        u"node_01@tx"_qs, node, direction, directionIndex, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        u"Error on: node_01'@tx'\nFormat of 'Degree of Freedom' is like 'node_01@TX', or 'node_02@RZ'."_qs);
}

TEST(ModelTextErrorTexts, WholeStringReadersRefuseWhatDoesNotReachTheEnd)
{
    URange range;
    UErrorPtr error;
    UFemTrimmedColumnStringRange(u"a \\ b"_qs, range, &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_TRUE(error->localizedDescription().contains(
        u"Reading column string didn't reach to the end."_qs));
    error.reset();
    UFemTrimmedCommentStringRange(u"a\nb"_qs, range, &error);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->localizedDescription().contains(
        u"Reading comment string didn't reach to the end."_qs));
    error.reset();
    EXPECT_EQ(UFemTrimmedColumnStringOrNil(u"  a  b \t"_qs, &error), u"a  b"_qs);
    EXPECT_EQ(UFemTrimmedColumnStringOrNil(u" \t "_qs, &error), std::nullopt);
    EXPECT_FALSE(error);
}

TEST(ModelTextErrorTexts, NoErrorOutParameterRaises)
{
    const UUnicharString source(u"a\tb"_qs);
    quint64 index = 0;
    URange token;
    try {
        UFemReadModelColumnString(
            source, index, source.length(), token, UFemColumnSeparatingCharacterTypeComma, nullptr);
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), u"Program Error."_qs);
        EXPECT_EQ(exception.reason(), u"An error occurred though 'aErrorPtr==nil'."_qs);
    }
    double value = 0;
    try {
        EXPECT_TRUE(UFemParseRealColumnString(u"x"_qs, token, value, nullptr));
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), u"Error Responder Error"_qs);
    }
}

} // namespace
