#include "CardModelExpectations.h"
#include "FakeCardClasses.h"
#include "FakeDataController.h"

#include "cardmodel/card/NullCard.h"
#include "cardmodel/card/UFemCardAbst.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsEditCard.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace fakecards;

namespace {

const UFemCardClass& node()
{
    return fakeCardClass("Node");
}

QString nodeLine(int i)
{
    return QStringLiteral("Node , N%1 , , %1 , 0 , 0").arg(i);
}

std::vector<std::shared_ptr<UFemCard>> addNodes(FakeDataController& model, int count)
{
    std::vector<std::shared_ptr<UFemCard>> cards;
    for (int i = 0; i < count; ++i)
        cards.push_back(model.addCard(node(), nodeLine(i)));
    return cards;
}

UFemCardAbst& abst(const std::shared_ptr<UFemCard>& card)
{
    return dynamic_cast<UFemCardAbst&>(*card);
}

} // namespace

TEST(CardBase, CardTypeWordsDisplayNamesAndSharing)
{
    EXPECT_EQ(UFemCardTypeWithCardTypeString("Elem"), UFemElementCardType);
    EXPECT_EQ(UFemCardTypeWithCardTypeString("elem"), UFemUnexpectedCardType);
    EXPECT_EQ(UFemCardTypeWithCardTypeString(" Node"), UFemUnexpectedCardType);
    EXPECT_EQ(UFemCardTypeWithCardTypeString("ElemProp"), UFemElementPropCardType);
    EXPECT_EQ(UFemCardTypeWithCardTypeString("Null"), UFemNullCardType);
    EXPECT_EQ(UFemCardTypeWithCardTypeString("SpecialCardType"), UFemSpecialCardType);
    EXPECT_EQ(UFemCardTypeWithCardTypeString("Error"), UFemErrorCardType);

    EXPECT_EQ(UFemCardTypeDisplayString(UFemElementPropCardType), "Element Property Card Type");
    EXPECT_EQ(UFemCardTypeDisplayString(UFemErrorCardType), "Error Card Type");
    for (qint32 unnamed : { 0, 1, 2, 12, 14, 99 })
        EXPECT_EQ(UFemCardTypeDisplayString(unnamed), "**UnexpectedCardType**") << unnamed;

    EXPECT_FALSE(UFemIsNormalCardType(1));
    EXPECT_TRUE(UFemIsNormalCardType(2));
    EXPECT_TRUE(UFemIsNormalCardType(11));
    EXPECT_FALSE(UFemIsNormalCardType(12));

    EXPECT_TRUE(UFemCardTypeIsAllowedHaveSomeCard(UFemRestraintCardType));
    EXPECT_FALSE(UFemCardTypeIsAllowedHaveSomeCard(UFemValueCardType));
    expectProgramError([] { UFemCardTypeIsAllowedHaveSomeCard(UFemGenericNormalCardType); },
        "Unexpected CARD_TYPE came");
    UFemCardClassDescription description;
    description.cardLabelString = QStringLiteral("Generic");
    description.cardType = UFemGenericNormalCardType;
    const UFemCardClass generic(description);
    expectCardClassProgramError(
        [&] { generic.isAllowedHaveSomeCard(); }, "Unexpected CardType came. (See this method)");
    EXPECT_EQ(generic.columnLabelStringAtIndex(3), "Column 3");
}

TEST(CardBase, RowCacheFindsCardsMovedByOneRowWithinThreeFetches)
{
    FakeDataController model;
    std::vector<std::shared_ptr<UFemCard>> cards = addNodes(model, 10);
    for (quint64 row = 0; row < cards.size(); ++row)
        EXPECT_EQ(cards[row]->cardRowIndex(), row);

    // A card inserted before row 5 leaves the cache of the old row 5 stale by one.
    model.insertCard(std::make_shared<NullCard>(&model), 3);
    model.resetCardFetchCount();
    EXPECT_EQ(cards[5]->cardRowIndex(), 6u);
    EXPECT_LE(model.cardFetchCount(), 3u);

    // The last card, cached one past the new end after a removal.
    EXPECT_EQ(cards[9]->cardRowIndex(), 10u);
    model.removeCardAtRowIndex(0);
    model.resetCardFetchCount();
    EXPECT_EQ(cards[9]->cardRowIndex(), 9u);
    EXPECT_LE(model.cardFetchCount(), 3u);

    auto outside = model.makeCard(node(), nodeLine(99), nullptr);
    EXPECT_EQ(outside->cardRowIndex(), UFemNotFound);
}

TEST(CardBase, RowCacheVisitsRowsInOrderInConstantTimeAfterAFarMove)
{
    FakeDataController model;
    constexpr int count = 200;
    std::vector<std::shared_ptr<UFemCard>> cards = addNodes(model, count);
    for (const auto& card : cards)
        card->cardRowIndex();
    for (int i = 0; i < 5; ++i)
        model.insertCard(std::make_shared<NullCard>(&model), 0);

    model.resetCardFetchCount();
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(cards[i]->cardRowIndex(), quint64(i + 5));
    // One full search for the first card; its neighbour refresh makes every later cache exact.
    EXPECT_LE(model.cardFetchCount(), quint64(count + 5 + 3 * count));
}

