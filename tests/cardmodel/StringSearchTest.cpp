#include "CardModelExpectations.h"
#include "FakeCardClasses.h"
#include "FakeDataController.h"

#include "cardmodel/card/NullCard.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/text/UFemStringSearchManager.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

constexpr quint64 NF = UFemRangeNotFound;

struct Options {
    qint64 function = UFemStringSearchFunctionContains;
    qint64 target = UFemStringSearchTargetCardString;
    bool back = false;
    bool ignoreSpace = false;
    bool ignoreCase = false;
    bool wrap = false;
};

std::shared_ptr<UFemStringSearchManager> manager(const QString& text, Options o = {})
{
    UErrorPtr error;
    auto made = UFemStringSearchManager::stringSearchManagerWithSearchString(
        text, o.function, o.target, o.back, o.ignoreSpace, o.ignoreCase, o.wrap, &error);
    EXPECT_TRUE(made) << (error ? error->localizedDescription().toStdString() : "");
    return made;
}

// Six cards: two nodes, a null card, a material, a node named APPLE with a long comment, and N10.
class StringSearchFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        add("Node", "Node , N1 ,  , 1 , 2 , 3 ,");
        add("Node", "Node , N2 ,  , 4 , 5 , 6 ,    \\ apple   pie");
        nullCard = std::make_shared<NullCard>(&model);
        cards.push_back(nullCard.get());
        add("Material", "Material , STEEL , 210000 , 0.3 ,");
        add("Node", "Node , APPLE ,  , 7 , 8 , 9 ,    \\ applepie and a far away marker");
        add("Node", "Node , N10 ,  , 1 , 1 , 1 ,");
    }

    void add(const char* label, const char* line)
    {
        UErrorPtr error;
        std::shared_ptr<UFemCard> card
            = model.makeCard(fakeCardClass(label), QString::fromUtf8(line), &error);
        ASSERT_TRUE(card) << line;
        ASSERT_EQ(UFemCardString(*card), QString::fromUtf8(line));
        owned.push_back(card);
        cards.push_back(card.get());
    }

    _UFemSearchCardStringRange next(
        const UFemStringSearchManager& search, _UFemSearchCardStringRange selection)
    {
        UErrorPtr error;
        const _UFemSearchCardStringRange found
            = search.searchStringWithCardArray_currentSelectedCardStringRange(
                cards, selection, &error);
        EXPECT_FALSE(error) << error->localizedDescription().toStdString();
        return found;
    }

    FakeDataController model;
    std::vector<std::shared_ptr<UFemCard>> owned;
    std::shared_ptr<NullCard> nullCard;
    std::vector<UFemCard*> cards;
    const _UFemSearchCardStringRange none {};
};

} // namespace

TEST_F(StringSearchFixture, FindNextAdvancesThroughTheCardsAndWrapsAround)
{
    const auto search = manager("N1");
    EXPECT_EQ(next(*search, none), (_UFemSearchCardStringRange { 0, 7, 0, 9 }));
    EXPECT_EQ(next(*search, { 0, 7, 0, 9 }), (_UFemSearchCardStringRange { 5, 7, 5, 9 }));
    EXPECT_EQ(next(*search, { 5, 7, 5, 9 }), none);

    // "N2" occurs only before the selection: found with wrap-around only.
    EXPECT_EQ(next(*manager("N2"), { 3, 0, 3, 4 }), none);
    EXPECT_EQ(next(*manager("N2", { .wrap = true }), { 3, 0, 3, 4 }),
        (_UFemSearchCardStringRange { 1, 7, 1, 9 }));
    EXPECT_EQ(next(*manager("N1", { .wrap = true }), { 5, 7, 5, 9 }),
        (_UFemSearchCardStringRange { 0, 7, 0, 9 }));
    // A whole-card selection searches on from the start of its first card.
    EXPECT_EQ(next(*search, { 5, NF, 5, NF }), (_UFemSearchCardStringRange { 5, 7, 5, 9 }));
}

