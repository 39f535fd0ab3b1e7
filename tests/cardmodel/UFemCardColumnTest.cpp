#include "CardModelExpectations.h"
#include "FakeCardClasses.h"
#include "FakeDataController.h"

#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/errors/UFemErrorsEditCard.h"

#include <gtest/gtest.h>

using namespace fakecards;

namespace {

std::shared_ptr<UFemCardName> nameIn(FakeDataController& model, const QString& text)
{
    return model.cardNameTable().searchCardNameWithCardNameString(text, nullptr);
}

} // namespace

TEST(CardColumn, SettingTheSameTextLeavesTheNameUntouched)
{
    FakeDataController model;
    auto node = model.addCard(fakeCardClass("Node"), "Node , N1 , , 1 , 2 , 3");
    UFemCardColumn* name = node->cardColumnAtIndex(1);
    const std::shared_ptr<UFemCardName> before = nameIn(model, "N1");
    ASSERT_TRUE(before);
    EXPECT_TRUE(name->setColumnWithColumnString(QStringLiteral("N1"), nullptr));
    EXPECT_EQ(nameIn(model, "N1"), before);
    EXPECT_EQ(name->cardName(), before.get());
    EXPECT_EQ(before->card(), node.get());

    UFemCardColumn* x = node->cardColumnAtIndex(3);
    EXPECT_TRUE(x->setColumnWithColumnString(QStringLiteral(" -2.5E-3 "), nullptr));
    EXPECT_EQ(x->columnString(), "-2.5E-3");
    EXPECT_DOUBLE_EQ(x->doubleValue(), -2.5e-3);
    EXPECT_FLOAT_EQ(x->floatValue(), -2.5e-3f);
}

TEST(CardColumn, ANameLeavesTheTableWithItsLastColumn)
{
    FakeDataController model;
    auto node = model.addCard(fakeCardClass("Node"), "Node , N1 , , 1 , 2 , 3");
    auto rod = model.addCard(fakeCardClass("Rod"), "Rod , R1 , P1 , N1 , N2");
    UFemCardColumn* nodeName = node->cardColumnAtIndex(1);

    nodeName->resetColumn();
    EXPECT_TRUE(nodeName->isEmptyColumn());
    EXPECT_EQ(nodeName->columnString(), std::nullopt);
    const std::shared_ptr<UFemCardName> n1 = nameIn(model, "N1");
    ASSERT_TRUE(n1); // still referred to by the rod
    EXPECT_FALSE(n1->hasCard());
    EXPECT_TRUE(n1->hasNameRef());
    EXPECT_FALSE(rod->cardColumnAtIndex(3)->isCardCompleteRegistered());

    EXPECT_TRUE(rod->cardColumnAtIndex(3)->setColumnWithColumnString(std::nullopt, nullptr));
    EXPECT_FALSE(nameIn(model, "N1"));
    EXPECT_FALSE(n1->isValid());

    // Renaming the rod's own name "R1" to "R2" leaves nothing behind.
    ASSERT_TRUE(
        rod->cardColumnAtIndex(1)->setColumnWithColumnString(QStringLiteral("R2"), nullptr));
    EXPECT_FALSE(nameIn(model, "R1"));
    EXPECT_EQ(nameIn(model, "R2")->card(), rod.get());
}

TEST(CardColumn, AForwardReferenceWaitsForItsDefiningCard)
{
    FakeDataController model;
    auto rod = model.addCard(fakeCardClass("Rod"), "Rod , R1 , P1 , P , N2");
    UFemCardColumn* reference = rod->cardColumnAtIndex(3);
    const std::shared_ptr<UFemCardName> p = nameIn(model, "P");
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasNameRef());
    EXPECT_FALSE(p->hasCard());
    EXPECT_EQ(p->cardType(), UFemNodeCardType);
    EXPECT_FALSE(reference->isCardCompleteRegistered());
    EXPECT_EQ(reference->noRegisteredCardNameStringArray(), std::vector<QString>({ "P" }));
    EXPECT_FALSE(reference->hasCard());
    EXPECT_EQ(reference->card(), nullptr);

    auto node = model.addCard(fakeCardClass("Node"), "Node , P , , 0 , 0 , 0");
    ASSERT_TRUE(node);
    EXPECT_EQ(nameIn(model, "P"), p);
    EXPECT_TRUE(reference->isCardCompleteRegistered());
    EXPECT_EQ(reference->card(), node.get());
    EXPECT_EQ(p->nameRefCardArray(), std::vector<UFemCard*>({ rod.get() }));
    EXPECT_EQ(rod->cardColumnAtIndex(2)->noRegisteredCardNameStringArray(),
        std::vector<QString>({ "P1" }));
    EXPECT_EQ(node->cardColumnAtIndex(3)->noRegisteredCardNameStringArray(), std::nullopt);
}

