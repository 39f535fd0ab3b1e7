#include "CardModelExpectations.h"
#include "FakeCardClasses.h"
#include "FakeDataController.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemCardTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace fakecards;

namespace {

class CardTableFixture : public ::testing::Test {
protected:
    UFemCardPtr node(const QString& name, double x = 0, double y = 0, double z = 0)
    {
        return model.makeCard(fakeCardClass("Node"),
            QStringLiteral("Node , %1 ,  , %2 , %3 , %4 ,").arg(name).arg(x).arg(y).arg(z),
            nullptr);
    }
    UFemCardPtr caseCard(const QString& name)
    {
        return model.makeCard(
            fakeCardClass("Case"), QStringLiteral("Case , %1 ,").arg(name), nullptr);
    }
    // The per-type array as the table holds it, compared with the rows of the card array.
    void expectTypeArrayInRowOrder(qint32 cardType)
    {
        std::vector<UFemCard*> expected;
        for (const UFemCardPtr& card : table.rowArray()) {
            if (card->cardType() == cardType)
                expected.push_back(card.get());
        }
        std::vector<UFemCard*> actual;
        for (const UFemCardPtr& card : table.cardArrayOfCardType(cardType))
            actual.push_back(card.get());
        EXPECT_EQ(actual, expected);
    }

    FakeDataController model;
    UFemCardTable table;
};

} // namespace

TEST_F(CardTableFixture, HundredTwentyEightUnreadChangesAreFollowedAndTheNextDropsTheTypeArrays)
{
    table.removeAllCards();
    ASSERT_TRUE(table.isCardTypeCardArrayTableValid());
    // Inserted at scattered rows, so that the per-type arrays need real sorted insertion.
    for (int i = 0; i < 128; ++i) {
        const UFemCardPtr card = i % 3 == 0 ? caseCard(QStringLiteral("C%1").arg(i))
                                            : node(QStringLiteral("N%1").arg(i));
        const quint64 rows = table.rowArray().count();
        EXPECT_TRUE(table.insertCard(card, i % 2 == 0 ? 0 : rows / 2, nullptr));
    }
    EXPECT_TRUE(table.isCardTypeCardArrayTableValid());
    EXPECT_EQ(table.changeCountAfterRead(), 128u);
    expectTypeArrayInRowOrder(UFemNodeCardType);
    expectTypeArrayInRowOrder(UFemCaseCardType);
    EXPECT_EQ(table.changeCountAfterRead(), 0u);

    for (int i = 0; i < 129; ++i)
        EXPECT_TRUE(
            table.insertCard(node(QStringLiteral("M%1").arg(i)), i % 2 == 0 ? 0 : 5, nullptr));
    EXPECT_FALSE(table.isCardTypeCardArrayTableValid());
    expectTypeArrayInRowOrder(UFemNodeCardType);
    EXPECT_TRUE(table.isCardTypeCardArrayTableValid());

    // Removals count the same way.
    for (int i = 0; i < 128; ++i)
        EXPECT_TRUE(table.removeCardAtIndex(quint64(i) % 7, nullptr));
    EXPECT_TRUE(table.isCardTypeCardArrayTableValid());
    expectTypeArrayInRowOrder(UFemNodeCardType);
    expectTypeArrayInRowOrder(UFemCaseCardType);
    for (int i = 0; i < 129; ++i)
        EXPECT_TRUE(table.removeCardAtIndex(0, nullptr));
    EXPECT_FALSE(table.isCardTypeCardArrayTableValid());
    expectTypeArrayInRowOrder(UFemCaseCardType);
}

TEST_F(CardTableFixture, ReadsBetweenEditsKeepTheTypeArraysFollowed)
{
    table.removeAllCards();
    for (int i = 0; i < 400; ++i) {
        EXPECT_TRUE(table.addCard(node(QStringLiteral("N%1").arg(i)), nullptr));
        EXPECT_EQ(table.count(), quint64(i + 1));
    }
    EXPECT_TRUE(table.isCardTypeCardArrayTableValid());
    // A new table starts without per-type arrays; the enumerator is no read.
    UFemCardTable fresh;
    EXPECT_FALSE(fresh.isCardTypeCardArrayTableValid());
    EXPECT_TRUE(fresh.addCard(node(QStringLiteral("X")), nullptr));
    UFemCardEnumerator enumerator = fresh.cardEnumerator();
    EXPECT_TRUE(enumerator.nextObject());
    EXPECT_EQ(fresh.changeCountAfterRead(), 1u);
}

TEST_F(CardTableFixture, NodeInsertedAtRowZeroComesFirst)
{
    table.removeAllCards();
    EXPECT_TRUE(table.addCard(node(QStringLiteral("A")), nullptr));
    EXPECT_TRUE(table.addCard(caseCard(QStringLiteral("L1")), nullptr));
    EXPECT_TRUE(table.addCard(node(QStringLiteral("B")), nullptr));
    const UFemCardPtr first = node(QStringLiteral("Z"));
    EXPECT_TRUE(table.insertCard(first, 0, nullptr));
    ASSERT_TRUE(table.isCardTypeCardArrayTableValid());
    const UFemCardArray& nodes = table.nodeCardArray();
    ASSERT_EQ(nodes.count(), 3u);
    EXPECT_EQ(nodes.objectAtIndex(0), first);
    EXPECT_EQ(table.indexOfCard(first), 0u);
    EXPECT_TRUE(table.containsCard(first));
    EXPECT_EQ(UFemCompareByIndexInArray(first, nodes.objectAtIndex(1), table.rowArray()), -1);
    EXPECT_EQ(UFemCompareByIndexInArray(nodes.objectAtIndex(1), first, table.rowArray()), 1);
    EXPECT_EQ(UFemCompareByIndexInArray(node(QStringLiteral("Out")), first, table.rowArray()), 1);
}

