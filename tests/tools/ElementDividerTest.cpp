#include "ElementDividerTestSupport.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFemNumberFormatter.h"
#include "tools/divider/UFemToolElementDivider.h"
#include "tools/divider/UFemToolElementDividerStorage.h"

#include <gtest/gtest.h>

namespace {

using NodeLocation = UFemToolElementDivider::NodeLocation;

QString divided(const UFemCardVector& cards, quint64 n, bool* warning = nullptr)
{
    UErrorPtr error;
    bool didExistWarning = true;
    const std::optional<QString> text = UFemToolElementDivider::modelTextToAddByDividingElement(
        cards, n, 0, nullptr, &didExistWarning, &error);
    EXPECT_TRUE(text.has_value()) << (error ? error->localizedDescription().toStdString() : "");
    if (warning != nullptr)
        *warning = didExistWarning;
    return text.value_or(QString());
}

QString changed(const UFemCardVector& cards, qint32 direction)
{
    UErrorPtr error;
    bool didExistWarning = true;
    const std::optional<QString> text = UFemToolElementDivider::modelTextToAddByChangingQuad4QuadXX(
        cards, direction, 0, nullptr, &didExistWarning, &error);
    EXPECT_TRUE(text.has_value());
    EXPECT_FALSE(didExistWarning);
    return text.value_or(QString());
}

void expectAt(const std::map<QString, std::array<double, 3>>& nodes, const QString& name,
    std::array<double, 3> expected)
{
    const auto it = nodes.find(name);
    ASSERT_NE(it, nodes.end()) << name.toStdString();
    for (int axis = 0; axis < 3; ++axis)
        // Twelve significant digits.
        EXPECT_NEAR(it->second[axis], expected[axis], 1e-10) << name.toStdString();
}

// The centre name of a brick with the given corner names, divided in 2.
QString hexaCentreName(const QStringList& cornerNames)
{
    std::vector<QString> corners(cornerNames.begin(), cornerNames.end());
    const std::vector<NodeLocation> locations = { { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 0 },
        { 0, 1, 0 }, { 0, 0, 1 }, { 1, 0, 1 }, { 1, 1, 1 }, { 0, 1, 1 } };
    std::vector<QString> names(27);
    std::vector<NodeLocation> grid(27);
    UErrorPtr error;
    EXPECT_TRUE(UFemToolElementDivider::getDividingNode(
        names, grid, UFemToolElementDividerHexa8ObjectType, corners, locations, 2, 0, &error));
    EXPECT_EQ(grid[13], (NodeLocation { 0.5, 0.5, 0.5 }));
    return names[13];
}

} // namespace

TEST(ElementDividerTest, QuadInTwoGivesItsNodesInOrderAndFourElements)
{
    DividerModel model(TwoQuadModel);
    bool warning = true;
    const QString text = divided(model.cards({ "Q1" }), 2, &warning);
    EXPECT_FALSE(warning);
    EXPECT_EQ(dividerNodeNames(text),
        QStringList({ "A_B_21", "A_D_21", "A_B_C_D_211", "B_C_21", "C_D_21" }));
    const auto nodes = dividerNodes(text);
    expectAt(nodes, "A_B_21", { 1, 0, 0 });
    expectAt(nodes, "A_D_21", { 0, 2, 0 });
    expectAt(nodes, "A_B_C_D_211", { 1, 2, 0 });
    expectAt(nodes, "B_C_21", { 2, 2, 0 });
    EXPECT_EQ(linesStartingWith(text, "Quad , "),
        QStringList({ "Quad , Q1_211 , S1 , A , A_B_21 , A_B_C_D_211 , A_D_21 ,",
            "Quad , Q1_212 , S1 , A_B_21 , B , B_C_21 , A_B_C_D_211 ,",
            "Quad , Q1_221 , S1 , A_D_21 , A_B_C_D_211 , C_D_21 , D ,",
            "Quad , Q1_222 , S1 , A_B_C_D_211 , B_C_21 , C , C_D_21 ," }));

    // The neighbour shares B_C_21; the Rod passes unchanged.
    const QString both = divided(model.cards({ "Q1", "Q2", "R1" }), 2);
    EXPECT_EQ(dividerNodeNames(both).count("B_C_21"), 1);
    EXPECT_EQ(dividerNodeNames(both).size(), 9);
    EXPECT_EQ(linesStartingWith(both, "Quad , ").size(), 8);
    EXPECT_EQ(linesStartingWith(both, "Rod , "), QStringList({ "Rod , R1 , RP , A , E ," }));
    EXPECT_TRUE(both.contains("\\ Unchanged cards ( 1 cards )\nRod , R1 , RP , A , E ,\n\n"));
}

