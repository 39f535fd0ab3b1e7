#include "ElementCardTestSupport.h"

#include "cards/Node.h"
#include "cards/elements/Rod.h"
#include "cards/loads/Case.h"

using namespace cardstest;
using namespace elementcardtest;

namespace {

const QString rodModel = QStringLiteral("Material , Steel , 200 , 0.3 ,\n"
                                        "RodProp , RP , Steel , 3 ,\n"
                                        "ShellProp , SH , Steel , 0.1 ,\n"
                                        "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                        "Node , N2 ,  , 2 , 0 , 0 ,\n"
                                        "Node , N3 ,  , 2 , 0 , 0 ,\n"
                                        "Rod , R1 , RP , N1 , N2 ,\n"
                                        "Rod , R2 , RP , N2 , N3 ,\n"
                                        "Rod , R3 , SH , N1 , N2 ,\n"
                                        "Rod , R4 , P1 , N1 , N9 ,\n"
                                        "Case , C1 , LINEAR_STATIC , RS , FS ,\n");

constexpr quint64 R1Row = 6;
constexpr quint64 CaseRow = 10;

// The bar R1 (E = 200, A = 3, length 2 along x) with Node 2 moved by `u2` in the one case.
class RodElementCardResults : public ::testing::Test {
protected:
    void SetUp() override
    {
        readWithResults(model, rodModel, results);
        model.cardAs<Node>(3).setNodeNo(0);
        model.cardAs<Node>(4).setNodeNo(1);
        model.cardAs<Case>(CaseRow).setCaseNo(0);
    }
    std::vector<double> values(const char* type, quint64 count)
    {
        return cardValues(model.card(R1Row), model.card(CaseRow), type, count);
    }

    CardsTestModel model;
    std::shared_ptr<NodeTranslationResults> results = std::make_shared<NodeTranslationResults>();
};

} // namespace

TEST(RodElementCard, RegisterAndRunChecks)
{
    CardsTestModel model;
    const UFemCardClass& rod = Rod::cardClassObject();
    // The model refuses a line without a name before the card's own check sees it.
    EXPECT_EQ(errorDescription(model.registerLine(rod, u"Rod , , RP , N1 , ,"_qs)),
        u"Card Name ( 2nd column ) is empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(rod, u"Rod , R , RP , N1 , ,"_qs)),
        u"( Error on Register ) Column 'Node 2' (column 5) is empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(rod, u"Rod , R , , , N2 ,"_qs)),
        u"( Error on Register ) Columns 'Rod Prop' (column 3), 'Node 1' (column 4) are empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(rod, u"Rod , R , RP , N1 , N1 ,"_qs)),
        u"( Error on Register ) Node 1 and Node 2 are same."_qs);
    EXPECT_FALSE(model.registerLine(rod, u"Rod , R , RP , N1 , N2 ,"_qs));

    model.read(rodModel);
    EXPECT_FALSE(model.card(R1Row).checkErrorToRun());
    EXPECT_FALSE(model.card(R1Row).checkWarningToRun());
    EXPECT_EQ(errorDescription(model.card(8).checkErrorToRun()),
        u"( Error to Run ) Card 'SH' (Rod Prop) does not return 'Section Area', or 'Material Property'."_qs);
    EXPECT_EQ(errorDescription(model.card(9).checkErrorToRun()),
        u"( Error to Run ) Cards 'P1', 'N9' are not registered yet."_qs);
}

TEST(RodElementCard, PutsFourTranslationBlocksInRowNodeOrder)
{
    CardsTestModel model;
    model.read(rodModel);
    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    ASSERT_TRUE(
        model.cardAs<Rod>(R1Row).putElementStiffnessMatrixToMatrixCalculator(calculator, &error));
    ASSERT_EQ(calculator.blocks.size(), 4u);
    const char* order[4][2] = { { "N1", "N1" }, { "N1", "N2" }, { "N2", "N1" }, { "N2", "N2" } };
    for (int b = 0; b < 4; ++b) {
        const StiffnessBlock& block = calculator.blocks[std::size_t(b)];
        EXPECT_EQ(block.nodeName1, QString::fromUtf8(order[b][0]));
        EXPECT_EQ(block.nodeName2, QString::fromUtf8(order[b][1]));
        EXPECT_EQ(block.rotation1, 0u);
        EXPECT_EQ(block.rotation2, 0u);
        const double sign = (b == 0 || b == 3) ? 1.0 : -1.0;
        for (int entry = 0; entry < 9; ++entry)
            EXPECT_DOUBLE_EQ(block.matrix[std::size_t(entry)], entry == 0 ? sign * 300.0 : 0.0);
    }
    EXPECT_EQ(calculator.otherCalls, 0);
}

