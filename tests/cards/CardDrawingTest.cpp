#include "CardsTestModel.h"
#include "DecodedDrawingStream.h"
#include "RunJobsWithDeadline.h"
#include "cardmodel/card/UFemCardName.h"
#include "graphics/colorscale/UFemColorScale.h"
#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

using namespace cardstest;

namespace {

const QString drawingModel = u"Material , M , 1000 , 0.3 ,\n"
                             "ShellProp , SP , M , 0.1 ,\n"
                             "RodProp , RP , M , 2 ,\n"
                             "SolidProp , XP , M ,\n"
                             "Node , N1 ,  , 0 , 0 , 0 ,\n"
                             "Node , N2 ,  , 2 , 0 , 0 ,\n"
                             "Node , N3 ,  , 2 , 1.5 , 0 ,\n"
                             "Node , N4 ,  , 0 , 1.5 , 0 ,\n"
                             "Node , N5 ,  , 0 , 0 , 1 ,\n"
                             "Node , N6 ,  , 2 , 0 , 1 ,\n"
                             "Node , N7 ,  , 2 , 1.5 , 1 ,\n"
                             "Node , N8 ,  , 0 , 1.5 , 1 ,\n"
                             "Quad , Q1 , SP , N1 , N2 , N3 , N4 ,\n"
                             "Rod , R1 , RP , N1 , N3 ,\n"
                             "Hexa , H1 , XP , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 ,\n"
                             "Force , F , N2 , , 3 , 0 , 0 , 0 , 5 , 0 ,\n"
                             "FixNode , R , N1 , YES , YES , YES ,\n"
                             "ForceDisp , R , N3@TZ , -3 ,\n"
                             "RestraintEquation , R , 1 , N4@TX , -1 , N2@TX , 2 , N3@TY ,\n"
                             "ForceSet , FS , 2 , F ,\n"
                             "RestraintSet , RS , R ,\n"
                             "Case , C1 , LINEAR_STATIC , RS , FS ,\n"_qs;
enum Row : quint64 {
    materialRow = 0,
    shellPropRow = 1,
    node2Row = 5,
    quadRow = 12,
    rodRow = 13,
    hexaRow = 14,
    forceRow = 15,
    fixNodeRow = 16,
    forceDispRow = 17,
    equationRow = 18,
    forceSetRow = 19,
    restraintSetRow = 20,
    caseRow = 21,
    rowCount = 22,
};
const std::map<QString, std::array<double, 3>> nodeLocations { { u"N1"_qs, { 0, 0, 0 } },
    { u"N2"_qs, { 2, 0, 0 } }, { u"N3"_qs, { 2, 1.5, 0 } }, { u"N4"_qs, { 0, 1.5, 0 } },
    { u"N5"_qs, { 0, 0, 1 } }, { u"N6"_qs, { 2, 0, 1 } }, { u"N7"_qs, { 2, 1.5, 1 } },
    { u"N8"_qs, { 0, 1.5, 1 } } };
constexpr _UGLColor blue { 0, 0, 1, 1 };
constexpr _UGLColor cyan { 0, 1, 1, 1 };
constexpr _UGLColor red { 1, 0, 0, 1 };

// The drawing-node names of a card and the node position table the 3-D view would hand it.
struct DrawingNodes {
    QStringList names;
    std::vector<double> positionTable;
};
DrawingNodes drawingNodesOf(const UFemCard& card)
{
    std::vector<UFemCardName*> names(card.numberOfNodeForDrawing());
    card.getNodeCardNamesForDrawingToNodeCardNameTable(names.data(), names.size(), nullptr);
    DrawingNodes nodes;
    for (const UFemCardName* name : names) {
        nodes.names.append(name->cardNameString());
        const auto& location = nodeLocations.at(name->cardNameString());
        nodes.positionTable.insert(nodes.positionTable.end(), location.begin(), location.end());
        nodes.positionTable.insert(nodes.positionTable.end(), { 0, 0, 0 });
    }
    return nodes;
}

// Screen drawing with the identity eye; sizes in points, 0.01 model units a point.
UFemGraphicDrawingInfo screenDrawingInfo()
{
    UFemGraphicDrawingInfo info;
    info.setImageQuality(3);
    info.setLengthPerPixel(0.01);
    info.setNodeSize(10);
    info.setRestraintSize(16);
    info.setRodDiaSize(6);
    info.setForceArrowRodWidth(2);
    info.setForceArrowHeadSize(8);
    info.setForceScaleFactor(10);
    info.setForceMomentScaleFactor(1);
    info.setElementEdgeDraw(true);
    info.setElementEdgeWidth(1);
    return info;
}

struct CardDrawing : ::testing::Test {
    CardDrawing() { model.read(drawingModel); }

