#include "DrawingBufferTestSupport.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLExpandIndexedVertexTables.h"

#include <gtest/gtest.h>

namespace {

constexpr quint64 none = ~quint64(0);
constexpr quint64 lines = 1;
constexpr quint64 triangles = 4;
constexpr quint64 triangleStrip = 5;

void append(Expected& expected, std::initializer_list<ExpectedCell> cells)
{
    expected.insert(expected.end(), cells);
}

// One vertex record: position of vertex `vertex`, its colour when given, normal `normal` when
// given.
void appendRecord(Expected& expected, const double* vertexTable, const _UGLColor* colorTable,
    const double* normalTable, quint64 vertex, quint64 normal)
{
    const double* p = vertexTable + 3 * vertex;
    append(expected, { F(p[0]), F(p[1]), F(p[2]) });
    if (colorTable != nullptr) {
        const _UGLColor& c = colorTable[vertex];
        append(expected, { F(c.red), F(c.green), F(c.blue), F(c.alpha) });
    }
    if (normalTable != nullptr) {
        const double* n = normalTable + 3 * normal;
        append(expected, { F(n[0]), F(n[1]), F(n[2]) });
    }
}

void appendRecords(Expected& expected, const double* vertexTable, const _UGLColor* colorTable,
    const double* normalTable, quint64 count)
{
    for (quint64 vertex = 0; vertex < count; ++vertex)
        appendRecord(expected, vertexTable, colorTable, normalTable, vertex, vertex);
}

void appendHeader(Expected& expected, quint32 command, quint32 mode, bool color, bool normal,
    quint32 count, quint32 indexStart, quint32 indexCount)
{
    append(expected,
        { U(command), U(mode), B(color), B(normal), U(count), U(indexStart), U(indexCount) });
}

// A small ring: a test writes at most six blocks of a stage before reading it.
struct StreamFixture : ::testing::Test {
    UGLDrawingBuffer buffer { 8, 1024, UGLOpenGLVersion_1_4 };
    bool canceled = false;

    void open(quint64 stage) { buffer.openWriteStageWithStageIdentifier(stage, &canceled); }
    std::vector<ReadBlock> closeAndRead(quint64 stage)
    {
        buffer.closeCurrentWriteStage_isCanceled(&canceled);
        EXPECT_FALSE(canceled);
        return readStage(buffer, stage);
    }
};

const double positions[] = { 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0.5, 2, 0, 1, 2, 2, 2 };
const double normals[] = { 0, 0, 1, 0, 0, -1, 1, 0, 0, 0, 1, 0, 0.6, 0.8, 0, 0, 0.6, 0.8 };
const _UGLColor colors[] = { { 1, 0, 0, 1 }, { 0, 1, 0, 1 }, { 0, 0, 1, 1 },
    { 0.5, 0.5, 0.5, 0.25 }, { 0.1, 0.2, 0.3, 0.4 }, { 0.9, 0.8, 0.7, 0.6 } };

} // namespace

using DrawingBufferStream = StreamFixture;

TEST_F(DrawingBufferStream, ListArraysOfOneKindGrowOneCommand)
{
    open(1);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, normals, 3, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions + 9, nullptr, normals + 9, 3, &canceled);
    quint32 command = 0;
    quint64 mode = 0;
    bool color = true;
    bool normal = false;
    EXPECT_TRUE(buffer._getCurrentWriteVertexArrayCommand(&command, &mode, &color, &normal));
    EXPECT_EQ(command, 8u);
    EXPECT_EQ(mode, triangles);
    EXPECT_FALSE(color);
    EXPECT_TRUE(normal);
    const _UGLColor objectColor { 0.25, 0.5, 0.75, 1 };
    buffer.setCurrentWriteObjectColor(&objectColor, &canceled);
    buffer.setCurrentWriteObjectColor(&objectColor, &canceled); // equal: nothing written
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, normals, 3, &canceled);
    // Other flags or another mode start another command.
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, nullptr, 3, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(lines, positions, nullptr, nullptr, 2, &canceled);
    const auto blocks = closeAndRead(1);
    EXPECT_FALSE(canceled);
    EXPECT_FALSE(buffer._getCurrentWriteVertexArrayCommand(&command, &mode, &color, &normal));
    EXPECT_EQ(command, 0u);
    EXPECT_EQ(mode, none);

    Expected expected;
    appendHeader(expected, 8, triangles, false, true, 6, 0, 0);
    appendRecords(expected, positions, nullptr, normals, 6);
    append(expected, { U(7), F(0.25), F(0.5), F(0.75), F(1) });
    appendHeader(expected, 8, triangles, false, true, 3, 0, 0);
    appendRecords(expected, positions, nullptr, normals, 3);
    appendHeader(expected, 8, triangles, false, false, 3, 0, 0);
    appendRecords(expected, positions, nullptr, nullptr, 3);
    appendHeader(expected, 8, lines, false, false, 2, 0, 0);
    appendRecords(expected, positions, nullptr, nullptr, 2);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(cellMismatch(blocks[0].cells, expected), "");
    EXPECT_TRUE(blocks[0].indexes.empty());
}

