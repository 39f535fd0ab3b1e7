#include "../cardmodel/DataControllerStandIns.h"
#include "CardsTestModel.h"
#include "QuadTestElement.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "cards/Node.h"
#include "cards/elements/Quad4c.h"
#include "cards/elements/UFemQuad4cValues.h"
#include "cards/loads/Case.h"

#include <atomic>
#include <thread>

using namespace cardstest;
using namespace quadtest;

namespace {

// Displacements (translations, then rotations) per node number; any query may be made to fail.
class QuadResults : public fakecards::FakeResultDataManager {
public:
    bool getNodeDisplacement(double* values, quint8* states, quint64 nodeNo,
        quint64 rotationIndexSet, quint64, std::optional<QString>*, UErrorPtr* error) const override
    {
        EXPECT_EQ(rotationIndexSet, UFemRotationIndexSetBoth);
        if (failure) {
            *error = failure;
            return false;
        }
        for (int i = 0; i < 6; ++i) {
            values[i] = displacement[6 * nodeNo + i];
            if (states != nullptr)
                states[i] = i < 3 ? 1 : 2;
        }
        return true;
    }

    NodalVector displacement {};
    UErrorPtr failure;
};

const QString plateModel = QStringLiteral("Material , M , 1000 , 0.3 ,\n"
                                          "ShellProp , SP , M , 0.1 ,\n"
                                          "RodProp , RP , M , 2 ,\n"
                                          "Node , N1 ,  , 0 , 0 , 0 ,\n"
                                          "Node , N2 ,  , 2 , 0 , 0 ,\n"
                                          "Node , N3 ,  , 2 , 1.5 , 0 ,\n"
                                          "Node , N4 ,  , 0 , 1.5 , 0 ,\n"
                                          "Quad , Q1 , SP , N1 , N2 , N3 , N4 ,\n"
                                          "Case , C1 , LINEAR_STATIC , R , F ,\n");
constexpr quint64 quadRow = 7;
constexpr quint64 caseRow = 8;

class QuadCardResults : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.read(plateModel);
        results->text = model.controller.modelTextOfAllCards();
        UErrorPtr error;
        ASSERT_TRUE(model.controller.setResultDataManager(results, false, &error));
        for (quint64 nodeNo = 0; nodeNo < 4; ++nodeNo)
            model.cardAs<Node>(3 + nodeNo).setNodeNo(nodeNo);
        model.cardAs<Case>(caseRow).setCaseNo(0);
    }
    const Quad4c& quad() { return model.cardAs<Quad4c>(quadRow); }
    const UFemCard* caseCard() { return &model.card(caseRow); }
    void setField(const std::function<std::array<double, 6>(const std::array<double, 3>&)>& field)
    {
        results->displacement = nodalField(plate, field);
    }

    CardsTestModel model;
    std::shared_ptr<QuadResults> results = std::make_shared<QuadResults>();
};

std::array<double, 6> bendingAboutY(const std::array<double, 3>& X)
{
    return bendingField(X, 0.01, 0.0, 0.0);
}

} // namespace

TEST(QuadCard, ClassDescriptionAndColumns)
{
    const UFemCardClass& quad = Quad4c::cardClassObject();
    CardsTestModel model;
    model.read(plateModel);
    const UFemCard& card = model.card(quadRow);
    EXPECT_EQ(card.cardLabelString(), u"Quad"_qs);
    EXPECT_EQ(card.cardType(), 4);
    EXPECT_EQ(card.cardFormViewControllerClass(), u"QuadFormViewController"_qs);
    EXPECT_EQ(card.numberOfColumns(), 7u);
    const QString labels[7] = { u"Quad"_qs, u"Card Name"_qs, u"Shell Prop"_qs, u"Node 1"_qs,
        u"Node 2"_qs, u"Node 3"_qs, u"Node 4"_qs };
    for (quint64 index = 0; index < 7; ++index)
        EXPECT_EQ(card.columnLabelStringAtIndex(index), labels[index]);
    EXPECT_EQ(&card.cardClass(), &quad);
    EXPECT_EQ(model.errorText(quadRow), QString());
    EXPECT_EQ(model.cardAs<Quad4c>(quadRow).toolTipStringAddition(), u"( Property: SP )"_qs);
    EXPECT_EQ(card.numberOfNodeForDrawing(), 4u);
    EXPECT_TRUE(card.isRotationDisplacementValid());
    EXPECT_FALSE(card.doesDrawWhenNotAllNodeValid());
    for (quint64 nodeNo = 0; nodeNo < 4; ++nodeNo)
        EXPECT_EQ(card.nodeCardNameForDrawingWithNodeNo(nodeNo)->cardNameString(),
            QStringLiteral("N%1").arg(nodeNo + 1));
    EXPECT_EQ(
        programErrorReason([&] { card.nodeCardNameForDrawingWithNodeNo(4); }), u"Out of range."_qs);
    UFemCardName* names[4] {};
    EXPECT_EQ(card.getNodeCardNamesForDrawingToNodeCardNameTable(names, 4, nullptr), 4u);
    EXPECT_EQ(names[3]->cardNameString(), u"N4"_qs);
    const double positions[24]
        = { 0, 0, 0, 9, 9, 9, 1, 0, 0, 9, 9, 9, 1, 1, 0, 9, 9, 9, 0, 1, 0, 9, 9, 9 };
    double center[3];
    EXPECT_TRUE(card.getCenterPosition(center, positions));
    EXPECT_EQ(center[0], 0.5);
    EXPECT_EQ(center[1], 0.5);
    EXPECT_EQ(center[2], 0.0);
}

