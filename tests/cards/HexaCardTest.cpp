#include "ElementCardTestSupport.h"

#include "cards/Node.h"
#include "cards/elements/Hexa.h"
#include "cards/loads/Case.h"

#include <cmath>
#include <thread>

using namespace cardstest;
using namespace elementcardtest;

namespace {

// The distorted single brick of the element tests (rows 3-10), the same nodes mirrored, eight
// nodes in one place (rows 11-18), a brick on a shell property, and one whose volume overflows.
const QString hexaModel
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                     "SolidProp , SO , Steel ,\n"
                     "ShellProp , SH , Steel , 0.1 ,\n"
                     "Node , N1 ,  , 0 , 0 , 0 ,\n"
                     "Node , N2 ,  , 2 , 0.1 , 0 ,\n"
                     "Node , N3 ,  , 2.3 , 1.2 , 0.2 ,\n"
                     "Node , N4 ,  , -0.2 , 1 , 0.1 ,\n"
                     "Node , N5 ,  , 0.1 , -0.1 , 1.5 ,\n"
                     "Node , N6 ,  , 1.9 , 0.2 , 1.3 ,\n"
                     "Node , N7 ,  , 2.1 , 1.3 , 1.7 ,\n"
                     "Node , N8 ,  , 0 , 1.1 , 1.4 ,\n"
                     "Node , Q1 ,  , 1 , 1 , 1 ,\n"
                     "Node , Q2 ,  , 1 , 1 , 1 ,\n"
                     "Node , Q3 ,  , 1 , 1 , 1 ,\n"
                     "Node , Q4 ,  , 1 , 1 , 1 ,\n"
                     "Node , Q5 ,  , 1 , 1 , 1 ,\n"
                     "Node , Q6 ,  , 1 , 1 , 1 ,\n"
                     "Node , Q7 ,  , 1 , 1 , 1 ,\n"
                     "Node , Q8 ,  , 1 , 1 , 1 ,\n"
                     "Hexa , H1 , SO , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 ,\n"
                     "Hexa , H2 , SH , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 ,\n"
                     "Hexa , H3 , SO , N5 , N6 , N7 , N8 , N1 , N2 , N3 , N4 ,\n"
                     "Hexa , H4 , SO , Q1 , Q2 , Q3 , Q4 , Q5 , Q6 , Q7 , Q8 ,\n"
                     "Hexa , H5 , SO , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N9 ,\n"
                     "Node , Z7 ,  , 1e300 , 1e300 , 1e300 ,\n"
                     "Hexa , H6 , SO , N1 , N2 , N3 , N4 , N5 , N6 , Z7 , N8 ,\n"
                     "Case , C1 , LINEAR_STATIC , RS , FS ,\n");

constexpr quint64 H1Row = 19;
constexpr quint64 CaseRow = 26;
constexpr quint64 OverflowRow = 25;

// The fixture's displacements of nodes 5-8 under its loads (nodes 1-4 fixed), to 7 digits.
constexpr double fixtureTranslations[4][3]
    = { { 8.651143e-4, 4.809271e-3, 2.102558e-3 }, { 5.231429e-4, 1.173188e-4, 9.810840e-5 },
          { 5.534799e-3, 1.593280e-3, -5.905226e-3 }, { 1.586106e-3, 3.329797e-3, 9.783648e-4 } };

class HexaElementCardResults : public ::testing::Test {
protected:
    void SetUp() override
    {
        readWithResults(model, hexaModel, results);
        for (quint64 node = 0; node < 8; ++node)
            model.cardAs<Node>(3 + node).setNodeNo(node);
        model.cardAs<Case>(CaseRow).setCaseNo(0);
        for (quint64 node = 4; node < 8; ++node)
            for (int axis = 0; axis < 3; ++axis)
                results->translations[node][std::size_t(axis)]
                    = fixtureTranslations[node - 4][axis];
    }
    std::vector<double> values(const char* type, quint64 count, const char* minor = nullptr)
    {
        return cardValues(model.card(H1Row), model.card(CaseRow), type, count, minor);
    }

