// One line as text columns: reading with each separator type, line ends, error lines and the
// exact written lines, plain and attributed.
#include "cardmodel/card/UFemCardTextColumns.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/strings/UUnicharString.h"

#include <gtest/gtest.h>

namespace {

constexpr auto Comma = UFemColumnSeparatingCharacterTypeComma;
constexpr auto Tab = UFemColumnSeparatingCharacterTypeTab;
constexpr auto CommaOrTab = UFemColumnSeparatingCharacterTypeCommaOrTab;
constexpr auto None = UFemColumnSeparatingCharacterTypeNone;

// The columns joined by '|' ("-" for an empty one), "ERROR" for an error line.
QString columnsOf(const UFemCardTextColumns& columns)
{
    if (columns.isErrorCard())
        return QStringLiteral("ERROR");
    QStringList list;
    for (quint64 i = 0; i < columns.numberOfColumns(); ++i)
        list.append(columns.columnStringAtIndex(i).value_or(QStringLiteral("-")));
    return list.join(u'|');
}

UFemCardTextColumns readLine(const QString& text, UFemColumnSeparatingCharacterType type)
{
    const UUnicharString source(text);
    UFemCardTextColumns columns;
    quint64 index = 0;
    columns.readModelStringCharactersFromString(source, index, type);
    return columns;
}

UFemCardTextColumns nodeColumns()
{
    UFemCardTextColumns columns;
    UErrorPtr error;
    const QStringList texts = { u"Node"_qs, u"N01"_qs, QString(), u"1"_qs, u"2.5"_qs, u"-3"_qs };
    for (qsizetype i = 0; i < texts.size(); ++i)
        EXPECT_TRUE(columns.setColumnString(texts[i], quint64(i), &error));
    EXPECT_TRUE(columns.setCommentString(u"  first node "_qs, &error));
    return columns;
}

TEST(CardTextColumns, SeparatorTypesOneToFour)
{
    struct Row {
        QString line;
        QString type1, type2, type3, type4;
    };
    const Row rows[] = {
        { u"a , b\tc"_qs, u"ERROR"_qs, u"ERROR"_qs, u"a|b|c"_qs, u"ERROR"_qs },
        { u"a b\tc d"_qs, u"ERROR"_qs, u"a b|c d"_qs, u"a b|c d"_qs, u"ERROR"_qs },
        { u"a , b"_qs, u"a|b"_qs, u"ERROR"_qs, u"a|b"_qs, u"ERROR"_qs },
        { u" x y "_qs, u"x y"_qs, u"x y"_qs, u"x y"_qs, u"x y"_qs },
        { u"a ,, b\t\tc"_qs, u"ERROR"_qs, u"ERROR"_qs, u"a|-|b|-|c"_qs, u"ERROR"_qs },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line.toStdString());
        EXPECT_EQ(columnsOf(readLine(row.line, Comma)), row.type1);
        EXPECT_EQ(columnsOf(readLine(row.line, Tab)), row.type2);
        EXPECT_EQ(columnsOf(readLine(row.line, CommaOrTab)), row.type3);
        EXPECT_EQ(columnsOf(readLine(row.line, None)), row.type4);
    }
}

TEST(CardTextColumns, LineEndsCrLfAndCrLf)
{
    const UUnicharString source(u"A , 1\rB , 2\nC , 3 \\ c\r\nD"_qs);
    quint64 index = 0;
    QStringList lines;
    QList<char16_t> stops;
    for (;;) {
        UFemCardTextColumns columns;
        const char16_t stop = columns.readModelStringCharactersFromString(source, index, Comma);
        lines.append(columnsOf(columns) + (columns.isNullCard() ? u"(null)"_qs : QString()));
        stops.append(stop);
        if (stop == 0)
            break;
        ASSERT_EQ(source.characterAtIndex(index), stop);
        ++index;
    }
    EXPECT_EQ(lines, (QStringList { u"A|1"_qs, u"B|2"_qs, u"C|3"_qs, u"(null)"_qs, u"D"_qs }));
    EXPECT_EQ(stops, (QList<char16_t> { u'\r', u'\n', u'\r', u'\n', 0 }));
}

TEST(CardTextColumns, ErrorTailIsIgnored)
{
    const UFemCardTextColumns columns
        = readLine(u"Node , N1 , 1   \u00A1 Error : bad, \\ x\t y\nNext"_qs, Comma);
    EXPECT_EQ(columnsOf(columns), u"Node|N1|1"_qs);
    EXPECT_EQ(columns.commentString(), std::nullopt);
    const UFemCardTextColumns commented = readLine(u"Node , N1 \\ note \u00A1 Error : x"_qs, Comma);
    EXPECT_EQ(columnsOf(commented), u"Node|N1"_qs);
    EXPECT_EQ(commented.commentString(), u"note"_qs);
}

