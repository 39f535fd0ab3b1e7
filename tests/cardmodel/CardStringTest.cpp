#include "CardModelExpectations.h"
#include "FakeCardClasses.h"
#include "FakeDataController.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/NullCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/data/UFemCardTable.h"
#include "foundation/errors/UFemErrorsEditCard.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

const QString errorTailComma = QStringLiteral("    \u00A1 Error : ");

class CardStringFixture : public ::testing::Test {
protected:
    UFemCardPtr card(const QString& label, const QString& line)
    {
        UErrorPtr error;
        UFemCardPtr made = model.makeCard(fakeCardClass(label), line, &error);
        EXPECT_TRUE(made) << (error ? error->localizedDescription().toStdString() : "");
        return made;
    }
    FakeDataController model;
};

} // namespace

TEST_F(CardStringFixture, NormalCardsInEachSeparatorType)
{
    const UFemCardPtr node
        = card(QStringLiteral("Node"), QStringLiteral("Node,N1,,1.5,  2 ,3   \\  top  "));
    EXPECT_EQ(UFemCardStringWithoutComment(*node), QStringLiteral("Node , N1 ,  , 1.5 , 2 , 3 ,"));
    EXPECT_EQ(UFemCardString(*node), QStringLiteral("Node , N1 ,  , 1.5 , 2 , 3 ,    \\ top"));
    EXPECT_EQ(UFemCardStringWithSeparator(*node, UFemColumnSeparatingCharacterTypeTab),
        QStringLiteral("Node\tN1\t\t1.5\t2\t3\t\\ top"));
    EXPECT_EQ(UFemCardStringWithoutCommentWithSeparator(
                  *node, UFemColumnSeparatingCharacterTypeCommaOrTab),
        QStringLiteral("Node\tN1\t\t1.5\t2\t3"));

    const UAttributedString attributed = UFemAttributedCardString(*node);
    EXPECT_EQ(attributed.string, QStringLiteral("Node , N1 ,  , 1.5 , 2 , 3 ,    \\ top"));
    ASSERT_EQ(attributed.runs.size(), 2);
    EXPECT_EQ(attributed.runs[0],
        (UAttributedString::Run { 0, 28, UFemCardStringAttributesKeyForNormal }));
    EXPECT_EQ(attributed.runs[1],
        (UAttributedString::Run { 28, 9, UFemCardStringAttributesKeyForComment }));
}

TEST_F(CardStringFixture, MoreThanSixteenColumnsAreAllWritten)
{
    QString line = QStringLiteral("RestraintEquation , R1 , 0 , N1@TX");
    for (int i = 0; i < 10; ++i)
        line += QStringLiteral(" , %1 , N%2@RY").arg(i + 1).arg(i + 2);
    line += QStringLiteral(" ,");
    const UFemCardPtr equation = card(QStringLiteral("RestraintEquation"), line);
    ASSERT_TRUE(equation);
    EXPECT_EQ(UFemCardString(*equation), line);
}

TEST_F(CardStringFixture, NullCardsWriteTheirCommentOrNothing)
{
    NullCard withComment(&model);
    EXPECT_TRUE(withComment.setCommentString(QStringLiteral("abc"), nullptr));
    EXPECT_EQ(UFemCardString(withComment), QStringLiteral("\\ abc"));
    EXPECT_EQ(UFemCardStringWithSeparator(withComment, UFemColumnSeparatingCharacterTypeTab),
        QStringLiteral("\\ abc"));
    EXPECT_EQ(UFemCardStringWithoutComment(withComment), QString());
    const UAttributedString attributed = UFemAttributedCardString(withComment);
    EXPECT_EQ(attributed.string, QStringLiteral("\\ abc"));
    ASSERT_EQ(attributed.runs.size(), 1);
    EXPECT_EQ(attributed.runs[0].styleKey, UFemCardStringAttributesKeyForComment);

    NullCard empty(&model);
    EXPECT_EQ(UFemCardString(empty), QString());
    EXPECT_TRUE(UFemAttributedCardString(empty).runs.isEmpty());
}