    CardsTestModel model;
    std::shared_ptr<NodeTranslationResults> results = std::make_shared<NodeTranslationResults>();
};

} // namespace

TEST(HexaElementCard, RegisterRunAndWarningChecks)
{
    CardsTestModel model;
    const UFemCardClass& hexa = Hexa::cardClassObject();
    EXPECT_EQ(errorDescription(model.registerLine(
                  hexa, u"Hexa , H , SO , N1 , N2 , , N4 , N5 , N6 , N7 , N8 ,"_qs)),
        u"( Error on Register ) Column 'Node 3' (column 6) is empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(
                  hexa, u"Hexa , H , SO , , N2 , N3 , N4 , N5 , N6 , N7 , ,"_qs)),
        u"( Error on Register ) Columns 'Node 1' (column 4), 'Node 8' (column 11) are empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(
                  hexa, u"Hexa , H , SO , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N2 ,"_qs)),
        u"( Error on Register ) Some of Nodes ( Node 1 ~ Node 8 ) are same."_qs);

    model.read(hexaModel);
    EXPECT_FALSE(model.card(H1Row).checkErrorToRun());
    EXPECT_FALSE(model.card(H1Row).checkWarningToRun());
    // Any property that gives a material will do.
    EXPECT_FALSE(model.card(H1Row + 1).checkErrorToRun());
    EXPECT_EQ(errorDescription(model.card(H1Row + 4).checkErrorToRun()),
        u"( Error to Run ) Card 'N9' is not registered yet."_qs);

    // A mirrored node order and a collapsed element stop the run; so does a volume that cannot
    // be had.
    for (quint64 row : { H1Row + 2, H1Row + 3 }) {
        const UErrorPtr warning = model.card(row).checkWarningToRun();
        ASSERT_TRUE(warning) << row;
        EXPECT_EQ(warning->code(), 12017);
        EXPECT_EQ(warning->localizedDescription(),
            u"( Error to Run ) Element Volume is zero or negative."_qs);
    }
    // A volume that is not a number would pass a test for "zero or negative".
    const UErrorPtr overflow = model.card(OverflowRow).checkWarningToRun();
    ASSERT_TRUE(overflow);
    EXPECT_EQ(overflow->code(), 12017);
    EXPECT_EQ(
        overflow->localizedDescription(), u"( Error to Run ) Element Volume is not finite."_qs);
    const UErrorPtr missing = model.card(H1Row + 4).checkWarningToRun();
    ASSERT_TRUE(missing);
    EXPECT_TRUE(
        missing->localizedDescription().contains(u"Failed while getting element volume."_qs));
}

TEST(HexaElementCard, PutsSixtyFourBlocksOfItsStiffness)
{
    CardsTestModel model;
    model.read(hexaModel);
    const Hexa& hexa = model.cardAs<Hexa>(H1Row);
    std::vector<double> stiffness(UFemHexaStiffnessEntryCount);
    UErrorPtr error;
    ASSERT_TRUE(hexa.getElementStiffnessMatrix(stiffness.data(), &error));
    RecordingMatrixCalculator calculator;
    ASSERT_TRUE(hexa.putElementStiffnessMatrixToMatrixCalculator(calculator, &error));
    ASSERT_EQ(calculator.blocks.size(), 64u);
    for (std::size_t i = 0; i < 8; ++i) {
        for (std::size_t j = 0; j < 8; ++j) {
            const StiffnessBlock& block = calculator.blocks[8 * i + j];
            EXPECT_EQ(block.nodeName1, u"N%1"_qs.arg(i + 1));
            EXPECT_EQ(block.nodeName2, u"N%1"_qs.arg(j + 1));
            EXPECT_EQ(block.rotation1 + block.rotation2, 0u);
            for (std::size_t r = 0; r < 3; ++r)
                for (std::size_t c = 0; c < 3; ++c)
                    EXPECT_EQ(block.matrix[3 * r + c], stiffness[(3 * i + r) * 24 + 3 * j + c]);
        }
    }
    EXPECT_GT(stiffness[0], 0.0);
}

