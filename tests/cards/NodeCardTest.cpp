#include "CardsTestModel.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "cards/Node.h"
#include "cards/loads/Case.h"
#include "foundation/UFemNotFound.h"

#include <array>

using namespace cardstest;

namespace {

// Results whose displacement of (node n, case c, kind k, direction d) is 100n + 10c + 3k + d, with
// state 1 for translations and 2 for rotations; the last query is recorded.
class FakeNodeResults : public UFemResultDataManager {
public:
    std::optional<QString> projectTitleString() const override { return std::nullopt; }
    std::optional<QString> projectVersionString() const override { return std::nullopt; }
    std::optional<QString> projectCommentString() const override { return std::nullopt; }
    std::optional<QString> modelText() const override { return text; }
    std::optional<QString> calculationInfoString() const override { return std::nullopt; }
    std::optional<QString> calculationLogString() const override { return std::nullopt; }
    std::optional<QString> calculationErrorString() const override { return std::nullopt; }
    UErrorPtr calculationError() const override { return nullptr; }
    bool canSynchronizeNodeNoAndCaseNoWithModelData() const override { return true; }
    quint64 nodeCount() const override { return 8; }
    quint64 caseCount() const override { return 4; }
    QStringList nodeCardNameStringArray() const override { return {}; }
    QStringList caseCardNameStringArray() const override { return {}; }
    QStringList caseRestraintCardNameStringArray() const override { return {}; }
    std::optional<QByteArray> resultFileData(UErrorPtr*) const override { return QByteArray(); }
    bool getNodeDisplacement(double* values, quint8* states, quint64 nodeNo,
        quint64 rotationIndexSet, quint64 caseNo, std::optional<QString>* calculationErrorString,
        UErrorPtr* error) const override
    {
        lastQuery = { nodeNo, rotationIndexSet, caseNo };
        if (failure) {
            *error = failure;
            return false;
        }
        int at = 0;
        for (quint64 kind = 0; kind < 2; ++kind) {
            if ((rotationIndexSet & (kind + 1)) == 0)
                continue;
            for (int d = 0; d < 3; ++d, ++at) {
                values[at]
                    = 100.0 * double(nodeNo) + 10.0 * double(caseNo) + 3.0 * double(kind) + d;
                if (states != nullptr)
                    states[at] = quint8(kind + 1);
            }
        }
        if (calculationErrorString != nullptr)
            *calculationErrorString = caseErrorText;
        return true;
    }

    std::optional<QString> text;
    std::optional<QString> caseErrorText;
    UErrorPtr failure;
    mutable std::array<quint64, 3> lastQuery {};
};

const QString nodeModel = QStringLiteral("Node , N1 ,  , 1.5 , 0 , -2e-3 ,\n"
                                         "Node , N2 ,  , 0 , 4 , 0 ,\n"
                                         "Case , C1 , LINEAR_STATIC , R , F ,\n");

class NodeCardResults : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.read(nodeModel);
        results->text = model.controller.modelTextOfAllCards();
        UErrorPtr error;
        ASSERT_TRUE(model.controller.setResultDataManager(results, false, &error));
    }
    Node& node(quint64 row) { return model.cardAs<Node>(row); }
    Case& caseCard() { return model.cardAs<Case>(2); }

    CardsTestModel model;
    std::shared_ptr<FakeNodeResults> results = std::make_shared<FakeNodeResults>();
};

} // namespace

TEST(NodeCard, CoordMustStayEmptyAndXYZAreRequired)
{
    CardsTestModel model;
    const UFemCardClass& node = Node::cardClassObject();
    EXPECT_FALSE(model.registerLine(node, u"Node , N ,  , 0 , 0 , 0 ,"_qs));
    const UErrorPtr coord = model.registerLine(node, u"Node , N , C1 , 0 , 0 , 0 ,"_qs);
    ASSERT_TRUE(coord);
    EXPECT_EQ(coord->code(), 12015);
    EXPECT_EQ(coord->localizedDescription(),
        u"( Error on Register ) Column 'Coord' (column 3) must be empty."_qs);
    EXPECT_EQ(errorDescription(model.registerLine(node, u"Node , N ,  , , 0 , 0 ,"_qs)),
        u"( Error on Register ) Column 'X' (column 4) is empty."_qs);
    // The empty-column message comes first, whatever Coord holds.
    EXPECT_EQ(errorDescription(model.registerLine(node, u"Node , N , C1 ,"_qs)),
        u"( Error on Register ) Columns 'X' (column 4), 'Y' (column 5), 'Z' (column 6) are empty."_qs);
}