TEST(QuadCard, RegisterChecks)
{
    CardsTestModel model;
    const UFemCardClass& quad = Quad4c::cardClassObject();
    EXPECT_FALSE(model.registerLine(quad, u"Quad , Q , SP , A , B , C , D ,"_qs));
    const UErrorPtr empty = model.registerLine(quad, u"Quad , Q , , A , B , , D ,"_qs);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->code(), 12015);
    EXPECT_EQ(empty->localizedDescription(),
        u"( Error on Register ) Columns 'Shell Prop' (column 3), 'Node 3' (column 6) are empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(quad, u"Quad , Q , SP , A , B , C ,"_qs)),
        u"( Error on Register ) Column 'Node 4' (column 7) is empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(quad, u"Quad , Q , SP , A , B , C , B ,"_qs)),
        u"( Error on Register ) Some of Nodes ( Node 1 ~ Node 4 ) are same."_qs);
}

TEST(QuadCard, RunChecks)
{
    CardsTestModel model;
    model.read(plateModel + u"Quad , Q2 , SP , N1 , N2 , N7 , N4 ,\n"_qs
        + u"Quad , Q3 , RP , N1 , N2 , N3 , N4 ,\n"_qs
        + u"Quad , Q4 , SX , N1 , N2 , N8 , N9 ,\n"_qs);
    EXPECT_FALSE(model.card(quadRow).checkErrorToRun());
    const UErrorPtr missing = model.card(caseRow + 1).checkErrorToRun();
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->code(), 12016);
    EXPECT_EQ(
        missing->localizedDescription(), u"( Error to Run ) Card 'N7' is not registered yet."_qs);
    EXPECT_EQ(errorDescription(model.card(caseRow + 2).checkErrorToRun()),
        u"( Error to Run ) Card 'RP' (Shell Prop) does not return 'Thickness', or 'Material Property'."_qs);
    EXPECT_EQ(errorDescription(model.card(caseRow + 3).checkErrorToRun()),
        u"( Error to Run ) Cards 'SX', 'N8', 'N9' are not registered yet."_qs);
    EXPECT_FALSE(model.card(quadRow).checkWarningToRun());
}

