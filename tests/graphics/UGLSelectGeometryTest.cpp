#include "OpenGLTestSupport.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLDrawingBufferCommand.h"
#include "graphics/drawingbuffer/UGLSelectGeometry.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

namespace {

using Cell = _UGLDrawingBufferElement;

// A select-mode stream written cell by cell.
class Stream {
public:
    void name(quint32 value) { push({ UGLDrawingBufferCommandObjectName, value }); }
    // Command 8 or 10 over `vertexCount` positions (x = k), with `entries` in the index table.
    void vertexArray(
        quint32 command, GLenum mode, quint32 vertexCount, const std::vector<quint32>& entries = {})
    {
        push({ command, mode, 0, 0, vertexCount, quint32(indexTable.size()),
            quint32(entries.size()) });
        for (quint32 k = 0; k < vertexCount; ++k)
            pushFloats({ float(k), 0, 0 });
        indexTable.insert(indexTable.end(), entries.begin(), entries.end());
    }
    // Command 8 over the given positions.
    void vertices(GLenum mode, const std::vector<std::array<float, 3>>& positions)
    {
        push({ UGLDrawingBufferCommandVertexArray, mode, 0, 0, quint32(positions.size()), 0, 0 });
        for (const std::array<float, 3>& p : positions)
            pushFloats({ p[0], p[1], p[2] });
    }
    void immediate(GLenum mode, int vertexCount)
    {
        push({ UGLDrawingBufferCommandBegin, mode });
        for (int k = 0; k < vertexCount; ++k) {
            push({ UGLDrawingBufferCommandVertex });
            pushFloats({ float(k), 1, 0 });
        }
        push({ UGLDrawingBufferCommandEnd });
    }

    std::vector<Cell> cells;
    std::vector<quint32> indexTable;

private:
    void push(std::initializer_list<quint32> values)
    {
        for (const quint32 value : values)
            cells.emplace_back().setUnsignedValue(value);
    }
    void pushFloats(std::initializer_list<float> values)
    {
        for (const float value : values)
            cells.emplace_back().setFloatValue(value);
    }
};

} // namespace

// List primitives of one name share a draw; a name change, a strip or a polygon starts one.
TEST(UGLSelectGeometryTest, RecordsPositionsAndMergesOnlyListPrimitivesOfOneName)
{
    Stream stream;
    stream.name(3);
    stream.vertexArray(UGLDrawingBufferCommandVertexArray, GL_TRIANGLES, 3);
    stream.immediate(GL_TRIANGLES, 3);
    stream.vertexArray(UGLDrawingBufferCommandIndexedVertexArray, GL_QUAD_STRIP, 4, { 0, 1, 3, 2 });
    stream.immediate(GL_POLYGON, 5);
    stream.name(4);
    stream.vertexArray(UGLDrawingBufferCommandVertexArray, GL_TRIANGLES, 3);
    UGLSelectGeometry geometry;
    geometry.appendBlock(
        stream.cells.data(), stream.cells.data() + stream.cells.size(), stream.indexTable.data());
    EXPECT_EQ(geometry.vertexCount(), 3u + 3 + 4 + 5 + 3);
    // Triangles of name 3 (6 vertices), its strip, its polygon, the triangles of name 4.
    EXPECT_EQ(geometry.drawCount(), 4u);
    geometry.clear();
    EXPECT_TRUE(geometry.isEmpty());
    EXPECT_EQ(geometry.vertexCount(), 0u);
}

// A stream that claims more than its block holds is refused, never read past its end.
TEST(UGLSelectGeometryTest, ATruncatedCommandRaisesInsteadOfReadingPastTheBlock)
{
    Stream stream;
    stream.vertexArray(UGLDrawingBufferCommandIndexedRuns, GL_TRIANGLE_STRIP, 4, { 5, 0, 1, 2 });
    UGLSelectGeometry runPastEntries;
    EXPECT_THROW(runPastEntries.appendBlock(stream.cells.data(),
                     stream.cells.data() + stream.cells.size(), stream.indexTable.data()),
        UException);
    UGLSelectGeometry cutBlock;
    EXPECT_THROW(cutBlock.appendBlock(stream.cells.data(),
                     stream.cells.data() + stream.cells.size() - 1, stream.indexTable.data()),
        UException);
}

