#include "CardsTestModel.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardName.h"
#include "cards/loads/Case.h"
#include "cards/properties/Material.h"
#include "foundation/UFemNotFound.h"

using namespace cardstest;

TEST(CaseCard, CalcTypeMustBeLinearStaticExactly)
{
    CardsTestModel model;
    const UFemCardClass& caseClass = Case::cardClassObject();
    EXPECT_FALSE(model.registerLine(caseClass, u"Case , C , LINEAR_STATIC , R , F ,"_qs));
    const UErrorPtr lower = model.registerLine(caseClass, u"Case , C , linear_static , R , F ,"_qs);
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->code(), 12015);
    EXPECT_EQ(lower->localizedDescription(),
        u"( Error on Register ) Column 'Calc Type' (Column 3) must be \"LINEAR_STATIC\"."_qs);
    EXPECT_EQ(
        errorDescription(model.registerLine(caseClass, u"Case , C , LINEAR_STATICS , R , F ,"_qs)),
        lower->localizedDescription());
    EXPECT_EQ(errorDescription(model.registerLine(caseClass, u"Case , C , LINEAR_STATIC , , ,"_qs)),
        u"( Error on Register ) Columns 'Restraint' (column 4), 'Force' (column 5) are empty."_qs);
}

TEST(CaseCard, RunCheckListsEveryUndefinedName)
{
    CardsTestModel model;
    model.read(u"Case , C , LINEAR_STATIC , Fixed , Load ,\n"_qs);
    const UErrorPtr both = model.card(0).checkErrorToRun();
    ASSERT_TRUE(both);
    EXPECT_EQ(both->code(), 12016);
    EXPECT_EQ(both->localizedDescription(),
        u"( Error to Run ) Cards 'Fixed', 'Load' are not registered yet."_qs);
    EXPECT_FALSE(model.card(0).checkWarningToRun());
}

TEST(CaseCard, NamesNumberAndRelations)
{
    CardsTestModel model;
    model.read(u"Case , C1 , LINEAR_STATIC , R , F ,\n"
               "Case , C2 , LINEAR_STATIC , R , G ,\n"
               "Material , M , 1 , 0 ,\n"_qs);
    Case& c1 = model.cardAs<Case>(0);
    Case& c2 = model.cardAs<Case>(1);
    ASSERT_NE(c1.restraintCardName(), nullptr);
    EXPECT_EQ(c1.restraintCardName(), c2.restraintCardName());
    EXPECT_NE(c1.forceCardName(), c2.forceCardName());
    EXPECT_EQ(Case(&model.controller).forceCardName(), nullptr);

    EXPECT_EQ(c1.caseNo(), UFemNotFound);
    EXPECT_FALSE(c1.hasCaseResult());
    c1.setCaseNo(0);
    EXPECT_TRUE(c1.hasCaseResult());
    c1.resetCaseNo();
    EXPECT_FALSE(c1.hasCaseResult());

    EXPECT_TRUE(c1.isRelatedToCaseWithCaseCard(c1));
    EXPECT_FALSE(c1.isRelatedToCaseWithCaseCard(c2));
    EXPECT_TRUE(c1.isRelatedToCaseWithCaseCardArray({ &c2, &c1 }));
    EXPECT_FALSE(c1.isRelatedToCaseWithCaseCardArray({ &c2 }));
    // Material belongs to every case, Case is not drawn and has no values.
    EXPECT_TRUE(model.card(2).isRelatedToCaseWithCaseCard(c2));
    EXPECT_EQ(c1.numberOfNodeForDrawing(), 0u);
    EXPECT_FALSE(c1.isRotationDisplacementValid());
    UFemCardClassManager& manager = UFemCardClassManager::sharedCardClassManager();
    _UFemCardValueArraySize size { 1, 1, 1, 1 };
    EXPECT_FALSE(c1.getCardValueArraySize(
        &size, { manager.majorCardValueTypeWithMajorCardValueTypeString(u"Displacement"_qs), 0 }));
    EXPECT_EQ(size.leadingCount + size.numberOfPoints + size.numberOfVectorValues, 0);
    EXPECT_EQ(c1.toolTipString(), u"<Case> C1 <1>"_qs);
}
