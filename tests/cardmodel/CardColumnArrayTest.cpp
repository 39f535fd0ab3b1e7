#include "CardModelExpectations.h"
#include "FakeCardClasses.h"
#include "FakeDataController.h"

#include "cardmodel/card/UFemCardColumnArray.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/card/UFemCardType.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

std::shared_ptr<UFemCardName> nameIn(FakeDataController& model, const QString& text)
{
    return model.cardNameTable().searchCardNameWithCardNameString(text, nullptr);
}

} // namespace

// Columns built in place hand themselves out in the batches of the card contract, and register
// and release their names like columns built one by one.
TEST(CardColumnArray, BatchesNamesAndBounds)
{
    FakeDataController model;
    auto owner = model.addCard(fakeCardClass("Node"), "Node , Owner , , 0 , 0 , 0");
    constexpr std::size_t count = 10;
    UFemCardColumnArray columns(count);
    columns.emplaceBack(owner.get(), 1, CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType);
    for (std::size_t i = 1; i < count; ++i)
        columns.emplaceBack(owner.get(), i + 1, CARD_COLUMN_TYPE_FLOAT_VALUE);
    expectProgramError([&] { columns.emplaceBack(owner.get(), 11, CARD_COLUMN_TYPE_FLOAT_VALUE); },
        QStringLiteral("The column array is full."));
    expectProgramError([&] { columns.at(count); }, QStringLiteral("Out of range."));

    ASSERT_TRUE(columns.at(0)->setColumnWithColumnString(QStringLiteral("P1"), nullptr));
    ASSERT_TRUE(columns.at(9)->setColumnWithColumnString(QStringLiteral("2.5"), nullptr));
    EXPECT_EQ(columns.at(9)->doubleValue(), 2.5);
    EXPECT_EQ(columns.at(9)->columnIndex(), 10u);
    ASSERT_TRUE(nameIn(model, "P1"));

    std::array<UFemCardColumn*, 4> batch {};
    quint64 next = 0;
    std::vector<UFemCardColumn*> seen;
    do {
        const quint64 got
            = columns.getCardColumnsToCardColumnTable(batch.data(), batch.size(), &next);
        seen.insert(seen.end(), batch.begin(), batch.begin() + got);
    } while (next != 0);
    ASSERT_EQ(seen.size(), count + 1);
    EXPECT_EQ(seen[0], nullptr);
    for (std::size_t i = 1; i <= count; ++i)
        EXPECT_EQ(seen[i], columns.at(i - 1));

    columns.clear();
    EXPECT_TRUE(columns.isEmpty());
    EXPECT_FALSE(nameIn(model, "P1"));
}

// A name referred to by more columns than a scan serves keeps every referring card, in row
// order, while referrers come and go.
TEST(CardColumnArray, ManyReferencesToOneName)
{
    FakeDataController model;
    ASSERT_TRUE(model.addCard(fakeCardClass("RodProp"), "RodProp , RP , , 1"));
    ASSERT_TRUE(model.addCard(fakeCardClass("Node"), "Node , A , , 0 , 0 , 0"));
    constexpr int rods = 80;
    for (int i = 0; i < rods; ++i)
        ASSERT_TRUE(
            model.addCard(fakeCardClass("Rod"), QStringLiteral("Rod , R%1 , RP , A , A").arg(i)));
    const auto property = nameIn(model, "RP");
    ASSERT_TRUE(property);
    EXPECT_EQ(property->nameRefCardArray().size(), std::size_t(rods));
    // Every other rod goes, from the end.
    for (int i = rods - 1; i >= 0; i -= 2)
        model.removeCardAtRowIndex(quint64(2 + i));
    const std::vector<UFemCard*> left = property->nameRefCardArray();
    ASSERT_EQ(left.size(), std::size_t(rods / 2));
    for (std::size_t k = 0; k < left.size(); ++k)
        EXPECT_EQ(left[k]->cardNameString(), QStringLiteral("R%1").arg(2 * k));
    // The node is referred to twice by each remaining rod, as one card each.
    EXPECT_EQ(nameIn(model, "A")->nameRefCardArray().size(), std::size_t(rods / 2));
    for (int i = rods / 2 - 1; i >= 0; --i)
        model.removeCardAtRowIndex(quint64(2 + i));
    EXPECT_EQ(property->nameRefCardColumnSet(), nullptr);
    EXPECT_FALSE(property->hasNameRef());
}