TEST_F(DrawingBufferStream, IndexedArraysShiftLaterIndicesAndColourTablesInvalidateTheObjectColour)
{
    open(1);
    const _UGLColor gray { 0.5, 0.5, 0.5, 1 };
    buffer.setCurrentWriteObjectColor(&gray, &canceled);
    const quint64 first[] = { 0, 1, 2, 0, 2, 3 };
    const quint64 second[] = { 2, 1, 0 };
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangles, first, 6, positions, colors, nullptr, 4, &canceled);
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangles, second, 3, positions + 12, colors + 4, nullptr, 2, &canceled);
    // The per-vertex colours changed the material: the same object colour is written again.
    buffer.setCurrentWriteObjectColor(&gray, &canceled);
    const auto blocks = closeAndRead(1);

    Expected expected { U(7), F(0.5), F(0.5), F(0.5), F(1) };
    appendHeader(expected, 10, triangles, true, false, 6, 0, 9);
    appendRecords(expected, positions, colors, nullptr, 6);
    append(expected, { U(7), F(0.5), F(0.5), F(0.5), F(1) });
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(cellMismatch(blocks[0].cells, expected), "");
    EXPECT_EQ(blocks[0].indexes, (std::vector<quint32> { 0, 1, 2, 0, 2, 3, 6, 5, 4 }));
}

TEST_F(DrawingBufferStream, StripsKeepOneRunPerCall)
{
    open(1);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangleStrip, positions, nullptr, nullptr, 4, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangleStrip, positions, nullptr, nullptr, 3, &canceled);
    const quint64 firstRun[] = { 0, 2, 1 };
    const quint64 secondRun[] = { 1, 0, 3, 2 };
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangleStrip, firstRun, 3, positions, nullptr, normals, 3, &canceled);
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangleStrip, secondRun, 4, positions, nullptr, normals, 4, &canceled);
    const auto blocks = closeAndRead(1);

    Expected expected;
    appendHeader(expected, 9, triangleStrip, false, false, 7, 0, 2);
    appendRecords(expected, positions, nullptr, nullptr, 4);
    appendRecords(expected, positions, nullptr, nullptr, 3);
    appendHeader(expected, 11, triangleStrip, false, true, 7, 2, 9);
    appendRecords(expected, positions, nullptr, normals, 3);
    appendRecords(expected, positions, nullptr, normals, 4);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(cellMismatch(blocks[0].cells, expected), "");
    EXPECT_EQ(blocks[0].indexes, (std::vector<quint32> { 4, 3, 3, 0, 2, 1, 4, 4, 3, 6, 5 }));
}

TEST_F(DrawingBufferStream, PerIndexNormalsExpandIntoPlainArrays)
{
    const quint64 faces[] = { 0, 1, 2, 2, 1, 3 };
    open(1);
    buffer.writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(
        triangles, faces, 6, positions, colors, normals, 4, &canceled);
    buffer.writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(
        triangleStrip, faces, 4, positions, nullptr, normals, 4, &canceled);
    // Without normals the indexed form is kept.
    buffer.writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(
        triangles, faces, 6, positions, nullptr, nullptr, 4, &canceled);
    auto blocks = closeAndRead(1);

    Expected expected;
    appendHeader(expected, 8, triangles, true, true, 6, 0, 0);
    for (quint64 entry = 0; entry < 6; ++entry)
        appendRecord(expected, positions, colors, normals, faces[entry], entry);
    appendHeader(expected, 9, triangleStrip, false, true, 4, 0, 1);
    for (quint64 entry = 0; entry < 4; ++entry)
        appendRecord(expected, positions, nullptr, normals, faces[entry], entry);
    appendHeader(expected, 10, triangles, false, false, 4, 1, 6);
    appendRecords(expected, positions, nullptr, nullptr, 4);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(cellMismatch(blocks[0].cells, expected), "");
    EXPECT_EQ(blocks[0].indexes, (std::vector<quint32> { 4, 0, 1, 2, 2, 1, 3 }));

    // The expansion helper gathers the same positions and colours.
    double expandedVertices[18] = {};
    double expandedColors[24] = {};
    UGLExpandIndexedVertexTables(faces, 6, positions, colors, expandedVertices, expandedColors);
    EXPECT_EQ(expandedVertices[9], positions[6]);
    EXPECT_EQ(expandedVertices[17], positions[11]);
    EXPECT_EQ(expandedColors[20], colors[3].red);
    EXPECT_EQ(expandedColors[23], colors[3].alpha);
}

