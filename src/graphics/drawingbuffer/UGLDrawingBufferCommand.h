#pragma once

#include <QtGlobal>

// Command codes of a drawing buffer. 1 to 11 live in a block's main stream, 12 and 13 in its
// edge buffer. Every command starts with its code in an unsigned cell.
enum UGLDrawingBufferCommand : quint32 {
    UGLDrawingBufferCommandNone = 0,
    UGLDrawingBufferCommandBegin = 1, // code, primitive mode
    UGLDrawingBufferCommandEnd = 2, // code
    UGLDrawingBufferCommandColor = 3, // code, r, g, b, a
    UGLDrawingBufferCommandNormal = 4, // code, x, y, z
    UGLDrawingBufferCommandVertex = 5, // code, x, y, z
    UGLDrawingBufferCommandObjectName = 6, // code, name
    UGLDrawingBufferCommandObjectColor = 7, // code, r, g, b, a (also the lit material)
    UGLDrawingBufferCommandVertexArray = 8, // header, records
    UGLDrawingBufferCommandVertexArrayRuns = 9, // header, records; run lengths in the index table
    UGLDrawingBufferCommandIndexedVertexArray = 10, // header, records; indices in the index table
    UGLDrawingBufferCommandIndexedRuns = 11, // header, records; [k, i1..ik] per run
    UGLDrawingBufferCommandEdgeColor = 12, // code, r, g, b, a
    UGLDrawingBufferCommandEdgeQuads = 13, // code, vertex count, then x, y, z per vertex
};

// Cells of the commands of fixed size.
inline constexpr quint64 UGLDrawingBufferObjectNameCellCount = 2;
inline constexpr quint64 UGLDrawingBufferColorCellCount = 5;
inline constexpr quint64 UGLDrawingBufferEdgeQuadsHeaderCellCount = 2;

// The header of commands 8 to 11: cell positions and size. Index start and count locate the
// command's entries in its block's index table.
enum UGLDrawingBufferVertexArrayHeaderCell : quint64 {
    UGLVertexArrayHeaderCommand = 0,
    UGLVertexArrayHeaderPolygonMode = 1,
    UGLVertexArrayHeaderColorFlag = 2,
    UGLVertexArrayHeaderNormalFlag = 3,
    UGLVertexArrayHeaderVertexCount = 4,
    UGLVertexArrayHeaderIndexStart = 5,
    UGLVertexArrayHeaderIndexCount = 6,
    UGLVertexArrayHeaderCellCount = 7,
};

// A vertex record is x, y, z, then r, g, b, a with the colour flag, then the normal.
inline constexpr quint64 UGLVertexRecordColorCell = 3;
inline constexpr quint64 UGLVertexRecordStride(bool hasColor, bool hasNormal)
{
    return 3 + (hasColor ? 4 : 0) + (hasNormal ? 3 : 0);
}
inline constexpr quint64 UGLVertexRecordNormalCell(bool hasColor)
{
    return hasColor ? 7 : 3;
}

// No OpenGL mode: no vertex array or begin/end block is open.
inline constexpr quint64 UGLNoPolygonMode = ~quint64(0);
// No object name is being written; the selection stack holds no card there.
inline constexpr quint64 UGLNoObjectName = ~quint64(0);

// Points, lines, triangles and quads concatenate into one primitive; every other OpenGL mode
// (strips, loops, fans, polygons) must be drawn one run at a time.
inline constexpr bool UGLIsListPolygonMode(quint64 polygonMode)
{
    return polygonMode == 0 || polygonMode == 1 || polygonMode == 4 || polygonMode == 7;
}
