#include "CardModelExpectations.h"
#include "FakeDataController.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/NullCard.h"
#include "cardmodel/card/UFemCardAbst.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UFemErrorsEditCard.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

const QString nullReason = QStringLiteral("This is 'Null' card, so don't call this method.");
const QString errorReason = QStringLiteral("This is 'Error' card, so don't call this method.");

UFemCardTextColumns textColumnsOf(const QString& line)
{
    UFemCardTextColumns text;
    EXPECT_TRUE(text.setCardString(line, nullptr));
    return text;
}

} // namespace

TEST(SpecialCards, NullCardKeepsOnlyItsCommentAndWritesItBack)
{
    FakeDataController model;
    NullCard card(&model);
    EXPECT_TRUE(card.isNullCard());
    EXPECT_FALSE(card.isNormalCard());
    EXPECT_TRUE(card.isAllowedHaveSomeCard());
    EXPECT_EQ(card.numberOfColumns(), 0u);
    EXPECT_EQ(card.cardClass().cardMenuOrderHintNo(), 100u);
    EXPECT_TRUE(card.cardFormViewControllerClass().isEmpty());

    EXPECT_TRUE(card.setCardColumnsWithCardTextColumns(textColumnsOf("  \\ just a note"), nullptr));
    EXPECT_EQ(card.commentString(), "just a note");
    const auto text = card.cardTextColumns();
    EXPECT_TRUE(text->isNullCard());
    EXPECT_EQ(text->cardString(), "\\ just a note");

    EXPECT_TRUE(card.setCardColumnsWithCardTextColumns(textColumnsOf(" , , "), nullptr));
    EXPECT_EQ(card.commentString(), std::nullopt);
    EXPECT_EQ(card.cardTextColumns()->cardString(), "");

    EXPECT_TRUE(card.setCommentString(QStringLiteral("again"), nullptr));
    card.resetAllCardColumns();
    EXPECT_EQ(card.commentString(), std::nullopt);
}

TEST(SpecialCards, NullCardRefusesNamesAndColumns)
{
    FakeDataController model;
    NullCard card(&model);
    expectProgramError([&] { card.cardName(); }, nullReason);
    expectProgramError([&] { card.cardNameString(); }, nullReason);
    expectProgramError([&] { card.cardColumnAtIndex(1); }, nullReason);
    expectProgramError([&] { card.columnStringAtIndex(0); }, nullReason);
    expectProgramError([&] { card.cardLabelString(); }, nullReason);
    expectProgramError([&] { card.setColumnString(QStringLiteral("x"), 1, nullptr); }, nullReason);
    expectProgramError([&] { card.resetCardColumnAtIndex(1); }, nullReason);
    quint64 next = 5;
    EXPECT_EQ(card.getCardColumnsToCardColumnTable(nullptr, 16, &next), 0u);
    EXPECT_EQ(next, 0u);
    EXPECT_FALSE(card.isRelatedToCaseWithCaseCard(card));
    EXPECT_EQ(card.checkErrorToRegister(), nullptr);
    EXPECT_EQ(card.nodeCardNameForDrawingWithNodeNo(3), nullptr);
    EXPECT_TRUE(card.drawOpenGLToDrawingBuffer(
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
}

TEST(SpecialCards, ErrorCardKeepsTheLineAsReadWithItsError)
{
    FakeDataController model;
    UFemCardTextColumns text = textColumnsOf("Nodx , N1 , 1 \\ typo");
    const UErrorPtr readingError = UFemUnknownCardClassError_withCardClassNameString("Nodx");
    text.setErrorObject(readingError);

    ErrorCard card(&model);
    EXPECT_TRUE(card.isErrorCard());
    expectProgramError(
        [&] { card.numberOfColumns(); }, "This ErrorCard doesn't have columns, but string.");
    EXPECT_TRUE(card.setCardColumnsWithCardTextColumns(text, nullptr));
    EXPECT_EQ(card.numberOfColumns(), 3u);
    EXPECT_EQ(card.columnStringAtIndex(0), "Nodx");
    EXPECT_EQ(card.columnStringAtIndex(2), "1");
    EXPECT_EQ(card.cardErrorDescriptionString(), readingError->localizedCardErrorDescription());
    EXPECT_EQ(card.errorCardString_NoCardErrorDescription(), "Nodx , N1 , 1 ,    \\ typo");
    EXPECT_EQ(card.cardTextColumns()->cardStringWithDoesOmitComment(false, true),
        "Nodx , N1 , 1 ,    \\ typo");
    EXPECT_EQ(card.cardTextColumns()->cardErrorObject(), readingError);

    // The kept line does not change when the text columns it came from do.
    text.reset();
    EXPECT_EQ(card.columnStringAtIndex(1), "N1");

    expectProgramError([&] { card.cardNameString(); }, errorReason);
    expectProgramError([&] { card.cardColumnAtIndex(1); }, errorReason);
    expectProgramError([&] { card.cardClass().numberOfColumns(); }, errorReason);
    expectProgramError([&] { card.cardLabelString(); }, errorReason);

    EXPECT_TRUE(card.setCommentString(QStringLiteral("kept"), nullptr));
    card.resetAllCardColumns();
    EXPECT_EQ(card.commentString(), "kept");
    expectProgramError(
        [&] { card.numberOfColumns(); }, "This ErrorCard doesn't have columns, but string.");
}

TEST(SpecialCards, ErrorCardOfALineKeptWholeWritesItBackVerbatim)
{
    FakeDataController model;
    const QString line = QStringLiteral("Node , a\tb , 1");
    UFemCardTextColumns text = textColumnsOf(line);
    ASSERT_TRUE(text.isErrorCard());
    ErrorCard card(&model);
    EXPECT_TRUE(card.setCardColumnsWithCardTextColumns(text, nullptr));
    // A line that never split into columns has none to give (a filter asks every card).
    EXPECT_EQ(card.numberOfColumns(), 0u);
    EXPECT_EQ(card.columnStringAtIndex(1), std::nullopt);
    EXPECT_EQ(card.cardTextColumns()->cardString(), line);
    EXPECT_EQ(card.errorCardString_NoCardErrorDescription(), line);
    EXPECT_EQ(card.cardErrorDescriptionString(), text.cardErrorDescriptionString());
}

TEST(SpecialCards, SpecialCardsAskNoClipboardValueByName)
{
    FakeDataController model;
    auto manager = std::make_unique<FakeClipboardCardValueManager>();
    manager->values.insert("", 1.0);
    model.setClipboardCardValueManager(std::move(manager));
    NullCard null(&model);
    ErrorCard error(&model);
    const _UFemCardValueType clipboard { UFemCardAbst::clipboardCardValueType(), 0 };
    EXPECT_FALSE(null.respondsToCardValueType(clipboard));
    EXPECT_FALSE(error.respondsToCardValueType(clipboard));
    _UFemCardValueArraySize size { 1, 2, 3, 4 };
    EXPECT_FALSE(null.getCardValueArraySize(&size, clipboard));
    EXPECT_EQ(size.numberOfPoints, 2);
}
