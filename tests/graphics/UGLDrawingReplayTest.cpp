#include "GraphicsTestSupport.h"
#include "ReplayTestSupport.h"

#include "graphics/drawingbuffer/UGLDrawingBufferReplay.h"
#include "graphics/drawingbuffer/UGLSelectionBuffer.h"
#include "graphics/primitives/UGLSharedFaceTable.h"
#include "graphics/primitives/UGLSolidPrimitives.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>

namespace {

constexpr QSizeF imageSize(192, 128);
const _UGLColor red { 1, 0, 0, 1 };
const _UGLColor green { 0, 1, 0, 1 };
const _UGLColor blue { 0, 0, 1, 1 };
const _UGLColor cyan { 0, 1, 1, 1 };
const _UGLColor yellow { 1, 1, 0, 1 };
const _UGLColor magenta { 1, 0, 1, 1 };
const _UGLColor grey { 0.5, 0.5, 0.5, 1 };
const _UGLColor orange { 1, 0.5, 0, 1 };

// Small squares of the strip grid: run i is centred at gridCentre(i).
constexpr quint64 gridRunCount = 300;
constexpr quint64 gridColumns = 20;
constexpr double gridPitch = 4;
constexpr double gridSide = 3;

std::array<double, 2> gridCentre(quint64 run)
{
    return { -80 + gridPitch * double(run % gridColumns),
        -56 + gridPitch * double(run / gridColumns) };
}

void writeRawTriangle(
    UGLDrawingBuffer& buffer, const _UGLColor& color, const double* corners, bool* canceled)
{
    auto* cells = static_cast<_UGLDrawingBufferElement*>(
        buffer.writeBufferPtrWithElementCount(2 + 5 + 4 + 3 * 4 + 1, true, canceled));
    cells[0].setUnsignedValue(UGLDrawingBufferCommandBegin);
    cells[1].setUnsignedValue(GL_TRIANGLES);
    cells[2].setUnsignedValue(UGLDrawingBufferCommandColor);
    for (int channel = 0; channel < 4; ++channel)
        cells[3 + channel].setFloatValue(float(
            std::array { color.red, color.green, color.blue, color.alpha }[std::size_t(channel)]));
    cells[7].setUnsignedValue(UGLDrawingBufferCommandNormal);
    cells[8].setFloatValue(0);
    cells[9].setFloatValue(0);
    cells[10].setFloatValue(1);
    for (int vertex = 0; vertex < 3; ++vertex) {
        cells[11 + 4 * vertex].setUnsignedValue(UGLDrawingBufferCommandVertex);
        for (int axis = 0; axis < 3; ++axis)
            cells[12 + 4 * vertex + axis].setFloatValue(float(corners[3 * vertex + axis]));
    }
    cells[23].setUnsignedValue(UGLDrawingBufferCommandEnd);
}

// The four corners of a square, counter-clockwise from the lower left.
std::array<double, 12> squareCorners(double x, double y, double size)
{
    const double h = size / 2;
    return { x - h, y - h, 0, x + h, y - h, 0, x + h, y + h, 0, x - h, y + h, 0 };
}

void writeIndexedSquare(UGLDrawingBuffer& buffer, quint64 mode, const std::vector<quint64>& indexes,
    double x, double y, const _UGLColor& color, bool* canceled, double size = 16)
{
    const auto corners = squareCorners(x, y, size);
    const _UGLColor colors[4] = { color, color, color, color };
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        mode, indexes.data(), indexes.size(), corners.data(), colors, nullptr, 4, canceled);
}