TEST_F(StringSearchFixture, FindPreviousAndBackwardWrapAround)
{
    const auto back = manager("N1", { .back = true });
    EXPECT_EQ(next(*back, none), (_UFemSearchCardStringRange { 5, 7, 5, 9 }));
    EXPECT_EQ(next(*back, { 5, 7, 5, 9 }), (_UFemSearchCardStringRange { 0, 7, 0, 9 }));
    EXPECT_EQ(next(*back, { 0, 7, 0, 9 }), none);
    EXPECT_EQ(next(*manager("N1", { .back = true, .wrap = true }), { 0, 7, 0, 9 }),
        (_UFemSearchCardStringRange { 5, 7, 5, 9 }));
    // Backwards within one card: the last match before the selection.
    EXPECT_EQ(next(*manager(" , ", { .back = true }), { 0, 13, 0, 14 }),
        (_UFemSearchCardStringRange { 0, 9, 0, 12 }));

    // From card 5 back to card 0, whose match lies beyond the length of card 5's line.
    const QString line0 = UFemCardString(*cards[4]);
    ASSERT_GT(line0.indexOf("marker"), UFemCardString(*cards[5]).size());
    EXPECT_EQ(next(*manager("marker", { .back = true }), { 5, 2, 5, 4 }),
        (_UFemSearchCardStringRange {
            4, quint64(line0.indexOf("marker")), 4, quint64(line0.indexOf("marker")) + 6 }));
}

TEST_F(StringSearchFixture, TargetsCommentsNameColumnsAndEachColumn)
{
    // The comment is searched only in the whole card string.
    EXPECT_EQ(next(*manager("apple"), none), (_UFemSearchCardStringRange { 1, 32, 1, 37 }));
    EXPECT_EQ(
        next(*manager("apple", { .target = UFemStringSearchTargetCardStringWithoutComment }), none),
        none);
    EXPECT_EQ(
        next(*manager("APPLE", { .target = UFemStringSearchTargetCardStringWithoutComment }), none),
        (_UFemSearchCardStringRange { 4, 7, 4, 12 }));

    // Name column: the null card and the values are skipped; locations are in the line.
    const auto name = manager("1", { .target = UFemStringSearchTargetCardNameColumn });
    EXPECT_EQ(next(*name, none), (_UFemSearchCardStringRange { 0, 8, 0, 9 }));
    EXPECT_EQ(next(*name, { 0, 8, 0, 9 }), (_UFemSearchCardStringRange { 5, 8, 5, 9 }));

    // Each column: equals finds the column that is exactly "1", not "N1"; ends with finds N10.
    const auto equals = manager("1",
        { .function = UFemStringSearchFunctionEquals, .target = UFemStringSearchTargetEachColumn });
    EXPECT_EQ(next(*equals, none), (_UFemSearchCardStringRange { 0, 15, 0, 16 }));
    EXPECT_EQ(next(*equals, { 0, 15, 0, 16 }), (_UFemSearchCardStringRange { 5, 16, 5, 17 }));
    EXPECT_EQ(next(*manager("10",
                       { .function = UFemStringSearchFunctionEndsWith,
                           .target = UFemStringSearchTargetEachColumn }),
                  none),
        (_UFemSearchCardStringRange { 5, 8, 5, 10 }));
    EXPECT_EQ(next(*manager("ST",
                       { .function = UFemStringSearchFunctionBeginsWith,
                           .target = UFemStringSearchTargetEachColumn }),
                  none),
        (_UFemSearchCardStringRange { 3, 11, 3, 13 }));
    // Backwards the columns of a card are tried from the last one.
    EXPECT_EQ(next(*manager("1",
                       { .function = UFemStringSearchFunctionEquals,
                           .target = UFemStringSearchTargetEachColumn,
                           .back = true }),
                  none),
        (_UFemSearchCardStringRange { 5, 24, 5, 25 }));
}

TEST_F(StringSearchFixture, IgnoreSpaceFindsWordsWrittenTogetherOrApart)
{
    const auto search = manager("apple pie", { .ignoreSpace = true });
    EXPECT_EQ(next(*search, none), (_UFemSearchCardStringRange { 1, 32, 1, 43 }));
    EXPECT_EQ(next(*search, { 1, 32, 1, 43 }), (_UFemSearchCardStringRange { 4, 35, 4, 43 }));
    EXPECT_EQ(next(*manager("apple pie"), none), none);
    EXPECT_EQ(next(*manager("applepie", { .back = true, .ignoreSpace = true }), none),
        (_UFemSearchCardStringRange { 4, 35, 4, 43 }));
    EXPECT_EQ(next(*manager("pie apple", { .back = true, .ignoreSpace = true }), none), none);
}