    // Draws one card into a fresh stage and decodes it.
    DecodedDrawingStream draw(quint64 row, const _UFemCardValueArraySize* size = nullptr,
        const double* values = nullptr, UErrorPtr* error = nullptr,
        const UFemColorScale* colorScale = nullptr)
    {
        const DrawingNodes nodes = drawingNodesOf(model.card(row));
        bool canceled = false;
        buffer.openWriteStageWithStageIdentifier(++stage, &canceled);
        UErrorPtr ownError;
        EXPECT_TRUE(model.card(row).drawOpenGLToDrawingBuffer(&buffer, nodes.positionTable.data(),
            &red, size, values, colorScale, &info, error ? error : &ownError));
        EXPECT_FALSE(ownError) << errorDescription(ownError).toStdString();
        return decodeDrawingStage(buffer, stage);
    }

    CardsTestModel model;
    UGLDrawingBuffer buffer { 8, UGLDrawingBuffer::defaultBufferElementCapacity,
        UGLOpenGLVersion_1_4 };
    UFemGraphicDrawingInfo info = screenDrawingInfo();
    quint64 stage = 0;

    void SetUp() override { buffer.setEdgeDrawingBufferEnabled(true); }
};

} // namespace

TEST_F(CardDrawing, NodeIsADiscOfTheNodeSizeInItsColour)
{
    EXPECT_EQ(drawingNodesOf(model.card(node2Row)).names, QStringList { "N2" });
    const DecodedDrawingStream stream = draw(node2Row);
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& disc = stream.arrays[0];
    // 10 points at quality 3: 7 segments, the 8-point table; 0.1 across, 0.03 toward the viewer.
    EXPECT_EQ(disc.command, UGLDrawingBufferCommandVertexArrayRuns);
    EXPECT_EQ(disc.indexes, std::vector<quint32> { 8 });
    EXPECT_FLOAT_EQ(disc.positions[0], 2.05f);
    EXPECT_FLOAT_EQ(disc.positions[1], 0.0f);
    EXPECT_FLOAT_EQ(disc.positions[2], 0.03f);
    EXPECT_EQ(disc.colors, std::vector<_UGLColor>(8, red));
    // A large node at printing quality is a ball.
    info.setImageQuality(4);
    info.setNodeSize(30);
    EXPECT_EQ(draw(node2Row).arrays.at(0).command, UGLDrawingBufferCommandIndexedVertexArray);
}

TEST_F(CardDrawing, ColourValuesOfTheWrongSizeDrawNothing)
{
    const double values[2] = { 1, 2 };
    const _UFemCardValueArraySize two { 0, 2, 1, 1 };
    for (quint64 row : { quint64(node2Row), quint64(forceRow), quint64(fixNodeRow),
             quint64(forceDispRow), quint64(equationRow) }) {
        UErrorPtr error;
        EXPECT_TRUE(draw(row, &two, values, &error).arrays.empty()) << row;
        ASSERT_TRUE(error) << row;
        EXPECT_EQ(error->code(), 32003);
    }
    const _UFemCardValueArraySize three { 0, 3, 1, 1 };
    UErrorPtr error;
    EXPECT_TRUE(draw(quadRow, &three, values, &error).arrays.empty());
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->localizedRecoverySuggestion().contains(
        u"Required CardValueArraySize: ( Number of points: 1 or 4, Number of section points: 1, "
        "Number of vector values: 1 )"_qs));
}