TEST(HexaElementCard, CollapsedElementStiffnessFailsNamingTheCard)
{
    CardsTestModel model;
    model.read(hexaModel);
    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    EXPECT_FALSE(model.cardAs<Hexa>(H1Row + 3).putElementStiffnessMatrixToMatrixCalculator(
        calculator, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 21010);
    EXPECT_TRUE(error->localizedDescription().contains(u"Hexa 'H4'"_qs));
    EXPECT_TRUE(calculator.blocks.empty());
    EXPECT_FALSE(model.cardAs<Hexa>(OverflowRow)
                     .putElementStiffnessMatrixToMatrixCalculator(calculator, &error));
    EXPECT_TRUE(error->localizedDescription().contains(u"Hexa 'H6'"_qs));
    EXPECT_TRUE(calculator.blocks.empty());
    // A mirrored element is warned about but still has a finite stiffness.
    EXPECT_TRUE(model.cardAs<Hexa>(H1Row + 2).putElementStiffnessMatrixToMatrixCalculator(
        calculator, &error));
    EXPECT_EQ(calculator.blocks.size(), 64u);
}

TEST_F(HexaElementCardResults, FixtureValuesAtTheNodes)
{
    EXPECT_NEAR(values("Volume", 1)[0], 3.1939166667, 1e-9);
    EXPECT_EQ(values("YoungsModulus", 1)[0], 210000.0);
    EXPECT_EQ(values("PoissonsRatio", 1)[0], 0.3);

    // Node 7's corner stress, x, y, z, yz, zx, xy, from displacements given to 7 digits.
    const std::vector<double> stress = values("ElementStress", 48);
    const double node7[6] = { -34.1968, -8.63367, -855.840, -220.468, 102.209, 159.700 };
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(stress[std::size_t(36 + i)], node7[i], 2e-5 * 855.84) << i;
    const std::vector<double> vonMises = values("VonMisesStress", 8);
    EXPECT_EQ(values("VonMisesStress", 8, "node"), vonMises);
    for (std::size_t node = 0; node < 8; ++node) {
        const double* s = &stress[6 * node];
        EXPECT_DOUBLE_EQ(vonMises[node],
            std::sqrt(0.5
                * ((s[0] - s[1]) * (s[0] - s[1]) + (s[1] - s[2]) * (s[1] - s[2])
                    + (s[2] - s[0]) * (s[2] - s[0])
                    + 6 * (s[3] * s[3] + s[4] * s[4] + s[5] * s[5]))));
    }

    // The node forces carry the loads at nodes 5 to 8 and have no moments.
    const std::vector<double> force = values("ElementNodeForce", 48);
    const double loads[4][3] = { { 0, 80, 0 }, { 0, 0, 0 }, { 100, 0, -250 }, { 0, 0, 0 } };
    for (std::size_t node = 0; node < 8; ++node) {
        for (std::size_t axis = 0; axis < 3; ++axis) {
            if (node >= 4) {
                EXPECT_NEAR(force[6 * node + axis], loads[node - 4][axis], 2e-3);
            }
            EXPECT_EQ(force[6 * node + 3 + axis], 0.0);
        }
    }

    // Strain and stress agree through the elasticity matrix.
    const std::vector<double> strain = values("ElementStrain", 48);
    const double lambdaTerm = 210000.0 * 0.3 / (1.3 * 0.4);
    const double shear = 210000.0 / 2.6;
    for (std::size_t node = 0; node < 8; ++node) {
        const double* e = &strain[6 * node];
        EXPECT_NEAR(stress[6 * node], lambdaTerm * (e[0] + e[1] + e[2]) + 2 * shear * e[0], 1e-9);
        EXPECT_NEAR(stress[6 * node + 3], shear * e[3], 1e-9);
    }
}

TEST_F(HexaElementCardResults, RigidTranslationGivesNothingAndTypesAreAnswered)
{
    for (quint64 node = 0; node < 8; ++node)
        results->translations[node] = { 0.3, -0.2, 0.1 };
    for (const char* type : { "ElementStress", "ElementStrain", "ElementNodeForce" }) {
        for (double value : values(type, 48))
            EXPECT_NEAR(value, 0.0, 1e-9) << type;
    }
    const UFemCard& hexa = model.card(H1Row);
    EXPECT_FALSE(hexa.respondsToCardValueType(valueType("VonMisesStress", "gaussPoint")));
    EXPECT_FALSE(hexa.respondsToCardValueType(valueType("Volume", "node")));
    EXPECT_FALSE(hexa.respondsToCardValueType(valueType("Length")));
    _UFemCardValueArraySize size { 5, 0, 0, 0 };
    ASSERT_TRUE(hexa.getCardValueArraySize(&size, valueType("ElementStrain", "node")));
    EXPECT_EQ(size.leadingCount, 5);
    EXPECT_EQ(size.numberOfPoints, 8);
    EXPECT_EQ(size.numberOfSectionPoints, 1);
    EXPECT_EQ(size.numberOfVectorValues, 6);
    ASSERT_TRUE(hexa.getCardValueArraySize(&size, valueType("VonMisesStress")));
    EXPECT_EQ(size.numberOfVectorValues, 1);
    EXPECT_FALSE(hexa.getCardValueArraySize(&size, valueType("ElementStress", "gaussPoint")));
    EXPECT_EQ(size.numberOfPoints, 0);
}

TEST(HexaElementCard, DrawingNodesAndColourSizes)
{
    CardsTestModel model;
    model.read(hexaModel);
    const Hexa& hexa = model.cardAs<Hexa>(H1Row);
    EXPECT_EQ(hexa.numberOfNodeForDrawing(), 8u);
    EXPECT_EQ(hexa.nodeCardNameForDrawingWithNodeNo(7)->cardNameString(), u"N8"_qs);
    EXPECT_EQ(
        programErrorReason([&] { hexa.nodeCardNameForDrawingWithNodeNo(8); }), u"Out of range."_qs);
    EXPECT_EQ(hexa.toolTipStringAddition(), u"( Property: SO )"_qs);
    double positions[48] = {};
    for (int node = 0; node < 8; ++node)
        positions[6 * node] = node;
    double centre[3];
    ASSERT_TRUE(hexa.getCenterPosition(centre, positions));
    EXPECT_EQ(centre[0], 3.5);

    for (quint16 points : { 0, 1, 8 }) {
        const _UFemCardValueArraySize size { 0, points, 1, 1 };
        UErrorPtr error;
        EXPECT_TRUE(hexa.drawOpenGLToDrawingBuffer(
            nullptr, positions, nullptr, &size, nullptr, nullptr, nullptr, &error));
        EXPECT_FALSE(error) << points;
    }
    for (const _UFemCardValueArraySize size :
        { _UFemCardValueArraySize { 0, 2, 1, 1 }, _UFemCardValueArraySize { 0, 8, 1, 6 } }) {
        UErrorPtr error;
        EXPECT_TRUE(hexa.drawOpenGLToDrawingBuffer(
            nullptr, positions, nullptr, &size, nullptr, nullptr, nullptr, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 32003);
    }
}

// Values asked from several threads at once, as the 3-D view's workers do, equal those asked
// alone.
TEST_F(HexaElementCardResults, ThreadsAskValuesAtOnce)
{
    const std::vector<double> stress = values("ElementStress", 48);
    const std::vector<double> force = values("ElementNodeForce", 48);
    const UFemCard& hexa = model.card(H1Row);
    const UFemCard* caseCard = &model.card(CaseRow);
    const _UFemCardValueType stressType = valueType("ElementStress");
    const _UFemCardValueType forceType = valueType("ElementNodeForce");
    constexpr int ThreadCount = 6;
    std::vector<int> mismatches(ThreadCount, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < ThreadCount; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                std::vector<double> out(48);
                UErrorPtr error;
                const bool isStress = (t + round) % 2 == 0;
                hexa.getCardValue(out.data(), isStress ? stressType : forceType, caseCard, &error);
                if (out != (isStress ? stress : force))
                    ++mismatches[std::size_t(t)];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(ThreadCount, 0));
}