TEST(ElementDividerTest, TwoDigitDivisionsPadEveryIndex)
{
    DividerModel model(TwoQuadModel);
    const QString text = divided(model.cards({ "Q1" }), 10);
    const auto nodes = dividerNodes(text);
    expectAt(nodes, "A_B_1001", { 0.2, 0, 0 });
    expectAt(nodes, "A_B_C_D_100101", { 0.2, 0.4, 0 });
    // Walked from C, the edge C-B still counts from B.
    expectAt(nodes, "B_C_1001", { 2, 0.4, 0 });
    const QStringList elements = linesStartingWith(text, "Quad , ");
    ASSERT_EQ(elements.size(), 100);
    EXPECT_EQ(
        elements.front(), "Quad , Q1_100101 , S1 , A , A_B_1001 , A_B_C_D_100101 , A_D_1001 ,");
    EXPECT_TRUE(
        elements.back().startsWith("Quad , Q1_101010 , S1 , A_B_C_D_100909 , B_C_1009 , C ,"));
    EXPECT_EQ(nodes.size(), 121u - 4u);
}

TEST(ElementDividerTest, HexaCornerOrderFollowsTheSmallestNames)
{
    // P0 smallest, then its neighbour P1: the element's own order.
    EXPECT_EQ(hexaCentreName({ "A", "B", "F", "C", "D", "G", "H", "E" }), "A_B_F_C_D_G_H_E_2111");
    // P0 smallest with P4 the smallest neighbour: P0, P4, P5, P1, P3, P7, P6, P2.
    EXPECT_EQ(hexaCentreName({ "A", "D", "G", "C", "B", "E", "H", "F" }), "A_B_E_D_C_F_H_G_2111");
    // The same brick numbered from another corner names its centre alike.
    EXPECT_EQ(hexaCentreName({ "D", "G", "C", "A", "E", "H", "F", "B" }), "A_B_E_D_C_F_H_G_2111");

    DividerModel model(
        QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                       "SolidProp , P , Steel ,\n"
                       "Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 12 , 0 , 0 ,\n"
                       "Node , N3 ,  , 12 , 12 , 0 ,\nNode , N4 ,  , 0 , 12 , 0 ,\n"
                       "Node , N5 ,  , 0 , 0 , 12 ,\nNode , N6 ,  , 12 , 0 , 12 ,\n"
                       "Node , N7 ,  , 12 , 12 , 12 ,\nNode , N8 ,  , 0 , 12 , 12 ,\n"
                       "Hexa , H1 , P , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 ,\n"));
    const QString text = divided(model.cards({ "H1" }), 12);
    const QStringList elements = linesStartingWith(text, "Hexa , ");
    ASSERT_EQ(elements.size(), 1728);
    EXPECT_TRUE(elements.front().startsWith("Hexa , H1_12010101 , P , N1 , N1_N2_1201 , "));
    EXPECT_TRUE(elements.back().startsWith("Hexa , H1_12121212 , P , "));
    EXPECT_TRUE(elements.back().endsWith(" , N7 , N7_N8_1201 ,"));
    const auto nodes = dividerNodes(text);
    EXPECT_EQ(nodes.size(), 13u * 13u * 13u - 8u);
    expectAt(nodes, "N1_N2_N3_N4_N5_N6_N7_N8_12010101", { 1, 1, 1 });
    expectAt(nodes, "N1_N2_N3_N4_N5_N6_N7_N8_12030201", { 1, 2, 3 });
}