TEST(CardBaseThreads, RowIndexAskedFromSeveralThreadsAtOnce)
{
    FakeDataController model;
    constexpr int count = 300;
    std::vector<std::shared_ptr<UFemCard>> cards = addNodes(model, count);
    model.insertCard(std::make_shared<NullCard>(&model), 0);
    std::vector<std::thread> workers;
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < count; ++i) {
                const int k = (t % 2 == 0) ? i : count - 1 - i;
                if (cards[k]->cardRowIndex() != quint64(k + 1))
                    ++wrong[t];
            }
        });
    }
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST(CardBase, ReadingColumnsReportsTooManyColumnsAndAnEmptyName)
{
    FakeDataController model;
    UErrorPtr error;
    EXPECT_FALSE(model.addCard(fakeCardClass("Rod"), "Rod , R1 , P1 , N1 , N2 , X", &error));
    expectError(error, 12008, "Too much columns for this card class.");
    EXPECT_EQ(error->localizedOneLineDescription(),
        "Too much columns for card class 'Rod'. It should be 5 columns, but 6 columns exist.");

    for (const char* line : { "Rod", "Rod , , P1" }) {
        error.reset();
        EXPECT_FALSE(model.addCard(fakeCardClass("Rod"), line, &error)) << line;
        expectError(error, 12010, "Card Name ( 2nd column ) is empty.");
    }
    // Nothing of the refused cards stays registered.
    EXPECT_TRUE(model.cardNameTable().allCardNameStringArray().isEmpty());
}

TEST(CardBase, AShorterLineEmptiesTheMissingColumnsAndTheirNames)
{
    FakeDataController model;
    auto rod = model.addCard(fakeCardClass("Rod"), "Rod , R1 , P1 , N1 , N2 \\ first");
    ASSERT_TRUE(rod);
    EXPECT_EQ(rod->commentString(), "first");
    EXPECT_EQ(dynamic_cast<FakeCard&>(*rod).checkErrorToRegisterCount(), 1);

    UFemCardTextColumns shorter;
    ASSERT_TRUE(shorter.setCardString("Rod , R1 , P2", nullptr));
    ASSERT_TRUE(rod->setCardColumnsWithCardTextColumns(shorter, nullptr));
    EXPECT_EQ(rod->columnStringAtIndex(2), "P2");
    EXPECT_EQ(rod->columnStringAtIndex(3), std::nullopt);
    EXPECT_EQ(rod->columnStringAtIndex(4), std::nullopt);
    EXPECT_EQ(rod->commentString(), std::nullopt);
    QStringList names = model.cardNameTable().allCardNameStringArray();
    names.sort();
    EXPECT_EQ(names, QStringList({ "P2", "R1" }));
    EXPECT_EQ(dynamic_cast<FakeCard&>(*rod).checkErrorToRegisterCount(), 2);
}

TEST(CardBase, TheRegistrationCheckDecidesAfterTheColumnsAreSet)
{
    FakeDataController model;
    auto rod = model.addCard(fakeCardClass("Rod"), "Rod , R1 , P1 , N1 , N2");
    const UErrorPtr refusal = UFemCardErrorToRegisterWithErrorDescriptionString("Same node twice.");
    dynamic_cast<FakeCard&>(*rod).setRegistrationError(refusal);
    UFemCardTextColumns text;
    ASSERT_TRUE(text.setCardString("Rod , R1 , P1 , N1 , N1", nullptr));
    UErrorPtr error;
    EXPECT_FALSE(rod->setCardColumnsWithCardTextColumns(text, &error));
    EXPECT_EQ(error, refusal);
    // The columns stay set; the caller resets or discards the card.
    EXPECT_EQ(rod->columnStringAtIndex(4), "N1");
    expectProgramError(
        [&] { rod->setCardColumnsWithCardTextColumns(text, nullptr); }, "Error Responder Error");
}

