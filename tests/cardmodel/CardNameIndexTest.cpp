#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardNameIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

std::shared_ptr<UFemCardName> detachedName(const QString& text)
{
    auto cardName = std::make_shared<UFemCardName>(nullptr);
    cardName->_setCardNameString(text);
    return cardName;
}

const UFemCardName* found(const UFemCardNameIndex& index, const QString& text)
{
    const std::shared_ptr<UFemCardName>* held
        = index.find(text, UFemCardNameIndex::hashOfText(text));
    return held != nullptr ? held->get() : nullptr;
}

} // namespace

// A small table grows through many rehashes, and erasures in random order leave every other
// name reachable past the holes they open in the probe runs.
TEST(CardNameIndex, GrowsAndErasesWithoutLosingNames)
{
    UFemCardNameIndex index;
    index.resetWithCapacity(0);
    std::vector<std::shared_ptr<UFemCardName>> names;
    for (int i = 0; i < 5000; ++i) {
        names.push_back(detachedName(QStringLiteral("N%1").arg(i)));
        ASSERT_TRUE(index.insert(names.back()));
    }
    EXPECT_FALSE(index.insert(detachedName(QStringLiteral("N17"))));
    EXPECT_EQ(index.size(), 5000u);

    std::vector<std::shared_ptr<UFemCardName>> order = names;
    std::shuffle(order.begin(), order.end(), std::mt19937(11));
    order.resize(2500);
    for (const auto& cardName : order)
        index.erase(cardName.get());
    EXPECT_EQ(index.size(), 2500u);
    for (const auto& cardName : names) {
        const bool erased = std::find(order.begin(), order.end(), cardName) != order.end();
        EXPECT_EQ(found(index, cardName->cardNameString()), erased ? nullptr : cardName.get());
    }

    // Another name of the same text is not the held one, and stays out.
    const auto held = std::find_if(names.begin(), names.end(),
        [&](const auto& cardName) { return found(index, cardName->cardNameString()) != nullptr; });
    ASSERT_NE(held, names.end());
    const auto twin = detachedName((*held)->cardNameString());
    index.erase(twin.get());
    EXPECT_EQ(found(index, twin->cardNameString()), held->get());

    std::size_t visited = 0;
    index.forEach([&visited](const std::shared_ptr<UFemCardName>&) { ++visited; });
    EXPECT_EQ(visited, 2500u);
    index.resetWithCapacity(10);
    EXPECT_EQ(index.size(), 0u);
    EXPECT_EQ(found(index, (*held)->cardNameString()), nullptr);
}

// The index holds its names: a name whose columns let go of it lives while the index holds it,
// and goes when it is erased.
TEST(CardNameIndex, HoldsItsNames)
{
    UFemCardNameIndex index;
    std::weak_ptr<UFemCardName> watched;
    {
        auto cardName = detachedName(QStringLiteral("Lonely"));
        watched = cardName;
        ASSERT_TRUE(index.insert(cardName));
    }
    ASSERT_FALSE(watched.expired());
    index.erase(watched.lock().get());
    EXPECT_TRUE(watched.expired());
}