TEST(CardTextColumns, CardTypes)
{
    EXPECT_EQ(readLine(u"   "_qs, Comma).cardType(), UFemNullCardType);
    EXPECT_EQ(readLine(u" , \\ only a comment"_qs, Comma).cardType(), UFemNullCardType);
    EXPECT_EQ(readLine(u"#define x"_qs, Comma).cardType(), UFemSpecialCardType);
    EXPECT_EQ(readLine(u" , x"_qs, Comma).cardType(), UFemGenericNormalCardType);
    EXPECT_TRUE(readLine(u"Node , N1"_qs, Comma).isNormalCard());
    EXPECT_FALSE(readLine(u"Node , N1"_qs, Comma).isSeparatedToColumns() == false);
}

TEST(CardTextColumns, BadLineBecomesAnErrorLineWrittenBackExactly)
{
    const QString line = u"Node , a\tb , 1 \\ c"_qs;
    const UFemCardTextColumns columns = readLine(u"  "_qs + line + u" \t\nnext"_qs, Comma);
    ASSERT_TRUE(columns.isErrorCard());
    EXPECT_EQ(columns.errorCardString(), line);
    ASSERT_TRUE(columns.cardErrorObject());
    EXPECT_EQ(columns.cardErrorObject()->code(), 13002);
    EXPECT_EQ(columns.cardErrorDescriptionString(),
        columns.cardErrorObject()->localizedCardErrorDescription());
    EXPECT_EQ(columns.cardString(), line);
    EXPECT_EQ(columns.cardStringWithColumnSeparatingCharacterType(Tab), line);
    try {
        columns.columnStringAtIndex(0);
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), u"errorCardString!=nil"_qs);
    }
    EXPECT_THROW(columns.numberOfColumns(), UException);
    EXPECT_THROW(columns.commentString(), UException);

    const UFemCardTextColumns badComment = readLine(u"Node , N1 \\ a\tb"_qs, Comma);
    EXPECT_TRUE(badComment.isErrorCard());
}