TEST_F(CardDrawing, ForceIsAnArrowAndTheMomentACylinderHeadedArrow)
{
    EXPECT_EQ(drawingNodesOf(model.card(forceRow)).names, QStringList { "N2" });
    const DecodedDrawingStream stream = draw(forceRow);
    ASSERT_EQ(stream.arrays.size(), 3u);
    const DecodedVertexArray& force = stream.arrays[0];
    // (3, 0, 0) x 0.01 x 10 = 0.3 long from N2; head 8 points = 0.08; shaft 0.02 wide.
    EXPECT_EQ(force.polygonMode, 7u);
    ASSERT_EQ(force.recordCount(), 8u);
    EXPECT_FLOAT_EQ(force.positions[0], 2.0f);
    EXPECT_FLOAT_EQ(force.positions[1], 0.01f);
    EXPECT_FLOAT_EQ(force.positions[3 * 2], 2.22f);
    EXPECT_FLOAT_EQ(force.positions[3 * 6], 2.3f);
    EXPECT_EQ(force.colors.front(), red);
    // (0, 5, 0) x 0.01 x 1: the moment's head cylinder, then its shaft polygon, whose first
    // corner lies half a shaft width off N2 along -x.
    EXPECT_EQ(stream.arrays[1].command, UGLDrawingBufferCommandIndexedRuns);
    EXPECT_EQ(stream.arrays[2].command, UGLDrawingBufferCommandVertexArrayRuns);
    EXPECT_EQ(stream.arrays[2].indexes.back(), 4u);
    EXPECT_FLOAT_EQ(stream.arrays[2].positions[3 * (stream.arrays[2].recordCount() - 4)], 1.99f);
}

TEST_F(CardDrawing, FixNodeAndForceDispAreRestraintMarkers)
{
    EXPECT_EQ(drawingNodesOf(model.card(forceDispRow)).names, QStringList { "N3" });
    for (quint64 row : { quint64(fixNodeRow), quint64(forceDispRow) }) {
        const DecodedDrawingStream stream = draw(row);
        ASSERT_EQ(stream.arrays.size(), 1u);
        // 16 points: 9 segments, the 10-point table; 0.048 toward the viewer.
        EXPECT_EQ(stream.arrays[0].indexes, std::vector<quint32> { 10 });
        const auto& node = nodeLocations.at(row == fixNodeRow ? u"N1"_qs : u"N3"_qs);
        EXPECT_FLOAT_EQ(stream.arrays[0].positions[0], float(node[0] + 0.08));
        EXPECT_FLOAT_EQ(stream.arrays[0].positions[1], float(node[1]));
        EXPECT_FLOAT_EQ(stream.arrays[0].positions[2], 0.048f);
    }
}

TEST_F(CardDrawing, RestraintEquationJoinsItsNodesToTheDependentOne)
{
    EXPECT_EQ(drawingNodesOf(model.card(equationRow)).names, (QStringList { "N4", "N2", "N3" }));
    const DecodedDrawingStream stream = draw(equationRow);
    ASSERT_EQ(stream.arrays.size(), 1u);
    // The dependent marker (10 points), the two lines joining its open polygon command as
    // polygons, then the independent markers of 14 points (8 segments).
    const DecodedVertexArray& runs = stream.arrays[0];
    EXPECT_EQ(runs.indexes, (std::vector<quint32> { 10, 4, 4, 8, 8 }));
    // The first line, N4 to N2, starts at N4 less half its width (0.008) times the side
    // (-0.6, -0.8, 0), shifted by 0.3 widths toward the viewer.
    const double* line = runs.positions.data() + 3 * 10;
    EXPECT_NEAR(line[0], 0.0048, 1e-6);
    EXPECT_NEAR(line[1], 1.5064, 1e-6);
    EXPECT_NEAR(line[2], 0.0048, 1e-6);
    // The last marker is centred on N3.
    const double* last = runs.positions.data() + 3 * 26;
    EXPECT_NEAR(last[0], 2.07, 1e-6);
    EXPECT_NEAR(last[1], 1.5, 1e-6);
}