TEST(CardColumn, DegreeOfFreedomAndStringColumns)
{
    FakeDataController model;
    auto node = model.addCard(fakeCardClass("Node"), "Node , node_01 , , 0 , 0 , 0");
    auto disp = model.addCard(fakeCardClass("ForceDisp"), "ForceDisp , D1 , node_01@RY , 0.5");
    ASSERT_TRUE(disp);
    UFemCardColumn* dof = disp->cardColumnAtIndex(2);
    EXPECT_EQ(dof->direction6(), 4u);
    EXPECT_EQ(dof->columnString(), "node_01@RY");
    EXPECT_EQ(dof->nodeCardNameString(), "node_01");
    EXPECT_EQ(dof->nodeCard(), node.get());
    EXPECT_TRUE(dof->hasNodeCard());
    EXPECT_TRUE(dof->isCardCompleteRegistered());
    EXPECT_EQ(nameIn(model, "node_01")->nameRefCardArray(), std::vector<UFemCard*>({ disp.get() }));

    UErrorPtr error;
    EXPECT_FALSE(dof->setColumnWithColumnString(QStringLiteral("node_01@ry"), &error));
    EXPECT_TRUE(error);
    // The old value went before the parse failed.
    EXPECT_TRUE(dof->isEmptyColumn());
    EXPECT_TRUE(nameIn(model, "node_01")->nameRefCardArray().empty());

    auto caseCard = model.addCard(fakeCardClass("Case"), "Case , C1 , R , F , 7 ,  keep  spaces ");
    ASSERT_TRUE(caseCard);
    EXPECT_EQ(caseCard->cardColumnAtIndex(4)->integerValue(), 7);
    UFemCardColumn* text = caseCard->cardColumnAtIndex(5);
    ASSERT_TRUE(text->setColumnWithColumnString(QStringLiteral("  two  words "), nullptr));
    EXPECT_EQ(text->stringValue(), "  two  words ");
    EXPECT_EQ(text->columnString(), "  two  words ");
}

TEST(CardColumn, ValueParseErrorsLeaveTheColumnEmpty)
{
    FakeDataController model;
    auto fix
        = model.addCard(fakeCardClass("FixNode"), "FixNode , R , N1 , YES , NO , 1 , 0 , -3 , 7");
    ASSERT_TRUE(fix);
    EXPECT_TRUE(fix->cardColumnAtIndex(3)->boolValue());
    EXPECT_FALSE(fix->cardColumnAtIndex(4)->boolValue());
    EXPECT_TRUE(fix->cardColumnAtIndex(7)->boolValue());
    // The sign of a Boolean means nothing, but its text is kept as written.
    EXPECT_EQ(fix->cardColumnAtIndex(7)->columnString(), "-3");

    UFemCardColumn* flag = fix->cardColumnAtIndex(3);
    UErrorPtr error;
    EXPECT_FALSE(flag->setColumnWithColumnString(QStringLiteral("yes"), &error));
    ASSERT_TRUE(error);
    EXPECT_TRUE(flag->isEmptyColumn());
    EXPECT_FALSE(flag->boolValue());

    auto caseCard = model.addCard(fakeCardClass("Case"), "Case , C1 , R , F , 1");
    UFemCardColumn* number = caseCard->cardColumnAtIndex(4);
    error.reset();
    EXPECT_FALSE(number->setColumnWithColumnString(QStringLiteral("12.5"), &error));
    ASSERT_TRUE(error);
    EXPECT_TRUE(number->isEmptyColumn());
    EXPECT_EQ(number->integerValue(), 0);
    expectProgramError(
        [&] { static_cast<void>(number->setColumnWithColumnString(QStringLiteral("x"), nullptr)); },
        "Error Responder Error");

    // A name column with characters no name may hold.
    error.reset();
    EXPECT_FALSE(
        caseCard->cardColumnAtIndex(1)->setColumnWithColumnString(QStringLiteral("C 1"), &error));
    EXPECT_TRUE(error);
    EXPECT_TRUE(caseCard->cardColumnAtIndex(1)->isEmptyColumn());
    EXPECT_FALSE(nameIn(model, "C1"));
}