TEST(StringSearch, MatchingInOneText)
{
    const auto at
        = [](const QString& search, Options o, const QString& text, URange range = { NF, 0 }) {
              return manager(search, o)->searchStringWithTargetString(text, range, nullptr);
          };
    const Options ignoreSpace { .ignoreSpace = true };
    EXPECT_EQ(at("ab c", ignoreSpace, "x a b  c a bc"), 2u);
    EXPECT_EQ(at("ab c", { .back = true, .ignoreSpace = true }, "x a b  c a bc"), 9u);
    EXPECT_EQ(at("ab", ignoreSpace, " ab"), 1u);
    EXPECT_EQ(at("abc", {}, "xxabcxxabc"), 2u);
    EXPECT_EQ(at("abc", { .back = true }, "xxabcxxabc"), 7u);
    EXPECT_EQ(at("abc", {}, "xxabcxxabc", { 3, 7 }), 7u);
    EXPECT_EQ(at("abc", {}, "xxabcxxabc", { 3, 6 }), NF);
    EXPECT_EQ(at("abc", {}, "xxabcxxabc", { 3, 0 }), NF);
    EXPECT_EQ(at("abc", {}, ""), NF);

    const Options begins { .function = UFemStringSearchFunctionBeginsWith };
    EXPECT_EQ(at("Node", begins, "Node , N1"), 0u);
    EXPECT_EQ(at("Node", begins, " Node"), NF);
    EXPECT_EQ(at("No de", { .function = UFemStringSearchFunctionBeginsWith, .ignoreSpace = true },
                  "  N o de"),
        2u);
    const Options equals { .function = UFemStringSearchFunctionEquals };
    EXPECT_EQ(at("abc", equals, "abc   "), 0u);
    EXPECT_EQ(at("abc", equals, "abcd"), NF);
    EXPECT_EQ(at("a c", equals, "a  c"), NF);
    EXPECT_EQ(
        at("a c", { .function = UFemStringSearchFunctionEquals, .ignoreSpace = true }, "a  c "),
        0u);
    const Options ends { .function = UFemStringSearchFunctionEndsWith };
    EXPECT_EQ(at("pie", ends, "apple pie   "), 6u);
    EXPECT_EQ(at("e pie", ends, "apple  pie"), NF);
    EXPECT_EQ(at("e pie", { .function = UFemStringSearchFunctionEndsWith, .ignoreSpace = true },
                  "apple  pie "),
        4u);
    EXPECT_EQ(at("apple pie", ends, "pie"), NF);
}

TEST(StringSearch, IgnoreCaseFoldsBothSidesInEveryFunction)
{
    const auto at = [](const QString& search, Options o, const QString& text) {
        return manager(search, o)->searchStringWithTargetString(text, { NF, 0 }, nullptr);
    };
    EXPECT_EQ(at("apple", { .ignoreCase = true }, "An APPLE"), 3u);
    EXPECT_EQ(at("APPLE", { .ignoreCase = true }, "An apple"), 3u);
    EXPECT_EQ(at("apple", {}, "An APPLE"), NF);
    EXPECT_EQ(at("Ap Ple", { .ignoreSpace = true, .ignoreCase = true }, "an APPLE"), 3u);
    EXPECT_EQ(
        at("ap", { .function = UFemStringSearchFunctionBeginsWith, .ignoreCase = true }, "APPLE"),
        0u);
    EXPECT_EQ(at("a[1]", { .ignoreSpace = true, .ignoreCase = true }, "x A[1]"), 2u);
    EXPECT_EQ(at("a{1}", { .ignoreSpace = true, .ignoreCase = true }, "x A[1]"), NF);

    // Letters beyond ASCII, upper in the search and lower in the text and the other way round.
    const QString upperE = QString::fromUtf8("\xC3\x89");
    const QString lowerE = QString::fromUtf8("\xC3\xA9");
    const QString upperApfel = QString::fromUtf8("\xC3\x84PFEL");
    const QString lowerApfel = QString::fromUtf8("\xC3\xA4pfel");
    const QList<Options> everyFunction = {
        { .ignoreSpace = true, .ignoreCase = true },
        { .ignoreCase = true },
        { .function = UFemStringSearchFunctionBeginsWith, .ignoreCase = true },
        { .function = UFemStringSearchFunctionEquals, .ignoreCase = true },
        { .function = UFemStringSearchFunctionEndsWith, .ignoreCase = true },
        { .function = UFemStringSearchFunctionEquals, .ignoreSpace = true, .ignoreCase = true },
    };
    for (const Options& options : everyFunction) {
        EXPECT_EQ(at(upperE, options, upperE), 0u);
        EXPECT_EQ(at(upperE, options, lowerE), 0u);
        EXPECT_EQ(at(lowerE, options, upperE), 0u);
        EXPECT_EQ(at(lowerApfel, options, upperApfel), 0u);
        EXPECT_EQ(at(upperApfel, options, lowerApfel), 0u);
        Options caseCounts = options;
        caseCounts.ignoreCase = false;
        EXPECT_EQ(at(upperE, caseCounts, lowerE), NF);
    }
}