TEST(IllegalCharacterLine, IsKeptAsReadUpToAWrittenErrorTailAndNamesTheCharacterAndColumn)
{
    const struct {
        QString line;
        QString kept;
        QString code;
        int column;
    } cases[] = {
        { u"Node , N\x01"_qs, u"Node , N\x01"_qs, u"0001"_qs, 9 },
        { u"Node , N1 , , 0 \\ a\fb  "_qs, u"Node , N1 , , 0 \\ a\fb"_qs, u"000C"_qs, 20 },
        { u"Node , N\u202Ex , , 0    \u00A1 Error : old"_qs, u"Node , N\u202Ex , , 0"_qs,
            u"202E"_qs, 9 },
        { QString(u"Node , N\0 ,"_qs), QString(u"Node , N\0 ,"_qs), u"0000"_qs, 9 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const UUnicharString source(c.line + u"\nNext"_qs);
        UFemCardTextColumns columns;
        quint64 index = 0;
        EXPECT_EQ(columns.readModelStringCharactersFromString(source, index, Comma), u'\n');
        EXPECT_EQ(index, quint64(c.line.size()));
        ASSERT_TRUE(columns.isErrorCard());
        EXPECT_EQ(columns.errorCardString(), c.kept);
        EXPECT_TRUE(columns.cardErrorDescriptionString()->startsWith(
            u"Illegal character or control character U+%1 exists at column %2 of the line."_qs
                .arg(c.code)
                .arg(c.column)))
            << columns.cardErrorDescriptionString()->toStdString();
    }
}

TEST(CardTextColumns, SettersCheckOneColumnAndOneComment)
{
    UFemCardTextColumns columns;
    UErrorPtr error;
    EXPECT_TRUE(columns.setColumnString(u"  x "_qs, 3, &error));
    EXPECT_EQ(columnsOf(columns), u"-|-|-|x"_qs);
    EXPECT_EQ(columns.cardString(), u" ,  ,  , x ,"_qs);
    EXPECT_FALSE(columns.setColumnString(u"a , b"_qs, 1, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 13002);
    EXPECT_EQ(columnsOf(columns), u"-|-|-|x"_qs);
    error.reset();
    EXPECT_FALSE(columns.setCommentString(u"a\tb"_qs, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(), u"'Tab' character exists in column string."_qs);
    EXPECT_EQ(columns.commentString(), std::nullopt);
    error.reset();
    EXPECT_TRUE(columns.setCommentString(u"  "_qs, &error));
    EXPECT_EQ(columns.commentString(), QString());
    EXPECT_EQ(columns.cardString(), u" ,  ,  , x ,    \\ "_qs);
    EXPECT_TRUE(columns.setColumnString(QString(), 0, &error));
    EXPECT_EQ(columns.numberOfColumns(), 4u);
}

TEST(CardTextColumns, SettersRefuseAnErrorTail)
{
    UFemCardTextColumns columns = readLine(u"Node , N1 , , 1"_qs, Comma);
    ASSERT_TRUE(columns.setCommentString(u"kept"_qs, nullptr));
    const QString withTail = u"p"_qs + QChar(0x00A1) + u"q"_qs;
    UErrorPtr error;
    EXPECT_FALSE(columns.setColumnString(withTail, 1, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 13002);
    EXPECT_EQ(error->localizedDescription(),
        u"Illegal character or control character exists. ( Character code: 161 )"_qs);
    error.reset();
    EXPECT_FALSE(columns.setCommentString(u"a "_qs + QChar(0x00A1) + u" Error : x"_qs, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 13002);
    EXPECT_EQ(error->localizedDescription(),
        u"Character '"_qs + QChar(0x00A1)
            + u"' (char code: 161) exists in comment string. (control char or illegal char)"_qs);
    EXPECT_EQ(columnsOf(columns), u"Node|N1|-|1"_qs);
    EXPECT_EQ(columns.commentString(), u"kept"_qs);
}

TEST(CardTextColumns, LinesOfVeryManyColumnsReadAndBuildWhole)
{
    constexpr int columnCount = 100000;
    QStringList texts;
    for (int i = 0; i < columnCount; ++i)
        texts.append(QString::number(i % 7 == 0 ? -i : i));
    const QString line = texts.join(u" , "_qs) + u" ,"_qs;
    const UFemCardTextColumns read = readLine(line, Comma);
    ASSERT_EQ(read.numberOfColumns(), quint64(columnCount));
    EXPECT_EQ(read.columnStringAtIndex(77777), texts[77777]);
    EXPECT_EQ(read.cardString(), line);

    // Built column by column, as a card writes its line, replacing some on the way.
    UFemCardTextColumns built;
    for (int i = 0; i < columnCount; ++i) {
        ASSERT_TRUE(built.setColumnString(texts[i], quint64(i), nullptr));
        if (i % 1000 == 999) {
            ASSERT_TRUE(built.setColumnString(texts[i / 2], quint64(i / 2), nullptr));
        }
    }
    EXPECT_EQ(built.cardString(), line);
}

TEST(CardTextColumns, ReplacedColumnsKeepTheirNeighbours)
{
    UFemCardTextColumns columns = readLine(u"Rod , R1 , P1 , N1 , N2"_qs, Comma);
    UErrorPtr error;
    for (int round = 0; round < 200; ++round) {
        const QString text = QStringLiteral("N%1").arg(round);
        ASSERT_TRUE(columns.setColumnString(text, 3 + quint64(round % 2), &error));
        ASSERT_EQ(columns.columnStringAtIndex(3 + quint64(round % 2)), text);
    }
    EXPECT_EQ(columnsOf(columns), u"Rod|R1|P1|N198|N199"_qs);
    EXPECT_TRUE(columns.setColumnString(u" "_qs, 2, &error));
    EXPECT_EQ(columns.cardString(), u"Rod , R1 ,  , N198 , N199 ,"_qs);
}

TEST(CardTextColumns, SetCardStringTakesOneLine)
{
    UFemCardTextColumns columns;
    UErrorPtr error;
    EXPECT_TRUE(columns.setCardString(u"Node , N1 , , 1 , 2 , 3\n"_qs, &error));
    EXPECT_EQ(columnsOf(columns), u"Node|N1|-|1|2|3"_qs);
    EXPECT_FALSE(columns.setCardString(u"Node , N2\nNode , N3"_qs, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), UFemCardStringContainsSomeLinesError()->code());
    EXPECT_EQ(columnsOf(columns), u"Node|N1|-|1|2|3"_qs);
}

TEST(CardTextColumns, WrittenLines)
{
    const UFemCardTextColumns node = nodeColumns();
    EXPECT_EQ(node.cardString(), u"Node , N01 ,  , 1 , 2.5 , -3 ,    \\ first node"_qs);
    EXPECT_EQ(
        node.cardStringWithDoesOmitComment(true, false), u"Node , N01 ,  , 1 , 2.5 , -3 ,"_qs);
    EXPECT_EQ(node.cardStringWithColumnSeparatingCharacterType(Tab),
        u"Node\tN01\t\t1\t2.5\t-3\t\\ first node"_qs);
    EXPECT_EQ(node.cardStringWithColumnSeparatingCharacterType(CommaOrTab),
        node.cardStringWithColumnSeparatingCharacterType(None));

    UFemCardTextColumns labelOnly;
    UErrorPtr error;
    EXPECT_TRUE(labelOnly.setCardLabelString(u"Case"_qs, &error));
    EXPECT_EQ(labelOnly.cardString(), u"Case ,"_qs);
    EXPECT_EQ(labelOnly.cardStringWithColumnSeparatingCharacterType(Tab), u"Case"_qs);

    UFemCardTextColumns nullWithComment;
    EXPECT_TRUE(nullWithComment.setCommentString(u"abc"_qs, &error));
    EXPECT_EQ(nullWithComment.cardString(), u"\\ abc"_qs);
    EXPECT_EQ(nullWithComment.cardStringWithColumnSeparatingCharacterType(Tab), u"\\ abc"_qs);
    EXPECT_EQ(UFemCardTextColumns().cardString(), QString());
}

TEST(CardTextColumns, WrittenErrorTail)
{
    UFemCardTextColumns columns;
    UErrorPtr error;
    EXPECT_TRUE(columns.setCardLabelString(u"Node"_qs, &error));
    EXPECT_TRUE(columns.setCardNameString(u"N1"_qs, &error));
    columns.setErrorObject(nullptr);
    EXPECT_EQ(columns.cardString(), u"Node , N1 ,    \u00A1 Error : Unknown Error."_qs);
    EXPECT_EQ(columns.cardStringWithColumnSeparatingCharacterType(Tab),
        u"Node\tN1\t\u00A1 Error : Unknown Error."_qs);
    EXPECT_EQ(columns.cardStringWithDoesOmitComment(false, true), u"Node , N1 ,"_qs);
    columns.setErrorObject(UFemCardStringContainsSomeLinesError());
    EXPECT_EQ(
        columns.cardString(), u"Node , N1 ,    \u00A1 Error : Card string contains some lines."_qs);
    // What was written reads back as the line without its tail.
    EXPECT_EQ(columnsOf(readLine(columns.cardString(), Comma)), u"Node|N1"_qs);
    EXPECT_EQ(UFemCardTextColumns().cardErrorDescriptionString(), std::nullopt);
}

TEST(CardTextColumns, AttributedLines)
{
    using Run = UAttributedString::Run;
    const UAttributedString node = nodeColumns().attributedCardString();
    EXPECT_EQ(node.string, u"Node , N01 ,  , 1 , 2.5 , -3 ,    \\ first node"_qs);
    EXPECT_EQ(node.runs,
        (QList<Run> { { 0, 30, UFemCardStringAttributesKeyForNormal },
            { 30, 16, UFemCardStringAttributesKeyForComment } }));
    const UAttributedString tabbed
        = nodeColumns().attributedCardStringWithColumnSeparatingCharacterType(Tab, false, false);
    EXPECT_EQ(tabbed.string, u"Node\tN01\t\t1\t2.5\t-3    \\ first node"_qs);
    EXPECT_EQ(nodeColumns().attributedCardStringWithDoesOmitComment(true, false).runs.size(), 1);

    UFemCardTextColumns nullCard;
    UErrorPtr error;
    EXPECT_TRUE(nullCard.setCommentString(u"abc"_qs, &error));
    EXPECT_EQ(nullCard.attributedCardString().string, u"\\ abc"_qs);
    EXPECT_EQ(nullCard.attributedCardString().runs,
        (QList<Run> { { 0, 5, UFemCardStringAttributesKeyForComment } }));
    EXPECT_EQ(UFemCardTextColumns().attributedCardString(), UAttributedString());

    const UFemCardTextColumns special = readLine(u"#include x \\ c"_qs, Comma);
    EXPECT_EQ(special.attributedCardString().runs.front().styleKey,
        UFemCardStringAttributesKeyForSpecial);

    const UFemCardTextColumns bad = readLine(u"a\tb \\ c"_qs, Comma);
    const UAttributedString errorLine = bad.attributedCardString();
    EXPECT_EQ(errorLine.string, u"a\tb \\ c"_qs);
    EXPECT_EQ(errorLine.runs, (QList<Run> { { 0, 7, UFemCardStringAttributesKeyForError } }));

    UFemCardTextColumns strange;
    strange.setCardType(14);
    try {
        strange.attributedCardString();
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(),
            u"Is this not 'Normal', Null', 'Special', or 'Error' card either."_qs);
    }
}

TEST(CardTextColumns, CopyAndReset)
{
    UFemCardTextColumns columns = nodeColumns();
    columns.setCardIdentifierNumber(42);
    columns.setCardType(3);
    const UFemCardTextColumnsPtr copy = columns.copy();
    EXPECT_EQ(copy->cardIdentifierNumber(), ~quint64(0));
    EXPECT_EQ(copy->cardType(), 3);
    EXPECT_EQ(copy->cardString(), columns.cardString());
    columns.reset();
    EXPECT_EQ(columns.cardIdentifierNumber(), ~quint64(0));
    EXPECT_FALSE(columns.isSeparatedToColumns());
    EXPECT_EQ(columns.cardType(), UFemNullCardType);
    EXPECT_EQ(copy->numberOfColumns(), 6u);
}

} // namespace