TEST(ElementDividerTest, ConversionsWriteTheExtraNodesAndTheirFields)
{
    DividerModel model(TwoQuadModel);
    const QString quad8 = changed(model.cards({ "Q1" }), 1);
    EXPECT_EQ(dividerNodeNames(quad8),
        QStringList({ "A_B_21", "A_D_21", "A_B_C_D_211", "B_C_21", "C_D_21" }));
    const QStringList quad8Lines = linesStartingWith(quad8, "Quad8 , ");
    ASSERT_EQ(quad8Lines.size(), 1);
    EXPECT_EQ(
        quad8Lines[0], "Quad8 , Q1 , S1 , A , B , C , D , A_B_21 , B_C_21 , C_D_21 , A_D_21 ,");
    EXPECT_EQ(quad8Lines[0].split(" , ").size(), 11);
    EXPECT_EQ(linesStartingWith(changed(model.cards({ "Q1" }), 2), "Quad9 , "),
        QStringList({ "Quad9 , Q1 , S1 , A , B , C , D , A_B_21 , B_C_21 , C_D_21 , A_D_21 , "
                      "A_B_C_D_211 ," }));

    const QString quad16 = changed(model.cards({ "Q1", "R1" }), 3);
    const auto nodes = dividerNodes(quad16);
    EXPECT_EQ(nodes.size(), 12u);
    expectAt(nodes, "A_B_C_D_322", { 4.0 / 3, 8.0 / 3, 0 });
    EXPECT_EQ(linesStartingWith(quad16, "Quad16 , "),
        QStringList({ "Quad16 , Q1 , S1 , A , B , C , D , A_B_31 , A_B_32 , B_C_31 , B_C_32 , "
                      "C_D_31 , C_D_32 , A_D_32 , A_D_31 , A_B_C_D_311 , A_B_C_D_312 , "
                      "A_B_C_D_322 , A_B_C_D_321 ," }));
    EXPECT_EQ(linesStartingWith(quad16, "Rod , ").size(), 1);

    // Back to four nodes: the names as written, no Node lines.
    const QString back = changed(model.cards({ "Q1", "Q2" }), 9);
    EXPECT_TRUE(dividerNodeNames(back).isEmpty());
    EXPECT_EQ(linesStartingWith(back, "Quad , "),
        QStringList({ "Quad , Q1 , S1 , A , B , C , D ,", "Quad , Q2 , S1 , B , E , F , C ," }));

    // The converted labels are no card class of this program: read back they are error cards.
    UErrorPtr error;
    ASSERT_GT(model.harness.model().addCardsWithModelText(
                  quad8Lines[0] + "\n", UFemColumnSeparatingCharacterTypeComma, 0, true, &error),
        0u);
    EXPECT_EQ(model.harness.model().cardAtRowIndex(0)->cardType(), UFemErrorCardType);
}

TEST(ElementDividerTest, RegistryMergesWithinTheToleranceAndRenamesAtIt)
{
    UFemToolElementDividerStorage storage(1e-3);
    const double origin[3] = { 0, 0, 0 };
    const double near[3] = { 0.0009, -0.0009, 0.0009 };
    const double atTolerance[3] = { 0.001, 0, 0 };
    const double far[3] = { 5, 0, 0 };
    EXPECT_EQ(storage.addDividingNode("A_B_21", origin), std::nullopt);
    EXPECT_EQ(storage.addDividingNode("A_B_21", near), std::nullopt);
    EXPECT_EQ(storage.nodeInfos().size(), 1u);
    EXPECT_FALSE(storage.didExistWarning());

    EXPECT_EQ(storage.addDividingNode("A_B_21", atTolerance), "A_B_21_@2@");
    EXPECT_EQ(storage.addDividingNode("A_B_21", far), "A_B_21_@3@");
    EXPECT_EQ(storage.addDividingNode("A_B_21", atTolerance), "A_B_21_@2@");
    EXPECT_EQ(storage.nodeInfos().size(), 3u);
    EXPECT_TRUE(storage.didExistWarning());
    EXPECT_EQ(storage.warningStrings(),
        QStringList({ "Warning - Same node name 'A_B_21' created on different location, so "
                      "changed to name 'A_B_21_@2@'.",
            "Warning - Same node name 'A_B_21' created on different location, so changed to "
            "name 'A_B_21_@3@'." }));

    // 98 other names taken, the next one gives up and keeps the name.
    for (int n = 4; n <= 99; ++n) {
        const double elsewhere[3] = { double(n), 1, 0 };
        EXPECT_EQ(
            storage.addDividingNode("A_B_21", elsewhere), QStringLiteral("A_B_21_@%1@").arg(n));
    }
    const double last[3] = { 0, 0, 100 };
    EXPECT_EQ(storage.addDividingNode("A_B_21", last), std::nullopt);
    EXPECT_EQ(storage.nodeInfos().size(), 99u);
    EXPECT_EQ(storage.warningStrings().back(),
        "Warning - Lots of nodes with same name 'A_B_21' created on different location, and "
        "still conflict the name. so canceled.");
}

