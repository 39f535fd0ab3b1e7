#include "CardsTestModel.h"
#include "RecordingMatrixCalculator.h"

#include "cards/loads/FixNode.h"

using namespace cardstest;

namespace {

QStringList putsOf(const FixNode& card)
{
    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    EXPECT_TRUE(card.putRestraintToMatrixCalculator(calculator, &error));
    EXPECT_FALSE(error);
    return calculator.calls;
}

} // namespace

TEST(FixNodeCard, PutsOneFixedRestraintPerSetFlag)
{
    CardsTestModel model;
    model.read(u"FixNode , R , N1 , YES , YES , YES , , , ,\n"
               "FixNode , R , N2 , NO , 0 , , 1 , , YES ,\n"
               "FixNode , R , N3 ,\n"
               "FixNode , R , N1 , YES ,\n"_qs);
    EXPECT_EQ(
        putsOf(model.cardAs<FixNode>(0)), (QStringList { "fix N1 T0", "fix N1 T1", "fix N1 T2" }));
    EXPECT_EQ(putsOf(model.cardAs<FixNode>(1)), (QStringList { "fix N2 R0", "fix N2 R2" }));
    // No flag: registers, puts nothing, and is still drawn.
    EXPECT_EQ(putsOf(model.cardAs<FixNode>(2)), QStringList {});
    EXPECT_EQ(model.card(2).numberOfNodeForDrawing(), 1u);
    EXPECT_EQ(model.card(2).nodeCardNameForDrawingWithNodeNo(0)->cardNameString(), u"N3"_qs);
    // Two cards of one name on the same degree of freedom both put it.
    EXPECT_EQ(putsOf(model.cardAs<FixNode>(3)), QStringList { "fix N1 T0" });

    EXPECT_EQ(model.card(1).toolTipString(), u"<FixNode> R <2>\n( Fix: 0 0 0 1 0 1 )"_qs);
}

TEST(FixNodeCard, ClassAndChecks)
{
    const UFemCardClass& fixNode = FixNode::cardClassObject();
    EXPECT_EQ(fixNode.cardLabelString(), u"FixNode"_qs);
    EXPECT_EQ(fixNode.cardType(), 8);
    EXPECT_EQ(fixNode.cardMenuOrderHintNo(), 110u);
    EXPECT_EQ(fixNode.numberOfColumns(), 9u);
    EXPECT_EQ(fixNode.columnLabelStringAtIndex(3), u"Tx"_qs);
    EXPECT_EQ(fixNode.columnLabelStringAtIndex(8), u"Rz"_qs);

    CardsTestModel model;
    EXPECT_EQ(errorDescription(model.registerLine(fixNode, u"FixNode , R , , YES ,"_qs)),
        u"( Error on Register ) Column 'Node' (column 3) is empty."_qs);
    model.read(u"FixNode , R , N1 , YES ,\n"_qs);
    EXPECT_EQ(errorDescription(model.card(0).checkErrorToRun()),
        u"( Error to Run ) Card 'N1' is not registered yet."_qs);
    EXPECT_EQ(programErrorReason([&] { model.card(0).nodeCardNameForDrawingWithNodeNo(1); }),
        u"Out of range."_qs);
}