TEST_F(CardDrawing, QuadrilateralHasFacesAndEdges)
{
    EXPECT_EQ(drawingNodesOf(model.card(quadRow)).names, (QStringList { "N1", "N2", "N3", "N4" }));
    const DecodedDrawingStream stream = draw(quadRow);
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& quad = stream.arrays[0];
    EXPECT_EQ(quad.command, UGLDrawingBufferCommandIndexedVertexArray);
    EXPECT_EQ(quad.recordCount(), 5u);
    EXPECT_EQ(quad.indexes, (std::vector<quint32> { 0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4 }));
    EXPECT_FLOAT_EQ(quad.positions[12], 1.0f);
    EXPECT_FLOAT_EQ(quad.positions[13], 0.75f);
    EXPECT_FLOAT_EQ(quad.normals[2], 1.0f);
    EXPECT_EQ(quad.colors, std::vector<_UGLColor>(5, red));
    // No edge colour: the four edges go to the edge stream.
    EXPECT_EQ(stream.edgeQuadVertices.size(), 4u * 12u);
    info.setElementEdgeDraw(false);
    EXPECT_TRUE(draw(quadRow).edgeQuadVertices.empty());
}

TEST_F(CardDrawing, SetsDrawTheirMembersAtTheirOwnNodes)
{
    EXPECT_EQ(drawingNodesOf(model.card(restraintSetRow)).names,
        (QStringList { "N1", "N3", "N4", "N2", "N3" }));
    const DecodedDrawingStream restraints = draw(restraintSetRow);
    ASSERT_EQ(restraints.arrays.size(), 1u);
    EXPECT_EQ(restraints.arrays[0].indexes, (std::vector<quint32> { 10, 10, 10, 4, 4, 8, 8 }));
    // The force set doubles the force scale: the arrow ends at 2 + 0.6.
    const DecodedDrawingStream forces = draw(forceSetRow);
    ASSERT_FALSE(forces.arrays.empty());
    EXPECT_FLOAT_EQ(forces.arrays[0].positions[3 * 6], 2.6f);
    EXPECT_EQ(info.forceScaleFactor(), 10.0);
}

TEST_F(CardDrawing, CardsThatAreNotDrawnWriteNothing)
{
    for (quint64 row : { quint64(materialRow), quint64(shellPropRow), quint64(caseRow) }) {
        EXPECT_EQ(model.card(row).numberOfNodeForDrawing(), 0u);
        EXPECT_TRUE(draw(row).arrays.empty());
    }
}

TEST_F(CardDrawing, RodIsABandOrACylinderWithEndColoursByValue)
{
    EXPECT_EQ(drawingNodesOf(model.card(rodRow)).names, (QStringList { "N1", "N3" }));
    const auto scale = UFemColorScale::blueToRedContinuousUnitColorScale();
    const double values[2] = { 0.0, 0.25 };
    const _UFemCardValueArraySize two { 0, 2, 1, 1 };
    // 6 points at quality 3: a band, blue at N1 and cyan at N3, then its outline.
    const DecodedDrawingStream band = draw(rodRow, &two, values, nullptr, scale.get());
    ASSERT_EQ(band.arrays.size(), 1u);
    EXPECT_EQ(band.arrays[0].polygonMode, 7u);
    EXPECT_EQ(band.arrays[0].colors, (std::vector<_UGLColor> { blue, blue, cyan, cyan }));
    EXPECT_EQ(band.edgeQuadVertices.size(), 4u * 12u);
    // One value colours both ends; at printing quality the rod is a cylinder.
    const _UFemCardValueArraySize one { 0, 1, 1, 1 };
    info.setImageQuality(4);
    const DecodedDrawingStream cylinder = draw(rodRow, &one, values + 1, nullptr, scale.get());
    ASSERT_FALSE(cylinder.arrays.empty());
    EXPECT_EQ(cylinder.arrays[0].command, UGLDrawingBufferCommandIndexedRuns);
    EXPECT_EQ(cylinder.arrays[0].colors.front(), cyan);
    EXPECT_EQ(cylinder.arrays[0].colors.back(), cyan);
    // Without values the card's colour.
    EXPECT_EQ(draw(rodRow).arrays[0].colors.front(), red);
}

