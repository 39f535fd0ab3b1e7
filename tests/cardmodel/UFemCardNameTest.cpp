#include "CardModelExpectations.h"
#include "FakeCardClasses.h"
#include "FakeDataController.h"

#include "cardmodel/card/NullCard.h"
#include "cardmodel/card/UFemCardColumn.h"
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

QStringList sortedNames(FakeDataController& model)
{
    QStringList names = model.cardNameTable().allCardNameStringArray();
    names.sort();
    return names;
}

} // namespace

TEST(CardName, TypeConflictsNameBothCardTypes)
{
    FakeDataController model;
    ASSERT_TRUE(model.addCard(fakeCardClass("Node"), "Node , P , , 0 , 0 , 0"));
    UErrorPtr error;
    EXPECT_FALSE(model.addCard(fakeCardClass("Material"), "Material , P , 1 , 2", &error));
    expectError(error, 12014, "Card Name 'P' is already used as card name of different card type.");
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        "The Card Name is used as card name of different card type: 'Node Card Type'. ( tried to "
        "use as: "
        "'Material Card Type' )");

    error.reset();
    EXPECT_FALSE(model.addCard(fakeCardClass("Node"), "Node , P , , 1 , 1 , 1", &error));
    expectError(error, 12013, "Card Name 'P' is already used.");
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        "The Card Name is used by other card as card type: 'Node Card Type'. ( same card type )");

    // A reference of the wrong type is refused the same way.
    error.reset();
    EXPECT_FALSE(model.addCard(fakeCardClass("Rod"), "Rod , R1 , P , P , N2", &error));
    EXPECT_EQ(error->code(), 12014);
    EXPECT_EQ(sortedNames(model), QStringList({ "P" }));
    EXPECT_EQ(nameIn(model, "P")->cardType(), UFemNodeCardType);
}

TEST(CardName, SeveralRestraintCardsShareANameInRowOrder)
{
    FakeDataController model;
    auto second = model.addCard(fakeCardClass("FixNode"), "FixNode , R , N2 , YES");
    auto third = model.addCard(fakeCardClass("FixNode"), "FixNode , R , N3 , YES");
    auto first = model.makeCard(fakeCardClass("FixNode"), "FixNode , R , N1 , YES", nullptr);
    ASSERT_TRUE(first && second && third);
    model.insertCard(first, 0);
    const std::shared_ptr<UFemCardName> r = nameIn(model, "R");
    ASSERT_TRUE(r->isAllowedHaveSomeCard());
    EXPECT_EQ(r->cardArray(), std::vector<UFemCard*>({ first.get(), second.get(), third.get() }));
    expectCardClassProgramError(
        [&] { r->card(); }, "This method 'CardName-card' is ONLY for 'NOT allowedHaveSomeCard'.");

    // A restraint set refers to it; the name stays until its last column goes.
    auto set = model.addCard(fakeCardClass("RestraintSet"), "RestraintSet , S , R");
    model.removeCardAtRowIndex(0);
    model.removeCardAtRowIndex(0);
    model.removeCardAtRowIndex(0);
    EXPECT_EQ(nameIn(model, "R"), r);
    EXPECT_FALSE(r->hasCard());
    EXPECT_TRUE(r->cardArray().empty());
    model.removeCardAtRowIndex(0);
    EXPECT_FALSE(nameIn(model, "R"));
}

TEST(CardName, RenamingReachesEveryColumnAndRefusesTakenOrUnchangedNames)
{
    FakeDataController model;
    auto p = model.addCard(fakeCardClass("Node"), "Node , P , , 0 , 0 , 0");
    auto q = model.addCard(fakeCardClass("Node"), "Node , Q , , 1 , 0 , 0");
    auto rod = model.addCard(fakeCardClass("Rod"), "Rod , R1 , RP , P , Q");
    auto disp = model.addCard(fakeCardClass("ForceDisp"), "ForceDisp , D1 , P@TX , 0.5");
    UFemCardNameTable& table = model.cardNameTable();

    UErrorPtr error;
    EXPECT_FALSE(table.changeCardNameFromCardNameString("P", "Q", &error));
    expectError(error, 12013, "Card Name 'Q' is already used.");
    error.reset();
    EXPECT_FALSE(table.changeCardNameFromCardNameString("P", " P ", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 12012);
    EXPECT_EQ(error->alertStyle(), UFemAlertStyleInformational);
    error.reset();
    EXPECT_FALSE(table.changeCardNameFromCardNameString("P", "R1", &error));
    EXPECT_EQ(error->code(), 12014);
    EXPECT_EQ(error->localizedRecoverySuggestion(),
        "The Card Name is used as card name of different card type: 'Element Card Type'. ( tried "
        "to use as: "
        "'Node Card Type' )");
    error.reset();
    EXPECT_FALSE(table.changeCardNameFromCardNameString("NOBODY", "Z", &error));
    expectError(error, 31013, "Card of Card Name 'NOBODY' does not exist.");
    error.reset();
    EXPECT_FALSE(table.changeCardNameFromCardNameString("P", " \t", &error));
    expectError(error, 12011, "Card Name is empty.");

    const std::shared_ptr<UFemCardName> name = nameIn(model, "P");
    ASSERT_TRUE(table.changeCardNameFromCardNameString("P", "\tP2 ", nullptr));
    EXPECT_EQ(nameIn(model, "P2"), name);
    EXPECT_FALSE(nameIn(model, "P"));
    EXPECT_EQ(p->cardNameString(), "P2");
    EXPECT_EQ(rod->columnStringAtIndex(3), "P2");
    EXPECT_EQ(disp->columnStringAtIndex(2), "P2@TX");
    EXPECT_EQ(sortedNames(model), QStringList({ "D1", "P2", "Q", "R1", "RP" }));
}

TEST(CardName, SearchTrimsBlanksAndRefusesEmptyOrIllegalNames)
{
    FakeDataController model;
    auto node = model.addCard(fakeCardClass("Node"), "Node , P , , 0 , 0 , 0");
    UFemCardNameTable& table = model.cardNameTable();
    const std::shared_ptr<UFemCardName> p
        = table.searchCardNameWithCardNameString(" \tP\t ", nullptr);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->card(), node.get());
    EXPECT_EQ(
        table.cardArrayWithCardNameString("P", nullptr), std::vector<UFemCard*>({ node.get() }));
    EXPECT_FALSE(table.containsCardNameWithCardNameString("p", nullptr));

    UErrorPtr error;
    EXPECT_FALSE(table.searchCardNameWithCardNameString("  ", &error));
    expectError(error, 31001, "Card Name is empty.");
    error.reset();
    EXPECT_FALSE(table.searchCardNameWithCardNameString("a,b", &error));
    EXPECT_TRUE(error);
    expectProgramError(
        [&] { static_cast<void>(table.searchCardNameWithCardNameString("", nullptr)); },
        "Error Responder Error");

    // A new name stays outside the table until a column registers it.
    const std::shared_ptr<UFemCardName> fresh
        = table.cardNameOrNewWithCardNameString(" NEW ", nullptr);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->cardNameString(), "NEW");
    EXPECT_FALSE(fresh->isValid());
    EXPECT_FALSE(table.containsCardNameWithCardNameString("NEW", nullptr));
    EXPECT_EQ(table.cardNameOrNewWithCardNameString("P", nullptr), p);
}