TEST_F(DrawingBufferStream, SelectModeKeepsPositionsOnly)
{
    buffer.setDoesDrawForSelectMode(true);
    const quint64 faces[] = { 0, 1, 2 };
    open(1);
    buffer.setCurrentWriteObjectName(7, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(triangles, positions, colors, normals, 3, &canceled);
    buffer.writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(
        triangles, faces, 3, positions, colors, normals, 3, &canceled);
    buffer.setCurrentWriteObjectName(none, &canceled);
    EXPECT_EQ(buffer.currentWriteObjectName(), none);
    buffer.setCurrentWriteObjectName(7, &canceled);
    buffer.setCurrentWriteObjectName(7, &canceled);
    const auto blocks = closeAndRead(1);

    Expected expected { U(6), U(7) };
    appendHeader(expected, 8, triangles, false, false, 3, 0, 0);
    appendRecords(expected, positions, nullptr, nullptr, 3);
    appendHeader(expected, 10, triangles, false, false, 3, 0, 3);
    appendRecords(expected, positions, nullptr, nullptr, 3);
    append(expected, { U(6), U(7), U(6), U(7) });
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(cellMismatch(blocks[0].cells, expected), "");
    buffer.resetBuffer();
    EXPECT_FALSE(buffer.doesDrawForSelectMode());
}

TEST_F(DrawingBufferStream, RawCommandsCloseTheOpenArray)
{
    open(1);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, nullptr, 3, &canceled);
    auto* cells = static_cast<_UGLDrawingBufferElement*>(
        buffer.writeBufferPtrWithElementCount(6, true, &canceled));
    cells[0].setUnsignedValue(1);
    cells[1].setUnsignedValue(triangles);
    cells[2].setUnsignedValue(5);
    cells[3].setFloatValue(1.5f);
    cells[4].setFloatValue(2.5f);
    cells[5].setFloatValue(3.5f);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, nullptr, 3, &canceled);
    // Counting written cells closes the command as well; a zero count does not.
    cells = static_cast<_UGLDrawingBufferElement*>(
        buffer.writeBufferPtrWithElementCount(1, false, &canceled));
    buffer.incrementWriteElementCount(0, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, nullptr, 3, &canceled);
    cells = static_cast<_UGLDrawingBufferElement*>(
        buffer.writeBufferPtrWithElementCount(1, false, &canceled));
    cells[0].setUnsignedValue(2);
    buffer.incrementWriteElementCount(1, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, nullptr, 3, &canceled);
    const auto blocks = closeAndRead(1);

    Expected expected;
    appendHeader(expected, 8, triangles, false, false, 3, 0, 0);
    appendRecords(expected, positions, nullptr, nullptr, 3);
    append(expected, { U(1), U(triangles), U(5), F(1.5), F(2.5), F(3.5) });
    appendHeader(expected, 8, triangles, false, false, 6, 0, 0);
    appendRecords(expected, positions, nullptr, nullptr, 3);
    appendRecords(expected, positions, nullptr, nullptr, 3);
    append(expected, { U(2) });
    appendHeader(expected, 8, triangles, false, false, 3, 0, 0);
    appendRecords(expected, positions, nullptr, nullptr, 3);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(cellMismatch(blocks[0].cells, expected), "");
}