TEST(CardColumn, GettersOfAnotherTypeAndPairsOfNames)
{
    FakeDataController model;
    auto rod = model.addCard(fakeCardClass("Rod"), "Rod , R1 , P1 , N1 , N1");
    auto node = model.addCard(fakeCardClass("Node"), "Node , N1 , , 1 , 2 , 3");
    expectCardClassProgramError([&] { node->cardColumnAtIndex(3)->cardName(); },
        "This method is only for type 'CARD_COLUMN_TYPE_CARD_NAME' or "
        "'CARD_COLUMN_TYPE_REF_CARD_NAME'.");
    expectCardClassProgramError([&] { node->cardColumnAtIndex(1)->doubleValue(); },
        "This method is only for type 'CARD_COLUMN_TYPE_FLOAT_VALUE'.");
    expectCardClassProgramError([&] { node->cardColumnAtIndex(1)->integerValue(); },
        "This method is only for type 'CARD_COLUMN_TYPE_INT_VALUE'.");
    expectCardClassProgramError([&] { node->cardColumnAtIndex(1)->direction6(); },
        "This method is only for type 'UFemDegreeOfFreedomColumnType'.");

    const UFemCardColumn* first = rod->cardColumnAtIndex(3);
    const UFemCardColumn* second = rod->cardColumnAtIndex(4);
    const UFemCardColumn* prop = rod->cardColumnAtIndex(2);
    EXPECT_TRUE(UFemCardColumn::existsSameCardNameWithCardColumnArray({ prop, first, second }));
    EXPECT_FALSE(UFemCardColumn::existsSameCardNameWithCardColumnArray({ prop, first }));
    EXPECT_FALSE(UFemCardColumn::existsSameCardNameWithCardColumnArray({}));
    expectCardClassProgramError(
        [&] {
            UFemCardColumn::existsSameCardNameWithCardColumnArray(
                { first, node->cardColumnAtIndex(3) });
        },
        "aColumnType of 'aCardColumnArray' is NOT 'CardName' or 'refCardName");
}

TEST(CardColumn, SupposedTextForAMergedName)
{
    FakeDataController model;
    auto node = model.addCard(fakeCardClass("Node"), "Node , N1 , , 1 , 2 , 3");
    auto disp = model.addCard(fakeCardClass("ForceDisp"), "ForceDisp , D1 , N1@TZ , 0.5");
    UFemCardName* n1 = node->cardName();
    EXPECT_EQ(node->cardColumnAtIndex(1)->supposedColumnStringWithSupposedCardNameString(
                  " M1\t", n1, nullptr),
        "M1");
    EXPECT_EQ(disp->cardColumnAtIndex(2)->supposedColumnStringWithSupposedCardNameString(
                  "M1", n1, nullptr),
        "M1@TZ");
    UErrorPtr error;
    EXPECT_EQ(node->cardColumnAtIndex(1)->supposedColumnStringWithSupposedCardNameString(
                  "  ", n1, &error),
        std::nullopt);
    expectError(error, 12011, "Card Name is empty.");
    expectProgramError(
        [&] {
            static_cast<void>(
                disp->cardColumnAtIndex(1)->supposedColumnStringWithSupposedCardNameString(
                    "M1", n1, nullptr));
        },
        "cardNameColumnRecord.cardName != aCurrentCardName");
    try {
        static_cast<void>(
            node->cardColumnAtIndex(3)->supposedColumnStringWithSupposedCardNameString(
                "M1", n1, nullptr));
        ADD_FAILURE();
    } catch (const UException& exception) {
        EXPECT_TRUE(exception.reason().startsWith(
            "Column Type is not CardNameColumnType, RefCardNameColumnType, or DOFColumnType."));
    }
}