TEST(CardName, LinksAreFollowedThroughReferringCards)
{
    FakeDataController model;
    auto force = model.addCard(fakeCardClass("Force"), "Force , F1 , N1 , 1");
    auto inner = model.addCard(fakeCardClass("ForceSet"), "ForceSet , S1 , F1");
    auto outer = model.addCard(fakeCardClass("ForceSet"), "ForceSet , S2 , S1");
    auto other = model.addCard(fakeCardClass("ForceSet"), "ForceSet , S3");
    UFemCardName* f1 = force->cardName();
    UFemCardName* s1 = inner->cardName();
    UFemCardName* s2 = outer->cardName();
    EXPECT_TRUE(f1->isLinkedFromCardName(s1));
    EXPECT_TRUE(f1->isLinkedFromCardName(s2));
    EXPECT_FALSE(s2->isLinkedFromCardName(f1));
    EXPECT_FALSE(f1->isLinkedFromCardName(other->cardName()));
    EXPECT_FALSE(f1->isLinkedFromCardName(nullptr));
    EXPECT_TRUE(f1->isLinkedFromCardNameArray({ other->cardName(), s2 }));
    EXPECT_FALSE(f1->isLinkedFromCardNameArray({}));

    // A set that names itself, before its registration check has refused it, ends the walk.
    auto loop = model.addCard(fakeCardClass("ForceSet"), "ForceSet , S4 , S4");
    EXPECT_FALSE(loop->cardName()->isLinkedFromCardName(s1));
    EXPECT_TRUE(loop->cardName()->isLinkedFromCardName(loop->cardName()));
}

TEST(CardName, InconsistentRemovalsAreProgramErrors)
{
    FakeDataController model;
    auto node = model.addCard(fakeCardClass("Node"), "Node , P , , 0 , 0 , 0");
    auto other = model.addCard(fakeCardClass("Node"), "Node , Q , , 0 , 0 , 0");
    UFemCardName* p = node->cardName();
    expectProgramError([&] { p->removeCardNameColumn(other->cardColumnAtIndex(1)); },
        "No such card when remove it.( NOT allowed have some card )");
    auto fix = model.addCard(fakeCardClass("FixNode"), "FixNode , R , P");
    expectProgramError([&] { fix->cardName()->removeCardNameColumn(node->cardColumnAtIndex(1)); },
        "No such card when remove it.( ALLOWED have some card )");
    auto rod = model.addCard(fakeCardClass("Rod"), "Rod , R1 , RP , Z , P");
    UFemCardName* z = rod->cardColumnAtIndex(3)->cardName();
    expectProgramError([&] { z->removeCardNameColumn(rod->cardColumnAtIndex(3)); },
        "No Any card when remove it.( HAS_DATA == NO )");
}

TEST(CardName, ResettingTheTableLeavesOldCardsHarmless)
{
    auto model = std::make_unique<FakeDataController>();
    auto node = model->addCard(fakeCardClass("Node"), "Node , P , , 0 , 0 , 0");
    model->cardNameTable().resetWithCapacity(10);
    auto again = model->addCard(fakeCardClass("Node"), "Node , P , , 1 , 1 , 1");
    ASSERT_TRUE(again);
    // The old card's name is no longer the table's; dropping it must not remove the new one.
    model->removeCardAtRowIndex(0);
    node.reset();
    const std::shared_ptr<UFemCardName> p
        = model->cardNameTable().searchCardNameWithCardNameString("P", nullptr);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->card(), again.get());
}