TEST(ElementDividerTest, ModelTextLayoutWithAndWithoutWarnings)
{
    UFemToolElementDividerStorage empty;
    EXPECT_EQ(empty.takeModelText(),
        "\\ *** Cards by dividing elements ***\n\n"
        "\\ Unchanged cards ( 0 cards )\n\n"
        "\\ Node cards created for divided elements ( 0 cards )\n\n"
        "\\ Divided element cards ( 0 cards )\n\n"
        "\\ *** End of written cards by dividing elements ***\n");

    UFemToolElementDividerStorage storage(1e-6);
    const double first[3] = { 1.0 / 3, -2.5, 1e-7 };
    const double second[3] = { 7, 0, 0 };
    storage.addUnchangedCardString("Rod , R1 , RP , A , E ,");
    storage.addDividedElementCardString("Quad , Q1_211 , S1 , A , X , X_@2@ , D ,");
    storage.addDividedElementCardString("Quad , Q1_212 , S1 , X , B , C , X_@2@ ,");
    ASSERT_EQ(storage.addDividingNode("X", first), std::nullopt);
    ASSERT_EQ(storage.addDividingNode("X", second), "X_@2@");
    ASSERT_EQ(storage.addDividingNode("X", std::array<double, 3> { 8, 0, 0 }.data()), "X_@3@");
    const UFemNumberFormatter written = UFemNumberFormatter::defaultWritingFileNumberFormatter();
    const auto node = [&written](const char* name, const double* at) {
        return QStringLiteral("Node , %1 ,  , %2 , %3 , %4 ,\n")
            .arg(QLatin1String(name), written.stringWithValue(at[0]),
                written.stringWithValue(at[1]), written.stringWithValue(at[2]));
    };
    const double third[3] = { 8, 0, 0 };
    const QString text = storage.takeModelText();
    EXPECT_EQ(text,
        "\\ *** Cards by dividing elements ***\n\n"
        "\n\\ *** Warning ***Warning - Same node name 'X' created on different location, so "
        "changed to name 'X_@2@'.\n"
        "Warning - Same node name 'X' created on different location, so changed to name "
        "'X_@3@'.\n\n"
        "\\ Unchanged cards ( 1 cards )\nRod , R1 , RP , A , E ,\n\n"
        "\\ Node cards created for divided elements ( 3 cards )\n"
            + node("X", first) + node("X_@2@", second) + node("X_@3@", third)
            + "\n\\ Divided element cards ( 2 cards )\n"
              "Quad , Q1_211 , S1 , A , X , X_@2@ , D ,\n"
              "Quad , Q1_212 , S1 , X , B , C , X_@2@ ,\n\n"
              "\\ *** End of written cards by dividing elements ***\n");
    // Coordinates keep twelve digits, so a divided model keeps its geometry.
    const auto nodes = dividerNodes(text);
    EXPECT_NEAR(nodes.at("X")[0], 1.0 / 3, 1e-12);
    EXPECT_NEAR(nodes.at("X")[2], 1e-7, 1e-18);
}