TEST_F(CardDrawing, HexahedronAndQuadrilateralColourTheirNodesByValue)
{
    EXPECT_EQ(drawingNodesOf(model.card(hexaRow)).names,
        (QStringList { "N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8" }));
    const auto scale = UFemColorScale::blueToRedContinuousUnitColorScale();
    const double values[8] = { 0.25, 0, 0, 0, 0, 0, 0, 1.0 };
    const _UFemCardValueArraySize eight { 0, 8, 1, 1 };
    const DecodedDrawingStream hexa = draw(hexaRow, &eight, values, nullptr, scale.get());
    ASSERT_EQ(hexa.arrays.size(), 1u);
    // With normals every index entry is a record: the first face's centre, then node 0 (N1).
    const DecodedVertexArray& solid = hexa.arrays[0];
    ASSERT_EQ(solid.recordCount(), 72u);
    EXPECT_EQ(solid.colors[1], cyan);
    EXPECT_EQ(solid.colors[0], (_UGLColor { 0, 0.25, 1, 1 }));
    // Face (4, 5, 6, 7) last, fanned around its centre: node 7 (N8) is red.
    EXPECT_EQ(solid.colors[71], blue);
    EXPECT_EQ(solid.colors[68], (_UGLColor { 1, 0, 0, 1 }));
    EXPECT_EQ(solid.colors[69], (_UGLColor { 0.25, 0, 0.75, 1 })); // the face's centre
    // Seen along z the 4 vertical edges are end-on: 8 edges to the edge stream.
    EXPECT_EQ(hexa.edgeQuadVertices.size(), 8u * 12u);

    const _UFemCardValueArraySize one { 0, 1, 1, 1 };
    const DecodedDrawingStream quad = draw(quadRow, &one, values, nullptr, scale.get());
    ASSERT_EQ(quad.arrays.size(), 1u);
    EXPECT_EQ(quad.arrays[0].colors, std::vector<_UGLColor>(5, cyan));
    const _UFemCardValueArraySize wrong { 0, 8, 1, 1 };
    UErrorPtr error;
    EXPECT_TRUE(draw(rodRow, &wrong, values, &error, scale.get()).arrays.empty());
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->localizedRecoverySuggestion().contains(u"Number of points: 1 or 2,"_qs));
}

TEST_F(CardDrawing, NodeTakesTheColourOfItsValue)
{
    const auto scale = UFemColorScale::blueToRedContinuousUnitColorScale();
    const double value = 0.25;
    const _UFemCardValueArraySize one { 0, 1, 1, 1 };
    const DecodedDrawingStream stream = draw(node2Row, &one, &value, nullptr, scale.get());
    ASSERT_EQ(stream.arrays.size(), 1u);
    EXPECT_EQ(stream.arrays[0].colors, std::vector<_UGLColor>(8, cyan));
    // Restraint markers keep the card's colour whatever the values.
    EXPECT_EQ(draw(fixNodeRow, &one, &value, nullptr, scale.get()).arrays[0].colors.front(), red);
}

// Every drawing thread has its own buffer and drawing info; the cards and the sphere tables are
// shared. Each thread's stream must equal the one drawn alone.
TEST_F(CardDrawing, EightThreadsDrawTheModelAtOnce)
{
    const auto drawAll = [&](UGLDrawingBuffer& target, const UFemGraphicDrawingInfo& threadInfo,
                             quint64 targetStage) {
        bool canceled = false;
        target.openWriteStageWithStageIdentifier(targetStage, &canceled);
        for (quint64 row = 0; row < rowCount; ++row) {
            const DrawingNodes nodes = drawingNodesOf(model.card(row));
            UErrorPtr error;
            model.card(row).drawOpenGLToDrawingBuffer(&target, nodes.positionTable.data(), &red,
                nullptr, nullptr, nullptr, &threadInfo, &error);
        }
        return decodeDrawingStage(target, targetStage);
    };
    info.setImageQuality(5);
    info.setNodeSize(25);
    const DecodedDrawingStream reference = drawAll(buffer, info, 1);
    ASSERT_GT(reference.arrays.size(), 3u);
    constexpr int threadCount = 8;
    constexpr quint64 rounds = 10;
    std::atomic<int> mismatches = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back([&] {
            UGLDrawingBuffer own { 8, UGLDrawingBuffer::defaultBufferElementCapacity,
                UGLOpenGLVersion_1_4 };
            own.setEdgeDrawingBufferEnabled(true);
            const UFemGraphicDrawingInfo ownInfo = info;
            for (quint64 round = 1; round <= rounds; ++round)
                if (!(drawAll(own, ownInfo, round) == reference))
                    ++mismatches;
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, 0);
}