TEST_F(DrawingBufferStream, EdgeColourAndEdgeQuads)
{
    buffer.setEdgeDrawingBufferEnabled(true);
    open(1);
    // Lines before any edge colour open a bare run.
    const double quad[]
        = { 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 5, 5, 5, 6, 5, 5, 6, 6, 5, 5, 6, 5 };
    buffer.writeEdgeLineWithEdgeQuadVertexTable(quad, 1, &canceled);
    const _UGLColor black { 0, 0, 0, 1 };
    buffer.setCurrentWriteEdgeColor(&black, &canceled);
    buffer.writeEdgeLineWithEdgeQuadVertexTable(quad, 2, &canceled);
    buffer.setCurrentWriteEdgeColor(&black, &canceled); // written again
    const double strip[] = { 0, 0, 0, 0, 0, 1, 1, 0, 0, 1, 0, 1, 2, 0, 0, 2, 0, 1 };
    buffer.writeEdgeLineWithEdgeQuadStripVertexTable(strip, 2, &canceled);
    const auto blocks = closeAndRead(1);

    Expected expected { U(13), U(4) };
    for (int cell = 0; cell < 12; ++cell)
        expected.push_back(F(quad[cell]));
    append(expected, { U(12), F(0), F(0), F(0), F(1), U(13), U(8) });
    for (double value : quad)
        expected.push_back(F(value));
    append(expected, { U(12), F(0), F(0), F(0), F(1), U(13), U(8) });
    for (int cell = 0; cell < 12; ++cell)
        expected.push_back(F(strip[cell]));
    for (int cell = 6; cell < 18; ++cell)
        expected.push_back(F(strip[cell]));
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_TRUE(blocks[0].cells.empty());
    EXPECT_EQ(cellMismatch(blocks[0].edges, expected), "");
}

TEST_F(DrawingBufferStream, NewBlocksRepeatNameAndColoursNewStagesForgetThem)
{
    buffer.setEdgeDrawingBufferEnabled(true);
    open(2);
    const _UGLColor red { 1, 0, 0, 1 };
    const _UGLColor blue { 0, 0, 1, 1 };
    buffer.setCurrentWriteEdgeColor(&blue, &canceled);
    buffer.setCurrentWriteObjectName(42, &canceled);
    buffer.setCurrentWriteObjectColor(&red, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, nullptr, 3, &canceled);
    buffer.moveToNextWriteBuffer_isCanceled(&canceled);
    // The move closed the command: this array has a header of its own.
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, positions, nullptr, nullptr, 3, &canceled);
    const double quad[12] = { 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0 };
    buffer.writeEdgeLineWithEdgeQuadVertexTable(quad, 1, &canceled);
    auto blocks = closeAndRead(2);
    ASSERT_EQ(blocks.size(), 2u);
    Expected second { U(6), U(42), U(7), F(1), F(0), F(0), F(1) };
    appendHeader(second, 8, triangles, false, false, 3, 0, 0);
    appendRecords(second, positions, nullptr, nullptr, 3);
    EXPECT_EQ(cellMismatch(blocks[1].cells, second), "");
    Expected secondEdges { U(12), F(0), F(0), F(1), F(1), U(13), U(4) };
    for (double value : quad)
        secondEdges.push_back(F(value));
    EXPECT_EQ(cellMismatch(blocks[1].edges, secondEdges), "");

    open(3);
    EXPECT_EQ(buffer.currentWriteObjectName(), none);
    buffer.setCurrentWriteObjectColor(&red, &canceled); // written: the colour was forgotten
    buffer.moveToNextWriteBuffer_isCanceled(&canceled);
    buffer.writeEdgeLineWithEdgeQuadVertexTable(quad, 1, &canceled);
    blocks = closeAndRead(3);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(cellMismatch(blocks[0].cells, { U(7), F(1), F(0), F(0), F(1) }), "");
    EXPECT_TRUE(blocks[0].edges.empty());
    EXPECT_EQ(cellMismatch(blocks[1].cells, { U(7), F(1), F(0), F(0), F(1) }), "");
    Expected bareRun { U(13), U(4) };
    for (double value : quad)
        bareRun.push_back(F(value));
    EXPECT_EQ(cellMismatch(blocks[1].edges, bareRun), "");
}