TEST(CardBase, TextColumnsWriteTheCardBackWithEmptyColumnsAndComment)
{
    FakeDataController model;
    auto card = model.addCard(node(), "Node,N1,,1.50,2,3\\ corner");
    ASSERT_TRUE(card);
    const auto text = card->cardTextColumns();
    EXPECT_EQ(text->numberOfColumns(), 6u);
    EXPECT_EQ(text->cardString(), "Node , N1 ,  , 1.50 , 2 , 3 ,    \\ corner");
    EXPECT_EQ(text->cardType(), UFemNodeCardType);

    auto equation = model.addCard(fakeCardClass("RestraintEquation"),
        "RestraintEquation , E1 , 1.5 , N1@TX , 2 , N2 @ RY , 3");
    ASSERT_TRUE(equation);
    auto& expandable = abst(equation);
    EXPECT_EQ(expandable.numberOfCurrentColumns(), 7u);
    EXPECT_EQ(equation->cardTextColumns()->cardString(),
        "RestraintEquation , E1 , 1.5 , N1@TX , 2 , N2@ RY , 3 ,");
    UFemCardTextColumns shorter;
    ASSERT_TRUE(shorter.setCardString("RestraintEquation , E1 , 1.5 , N1@TX", nullptr));
    ASSERT_TRUE(equation->setCardColumnsWithCardTextColumns(shorter, nullptr));
    EXPECT_EQ(expandable.numberOfCurrentColumns(), 4u);
    EXPECT_FALSE(model.cardNameTable().containsCardNameWithCardNameString("N2", nullptr));
    EXPECT_EQ(equation->cardTextColumns()->cardString(), "RestraintEquation , E1 , 1.5 , N1@TX ,");
}

TEST(CardBase, ToolTipCountsRowsFromOneAndTheDescriptionFromZero)
{
    FakeDataController model;
    auto cards = addNodes(model, 2);
    EXPECT_EQ(cards[0]->toolTipString(), "<Node> N0 <1>");
    EXPECT_EQ(abst(cards[0]).cardInfoString(), "( class:Node, row:0, name:N0 )");
    EXPECT_EQ(abst(cards[1]).cardInfoString(), "( class:Node, row:1, name:N1 )");
}

TEST(CardBase, ClipboardCardValueIsTheOneValueEveryCardAnswers)
{
    const quint32 clipboard = UFemCardAbst::clipboardCardValueType();
    EXPECT_EQ(clipboard, 0x000D0100u);
    const _UFemCardValueType type { clipboard, 0 };

    FakeDataController model;
    auto cards = addNodes(model, 3);
    EXPECT_FALSE(cards[0]->respondsToCardValueType(type)); // no clipboard values attached

    auto manager = std::make_unique<FakeClipboardCardValueManager>();
    manager->values.insert("N0", 2.5);
    const UErrorPtr readingError = UFemCardStringContainsSomeLinesError();
    manager->unreadableNames.insert("N1", readingError);
    model.setClipboardCardValueManager(std::move(manager));

    _UFemCardValueArraySize size { 7, 9, 9, 9 };
    EXPECT_TRUE(cards[0]->respondsToCardValueType(type));
    EXPECT_TRUE(cards[0]->getCardValueArraySize(&size, type));
    EXPECT_EQ(size.leadingCount, 7);
    EXPECT_EQ(size.numberOfPoints, 1);
    EXPECT_EQ(size.numberOfSectionPoints, 1);
    EXPECT_EQ(size.numberOfVectorValues, 1);
    double value = 0.0;
    EXPECT_TRUE(cards[0]->getCardValue(&value, type, nullptr, nullptr));
    EXPECT_EQ(value, 2.5);
    EXPECT_FALSE(cards[0]->respondsToCardValueType({ clipboard, 1 }));

    size = { 7, 9, 9, 9 };
    EXPECT_FALSE(cards[1]->respondsToCardValueType(type));
    EXPECT_FALSE(cards[1]->getCardValueArraySize(&size, type));
    EXPECT_EQ(size.numberOfPoints + size.numberOfSectionPoints + size.numberOfVectorValues
            + size.leadingCount,
        0);
    UErrorPtr error;
    EXPECT_FALSE(cards[1]->getCardValue(&value, type, nullptr, &error));
    EXPECT_EQ(error, readingError);

    size = { 7, 9, 9, 9 };
    EXPECT_FALSE(cards[2]->getCardValueArraySize(&size, type)); // no value: size untouched
    EXPECT_EQ(size.numberOfPoints, 9);
    expectCardClassProgramError([&] { cards[2]->getCardValue(&value, type, nullptr, nullptr); },
        "This method must be overwrite.");
    EXPECT_FALSE(cards[0]->getCardValueArraySize(&size, { 0x10000u, 0 }));
    EXPECT_EQ(size.numberOfPoints, 0);
}

TEST(CardBase, OperationsLeftToTheClassesRaise)
{
    FakeDataController model;
    auto card = model.addCard(node(), nodeLine(1));
    expectCardClassProgramError(
        [&] {
            card->drawOpenGLToDrawingBuffer(
                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        },
        "This method must be overwrite.");
    expectProgramError([&] { card->nodeCardNameForDrawingWithNodeNo(0); },
        "aNodeNo: 0 ~ ([self numberOfNodeForDrawing]-1)");
    expectCardClassProgramError([&] { abst(card).numberOfCurrentColumns(); },
        "This method must implement in ColumnExpandableCard.");
    expectProgramError([&] { card->cardColumnAtIndex(6); }, "Out of range.");
    double centre[3] = { 1, 2, 3 };
    EXPECT_FALSE(card->getCenterPosition(centre, nullptr));
    EXPECT_EQ(centre[0], 1);
}