TEST(NodeCard, LocationValuesAndToolTip)
{
    CardsTestModel model;
    model.read(nodeModel);
    const Node& n1 = model.cardAs<Node>(0);
    double location[3] {};
    n1.getNodeLocation(location);
    EXPECT_EQ(location[0], 1.5);
    EXPECT_EQ(location[1], 0.0);
    EXPECT_EQ(location[2], -0.002);
    EXPECT_EQ(n1.toolTipString(), u"<Node> N1 <1>\n( 1.5, 0, -2e-3 )"_qs);
    EXPECT_EQ(Node(&model.controller).toolTipStringAddition(), u"( 0.0, 0.0, 0.0 )"_qs);
    EXPECT_FALSE(n1.checkErrorToRun());
    EXPECT_TRUE(n1.isRelatedToCaseWithCaseCard(model.card(2)));

    double value[3] {};
    UErrorPtr error;
    ASSERT_TRUE(n1.getCardValue(value, valueType("Location"), nullptr, &error));
    EXPECT_EQ(value[0], 1.5);
    EXPECT_EQ(value[2], -0.002);

    _UFemCardValueArraySize size { 5, 0, 0, 0 };
    ASSERT_TRUE(n1.getCardValueArraySize(&size, valueType("Displacement")));
    EXPECT_EQ(size.leadingCount, 5);
    EXPECT_EQ(size.numberOfPoints, 1);
    EXPECT_EQ(size.numberOfSectionPoints, 1);
    EXPECT_EQ(size.numberOfVectorValues, 6);
    ASSERT_TRUE(n1.getCardValueArraySize(&size, valueType("Location")));
    EXPECT_EQ(size.numberOfVectorValues, 3);
    EXPECT_FALSE(n1.respondsToCardValueType(valueType("Displacement", "node")));
    EXPECT_FALSE(n1.getCardValueArraySize(&size, valueType("Displacement", "node")));
    EXPECT_EQ(size.numberOfVectorValues, 0);
    EXPECT_FALSE(n1.respondsToCardValueType(valueType("YoungsModulus")));
}

TEST(NodeCard, DisplacementBeforeAnyResultIsZeroWithNoResultState)
{
    CardsTestModel model;
    model.read(nodeModel);
    const Node& n1 = model.cardAs<Node>(0);
    const Case& c1 = model.cardAs<Case>(2);
    EXPECT_EQ(n1.nodeNo(), UFemNotFound);
    EXPECT_FALSE(c1.hasCaseResult());

    double values[7];
    quint8 states[7];
    std::fill(values, values + 7, -1.0);
    std::fill(states, states + 7, quint8(9));
    UErrorPtr error;
    ASSERT_TRUE(
        n1.getNodeDisplacement(values, states, UFemRotationIndexSetTranslation, &c1, &error));
    EXPECT_EQ(values[2], 0.0);
    EXPECT_EQ(states[2], 0x80);
    // Only the selected kind is written.
    EXPECT_EQ(values[3], -1.0);
    EXPECT_EQ(states[3], 9);

    ASSERT_TRUE(n1.getCardValue(values, valueType("Displacement"), &c1, &error));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(values[i], 0.0);
    EXPECT_EQ(values[6], -1.0);
    EXPECT_FALSE(error);
}

TEST_F(NodeCardResults, DisplacementsComeFromTheResultsByNodeAndCaseNumber)
{
    node(1).setNodeNo(4);
    caseCard().setCaseNo(2);
    EXPECT_TRUE(caseCard().hasCaseResult());
    double values[6] {};
    quint8 states[6] {};
    std::optional<QString> caseError = u"stale"_qs;
    results->caseErrorText = u"Error on Cases"_qs;
    UErrorPtr error;
    ASSERT_TRUE(node(1).getNodeDisplacement(
        values, states, UFemRotationIndexSetBoth, &caseCard(), &caseError, &error));
    EXPECT_EQ(results->lastQuery, (std::array<quint64, 3> { 4, 3, 2 }));
    EXPECT_EQ(values[0], 420.0);
    EXPECT_EQ(values[5], 425.0);
    EXPECT_EQ(states[0], 1);
    EXPECT_EQ(states[3], 2);
    EXPECT_EQ(caseError, u"Error on Cases"_qs);

    ASSERT_TRUE(node(1).getNodeDisplacement(
        values, states, UFemRotationIndexSetRotation, &caseCard(), &error));
    EXPECT_EQ(results->lastQuery, (std::array<quint64, 3> { 4, 2, 2 }));
    EXPECT_EQ(values[0], 423.0);

    double cardValue[6] {};
    ASSERT_TRUE(node(1).getCardValue(cardValue, valueType("Displacement"), &caseCard(), &error));
    EXPECT_EQ(cardValue[1], 421.0);
    EXPECT_EQ(cardValue[4], 424.0);
}