TEST_F(DrawingBufferStream, DrawObjectsOfAStageArriveInOrder)
{
    using Object = UFemGraphicCocoaDrawObject;
    const auto text = [](const char* string, double x) {
        return Object::cocoaDrawObjectWithDrawObject(
            Object::Text { QString::fromLatin1(string), QFont(), {} }, QPointF(x, 1));
    };
    open(1);
    buffer.writeCocoaDrawingObjectWithArray({ text("a", 1), text("b", 2) }, &canceled);
    buffer.writeCocoaDrawingObjectWithArray({ text("c", 3) }, &canceled);
    closeAndRead(1);
    open(4);
    buffer.writeCocoaDrawingObjectWithArray(
        { Object::cocoaDrawObjectWithDrawObject(
            QImage(2, 2, QImage::Format_ARGB32), QPointF(9, 9)) },
        &canceled);
    closeAndRead(4);

    std::vector<Object> read { text("kept", 0) };
    EXPECT_TRUE(buffer.getCocoaDrawingObjectsToCocoaDrawObjectArray(&read, 1, &canceled));
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(std::get<Object::Text>(read[1].drawObject()).string, "a");
    EXPECT_EQ(std::get<Object::Text>(read[3].drawObject()).string, "c");
    EXPECT_EQ(read[2].drawPoint(), QPointF(2, 1));
    // Moved, not copied: asking again gives nothing; a stage without objects gives nothing.
    EXPECT_FALSE(buffer.getCocoaDrawingObjectsToCocoaDrawObjectArray(&read, 1, &canceled));
    EXPECT_FALSE(buffer.getCocoaDrawingObjectsToCocoaDrawObjectArray(&read, 2, &canceled));
    EXPECT_TRUE(buffer.getCocoaDrawingObjectsToCocoaDrawObjectArray(&read, 4, &canceled));
    EXPECT_EQ(std::get<QImage>(read.back().drawObject()).size(), QSize(2, 2));
    buffer.resetBuffer();
    EXPECT_FALSE(buffer.getCocoaDrawingObjectsToCocoaDrawObjectArray(&read, 4, &canceled));
    EXPECT_FALSE(canceled);
}

TEST_F(DrawingBufferStream, CancelStopsEveryWritingOperation)
{
    buffer.setEdgeDrawingBufferEnabled(true);
    open(1);
    buffer.requestCancel();
    const _UGLColor red { 1, 0, 0, 1 };
    const quint64 faces[] = { 0, 1, 2 };
    const std::vector<std::function<void(bool*)>> operations {
        [&](bool* flag) { buffer.setCurrentWriteObjectName(3, flag); },
        [&](bool* flag) { buffer.setCurrentWriteObjectColor(&red, flag); },
        [&](bool* flag) { buffer.writeBufferPtrWithElementCount(2, true, flag); },
        [&](bool* flag) {
            buffer.writeDrawVertexArrayWithPolygonMode(
                triangles, positions, colors, normals, 3, flag);
        },
        [&](bool* flag) {
            buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
                triangleStrip, faces, 3, positions, nullptr, nullptr, 3, flag);
        },
        [&](bool* flag) {
            buffer.writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(
                triangles, faces, 3, positions, nullptr, normals, 3, flag);
        },
        [&](bool* flag) { buffer.writeCocoaDrawingObjectWithArray({}, flag); },
        [&](bool* flag) { buffer.setCurrentWriteEdgeColor(&red, flag); },
        [&](bool* flag) { buffer.writeEdgeLineWithEdgeQuadVertexTable(positions, 1, flag); },
        [&](bool* flag) { buffer.closeCurrentWriteStage_isCanceled(flag); },
    };
    for (std::size_t index = 0; index < operations.size(); ++index) {
        bool flag = false;
        operations[index](&flag);
        EXPECT_TRUE(flag) << index;
    }
    std::vector<UFemGraphicCocoaDrawObject> read;
    bool flag = false;
    EXPECT_FALSE(buffer.getCocoaDrawingObjectsToCocoaDrawObjectArray(&read, 1, &flag));
    EXPECT_TRUE(flag);
}

TEST(DrawingBufferStreamErrors, MisuseIsAProgramError)
{
    UGLDrawingBuffer buffer(4, 1024, UGLOpenGLVersion_1_1);
    bool canceled = false;
    EXPECT_THROW(buffer.writeDrawVertexArrayWithPolygonMode(
                     triangles, positions, nullptr, nullptr, 3, &canceled),
        UException);
    buffer.openWriteStageWithStageIdentifier(0, &canceled);
    const double quad[12] = {};
    EXPECT_THROW(buffer.writeEdgeLineWithEdgeQuadVertexTable(quad, 1, &canceled), UException);
    EXPECT_THROW(UGLDrawingBuffer(4, 20, UGLOpenGLVersion_1_1), UException);
    EXPECT_EQ(buffer.renderingOpenGLVersion(), UGLOpenGLVersion_1_1);
    EXPECT_FALSE(canceled);
}
