// Model text from outside: characters no reader takes, U+00A1 that opens no written error tail,
// and Windows line ends.
#include "DataControllerStandIns.h"
#include "FakeCardClasses.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/data/UFemDataController.h"

#include <gtest/gtest.h>

using namespace fakecards;
using namespace Qt::StringLiterals;

namespace {

class OutsideText : public ::testing::Test {
protected:
    void SetUp() override
    {
        installFakeCardClassesIntoSharedRegistry();
        controller = std::make_unique<UFemDataController>(recording.services());
    }

    void read(const QString& text)
    {
        UErrorPtr error;
        ASSERT_TRUE(controller->resetWithModelText(text, true, &error))
            << error->localizedDescription().toStdString();
    }
    const ErrorCard* errorCardAt(quint64 row) const
    {
        return dynamic_cast<const ErrorCard*>(controller->cardAtRowIndex(row));
    }

    RecordingServices recording;
    std::unique_ptr<UFemDataController> controller;
};

QString nodeLine(int n)
{
    return u"Node , N%1 ,  , %1 , 0 , 0 ,"_s.arg(n);
}

} // namespace

TEST_F(OutsideText, IllegalCharacterLineIsOneErrorCardAmongTheOthers)
{
    QString text;
    for (int n = 1; n <= 1000; ++n)
        text += (n == 500 ? u"Node , N500 ,  , 5 , 0 , 0 , \\ a\fb"_s : nodeLine(n)) + u'\n';
    read(text);
    ASSERT_EQ(controller->cardCount(), 1000u);
    quint64 errorCards = 0;
    for (quint64 row = 0; row < 1000; ++row)
        errorCards += controller->cardAtRowIndex(row)->isErrorCard();
    EXPECT_EQ(errorCards, 1u);
    const ErrorCard* card = errorCardAt(499);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(
        card->errorCardString_NoCardErrorDescription(), u"Node , N500 ,  , 5 , 0 , 0 , \\ a\fb"_s);
    EXPECT_TRUE(card->cardErrorDescriptionString()->startsWith(
        u"Illegal character or control character U+000C exists at column 33 of the line."_s));

    // Written and read again, the line and its error stay as they are.
    const QString written = controller->modelTextOfAllCards();
    read(written);
    EXPECT_EQ(controller->modelTextOfAllCards(), written);
}

TEST_F(OutsideText, ErrorTailInTextOnlyAsTheWriterWritesIt)
{
    const struct {
        QString line;
        QString kept; // empty for a card that reads
    } cases[] = {
        // Text after a stray U+00A1 is no longer lost: the line is kept whole.
        { u"\\ \u00A1Ojo! check N1"_s, u"\\ \u00A1Ojo! check N1"_s },
        { u"Node , N\u00A1b ,  , 0 , 0 , 0 ,"_s, u"Node , N\u00A1b ,  , 0 , 0 , 0 ,"_s },
        // The writer's own tail after a bad line: the line is kept without it.
        { u"Node , N2 ,  , 1x , 0 , 0 ,    \u00A1 Error : an old reason"_s,
            u"Node , N2 ,  , 1x , 0 , 0 ,"_s },
        // The writer's tail after a line that now reads is dropped with its old reason.
        { u"Node , N3 ,  , 1 , 0 , 0 ,\t\u00A1 Error : an old reason"_s, QString() },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        read(c.line + u'\n');
        ASSERT_EQ(controller->cardCount(), 1u);
        const ErrorCard* card = errorCardAt(0);
        if (c.kept.isEmpty()) {
            EXPECT_EQ(card, nullptr);
            continue;
        }
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->errorCardString_NoCardErrorDescription(), c.kept);
        const QString written = controller->modelTextOfAllCards();
        read(written);
        ASSERT_NE(errorCardAt(0), nullptr);
        EXPECT_EQ(errorCardAt(0)->errorCardString_NoCardErrorDescription(), c.kept);
        EXPECT_EQ(controller->modelTextOfAllCards(), written);
    }
}

TEST_F(OutsideText, CrLfIsOneLineEnd)
{
    read(nodeLine(1) + u"\r\n"_s + nodeLine(2) + u"\r\n\\ note\r\n"_s);
    ASSERT_EQ(controller->cardCount(), 3u);
    EXPECT_EQ(
        controller->modelTextOfAllCards(), nodeLine(1) + u'\n' + nodeLine(2) + u"\n\\ note\n"_s);
    // Alone, CR and LF each still end a line.
    read(nodeLine(1) + u'\r' + nodeLine(2) + u"\n\r\n"_s);
    EXPECT_EQ(controller->cardCount(), 3u);

    // A pasted line may end with CR LF; a second line still does not belong in one card.
    UFemCardTextColumns columns;
    UErrorPtr error;
    EXPECT_TRUE(columns.setCardString(nodeLine(1) + u"\r\n"_s, &error));
    EXPECT_EQ(columns.cardString(), nodeLine(1));
    EXPECT_FALSE(columns.setCardString(nodeLine(1) + u"\r\n\r\n"_s, &error));
}

TEST_F(OutsideText, SurrogateWithoutItsPairIsRefusedWhereAPairReads)
{
    const QString lone = u"Node , N"_s + QChar(0xD800) + u"x ,  , 0 , 0 , 0 ,"_s;
    read(lone + u'\n' + u"Node , N\U0001F600 ,  , 1 , 0 , 0 ,\n"_s + u"Node , N"_s + QChar(0xDC00)
        + u"\n"_s);
    ASSERT_EQ(controller->cardCount(), 3u);
    ASSERT_NE(errorCardAt(0), nullptr);
    EXPECT_EQ(errorCardAt(0)->errorCardString_NoCardErrorDescription(), lone);
    EXPECT_TRUE(errorCardAt(0)->cardErrorDescriptionString()->startsWith(
        u"Illegal character or control character U+D800 exists at column 9 of the line."_s));
    EXPECT_EQ(errorCardAt(1), nullptr);
    EXPECT_EQ(controller->cardAtRowIndex(1)->cardNameString(), u"N\U0001F600"_s);
    ASSERT_NE(errorCardAt(2), nullptr);
    EXPECT_TRUE(errorCardAt(2)->cardErrorDescriptionString()->contains(u"U+DC00"_s));
}