TEST(QuadCard, ValueArraySizesAndRefusals)
{
    CardsTestModel model;
    model.read(plateModel);
    const UFemCard& card = model.card(quadRow);
    struct Expected {
        const char* major;
        const char* minor;
        quint16 points, sections, values;
    };
    const Expected answered[]
        = { { "VonMisesStress", nullptr, 4, 1, 1 }, { "VonMisesStress", "node", 4, 1, 1 },
              { "VonMisesStress", "shellFace", 4, 2, 1 }, { "ElementStress", "shellFace", 4, 2, 6 },
              { "ElementStrain", "shellFace", 4, 2, 6 }, { "ElementNodeForce", nullptr, 4, 1, 6 },
              { "ElementNodeForce", "node", 4, 1, 6 }, { "ShellForce", nullptr, 4, 1, 9 },
              { "ShellForce", "node", 4, 1, 9 }, { "Thickness", nullptr, 1, 1, 1 },
              { "YoungsModulus", nullptr, 1, 1, 1 }, { "PoissonsRatio", nullptr, 1, 1, 1 } };
    for (const Expected& e : answered) {
        SCOPED_TRACE(std::string(e.major) + "/" + (e.minor ? e.minor : ""));
        _UFemCardValueArraySize size { 7, 0, 0, 0 };
        EXPECT_TRUE(card.respondsToCardValueType(valueType(e.major, e.minor)));
        ASSERT_TRUE(card.getCardValueArraySize(&size, valueType(e.major, e.minor)));
        EXPECT_EQ(size.leadingCount, 7);
        EXPECT_EQ(size.numberOfPoints, e.points);
        EXPECT_EQ(size.numberOfSectionPoints, e.sections);
        EXPECT_EQ(size.numberOfVectorValues, e.values);
    }
    const std::pair<const char*, const char*> refused[] = { { "ElementStress", nullptr },
        { "ElementStress", "node" }, { "ElementStrain", nullptr }, { "Thickness", "node" },
        { "YoungsModulus", "shellFace" }, { "ShellForce", "shellFace" },
        { "ElementNodeForce", "shellFace" }, { "SectionArea", nullptr } };
    for (const auto& [major, minor] : refused) {
        SCOPED_TRACE(std::string(major) + "/" + (minor ? minor : ""));
        _UFemCardValueArraySize size { 7, 3, 3, 3 };
        EXPECT_FALSE(card.respondsToCardValueType(valueType(major, minor)));
        EXPECT_FALSE(card.getCardValueArraySize(&size, valueType(major, minor)));
        EXPECT_EQ(size.leadingCount, 0);
        EXPECT_EQ(size.numberOfPoints, 0);
        EXPECT_EQ(size.numberOfSectionPoints, 0);
        EXPECT_EQ(size.numberOfVectorValues, 0);
    }
}

TEST(QuadCard, PropertyValuesAndMissingShellProp)
{
    CardsTestModel model;
    model.read(plateModel + u"Quad , Q2 , SX , N1 , N2 , N3 , N4 ,\n"_qs);
    const auto& quad = model.cardAs<Quad4c>(quadRow);
    double value = 0.0;
    UErrorPtr error;
    ASSERT_TRUE(quad.getCardValue(&value, valueType("Thickness"), nullptr, &error));
    EXPECT_EQ(value, 0.1);
    ASSERT_TRUE(quad.getCardValue(&value, valueType("YoungsModulus"), nullptr, &error));
    EXPECT_EQ(value, 1000.0);
    ASSERT_TRUE(quad.getCardValue(&value, valueType("PoissonsRatio"), nullptr, &error));
    EXPECT_EQ(value, 0.3);
    const auto& orphan = model.cardAs<Quad4c>(caseRow + 1);
    EXPECT_EQ(orphan.thickness(&error), 0.0);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 42014);
    EXPECT_TRUE(error->localizedDescription().contains(u"SX"_qs));
    error.reset();
    EXPECT_FALSE(orphan.getCardValue(&value, valueType("YoungsModulus"), nullptr, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 42014);
    EXPECT_EQ(programErrorReason([&] { orphan.thickness(nullptr); }), u"Error Responder Error"_qs);
}

TEST(QuadCard, StiffnessPutsSixtyFourBlocks)
{
    CardsTestModel model;
    model.read(plateModel);
    RecordingMatrixCalculator calculator;
    UErrorPtr error;
    ASSERT_TRUE(model.cardAs<Quad4c>(quadRow).putElementStiffnessMatrixToMatrixCalculator(
        calculator, &error));
    ASSERT_EQ(calculator.puts.size(), 64u);
    EXPECT_EQ(calculator.puts[0].nodeName1, u"N1"_qs);
    EXPECT_EQ(calculator.puts[1].rotation2, 1u);
    EXPECT_EQ(calculator.puts[2].nodeName2, u"N2"_qs);
    EXPECT_EQ(calculator.puts[63].nodeName1, u"N4"_qs);
    EXPECT_EQ(calculator.puts[63].rotation1, 1u);
    // The drilling diagonal of Node 1, 0.01 E t A.
    EXPECT_NEAR(calculator.puts[9].block[8], 3.0, 1e-9);
    const Stiffness K = makeStiffness(makeElementInfo(plate, 1000.0, 0.3, 0.1));
    EXPECT_EQ(calculator.puts[16].block[4], K[(6 * 1 + 1) * 24 + 6 * 0 + 1]);
}