// One stage with every command: raw begin/end triangles (A), an object colour and a lit vertex
// array (B), indexed triangles (D) and indexed strips (E), 300 strip runs in one command behind
// them in the same block (C), and an edge quad (F).
void writeEveryCommand(UGLDrawingBuffer& buffer)
{
    bool canceled = false;
    buffer.setEdgeDrawingBufferEnabled(true);
    buffer.openWriteStageWithStageIdentifier(0, &canceled);
    buffer.setCurrentWriteObjectName(5, &canceled);
    const auto a = squareTriangles(-80, 40, 0, 16);
    writeRawTriangle(buffer, red, a.data(), &canceled);
    writeRawTriangle(buffer, green, a.data() + 9, &canceled);

    buffer.setCurrentWriteObjectColor(&blue, &canceled);
    const auto b = squareTriangles(-48, 40, 0, 16);
    std::vector<double> normals;
    for (int vertex = 0; vertex < 6; ++vertex)
        normals.insert(normals.end(), { 0, 0, 1 });
    buffer.writeDrawVertexArrayWithPolygonMode(
        replayTriangles, b.data(), nullptr, normals.data(), 6, &canceled);

    writeIndexedSquare(buffer, replayTriangles, { 0, 1, 2, 0, 2, 3 }, -16, 40, yellow, &canceled);
    writeIndexedSquare(buffer, replayTriangles, { 0, 1, 2, 0, 2, 3 }, -16, 16, magenta, &canceled);
    writeIndexedSquare(buffer, replayTriangleStrip, { 0, 1, 3, 2 }, 16, 40, grey, &canceled);
    writeIndexedSquare(buffer, replayTriangleStrip, { 0, 1, 3, 2 }, 16, 16, grey, &canceled);

    const _UGLColor colors[4] = { cyan, cyan, cyan, cyan };
    for (quint64 run = 0; run < gridRunCount; ++run) {
        const auto [x, y] = gridCentre(run);
        const double h = gridSide / 2;
        const double strip[12]
            = { x - h, y - h, 0, x + h, y - h, 0, x - h, y + h, 0, x + h, y + h, 0 };
        buffer.writeDrawVertexArrayWithPolygonMode(
            replayTriangleStrip, strip, colors, nullptr, 4, &canceled);
    }

    buffer.setCurrentWriteEdgeColor(&orange, &canceled);
    auto edge = squareCorners(48, 40, 16);
    for (quint64 corner = 0; corner < 4; ++corner)
        edge[3 * corner + 2] = 1;
    buffer.writeEdgeLineWithEdgeQuadVertexTable(edge.data(), 1, &canceled);
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    buffer.finishWriteBuffer_isCanceled(&canceled);
    ASSERT_FALSE(canceled);
}

ReplayFrame renderBuffer(UOpenGLManager& manager, UGLDrawingBuffer& buffer, bool isLit)
{
    return renderReplayFrame(manager, imageSize, isLit, [&] {
        std::vector<UFemGraphicCocoaDrawObject> objects;
        EXPECT_TRUE(replayAllStages(buffer, buffer, &objects));
    });
}

ReplayFrame renderEveryCommand(UOpenGLManager& manager, UGLOpenGLVersion version, bool isLit)
{
    UGLDrawingBuffer buffer(version);
    writeEveryCommand(buffer);
    buffer.setReadLightingEnabled(isLit);
    return renderBuffer(manager, buffer, isLit);
}

struct PixelComparison {
    quint64 differing = 0;
    quint64 drawn = 0; // not black in the first frame
};

PixelComparison comparePixels(const ReplayFrame& first, const ReplayFrame& second)
{
    EXPECT_EQ(first.pixels.size(), second.pixels.size());
    PixelComparison comparison;
    if (first.pixels.size() != second.pixels.size())
        return comparison;
    for (quint64 row = 0; row < first.height; ++row) {
        for (quint64 column = 0; column < first.width; ++column) {
            const QRgb pixel = first.pixel(column, row);
            comparison.differing += isColourNear(pixel, second.pixel(column, row)) ? 0 : 1;
            comparison.drawn += pixel != qRgb(0, 0, 0) ? 1 : 0;
        }
    }
    return comparison;
}

} // namespace

TEST(DrawingReplay, EveryCommandDrawsWhereItsVerticesProject)
{
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    for (const UGLOpenGLVersion version : { UGLOpenGLVersion_1_1, UGLOpenGLVersion_1_4 }) {
        SCOPED_TRACE(version);
        const ReplayFrame frame = renderEveryCommand(*manager, version, false);
        // A: the lower right and upper left halves of one square.
        EXPECT_TRUE(showsColourAt(frame, -80 + 4, 40 - 4, 0, replayRgb(red)));
        EXPECT_TRUE(showsColourAt(frame, -80 - 4, 40 + 4, 0, replayRgb(green)));
        EXPECT_TRUE(showsColourAt(frame, -48, 40, 0, replayRgb(blue)));
        EXPECT_TRUE(showsColourAt(frame, -16, 40, 0, replayRgb(yellow)));
        EXPECT_TRUE(showsColourAt(frame, -16, 16, 0, replayRgb(magenta)));
        EXPECT_TRUE(showsColourAt(frame, 16, 40, 0, replayRgb(grey)));
        EXPECT_TRUE(showsColourAt(frame, 16, 16, 0, replayRgb(grey)));
        EXPECT_TRUE(showsColourAt(frame, 48, 40, 1, replayRgb(orange)));
        // Runs on both sides of the 256-run split, each at its own place, gaps left black.
        for (const quint64 run : { quint64(0), quint64(255), quint64(256), gridRunCount - 1 }) {
            const auto [x, y] = gridCentre(run);
            EXPECT_TRUE(showsColourAt(frame, x, y, 0, replayRgb(cyan))) << run;
        }
        const auto [x, y] = gridCentre(gridRunCount - 1);
        EXPECT_TRUE(showsColourAt(frame, x, y + gridPitch, 0, qRgb(0, 0, 0)));
        EXPECT_TRUE(showsColourAt(frame, x + gridPitch, y, 0, qRgb(0, 0, 0)));
    }
}