// Two node cards at one place give a bar of no length: its stiffness is not finite and must not
// reach the solver.
TEST(RodElementCard, ZeroLengthStiffnessFailsNamingTheCard)
{
    CardsTestModel model;
    model.read(rodModel);
    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    EXPECT_FALSE(
        model.cardAs<Rod>(7).putElementStiffnessMatrixToMatrixCalculator(calculator, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 21010);
    EXPECT_TRUE(error->localizedDescription().contains(u"Rod 'R2'"_qs))
        << error->localizedDescription().toStdString();
    EXPECT_TRUE(calculator.blocks.empty());
    EXPECT_EQ(model.cardAs<Rod>(7).length(&error), 0.0);
}

TEST_F(RodElementCardResults, StretchedBarValues)
{
    results->translations[1] = { 0.01, 0, 0 };
    const std::vector<double> strain = values("ElementStrain", 12);
    const double expectedStrain[6] = { 0.005, -0.0015, -0.0015, 0, 0, 0 };
    for (int i = 0; i < 12; ++i)
        EXPECT_DOUBLE_EQ(strain[std::size_t(i)], expectedStrain[i % 6]) << i;
    const std::vector<double> stress = values("ElementStress", 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_DOUBLE_EQ(stress[std::size_t(i)], i % 6 == 0 ? 1.0 : 0.0) << i;
    EXPECT_EQ(values("RodForce", 2), (std::vector<double> { 3.0, 3.0 }));
    EXPECT_EQ(values("VonMisesStress", 2), (std::vector<double> { 1.0, 1.0 }));
    const std::vector<double> force = values("ElementNodeForce", 12);
    const double expectedForce[12] = { -3, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0 };
    for (int i = 0; i < 12; ++i)
        EXPECT_NEAR(force[std::size_t(i)], expectedForce[i], 1e-12) << i;
    EXPECT_EQ(values("Length", 1)[0], 2.0);
    EXPECT_EQ(values("SectionArea", 1)[0], 3.0);
    EXPECT_EQ(values("YoungsModulus", 1)[0], 200.0);
    EXPECT_EQ(values("PoissonsRatio", 1)[0], 0.3);

    // Compressed: a negative axial force, a positive von Mises stress. Sideways: no strain.
    results->translations[1] = { -0.01, 0.02, 0 };
    EXPECT_EQ(values("RodForce", 2), (std::vector<double> { -3.0, -3.0 }));
    EXPECT_EQ(values("VonMisesStress", 2), (std::vector<double> { 1.0, 1.0 }));
    results->translations[1] = { 0, 0.02, -0.01 };
    EXPECT_EQ(values("ElementStrain", 12), std::vector<double>(12, 0.0));
}

TEST_F(RodElementCardResults, ValueTypesAndSizes)
{
    const UFemCard& rod = model.card(R1Row);
    _UFemCardValueArraySize size { 7, 0, 0, 0 };
    ASSERT_TRUE(rod.getCardValueArraySize(&size, valueType("VonMisesStress", "node")));
    EXPECT_EQ(size.leadingCount, 7);
    EXPECT_EQ(size.numberOfPoints, 2);
    EXPECT_EQ(size.numberOfSectionPoints, 1);
    EXPECT_EQ(size.numberOfVectorValues, 1);
    ASSERT_TRUE(rod.getCardValueArraySize(&size, valueType("ElementNodeForce")));
    EXPECT_EQ(size.numberOfPoints, 2);
    EXPECT_EQ(size.numberOfVectorValues, 6);
    ASSERT_TRUE(rod.getCardValueArraySize(&size, valueType("Length")));
    EXPECT_EQ(size.numberOfPoints, 1);
    EXPECT_EQ(size.numberOfVectorValues, 1);
    EXPECT_TRUE(rod.respondsToCardValueType(valueType("RodForce", "node")));
    EXPECT_FALSE(rod.respondsToCardValueType(valueType("Length", "node")));
    EXPECT_FALSE(rod.getCardValueArraySize(&size, valueType("Length", "node")));
    EXPECT_EQ(size.leadingCount, 0);
    EXPECT_EQ(size.numberOfPoints, 0);
    EXPECT_FALSE(rod.respondsToCardValueType(valueType("Volume")));
    EXPECT_FALSE(rod.respondsToCardValueType(valueType("Displacement")));
}

// A name without its card gives error 42014 naming it, never an undefined location.
TEST(RodElementCard, MissingNodeAndPropertyCardsAreNamed)
{
    CardsTestModel model;
    model.read(rodModel);
    const Rod& rod = model.cardAs<Rod>(9);
    UErrorPtr error;
    EXPECT_EQ(rod.length(&error), 0.0);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 42014);
    EXPECT_TRUE(error->localizedDescription().contains(u"'N9'"_qs));
    error = nullptr;
    EXPECT_EQ(rod.sectionArea(&error), 0.0);
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->localizedDescription().contains(u"'P1'"_qs));
    double stiffness[36];
    error = nullptr;
    EXPECT_FALSE(rod.getElementStiffnessMatrix(stiffness, &error));
    EXPECT_EQ(error->code(), 42014);
    EXPECT_EQ(programErrorReason([&] { rod.length(nullptr); }), u"Error Responder Error"_qs);
}