TEST(QuadCard, DegenerateElementsFailNamingTheCard)
{
    CardsTestModel model;
    model.read(u"Material , M , 1000 , 0.3 ,\n"
               "ShellProp , SP , M , 0.1 ,\n"
               "ShellProp , ZERO , M , 0 ,\n"
               "Node , N1 ,  , 0 , 0 , 0 ,\n"
               "Node , N2 ,  , 2 , 0 , 0 ,\n"
               "Node , N3 ,  , 2 , 1.5 , 0 ,\n"
               "Node , N4 ,  , 2 , 1.5 , 0 ,\n"
               "Node , N5 ,  , 0 , 1.5 , 0 ,\n"
               "Quad , COLLAPSED , SP , N1 , N2 , N3 , N4 ,\n"
               "Quad , FOLDED , SP , N1 , N2 , N5 , N3 ,\n"
               "Quad , THIN , ZERO , N1 , N2 , N3 , N5 ,\n"_qs);
    const QString expected[3] = { u"The nodes of Quad 'COLLAPSED' coincide or fold the element."_qs,
        u"The nodes of Quad 'FOLDED' coincide or fold the element."_qs,
        u"The stiffness of Quad 'THIN' is not finite."_qs };
    for (quint64 i = 0; i < 3; ++i) {
        const auto& quad = model.cardAs<Quad4c>(8 + i);
        EXPECT_FALSE(quad.checkErrorToRun());
        RecordingMatrixCalculator calculator;
        UErrorPtr error;
        EXPECT_FALSE(quad.putElementStiffnessMatrixToMatrixCalculator(calculator, &error));
        EXPECT_TRUE(calculator.puts.empty());
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->localizedDescription().contains(expected[i]))
            << error->localizedDescription().toStdString();
    }
}

