#include "DrawingBufferTestSupport.h"

#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr quint64 triangles = 4;
constexpr quint64 triangleStrip = 5;
const double positions[] = { 0, 0, 0, 1, 0, 0, 0, 1, 0 };

// Index tables of `count` entries naming vertices 0 to 2.
std::vector<quint64> indexes(quint64 count)
{
    std::vector<quint64> table(count);
    for (quint64 entry = 0; entry < count; ++entry)
        table[entry] = entry % 3;
    return table;
}

std::string exceptionReason(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const UException& exception) {
        return exception.reason().toStdString();
    }
    return "no exception";
}

struct LimitsFixture : ::testing::Test {
    UGLDrawingBuffer buffer { 6, UGLDrawingBuffer::defaultBufferElementCapacity,
        UGLOpenGLVersion_1_1 };
    bool canceled = false;
};

} // namespace

using DrawingBufferLimits = LimitsFixture;

TEST_F(DrawingBufferLimits, IndexTableFillsTo11007Entries)
{
    buffer.openWriteStageWithStageIdentifier(1, &canceled);
    buffer.setCurrentWriteObjectName(5, &canceled);
    // Two indexed strips of 5502 take 5503 entries each; one more run fills the table to 11007.
    const std::vector<quint64> run = indexes(5502);
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangleStrip, run.data(), run.size(), positions, nullptr, nullptr, 3, &canceled);
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangleStrip, run.data(), run.size(), positions, nullptr, nullptr, 3, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangleStrip, positions, nullptr, nullptr, 3, &canceled);
    // 11007 + 1 exceeds the limit: the next run starts a block.
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangleStrip, positions, nullptr, nullptr, 3, &canceled);
    // Indexed lists: 6000, then 1 + 5006 more reach 11007 exactly; one more index moves on.
    const std::vector<quint64> list = indexes(6000);
    buffer.moveToNextWriteBuffer_isCanceled(&canceled);
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangles, list.data(), 6000, positions, nullptr, nullptr, 3, &canceled);
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangles, list.data(), 5006, positions, nullptr, nullptr, 3, &canceled);
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangles, list.data(), 1, positions, nullptr, nullptr, 3, &canceled);
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    const auto blocks = readStage(buffer, 1);
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].indexes.size(), 11007u);
    EXPECT_EQ(blocks[1].indexes, (std::vector<quint32> { 3 }));
    EXPECT_EQ(cellMismatch({ blocks[1].cells.begin(), blocks[1].cells.begin() + 9 },
                  { U(6), U(5), U(9), U(triangleStrip), B(false), B(false), U(3), U(0), U(1) }),
        "");
    EXPECT_EQ(blocks[2].indexes.size(), 11006u);
    // The second list extended the first command; its indices are shifted by 3 vertices.
    EXPECT_EQ(blocks[2].indexes[6000], 3u);
    EXPECT_EQ(blocks[2].cells[2 + UGLVertexArrayHeaderIndexCount].unsignedValue(), 11006u);
    EXPECT_EQ(blocks[3].indexes, (std::vector<quint32> { 0 }));
    EXPECT_FALSE(canceled);
}

TEST_F(DrawingBufferLimits, CallsThatCannotFitAnEmptyBlockAreRefused)
{
    buffer.openWriteStageWithStageIdentifier(1, &canceled);
    const std::vector<quint64> list = indexes(11007);
    EXPECT_EQ(exceptionReason([&] {
        buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
            triangles, list.data(), 11007, positions, nullptr, nullptr, 3, &canceled);
    }),
        "VertexIndexCount is bigger than vertexIndexTableCapacity. ( value: 11007 )");
    buffer.writeDrawVertexArrayByIndexArrayWithPolygonMode(
        triangles, list.data(), 11006, positions, nullptr, nullptr, 3, &canceled);

    buffer.setEdgeDrawingBufferEnabled(true);
    buffer.openWriteStageWithStageIdentifier(2, &canceled);
    const std::vector<double> corners(12 * 3333, 1.0);
    EXPECT_EQ(exceptionReason([&] {
        buffer.writeEdgeLineWithEdgeQuadVertexTable(corners.data(), 3333, &canceled);
    }),
        "EdgeLineCount is bigger than edgeDrawingBufferCapacity. ( value: 3333 )");
    buffer.writeEdgeLineWithEdgeQuadVertexTable(corners.data(), 3332, &canceled);
    EXPECT_FALSE(canceled);
}