TEST_F(StringSearchFixture, RequestAndRangeErrors)
{
    const auto refused = [](const QString& text, Options o) {
        UErrorPtr error;
        EXPECT_FALSE(UFemStringSearchManager::stringSearchManagerWithSearchString(
            text, o.function, o.target, o.back, o.ignoreSpace, o.ignoreCase, o.wrap, &error));
        return error;
    };
    EXPECT_EQ(refused("", {})->code(), 61001);
    // A search string of blanks only is empty once blanks are ignored.
    EXPECT_EQ(refused("   ", { .ignoreSpace = true })->code(), 61001);
    EXPECT_EQ(manager("  ")->searchStringWithTargetString("a  b", { NF, 0 }, nullptr), 1u);
    expectError(refused("a", { .function = 5 }), 81004,
        "Unexpected error occurred. Unknown search function.");
    expectError(refused("a", { .function = 0 }), 81004,
        "Unexpected error occurred. Unknown search function.");
    expectError(
        refused("a", { .target = 5 }), 81004, "Unexpected error occurred. Unknown search target.");

    const auto search = manager("N1");
    const auto rangeError = [&](_UFemSearchCardStringRange range) {
        UErrorPtr error;
        EXPECT_EQ(
            search->searchStringWithCardArray_searchCardStringRange(cards, range, &error), none);
        return error;
    };
    const QString prefix = QStringLiteral("Unexpected error occurred. ");
    expectError(rangeError({ NF, 3, NF, NF }), 81004,
        prefix + "Valid startStringLocation with invalid startCardIndex.");
    expectError(rangeError({ NF, NF, NF, 3 }), 81004,
        prefix + "Valid endStringLocation with invalid endCardIndex.");
    expectError(rangeError({ 3, NF, 2, NF }), 81004,
        prefix + "startCardIndex is bigger than endCardIndex.");
    expectError(rangeError({ 2, 5, 2, 4 }), 81004,
        prefix + "startStringLocation is bigger than endStringLocation at same cardIndex.");
    UErrorPtr error;
    EXPECT_EQ(search->searchStringWithCardArray_currentSelectedCardStringRange(
                  cards, { NF, 1, NF, NF }, &error),
        none);
    expectError(
        error, 81004, prefix + "CurrentSelectedCardStringRange error on searching string. (1)");
    EXPECT_EQ(search->searchStringWithCardArray_currentSelectedCardStringRange(
                  cards, { 1, 1, NF, NF }, &error),
        none);
    expectError(
        error, 81004, prefix + "CurrentSelectedCardStringRange error on searching string. (2)");

    // A match in the last card must end inside the range.
    EXPECT_EQ(
        search->searchStringWithCardArray_searchCardStringRange(cards, { NF, NF, 0, 8 }, &error),
        none);
    EXPECT_EQ(
        search->searchStringWithCardArray_searchCardStringRange(cards, { NF, NF, 0, 9 }, &error),
        (_UFemSearchCardStringRange { 0, 7, 0, 9 }));
    EXPECT_EQ(search->searchStringWithCardArray_searchCardStringRange({}, {}, &error), none);
}