TEST_F(CardStringFixture, ErrorCardsWriteTheirLineAndTheErrorTail)
{
    UFemCardTextColumns record;
    ASSERT_TRUE(record.setCardString(QStringLiteral("Nod , N1 , 2 \\ kept"), nullptr));
    record.setErrorObject(UFemUnknownCardClassError_withCardClassNameString(QStringLiteral("Nod")));
    ErrorCard errorCard(&model);
    ASSERT_TRUE(errorCard.setCardColumnsWithCardTextColumns(record, nullptr));
    const QString line = errorCard.errorCardString_NoCardErrorDescription();
    const QString description = errorCard.cardErrorDescriptionString().value_or(QString());
    ASSERT_FALSE(description.isEmpty());

    EXPECT_EQ(UFemComposeCardString(errorCard, UFemColumnSeparatingCharacterTypeComma, false, true),
        line);
    EXPECT_EQ(UFemCardString(errorCard), line + errorTailComma + description);
    // The comment flag does not touch an error line.
    EXPECT_EQ(UFemCardStringWithoutComment(errorCard), line + errorTailComma + description);
    EXPECT_EQ(UFemCardStringWithSeparator(errorCard, UFemColumnSeparatingCharacterTypeTab),
        line + QStringLiteral("\t\u00A1 Error : ") + description);

    const UAttributedString attributed
        = UFemAttributedCardStringOmittingErrorDescription(errorCard);
    EXPECT_EQ(attributed.string, line);
    ASSERT_EQ(attributed.runs.size(), 1);
    EXPECT_EQ(attributed.runs[0].styleKey, UFemCardStringAttributesKeyForError);
}

// Reports and table rows show the head of a line; the rest is never composed.
TEST_F(CardStringFixture, HugeTokenReportExcerptsCutWithAnEllipsis)
{
    const UFemCardPtr node
        = card(QStringLiteral("Node"), QStringLiteral("Node,N1,,1.5,  2 ,3   \\  top  "));
    const QString nodeLine = QStringLiteral("Node , N1 ,  , 1.5 , 2 , 3 ,    \\ top");
    UFemCardTextColumns record;
    ASSERT_TRUE(record.setCardString(QStringLiteral("Nod , N1 , 2"), nullptr));
    record.setErrorObject(UFemUnknownCardClassError_withCardClassNameString(QStringLiteral("Nod")));
    ErrorCard errorCard(&model);
    ASSERT_TRUE(errorCard.setCardColumnsWithCardTextColumns(record, nullptr));
    NullCard longComment(&model);
    ASSERT_TRUE(longComment.setCommentString(QString(100000, u'c'), nullptr));
    NullCard emoji(&model);
    ASSERT_TRUE(emoji.setCommentString(QStringLiteral("ab\U0001F600"), nullptr));
    const struct {
        const char* name;
        UFemCard& card;
        bool omitsDescription;
        qsizetype maxLength;
        QString excerpt;
    } cases[] = {
        { "columns cut", *node, false, 12, QStringLiteral("Node , N1 , …") },
        { "a line that just fits", *node, false, 37, nodeLine },
        { "the error tail cut", errorCard, false, 15, QStringLiteral("Nod , N1 , 2 , …") },
        { "the error tail left out", errorCard, true, 100, QStringLiteral("Nod , N1 , 2 ,") },
        { "a long comment", longComment, false, 160,
            QStringLiteral("\\ ") + QString(158, u'c') + QStringLiteral("…") },
        { "no half surrogate pair", emoji, false, 5, QStringLiteral("\\ ab…") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UFemComposeCardStringExcerpt(c.card, UFemColumnSeparatingCharacterTypeComma,
                      false, c.omitsDescription, c.maxLength),
            c.excerpt);
    }

    // The comment takes what room the columns leave, under its own style.
    const UAttributedString attributed = UFemComposeAttributedCardStringExcerpt(
        *node, UFemColumnSeparatingCharacterTypeComma, false, false, 30);
    EXPECT_EQ(attributed.string, QStringLiteral("Node , N1 ,  , 1.5 , 2 , 3 ,  …"));
    ASSERT_EQ(attributed.runs.size(), 2);
    EXPECT_EQ(attributed.runs[1],
        (UAttributedString::Run { 28, 3, UFemCardStringAttributesKeyForComment }));
    EXPECT_EQ(UFemCardString(*node), nodeLine) << "the card itself is whole";
}
