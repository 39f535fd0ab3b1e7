#include "graphics/drawingbuffer/UGLSelectGeometry.h"
#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLDrawingBufferCommand.h"

#include <gtest/gtest.h>

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