TEST(RodElementCard, DrawingNodesCentreToolTipAndColourSizes)
{
    CardsTestModel model;
    model.read(rodModel);
    const Rod& rod = model.cardAs<Rod>(R1Row);
    EXPECT_EQ(rod.numberOfNodeForDrawing(), 2u);
    EXPECT_EQ(rod.nodeCardNameForDrawingWithNodeNo(1)->cardNameString(), u"N2"_qs);
    EXPECT_EQ(programErrorReason([&] { rod.nodeCardNameForDrawingWithNodeNo(2); }),
        u"aNodeNo: 0 ~ ([self numberOfNodeForDrawing]-1)"_qs);
    UFemCardName* names[1] = {};
    std::vector<UFemCardName*> overflow;
    EXPECT_EQ(rod.getNodeCardNamesForDrawingToNodeCardNameTable(names, 1, &overflow), 2u);
    ASSERT_EQ(overflow.size(), 2u);
    EXPECT_EQ(overflow[0]->cardNameString(), u"N1"_qs);
    EXPECT_EQ(names[0], nullptr);

    const double positions[12] = { 0, 0, 0, 9, 9, 9, 2, 4, -6, 9, 9, 9 };
    double centre[3];
    ASSERT_TRUE(rod.getCenterPosition(centre, positions));
    EXPECT_EQ(centre[0], 1.0);
    EXPECT_EQ(centre[1], 2.0);
    EXPECT_EQ(centre[2], -3.0);
    EXPECT_EQ(rod.toolTipStringAddition(), u"( Property: RP )"_qs);

    for (quint16 points : { 0, 1, 2 }) {
        const _UFemCardValueArraySize size { 0, points, 1, 1 };
        UErrorPtr error;
        EXPECT_TRUE(rod.drawOpenGLToDrawingBuffer(
            nullptr, positions, nullptr, &size, nullptr, nullptr, nullptr, &error));
        EXPECT_FALSE(error) << points;
    }
    for (const _UFemCardValueArraySize size : { _UFemCardValueArraySize { 0, 3, 1, 1 },
             _UFemCardValueArraySize { 0, 2, 2, 1 }, _UFemCardValueArraySize { 0, 2, 1, 6 } }) {
        UErrorPtr error;
        EXPECT_TRUE(rod.drawOpenGLToDrawingBuffer(
            nullptr, positions, nullptr, &size, nullptr, nullptr, nullptr, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 32003);
        EXPECT_TRUE(error->localizedRecoverySuggestion().contains(
            u"Number of points: 1 or 2, Number of section points: 1, Number of vector values: 1"_qs))
            << error->localizedRecoverySuggestion().toStdString();
    }
}