TEST_F(NodeCardResults, NodeOrCaseWithoutNumberGivesZerosAndNeverStops)
{
    caseCard().setCaseNo(0);
    // A node added after the calculation.
    double values[6] { 1, 1, 1, 1, 1, 1 };
    quint8 states[6] {};
    UErrorPtr error;
    ASSERT_TRUE(node(0).getNodeDisplacement(values, states, 3, &caseCard(), &error));
    EXPECT_EQ(values[4], 0.0);
    EXPECT_EQ(states[4], 0x80);
    // A case added after the calculation.
    node(0).setNodeNo(0);
    caseCard().resetCaseNo();
    std::fill(values, values + 6, 1.0);
    ASSERT_TRUE(node(0).getNodeDisplacement(values, states, 3, &caseCard(), &error));
    EXPECT_EQ(values[0], 0.0);
    EXPECT_EQ(states[0], 0x80);
    EXPECT_EQ(results->lastQuery, (std::array<quint64, 3> { 0, 0, 0 }));
    EXPECT_FALSE(error);
}

TEST_F(NodeCardResults, ResultErrorsAreHandedOn)
{
    node(0).setNodeNo(1);
    caseCard().setCaseNo(0);
    results->failure = UFemCardRunError("broken results");
    double values[6] {};
    UErrorPtr error;
    EXPECT_FALSE(node(0).getCardValue(values, valueType("Displacement"), &caseCard(), &error));
    EXPECT_EQ(error, results->failure);
    EXPECT_NE(programErrorReason([&] {
        static_cast<void>(node(0).getNodeDisplacement(values, nullptr, 1, &caseCard(), nullptr));
    }),
        u"(no program error)"_qs);
}

TEST(NodeCard, DrawnAtItsOwnNameWithOneColorValue)
{
    CardsTestModel model;
    model.read(nodeModel);
    const Node& n1 = model.cardAs<Node>(0);
    EXPECT_EQ(n1.numberOfNodeForDrawing(), 1u);
    EXPECT_FALSE(n1.doesDrawWhenNotAllNodeValid());
    EXPECT_TRUE(n1.isRotationDisplacementValid());
    UFemCardName* names[2] {};
    EXPECT_EQ(n1.getNodeCardNamesForDrawingToNodeCardNameTable(names, 2, nullptr), 1u);
    EXPECT_EQ(names[0], n1.cardName());
    EXPECT_EQ(n1.nodeCardNameForDrawingWithNodeNo(0), n1.cardName());
    EXPECT_EQ(
        programErrorReason([&] { n1.nodeCardNameForDrawingWithNodeNo(1); }), u"Out of range."_qs);

    const double table[6] { 7, 8, 9, 0, 0, 0 };
    double center[3] {};
    EXPECT_TRUE(n1.getCenterPosition(center, table));
    EXPECT_EQ(center[2], 9.0);

    UErrorPtr error;
    const _UFemCardValueArraySize one { 0, 1, 1, 1 };
    EXPECT_TRUE(n1.drawOpenGLToDrawingBuffer(
        nullptr, table, nullptr, &one, center, nullptr, nullptr, &error));
    EXPECT_FALSE(error);
    const _UFemCardValueArraySize three { 0, 1, 1, 3 };
    EXPECT_TRUE(n1.drawOpenGLToDrawingBuffer(
        nullptr, table, nullptr, &three, center, nullptr, nullptr, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 32003);
    EXPECT_TRUE(error->localizedRecoverySuggestion().contains(
        u"Number of points: 1, Number of section points: 1, Number of vector values: 1"_qs))
        << error->localizedRecoverySuggestion().toStdString();
    EXPECT_NE(programErrorReason([&] {
        n1.drawOpenGLToDrawingBuffer(
            nullptr, table, nullptr, &three, center, nullptr, nullptr, nullptr);
    }),
        u"(no program error)"_qs);
}

TEST(NodeCard, MissingNodeCardOfANameIsAValueError)
{
    CardsTestModel model;
    model.read(nodeModel);
    UFemCardColumn reference(&model.card(2), 2, CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType);
    UErrorPtr error;
    ASSERT_TRUE(reference.setColumnWithColumnString(u"N9"_qs, &error));
    EXPECT_EQ(Node::nodeCardOfColumn(reference, &error), nullptr);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 42014);
    EXPECT_EQ(
        error->localizedDescription(), u"Card 'N9' doesn't exist, so could not get values."_qs);

    ASSERT_TRUE(reference.setColumnWithColumnString(u"N2"_qs, &error));
    EXPECT_EQ(Node::nodeCardOfColumn(reference, &error), &model.card(1));
    reference.resetColumn();
}