TEST(ElementDividerTest, ToleranceScalesWithTheLargestCoordinateOfTheModel)
{
    DividerModel model(TwoQuadModel);
    EXPECT_DOUBLE_EQ(UFemToolElementDivider::nodeLocationEpsilon(model.cards({ "Q1" })), 4e-6);
    DividerModel far(QStringLiteral("Node , N1 ,  , 10 , -2000 , 3 ,\nNull ,\n"));
    EXPECT_DOUBLE_EQ(UFemToolElementDivider::nodeLocationEpsilon(far.cards({ "N1" })), 2000e-6);
    DividerModel origin(QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"));
    EXPECT_DOUBLE_EQ(UFemToolElementDivider::nodeLocationEpsilon(origin.cards({ "N1" })), 1e-6);
    DividerModel noNodes(QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"));
    EXPECT_DOUBLE_EQ(UFemToolElementDivider::nodeLocationEpsilon(noNodes.cards({ "Steel" })), 1e-6);
}

TEST(ElementDividerTest, BadInputFailsWithItsErrorAndNoText)
{
    DividerModel model(TwoQuadModel
        + QStringLiteral("Quad , Q3 , S1 , A , B , G , D ,\n"
                         "Node , I ,  , 0 , 0 , 1 ,\nNode , J ,  , 2 , 0 , 1 ,\n"
                         "SolidProp , P , Steel ,\n"
                         "Hexa , H1 , P , A , B , C , D , I , J , F , E ,\n"));
    struct Case {
        QStringList cards;
        quint64 n;
        qint64 code;
        QString description;
    };
    const Case cases[] = {
        { { "Q1" }, 0, 81002, "aNumOfDivide is less than 1." },
        { { "Q1" }, 1000, 81002, "aNumOfDivide is too big." },
        { { "Q1", "Q3" }, 2, 92002, "Node card 'G' is not created yet." },
    };
    for (const Case& each : cases) {
        UErrorPtr error;
        bool warning = false;
        ASSERT_EQ(model.cards(each.cards).size(), quint64(each.cards.size()));
        EXPECT_EQ(UFemToolElementDivider::modelTextToAddByDividingElement(
                      model.cards(each.cards), each.n, 0, nullptr, &warning, &error),
            std::nullopt)
            << each.n;
        ASSERT_NE(error, nullptr) << each.n;
        EXPECT_EQ(error->code(), each.code) << each.n;
        EXPECT_EQ(error->localizedDescription(), each.description) << each.n;
        EXPECT_TRUE(warning);
    }
    UErrorPtr error;
    bool warning = true;
    EXPECT_EQ(UFemToolElementDivider::modelTextToAddByDividingElement(
                  model.cards({ "Q1", "R1" }), 1, 0, nullptr, &warning, &error),
        "Quad , Q1 , S1 , A , B , C , D ,\nRod , R1 , RP , A , E ,\n");
    EXPECT_FALSE(warning);
}

TEST(ElementDividerTest, GeneratorRefusesEqualCornerNamesAndCellsItCannotFill)
{
    const qint64 unexpected = UFemUnexpectedError_withDescription("x")->code();
    const std::vector<NodeLocation> locations = { { 0, 0, 0 }, { 1, 0, 0 } };
    struct Case {
        ElementDividerObjectType type;
        QString description;
    };
    const Case cases[] = {
        { UFemToolElementDividerLine2ObjectType, "The name of two nodes are same in an element." },
        { UFemToolElementDividerTria3ObjectType,
            "UFemToolElementDividerTria3ObjectType is not implemented yet." },
        { UFemToolElementDividerTetra4ObjectType,
            "UFemToolElementDividerTetra4ObjectType is not implemented yet." },
        { ElementDividerObjectType(7), "Unexpected ElementDividerObjectType : 7" },
    };
    for (const Case& each : cases) {
        std::vector<QString> names(3, QStringLiteral("stale"));
        std::vector<NodeLocation> grid(3);
        const std::vector<QString> corners = { "A", "A" };
        UErrorPtr error;
        EXPECT_FALSE(UFemToolElementDivider::getDividingNode(
            names, grid, each.type, corners, locations, 2, 0, &error));
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->code(), unexpected);
        EXPECT_EQ(error->localizedDescription(),
            UFemUnexpectedError_withDescription(each.description)->localizedDescription());
        EXPECT_TRUE(names[1].isNull());
    }
}