TEST(DrawingReplay, OpenGL11And14FormsGiveTheSameImage)
{
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    for (const bool isLit : { false, true }) {
        SCOPED_TRACE(isLit);
        const PixelComparison comparison
            = comparePixels(renderEveryCommand(*manager, UGLOpenGLVersion_1_1, isLit),
                renderEveryCommand(*manager, UGLOpenGLVersion_1_4, isLit));
        EXPECT_EQ(comparison.differing, 0u);
        // Squares A, B, D, E twice, the edge square, and the 300 grid squares.
        EXPECT_GT(comparison.drawn, 7 * 16 * 16 + gridRunCount * 9 - 200);
    }
}

namespace {

enum class ListForm { Array, Indexed, EdgeQuads };

// The grid's squares as one long command of `form`, or 25 to a stage (and command); all stages
// are written before the replay reads them, so each needs blocks of its own.
ReplayFrame renderGridSquares(UOpenGLManager& manager, ListForm form, bool isShort)
{
    constexpr quint64 shortRunCount = 25;
    constexpr quint64 smallBlockCellCount = 1024;
    const quint64 runsPerStage = isShort ? shortRunCount : gridRunCount;
    const auto owned = isShort
        ? std::make_unique<UGLDrawingBuffer>(
            UReadWriteBuffer::maximumBufferCount, smallBlockCellCount, UGLOpenGLVersion_1_4)
        : std::make_unique<UGLDrawingBuffer>(UGLOpenGLVersion_1_4);
    UGLDrawingBuffer& buffer = *owned;
    bool canceled = false;
    buffer.setEdgeDrawingBufferEnabled(true);
    const _UGLColor colors[6] = { cyan, cyan, cyan, cyan, cyan, cyan };
    for (quint64 run = 0; run < gridRunCount; ++run) {
        if (run % runsPerStage == 0) {
            if (run > 0)
                buffer.closeCurrentWriteStage_isCanceled(&canceled);
            buffer.openWriteStageWithStageIdentifier(run, &canceled);
            buffer.setCurrentWriteEdgeColor(&cyan, &canceled);
        }
        const auto [x, y] = gridCentre(run);
        if (form == ListForm::Array) {
            const auto triangles = squareTriangles(x, y, 0, gridSide);
            buffer.writeDrawVertexArrayWithPolygonMode(
                replayTriangles, triangles.data(), colors, nullptr, 6, &canceled);
        } else if (form == ListForm::Indexed) {
            writeIndexedSquare(
                buffer, replayTriangles, { 0, 1, 2, 0, 2, 3 }, x, y, cyan, &canceled, gridSide);
        } else {
            const auto corners = squareCorners(x, y, gridSide);
            buffer.writeEdgeLineWithEdgeQuadVertexTable(corners.data(), 1, &canceled);
        }
    }
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    buffer.finishWriteBuffer_isCanceled(&canceled);
    EXPECT_FALSE(canceled);
    return renderBuffer(manager, buffer, false);
}

} // namespace

// Long commands of list primitives draw the same picture as the same squares command by command.
TEST(DrawingReplay, LongListCommandsDrawLikeShortOnes)
{
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    for (const ListForm form : { ListForm::Array, ListForm::Indexed, ListForm::EdgeQuads }) {
        SCOPED_TRACE(int(form));
        const PixelComparison comparison = comparePixels(
            renderGridSquares(*manager, form, false), renderGridSquares(*manager, form, true));
        EXPECT_EQ(comparison.differing, 0u);
        EXPECT_GE(comparison.drawn, gridRunCount * 4);
    }
}