TEST(DrawingBufferBlockLimits, ArraysThatFitOnlyWithoutTheRepeatedNameAreRefused)
{
    UGLDrawingBuffer buffer(4, 1024, UGLOpenGLVersion_1_1);
    bool canceled = false;
    // 339 vertices: 1017 cells, 1024 with the header.
    const std::vector<double> vertices(3 * 339, 0.5);
    buffer.openWriteStageWithStageIdentifier(1, &canceled);
    buffer.writeDrawVertexArrayWithPolygonMode(
        triangles, vertices.data(), nullptr, nullptr, 339, &canceled);
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    ASSERT_EQ(readStage(buffer, 1).at(0).cells.size(), 1024u);

    buffer.openWriteStageWithStageIdentifier(2, &canceled);
    buffer.setCurrentWriteObjectName(1, &canceled);
    const _UGLColor color { 1, 1, 1, 1 };
    buffer.setCurrentWriteObjectColor(&color, &canceled);
    // The new block would start with name and colour, leaving 1017 cells: no room.
    EXPECT_EQ(exceptionReason([&] {
        buffer.writeDrawVertexArrayWithPolygonMode(
            triangles, vertices.data(), nullptr, nullptr, 339, &canceled);
    }),
        "ElementCount is bigger than bufferElementCapacity. (RWBuffer) ( value: 1024 )");
    EXPECT_FALSE(canceled);
}

TEST_F(DrawingBufferLimits, ArraysCrossingABlockRepeatNameAndColour)
{
    buffer.openWriteStageWithStageIdentifier(1, &canceled);
    buffer.setCurrentWriteObjectName(77, &canceled);
    const _UGLColor green { 0, 1, 0, 1 };
    buffer.setCurrentWriteObjectColor(&green, &canceled);
    // 1000 triangles a call, 9000 cells: the fourth call crosses into a new block.
    const std::vector<double> vertices(9000, 0.25);
    for (int call = 0; call < 4; ++call)
        buffer.writeDrawVertexArrayWithPolygonMode(
            triangles, vertices.data(), nullptr, nullptr, 3000, &canceled);
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    const auto blocks = readStage(buffer, 1);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].cells.size(), 7u + 7u + 27000u);
    EXPECT_EQ(blocks[0].cells[7 + UGLVertexArrayHeaderVertexCount].unsignedValue(), 9000u);
    EXPECT_EQ(cellMismatch({ blocks[1].cells.begin(), blocks[1].cells.begin() + 14 },
                  { U(6), U(77), U(7), F(0), F(1), F(0), F(1), U(8), U(triangles), B(false),
                      B(false), U(3000), U(0), U(0) }),
        "");
    EXPECT_EQ(blocks[1].cells.size(), 14u + 9000u);
}

TEST_F(DrawingBufferLimits, EdgeBufferFillsTo39999CellsAndRepeatsItsColour)
{
    buffer.setEdgeDrawingBufferEnabled(true);
    buffer.openWriteStageWithStageIdentifier(1, &canceled);
    const _UGLColor gray { 0.5, 0.5, 0.5, 1 };
    const _UGLColor white { 1, 1, 1, 1 };
    std::vector<double> corners(12 * 3332);
    for (std::size_t value = 0; value < corners.size(); ++value)
        corners[value] = double(value % 1000);
    buffer.setCurrentWriteEdgeColor(&gray, &canceled);
    buffer.writeEdgeLineWithEdgeQuadVertexTable(corners.data(), 3332, &canceled); // 39991 cells
    buffer.writeEdgeLineWithEdgeQuadVertexTable(
        corners.data(), 1, &canceled); // 40005 > 39999: moves
    buffer.moveToNextWriteBuffer_isCanceled(&canceled);
    buffer.writeEdgeLineWithEdgeQuadVertexTable(corners.data(), 3332, &canceled); // 39991 again
    buffer.setCurrentWriteEdgeColor(&white, &canceled); // 39998 fits 40000
    buffer.setCurrentWriteEdgeColor(&gray, &canceled); // 40005 does not
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    const auto blocks = readStage(buffer, 1);
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[0].edges.size(), 39991u);
    EXPECT_EQ(blocks[0].edges[6].unsignedValue(), 4u * 3332u);
    Expected expected { U(12), F(0.5), F(0.5), F(0.5), F(1), U(13), U(4) };
    for (int cell = 0; cell < 12; ++cell)
        expected.push_back(F(corners[cell]));
    EXPECT_EQ(cellMismatch(blocks[1].edges, expected), "");
    EXPECT_EQ(blocks[2].edges.size(), 39998u);
    EXPECT_EQ(cellMismatch(blocks[3].edges,
                  { U(12), F(1), F(1), F(1), F(1), U(13), U(0), U(12), F(0.5), F(0.5), F(0.5), F(1),
                      U(13), U(0) }),
        "");
    EXPECT_TRUE(blocks[3].cells.empty());
}
