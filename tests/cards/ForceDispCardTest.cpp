#include "CardsTestModel.h"
#include "RecordingMatrixCalculator.h"

#include "cards/loads/ForceDisp.h"

using namespace cardstest;

TEST(ForceDispCard, PutsThePrescribedDisplacementWithRotationsFromRX)
{
    CardsTestModel model;
    model.read(u"ForceDisp , D , N1@RY , 0.25 ,\n"
               "ForceDisp , D , N2@TZ , -3 ,\n"
               "ForceDisp , D , N3@RX , 0 ,\n"_qs);
    RecordingMatrixCalculator calculator;
    for (quint64 row = 0; row < 3; ++row) {
        UErrorPtr error;
        EXPECT_TRUE(
            model.cardAs<ForceDisp>(row).putRestraintToMatrixCalculator(calculator, &error));
    }
    EXPECT_EQ(calculator.calls,
        (QStringList { "disp N1 R1 = 0.25", "disp N2 T2 = -3", "disp N3 R0 = 0" }));
    EXPECT_EQ(model.card(0).toolTipString(), u"<ForceDisp> D <1>\n( N1@RY = 0.25 )"_qs);
    EXPECT_EQ(model.card(1).nodeCardNameForDrawingWithNodeNo(0)->cardNameString(), u"N2"_qs);
}

TEST(ForceDispCard, ClassAndChecks)
{
    const UFemCardClass& forceDisp = ForceDisp::cardClassObject();
    EXPECT_EQ(forceDisp.cardLabelString(), u"ForceDisp"_qs);
    EXPECT_EQ(forceDisp.cardType(), 8);
    EXPECT_EQ(forceDisp.cardMenuOrderHintNo(), 120u);
    EXPECT_EQ(forceDisp.numberOfColumns(), 4u);
    EXPECT_EQ(forceDisp.columnLabelStringAtIndex(2), u"DOF"_qs);

    CardsTestModel model;
    EXPECT_EQ(errorDescription(model.registerLine(forceDisp, u"ForceDisp , D , , ,"_qs)),
        u"( Error on Register ) Columns 'DOF' (column 3), 'Value' (column 4) are empty."_qs);
    model.read(u"ForceDisp , D , N1@TX , 1 ,\n"_qs);
    EXPECT_EQ(errorDescription(model.card(0).checkErrorToRun()),
        u"( Error to Run ) Card 'N1' is not registered yet."_qs);
}