namespace {

// A 4 x 4 x 4 block of grey cubes turned to show three of its sides, with yellow edges, unlit;
// each cube's faces shared with another left out when `sharedFaces` is given.
ReplayFrame renderCubeBlock(UOpenGLManager& manager, UGLSharedFaceTable* sharedFaces)
{
    constexpr int side = 4;
    constexpr double pitch = 12;
    const double unitCorners[8][3] = { { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 0 }, { 0, 1, 0 },
        { 0, 0, 1 }, { 1, 0, 1 }, { 1, 1, 1 }, { 0, 1, 1 } };
    const double turn[3][3]
        = { { 0.766, 0, 0.643 }, { 0.321, 0.866, -0.383 }, { -0.557, 0.5, 0.663 } };
    std::vector<std::array<double, 24>> cubes;
    for (int cube = 0; cube < side * side * side; ++cube) {
        const int at[3] = { cube % side, cube / side % side, cube / (side * side) };
        std::array<double, 24>& corners = cubes.emplace_back();
        for (int node = 0; node < 8; ++node) {
            double local[3];
            for (int axis = 0; axis < 3; ++axis)
                local[axis] = pitch * (at[axis] + unitCorners[node][axis] - side / 2.0);
            for (int row = 0; row < 3; ++row)
                corners[3 * node + row]
                    = turn[row][0] * local[0] + turn[row][1] * local[1] + turn[row][2] * local[2];
        }
    }
    const auto nodes = [&](const std::array<double, 24>& corners) {
        std::array<const double*, 8> pointers;
        for (int node = 0; node < 8; ++node)
            pointers[node] = corners.data() + 3 * node;
        return pointers;
    };
    UGLDrawingInfo info;
    const double eye[3][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } };
    info.setEyeCoordOnObjectCoord(eye);
    info.setSharedFaceTable(sharedFaces);
    for (const auto& corners : cubes)
        if (sharedFaces != nullptr)
            sharedFaces->addHexahedron(nodes(corners).data());
    UGLDrawingBuffer buffer(UGLOpenGLVersion_1_4);
    bool canceled = false;
    buffer.setEdgeDrawingBufferEnabled(true);
    buffer.openWriteStageWithStageIdentifier(0, &canceled);
    buffer.setCurrentWriteEdgeColor(&yellow, &canceled);
    _UGLEdgeDrawingInfo edges;
    edges.edgeWidth = 1.0;
    for (const auto& corners : cubes)
        UGLWriteHexahedronWithTables(&buffer, nodes(corners).data(), nullptr, &grey, &edges, &info);
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    buffer.finishWriteBuffer_isCanceled(&canceled);
    EXPECT_FALSE(canceled);
    return renderBuffer(manager, buffer, false);
}

} // namespace

// Faces between two solids lie inside the block: leaving them out changes no pixel.
TEST(DrawingReplay, ABlockWithoutItsSharedFacesLooksTheSame)
{
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    UGLSharedFaceTable sharedFaces;
    const PixelComparison comparison = comparePixels(
        renderCubeBlock(*manager, nullptr), renderCubeBlock(*manager, &sharedFaces));
    EXPECT_EQ(comparison.differing, 0u);
    EXPECT_GT(comparison.drawn, 40u * 40u);
}

TEST(DrawingReplay, UnknownCommandsRaiseWithTheirCode)
{
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    UGLDrawingBuffer buffer(UGLOpenGLVersion_1_4);
    bool canceled = false;
    buffer.openWriteStageWithStageIdentifier(0, &canceled);
    static_cast<_UGLDrawingBufferElement*>(
        buffer.writeBufferPtrWithElementCount(1, true, &canceled))
        ->setUnsignedValue(0);
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    buffer.finishWriteBuffer_isCanceled(&canceled);
    std::pair<QString, QString> raised;
    renderReplayFrame(*manager, QSizeF(8, 8), false, [&] {
        raised = raisedException([&] {
            std::vector<UFemGraphicCocoaDrawObject> objects;
            replayAllStages(buffer, buffer, &objects);
        });
    });
    EXPECT_EQ(raised.first, UFemProgramErrorExceptionName);
    EXPECT_EQ(raised.second, "Unknown drawing command. ( value: 0 )");

    _UGLDrawingBufferElement edges[7];
    edges[0].setUnsignedValue(UGLDrawingBufferCommandEdgeQuads);
    edges[1].setUnsignedValue(0);
    edges[2].setUnsignedValue(UGLDrawingBufferCommandVertex);
    // A run past the block's end is refused too, before OpenGL reads beyond it.
    _UGLDrawingBufferElement truncated[9];
    truncated[0].setUnsignedValue(UGLDrawingBufferCommandVertexArray);
    truncated[1].setUnsignedValue(GL_TRIANGLES);
    truncated[2].setFlagValue(false);
    truncated[3].setFlagValue(false);
    truncated[4].setUnsignedValue(3);
    truncated[5].setUnsignedValue(0);
    truncated[6].setUnsignedValue(0);
    renderReplayFrame(*manager, QSizeF(8, 8), false, [&] {
        EXPECT_EQ(raisedException([&] { UGLDrawingBufferDrawEdgeBuffer(edges, edges + 3); }).second,
            "Unknown drawing command. ( value: 5 )");
        EXPECT_EQ(raisedException([&] {
            UGLDrawingBufferReplayMultiDraw(truncated, truncated + 9, nullptr);
        }).first,
            UFemProgramErrorExceptionName);
    });
}