// An entry that names a vertex past its array, or runs longer than the array together, are
// refused before anything of the command is kept, as a command past its block is.
TEST(UGLSelectGeometryTest, SelectGeometryIndexCheckRefusesEntriesPastTheVertices)
{
    struct Case {
        const char* what;
        quint32 command;
        GLenum mode;
        std::vector<quint32> entries;
    };
    const Case cases[] = {
        { "indexed entry equal to the vertex count", UGLDrawingBufferCommandIndexedVertexArray,
            GL_TRIANGLES, { 0, 1, 4 } },
        { "indexed entry far past the vertices", UGLDrawingBufferCommandIndexedVertexArray,
            GL_TRIANGLES, { 0, 1, 1u << 30 } },
        { "a later run's entry past the vertices", UGLDrawingBufferCommandIndexedRuns,
            GL_TRIANGLE_STRIP, { 3, 0, 1, 2, 3, 1, 2, 9 } },
        { "runs longer than the array", UGLDrawingBufferCommandVertexArrayRuns, GL_LINE_STRIP,
            { 2, 3 } },
    };
    for (const Case& test : cases) {
        Stream stream;
        stream.name(1);
        stream.vertexArray(UGLDrawingBufferCommandVertexArray, GL_TRIANGLES, 3);
        stream.vertexArray(test.command, test.mode, 4, test.entries);
        UGLSelectGeometry geometry;
        try {
            geometry.appendBlock(stream.cells.data(), stream.cells.data() + stream.cells.size(),
                stream.indexTable.data());
            ADD_FAILURE() << test.what << ": taken";
        } catch (const UException& exception) {
            EXPECT_EQ(exception.reason(),
                QStringLiteral("Drawing command runs past its buffer. ( value: %1 )")
                    .arg(test.command))
                << test.what;
        }
        EXPECT_EQ(geometry.vertexCount(), 3u) << test.what;
        EXPECT_EQ(geometry.drawCount(), 1u) << test.what;
    }
    // The largest entries that still name a vertex are taken.
    Stream within;
    within.vertexArray(UGLDrawingBufferCommandIndexedRuns, GL_TRIANGLES, 4, { 3, 3, 2, 1 });
    within.vertexArray(UGLDrawingBufferCommandVertexArrayRuns, GL_LINE_STRIP, 4, { 2, 2 });
    UGLSelectGeometry geometry;
    geometry.appendBlock(
        within.cells.data(), within.cells.data() + within.cells.size(), within.indexTable.data());
    EXPECT_EQ(geometry.drawCount(), 3u);
}

namespace {

// The names hit by one select pass over `band` of a 100 x 100 view; with `insideNames`, those the
// geometry took without drawing join them.
std::set<GLuint> hitNames(UOpenGLManager& manager, const UGLSelectGeometry& geometry,
    std::vector<GLuint>* insideNames, GLint* written)
{
    EXPECT_TRUE(manager.makeCurrentContext());
    manager.updateOpenGL();
    std::vector<GLuint> buffer(4096);
    glSelectBuffer(GLsizei(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    geometry.drawSelectMode(insideNames);
    *written = glRenderMode(GL_RENDER);
    UOpenGLManager::clearCurrentContext();
    std::set<GLuint> names;
    for (GLint hit = 0; hit < *written; ++hit)
        names.insert(buffer[4 * quint64(hit) + 3]);
    if (insideNames != nullptr)
        names.insert(insideNames->begin(), insideNames->end());
    return names;
}

} // namespace

// A band takes the runs of draws lying wholly inside it without drawing them and hits the same
// names as drawing everything; a draw too short for a primitive hits in neither.
TEST(UGLSelectGeometryTest, RunsInsideABandHitWithoutDrawingAndAsWhenDrawn)
{
    // 16 rows of 16 small triangles, 4 units apart from -30 to 30: four runs of four rows each.
    Stream stream;
    constexpr int gridSide = 16;
    for (int row = 0; row < gridSide; ++row)
        for (int column = 0; column < gridSide; ++column) {
            const float x = float(-30 + 4 * column);
            const float y = float(-30 + 4 * row);
            stream.name(quint32(1 + row * gridSide + column));
            stream.vertices(GL_TRIANGLES, { { x, y, 0 }, { x + 1, y, 0 }, { x, y + 1, 0 } });
        }
    constexpr GLuint shortDraw = 300;
    constexpr GLuint point = 301;
    stream.name(shortDraw);
    stream.vertices(GL_TRIANGLES, { { 0, 0, 0 }, { 1, 0, 0 } });
    stream.name(point);
    stream.vertices(GL_POINTS, { { 0, 0, 0 } });
    UGLSelectGeometry geometry;
    geometry.appendBlock(
        stream.cells.data(), stream.cells.data() + stream.cells.size(), stream.indexTable.data());
    ASSERT_EQ(geometry.drawCount(), quint64(gridSide * gridSide + 2));

    // Model y from -20 to 20 whichever way the view's y runs: rows -18 to 18 and the point.
    const std::unique_ptr<UOpenGLManager> manager = softwareManager();
    ASSERT_TRUE(manager);
    manager->setSize(QSizeF(100, 100));
    manager->setEyeLocation(unitEye());
    manager->setRestrictiveDrawRect(QRectF(0, 30, 100, 40));
    GLint drawnWritten = 0;
    const std::set<GLuint> drawn = hitNames(*manager, geometry, nullptr, &drawnWritten);
    const quint64 drawnCount = geometry.lastDrawnCount();
    std::vector<GLuint> inside;
    GLint bandWritten = 0;
    const std::set<GLuint> band = hitNames(*manager, geometry, &inside, &bandWritten);

    EXPECT_EQ(drawn.size(), 10u * gridSide + 1);
    EXPECT_EQ(band, drawn);
    EXPECT_EQ(drawn.count(shortDraw), 0u);
    EXPECT_EQ(drawn.count(point), 1u);
    // The two inner runs and the point come without drawing; the crossing runs are drawn.
    EXPECT_EQ(inside.size(), 2u * 4 * gridSide + 1);
    EXPECT_EQ(bandWritten, 2 * gridSide);
    EXPECT_EQ(geometry.lastDrawnCount(), drawnCount - 2 * 4 * gridSide - 2);
}