TEST_F(CardTableFixture, RowsOutOfRangeAndStrangersAreProgramErrors)
{
    EXPECT_TRUE(table.addCard(node(QStringLiteral("A")), nullptr));
    expectProgramError(
        [&] { static_cast<void>(table.insertCard(node(QStringLiteral("B")), 2, nullptr)); },
        QStringLiteral("The index to add is out of list."));
    expectProgramError([&] { table.cardAtIndex(1); },
        QStringLiteral("anIndex >= [cardArray count]. anIndex: 1, [cardArray count]: 1"));
    expectProgramError([&] { table.indexOfCard(node(QStringLiteral("C"))); },
        QStringLiteral("The 'cardArray' doesn't contain the Card with 'Pointer'."));
    const UFemCardPtr removed = table.removeCardAtIndex(0, nullptr);
    EXPECT_EQ(removed->cardNameString(), QStringLiteral("A"));
    EXPECT_EQ(table.count(), 0u);
}

TEST_F(CardTableFixture, CaseMenuTagsFollowTheCaseCardsInRowOrder)
{
    table.removeAllCards();
    EXPECT_TRUE(table.addCard(caseCard(QStringLiteral("Dead")), nullptr));
    EXPECT_TRUE(table.addCard(node(QStringLiteral("N1")), nullptr));
    const UFemCardPtr wind = caseCard(QStringLiteral("Wind"));
    EXPECT_TRUE(table.addCard(wind, nullptr));
    EXPECT_TRUE(table.addCard(caseCard(QStringLiteral("Snow")), nullptr));

    std::vector<UFemMenuItemDescription> menu { { QStringLiteral("Before"), 1, false },
        { QStringLiteral("After"), 2, false } };
    table.insertCaseMenuItemToMenu(menu, 1);
    const std::vector<UFemMenuItemDescription> expected { { QStringLiteral("Before"), 1, false },
        { QStringLiteral("Dead"), 1000, false }, { QStringLiteral("Wind"), 1001, false },
        { QStringLiteral("Snow"), 1002, false }, { QStringLiteral("After"), 2, false } };
    EXPECT_EQ(menu, expected);
    EXPECT_EQ(table.caseMenuTagOfCaseNameString(QStringLiteral("Wind")), 1001);
    EXPECT_EQ(table.caseMenuTagOfCaseCard(wind), 1001);
    EXPECT_EQ(table.caseCardOfCaseMenuTag(1001), wind);
    EXPECT_EQ(table.caseNameStringOfCaseMenuTag(1002), QStringLiteral("Snow"));
    expectProgramError([&] { table.caseMenuTagOfCaseNameString(QStringLiteral("Rain")); },
        QStringLiteral("'aCaseNameString' is not found."));
    expectProgramError([&] { table.caseMenuTagOfCaseCard(caseCard(QStringLiteral("Rain"))); },
        QStringLiteral("'aCaseCard' is not found."));
}

TEST_F(CardTableFixture, NodeBoundingBox)
{
    double box[6] = { 9, 9, 9, 9, 9, 9 };
    table.removeAllCards();
    UFemGetNodeBoundingBox(box, table.nodeCardArray());
    for (double value : box)
        EXPECT_EQ(value, 0.0);

    EXPECT_TRUE(table.addCard(node(QStringLiteral("A"), 1, 2, 3), nullptr));
    UFemGetNodeBoundingBox(box, table.nodeCardArray());
    const double single[6] = { 1, 1, 2, 2, 3, 3 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(box[i], single[i]) << i;

    EXPECT_TRUE(table.addCard(node(QStringLiteral("B"), -4, 7.5, 3), nullptr));
    EXPECT_TRUE(table.addCard(node(QStringLiteral("C"), 2, -1, -0.25), nullptr));
    UFemGetNodeBoundingBox(box, table.nodeCardArray());
    const double three[6] = { -4, 2, -1, 7.5, -0.25, 3 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(box[i], three[i]) << i;
}

// A replacement takes the old card's place in the rows and in the per-type arrays, also when the
// type changes; no other card's known row goes stale.
TEST_F(CardTableFixture, ReplacementTakesThePlaceOfTheOldCard)
{
    table.removeAllCards();
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(table.addCard(i % 2 == 0 ? node(QStringLiteral("N%1").arg(i))
                                             : caseCard(QStringLiteral("C%1").arg(i)),
            nullptr));

    expectTypeArrayInRowOrder(UFemNodeCardType);
    const UFemCardPtr sameType = node(QStringLiteral("M2"));
    const UFemCardPtr otherType = caseCard(QStringLiteral("C4"));
    const UFemCardPtr firstOld = table.rowArray().objectAtIndex(2);
    EXPECT_EQ(table.replaceCardAtIndex(2, sameType), firstOld);
    table.replaceCardAtIndex(4, otherType);
    EXPECT_EQ(table.rowArray().objectAtIndex(2), sameType);
    EXPECT_EQ(table.rowArray().objectAtIndex(4), otherType);
    EXPECT_EQ(table.rowArray().count(), 6u);
    EXPECT_TRUE(table.isCardTypeCardArrayTableValid());
    expectTypeArrayInRowOrder(UFemNodeCardType);
    expectTypeArrayInRowOrder(UFemCaseCardType);
    for (quint64 row = 0; row < 6; ++row)
        EXPECT_EQ(table.rowArray().objectAtIndex(row)->cardRowIndex_last(), row);
}