namespace {

constexpr quint64 stackedNameCount = 200;

// Picks the centre of 200 stacked squares, each under its own name, with a selection buffer of
// the given sizes (in 32-bit words; each hit takes 4).
std::vector<UGLSelectionHit> pickStackedSquares(
    UOpenGLManager& manager, UGLSelectionBuffer& selection, bool* didOverflow)
{
    UGLDrawingBuffer buffer(UGLOpenGLVersion_1_4);
    buffer.setDoesDrawForSelectMode(true);
    bool canceled = false;
    buffer.openWriteStageWithStageIdentifier(0, &canceled);
    for (quint64 name = 0; name < stackedNameCount; ++name) {
        buffer.setCurrentWriteObjectName(name, &canceled);
        const auto corners = squareTriangles(0, 0, double(name) / 4, 10);
        buffer.writeDrawVertexArrayWithPolygonMode(
            replayTriangles, corners.data(), nullptr, nullptr, 6, &canceled);
    }
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    buffer.finishWriteBuffer_isCanceled(&canceled);
    manager.setRestrictiveDrawRect(
        QRectF(imageSize.width() / 2 - 2, imageSize.height() / 2 - 2, 4, 4));
    std::vector<UGLSelectionHit> hits;
    renderReplayFrame(manager, imageSize, false, [&] {
        hits = selection.selectHits(
            [&] {
                std::vector<UFemGraphicCocoaDrawObject> objects;
                EXPECT_TRUE(replayAllStages(buffer, buffer, &objects));
            },
            false, didOverflow);
    });
    manager.clearRestrictiveDrawRect();
    return hits;
}

void expectNamesInOrder(const std::vector<UGLSelectionHit>& hits)
{
    for (quint64 index = 0; index < hits.size(); ++index) {
        EXPECT_EQ(hits[index].names, std::vector<quint32> { quint32(index) });
        // Higher squares lie nearer the eye.
        if (index > 0) {
            EXPECT_LT(hits[index].minimumDepth, hits[index - 1].minimumDepth);
        }
    }
}

} // namespace

TEST(DrawingReplay, SelectionOverflowGrowsTheBufferOrKeepsTheHitsThatFit)
{
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    bool didOverflow = true;
    UGLSelectionBuffer growing(16, 4096);
    const auto all = pickStackedSquares(*manager, growing, &didOverflow);
    EXPECT_FALSE(didOverflow);
    ASSERT_EQ(all.size(), stackedNameCount);
    expectNamesInOrder(all);
    EXPECT_GE(growing.capacity(), 4 * stackedNameCount);
    EXPECT_LE(growing.capacity(), 2 * 4 * stackedNameCount);

    // At its largest size the buffer holds 16 whole records and part of the 17th.
    UGLSelectionBuffer bounded(16, 66);
    const auto kept = pickStackedSquares(*manager, bounded, &didOverflow);
    EXPECT_TRUE(didOverflow);
    ASSERT_EQ(kept.size(), 16u);
    expectNamesInOrder(kept);
    EXPECT_EQ(kept[15].minimumDepth, all[15].minimumDepth);

    // A repeatable drawing is simply run again, once per size tried.
    int runs = 0;
    UGLSelectionBuffer again(16, 4096);
    std::vector<UGLSelectionHit> hits;
    manager->setRestrictiveDrawRect(QRectF(0, 0, 4, 4));
    renderReplayFrame(*manager, imageSize, false, [&] {
        hits = again.selectHits(
            [&] {
                ++runs;
                for (GLuint name = 0; name < 10; ++name) {
                    glLoadName(name);
                    glRectf(-100, -100, 100, 100);
                }
            },
            true, &didOverflow);
    });
    manager->clearRestrictiveDrawRect();
    EXPECT_FALSE(didOverflow);
    EXPECT_EQ(hits.size(), 10u);
    EXPECT_EQ(runs, 3);
}