TEST(QuadCard, DrawingChecksTheColorValues)
{
    CardsTestModel model;
    model.read(plateModel);
    const UFemCard& card = model.card(quadRow);
    UErrorPtr error;
    const double values[4] = {};
    for (quint16 points : { 0, 1, 4 }) {
        const _UFemCardValueArraySize size { 0, points, 1, 1 };
        EXPECT_TRUE(card.drawOpenGLToDrawingBuffer(
            nullptr, nullptr, nullptr, &size, values, nullptr, nullptr, &error));
        EXPECT_FALSE(error);
    }
    const _UFemCardValueArraySize two { 0, 2, 1, 1 };
    EXPECT_TRUE(card.drawOpenGLToDrawingBuffer(
        nullptr, nullptr, nullptr, &two, nullptr, nullptr, nullptr, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 32003);
    EXPECT_TRUE(error->localizedRecoverySuggestion().contains(
        u"Number of points: 2, Number of section points: 1, Number of vector values: 1 )\nRequired CardValueArraySize: ( Number of points: 1 or 4, Number of section points: 1, Number of vector values: 1 )"_qs))
        << error->localizedRecoverySuggestion().toStdString();
}

TEST_F(QuadCardResults, BendingValuesAtTheCornerFaces)
{
    setField(bendingAboutY);
    double strain[48];
    UErrorPtr error;
    ASSERT_TRUE(
        quad().getCardValue(strain, valueType("ElementStrain", "shellFace"), caseCard(), &error));
    EXPECT_NEAR(strain[0], 0.0005, 1e-9);
    EXPECT_NEAR(strain[6], -0.0005, 1e-9);
    double stress[48];
    ASSERT_TRUE(
        quad().getCardValue(stress, valueType("ElementStress", "shellFace"), caseCard(), &error));
    EXPECT_NEAR(stress[0], 0.549451, 1e-6);
    EXPECT_NEAR(stress[1], 0.164835, 1e-6);
    EXPECT_NEAR(stress[6 * 7], -0.549451, 1e-6); // Node 4, face 2
    double force[36];
    ASSERT_TRUE(quad().getCardValue(force, valueType("ShellForce"), caseCard(), &error));
    for (int corner = 0; corner < 4; ++corner) {
        EXPECT_NEAR(force[9 * corner + 6], -0.000274725, 1e-9);
        EXPECT_NEAR(force[9 * corner + 7], -0.000915751, 1e-9);
        EXPECT_NEAR(force[9 * corner + 0], 0.0, 1e-9);
    }
    double vonMises[8];
    ASSERT_TRUE(quad().getCardValue(
        vonMises, valueType("VonMisesStress", "shellFace"), caseCard(), &error));
    for (double v : vonMises)
        EXPECT_NEAR(v, 0.4883623, 1e-6);
    ASSERT_TRUE(quad().getCardValue(vonMises, valueType("VonMisesStress"), caseCard(), &error));
    EXPECT_NEAR(vonMises[3], 0.4883623, 1e-6);
    EXPECT_FALSE(error);
}

TEST_F(QuadCardResults, VonMisesPerNodeTakesTheLargerFace)
{
    // Stretch plus bending: face 1 is the more stressed.
    setField([](const std::array<double, 3>& X) {
        auto values = bendingAboutY(X);
        values[0] = 0.001 * X[0];
        return values;
    });
    double faces[8];
    double nodes[4];
    UErrorPtr error;
    ASSERT_TRUE(
        quad().getCardValue(faces, valueType("VonMisesStress", "shellFace"), caseCard(), &error));
    ASSERT_TRUE(
        quad().getCardValue(nodes, valueType("VonMisesStress", "node"), caseCard(), &error));
    for (int corner = 0; corner < 4; ++corner) {
        EXPECT_GT(faces[2 * corner], faces[2 * corner + 1]);
        EXPECT_EQ(nodes[corner], faces[2 * corner]);
    }
}

TEST_F(QuadCardResults, NodeForcesAreTheStiffnessTimesTheDisplacements)
{
    setField([](const std::array<double, 3>& X) {
        return std::array<double, 6> { 0.001 * X[0], -0.0003 * X[1], 0.0, 0.0, 0.0, 0.0 };
    });
    double force[24];
    UErrorPtr error;
    ASSERT_TRUE(quad().getCardValue(force, valueType("ElementNodeForce"), caseCard(), &error));
    const double Fx[4] = { -0.075, 0.075, 0.075, -0.075 };
    for (int n = 0; n < 4; ++n) {
        EXPECT_NEAR(force[6 * n], Fx[n], 1e-9);
        EXPECT_NEAR(force[6 * n + 1], 0.0, 1e-9);
    }
    double shellForce[36];
    ASSERT_TRUE(
        quad().getCardValue(shellForce, valueType("ShellForce", "node"), caseCard(), &error));
    EXPECT_NEAR(shellForce[9 * 2], 0.1, 1e-9);
}

TEST_F(QuadCardResults, ResultErrorsAreHandedOnAndHugeTablesRefused)
{
    results->failure = UFemCardRunError("no displacement");
    for (const char* major : { "ElementNodeForce", "ShellForce", "VonMisesStress" }) {
        double values[48];
        UErrorPtr error;
        EXPECT_FALSE(quad().getCardValue(values, valueType(major), caseCard(), &error));
        EXPECT_EQ(error, results->failure) << major;
    }
    double values[48];
    EXPECT_EQ(programErrorReason([&] {
        quad().getCardValue(values, valueType("ElementStrain", "shellFace"), caseCard(), nullptr);
    }),
        u"Error Responder Error"_qs);
    results->failure.reset();
    UErrorPtr error;
    EXPECT_FALSE(quad().getStressMatrixTable(
        values, UFemQuad4cOutputPointTable, quint64(1) << 62, caseCard(), &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81001);
}

TEST_F(QuadCardResults, ValuesAskedFromSeveralThreads)
{
    setField(bendingAboutY);
    const char* const types[][2]
        = { { "VonMisesStress", "shellFace" }, { "ElementStress", "shellFace" },
              { "ShellForce", nullptr }, { "ElementNodeForce", nullptr } };
    std::vector<std::vector<double>> expected;
    for (const auto& type : types) {
        std::vector<double> values(48);
        UErrorPtr error;
        ASSERT_TRUE(
            quad().getCardValue(values.data(), valueType(type[0], type[1]), caseCard(), &error));
        expected.push_back(values);
    }
    const Quad4c& card = quad();
    const UFemCard* caseCardPtr = caseCard();
    std::vector<_UFemCardValueType> typeWords;
    for (const auto& type : types)
        typeWords.push_back(valueType(type[0], type[1]));
    std::atomic<int> mismatches = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                const std::size_t which = std::size_t(t + round) % typeWords.size();
                std::vector<double> values(48);
                UErrorPtr error;
                if (!card.getCardValue(values.data(), typeWords[which], caseCardPtr, &error)
                    || values != expected[which])
                    ++mismatches;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}
