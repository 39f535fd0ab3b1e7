#include "CardModelExpectations.h"
#include "WindowCardModel.h"

#include "cardmodel/data/UFemWindowCardTable.h"
#include "foundation/UFemNotFound.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

const QStringList windowTablePosts { "window:Will", "window:Will_private", "window:Did_private",
    "window:Did" };

class WindowCardTableFixture : public WindowCardModelFixture {
protected:
    void SetUp() override
    {
        WindowCardModelFixture::SetUp();
        recorder.tag(&table, QStringLiteral("window"));
    }
    UFemWindowCardTable table { controller };
};

TEST_F(WindowCardTableFixture, WithoutFilterAnswersAsTheCardTable)
{
    const auto expectSameAsModel = [&] {
        ASSERT_EQ(table.count(), controller.cardCount());
        for (quint64 i = 0; i < table.count(); ++i)
            EXPECT_EQ(table.cardAtIndex(i), controller.cardAtCardRowIndex(i));
        EXPECT_EQ(&table.cardArray(), &controller.cardArray());
        for (qint32 type = 0; type < UFemCardTable::cardTypeArrayCount; ++type)
            EXPECT_EQ(namesOf(table.cardArrayOfCardType(type)),
                namesOf(controller.cardArrayOfCardType(type)));
    };
    EXPECT_FALSE(table.hasFilter());
    expectSameAsModel();
    appendCards(QStringLiteral("Node , N7 ,  , 7 , 0 , 0 ,\nRod , R3 , RP , N6 , N7 ,\n"));
    expectSameAsModel();
    EXPECT_EQ(namesOf(table.nodeCardArray()).last(), "N7");
    removeRows({ 0, 1 });
    expectSameAsModel();
    EXPECT_EQ(table.indexOfCard(cardNamed("N3")), 0u);
}

TEST_F(WindowCardTableFixture, FilterTextPostsFourNotificationsEvenWhenItFails)
{
    UErrorPtr error;
    table.setCardFilterString(QStringLiteral("type:Elem"), &error);
    EXPECT_FALSE(error);
    EXPECT_EQ(recorder.take(), windowTablePosts);
    EXPECT_TRUE(table.hasFilter());
    EXPECT_EQ(table.filterString(), "type:Elem");
    EXPECT_EQ(namesOf(table.cardArray()), QStringList({ "R1", "R2" }));

    table.setCardFilterString(QStringLiteral("type:Elem &"), &error);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription(),
        "Card Filter Syntax Error - Card Filter Expression ends with '&'(AND) or '|'(OR).");
    EXPECT_EQ(recorder.take(), windowTablePosts);
    EXPECT_FALSE(table.hasFilter());
    EXPECT_EQ(table.count(), controller.cardCount());

    table.setCardFilterString(QStringLiteral("type:Node"), &error);
    table.setCardFilterString(QStringLiteral("  "), &error);
    EXPECT_EQ(recorder.take(), windowTablePosts + windowTablePosts);
    EXPECT_FALSE(table.hasFilter());

    table.setCardFilterString(QStringLiteral("type:Node"), &error);
    recorder.take();
    table.clearFilter();
    EXPECT_TRUE(recorder.take().isEmpty());
    EXPECT_FALSE(table.hasFilter());
    EXPECT_EQ(table.count(), controller.cardCount());
}

TEST_F(WindowCardTableFixture, FilteredArraysFollowEditsAtTheNextQuery)
{
    UErrorPtr error;
    table.setCardFilterString(QStringLiteral("type:Node & !contain:N2"), &error);
    ASSERT_FALSE(error);
    EXPECT_EQ(namesOf(table.cardArray()), QStringList({ "N1", "N3", "N4", "N5", "N6" }));
    EXPECT_FALSE(table.needsUpdateWindowCardArray());
    recorder.take();

    appendCards(QStringLiteral("Node , N7 ,  , 7 , 0 , 0 ,\nNode , N22 ,  , 8 , 0 , 0 ,\n"));
    // The window relays the model's bracket, each twin inside its public notification.
    EXPECT_EQ(recorder.take(),
        QStringList({ "model:Will", "window:Will", "model:Will_private", "window:Will_private",
            "model:Did_private", "window:Did_private", "model:Did", "window:Did" }));
    EXPECT_TRUE(table.needsUpdateWindowCardArray());
    removeRows({ 0 });
    EXPECT_EQ(table.count(), 5u);
    EXPECT_FALSE(table.needsUpdateWindowCardArray());
    EXPECT_EQ(namesOf(table.cardArray()), QStringList({ "N3", "N4", "N5", "N6", "N7" }));
    EXPECT_EQ(table.indexOfCard(cardNamed("N7")), 4u);
    EXPECT_EQ(table.indexOfCard(cardNamed("N2")), UFemNotFound);
    EXPECT_EQ(table.indexOfCard(cardNamed("R1")), UFemNotFound);
    EXPECT_FALSE(table.containsCard(cardNamed("N22")));
    EXPECT_TRUE(table.containsCard(cardNamed("N3")));
    EXPECT_EQ(table.cardAtIndex(1), cardNamed("N4"));
    EXPECT_EQ(namesOf(table.nodeCardArray()), namesOf(table.cardArray()));
    EXPECT_EQ(table.elementCardArray().count(), 0u);
    EXPECT_EQ(table.caseCardArray().count(), 0u);
    QStringList enumerated;
    for (UFemCardEnumerator e = table.cardEnumerator(); UFemCardPtr card = e.nextObject();)
        enumerated.append(*card->cardNameString());
    EXPECT_EQ(enumerated, namesOf(table.cardArray()));

    undoManager.undo(); // the removal of N1
    EXPECT_EQ(namesOf(table.cardArray()), QStringList({ "N1", "N3", "N4", "N5", "N6", "N7" }));
    undoManager.undo(); // the addition of N7 and N22
    EXPECT_EQ(namesOf(table.cardArray()), QStringList({ "N1", "N3", "N4", "N5", "N6" }));
    EXPECT_EQ(table.indexOfCard(cardNamed("N6")), 4u);

    // The live array changes under a holder when the table rebuilds.
    const UFemCardArray& live = table.cardArray();
    table.setCardFilterString(QStringLiteral("type:Elem | type:Case"), &error);
    EXPECT_EQ(namesOf(table.cardArray()), QStringList({ "R1", "R2", "C1" }));
    EXPECT_EQ(namesOf(live), QStringList({ "R1", "R2", "C1" }));
    EXPECT_EQ(namesOf(table.cardArrayOfCardType(UFemCaseCardType)), QStringList({ "C1" }));
    EXPECT_EQ(table.nodeCardArray().count(), 0u);
}

} // namespace
