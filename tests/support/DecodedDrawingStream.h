#pragma once

// Header-only: used by the suites that link the graphics library.
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include <gtest/gtest.h>

#include <vector>

// One vertex-array command (8 to 11) of a drawing buffer's stream, values as doubles.
struct DecodedVertexArray {
    quint32 command = 0;
    quint64 polygonMode = 0;
    bool hasColor = false;
    bool hasNormal = false;
    std::vector<double> positions; // x, y, z per record
    std::vector<_UGLColor> colors;
    std::vector<double> normals;
    std::vector<quint32> indexes; // the command's entries of its block's index table

    quint64 recordCount() const { return positions.size() / 3; }
    friend bool operator==(const DecodedVertexArray&, const DecodedVertexArray&) = default;
};

// What one stage of a drawing buffer holds, in stream order, block prologues included.
struct DecodedDrawingStream {
    std::vector<DecodedVertexArray> arrays;
    std::vector<quint32> objectNames;
    std::vector<_UGLColor> objectColors;
    std::vector<_UGLColor> edgeColors;
    std::vector<double> edgeQuadVertices; // x, y, z per vertex, 4 vertices a line
    friend bool operator==(const DecodedDrawingStream&, const DecodedDrawingStream&) = default;
};

namespace decodeddrawingstream {

inline _UGLColor colorAt(const _UGLDrawingBufferElement* cells)
{
    return { cells[0].floatValue(), cells[1].floatValue(), cells[2].floatValue(),
        cells[3].floatValue() };
}

inline void decodeMain(DecodedDrawingStream& stream, const _UGLDrawingBufferElement* cell,
    const _UGLDrawingBufferElement* end, const quint32* indexTable)
{
    while (cell < end) {
        const quint32 command = cell->unsignedValue();
        if (command == UGLDrawingBufferCommandObjectName) {
            stream.objectNames.push_back(cell[1].unsignedValue());
            cell += UGLDrawingBufferObjectNameCellCount;
            continue;
        }
        if (command == UGLDrawingBufferCommandObjectColor) {
            stream.objectColors.push_back(colorAt(cell + 1));
            cell += UGLDrawingBufferColorCellCount;
            continue;
        }
        if (command < UGLDrawingBufferCommandVertexArray
            || command > UGLDrawingBufferCommandIndexedRuns) {
            ADD_FAILURE() << "unexpected command " << command;
            return;
        }
        DecodedVertexArray array;
        array.command = command;
        array.polygonMode = cell[UGLVertexArrayHeaderPolygonMode].unsignedValue();
        array.hasColor = cell[UGLVertexArrayHeaderColorFlag].flagValue();
        array.hasNormal = cell[UGLVertexArrayHeaderNormalFlag].flagValue();
        const quint32 count = cell[UGLVertexArrayHeaderVertexCount].unsignedValue();
        const quint32 indexStart = cell[UGLVertexArrayHeaderIndexStart].unsignedValue();
        const quint32 indexCount = cell[UGLVertexArrayHeaderIndexCount].unsignedValue();
        array.indexes.assign(indexTable + indexStart, indexTable + indexStart + indexCount);
        cell += UGLVertexArrayHeaderCellCount;
        for (quint32 record = 0; record < count; ++record) {
            for (int k = 0; k < 3; ++k)
                array.positions.push_back(cell++->floatValue());
            if (array.hasColor) {
                array.colors.push_back(colorAt(cell));
                cell += 4;
            }
            if (array.hasNormal)
                for (int k = 0; k < 3; ++k)
                    array.normals.push_back(cell++->floatValue());
        }
        stream.arrays.push_back(std::move(array));
    }
}

inline void decodeEdges(DecodedDrawingStream& stream, const _UGLDrawingBufferElement* cell,
    const _UGLDrawingBufferElement* end)
{
    while (cell < end) {
        const quint32 command = cell->unsignedValue();
        if (command == UGLDrawingBufferCommandEdgeColor) {
            stream.edgeColors.push_back(colorAt(cell + 1));
            cell += UGLDrawingBufferColorCellCount;
        } else if (command == UGLDrawingBufferCommandEdgeQuads) {
            const quint32 vertexCount = cell[1].unsignedValue();
            cell += UGLDrawingBufferEdgeQuadsHeaderCellCount;
            for (quint32 k = 0; k < 3 * vertexCount; ++k)
                stream.edgeQuadVertices.push_back(cell++->floatValue());
        } else {
            ADD_FAILURE() << "unexpected edge command " << command;
            return;
        }
    }
}

} // namespace decodeddrawingstream

// Reads one stage of a buffer whose writer has closed it, handing each block's main cells and
// buffer index to `visit` before the block is given back.
template <typename Visit>
void forEachReadBlock(UGLDrawingBuffer& buffer, quint64 stage, Visit visit)
{
    bool canceled = false;
    EXPECT_TRUE(buffer.openReadStageWithStageIdentifier(stage, &canceled));
    for (;;) {
        const void* start = nullptr;
        const void* end = nullptr;
        UReadWriteBuffer* child = nullptr;
        quint64 bufferIndex = 0;
        bool empty = false;
        if (buffer.getNextReadBufferStartPtr(&start, &end, &child, &bufferIndex, &empty, &canceled)
            || empty)
            break;
        visit(static_cast<const _UGLDrawingBufferElement*>(start),
            static_cast<const _UGLDrawingBufferElement*>(end), bufferIndex);
    }
    buffer.closeCurrentReadStage_isCanceled(&canceled);
    EXPECT_FALSE(canceled);
}

// Closes the buffer's open write stage and decodes it; the stage must fit the buffer's ring.
inline DecodedDrawingStream decodeDrawingStage(UGLDrawingBuffer& buffer, quint64 stage)
{
    bool canceled = false;
    buffer.closeCurrentWriteStage_isCanceled(&canceled);
    DecodedDrawingStream stream;
    forEachReadBlock(buffer, stage,
        [&](const _UGLDrawingBufferElement* start, const _UGLDrawingBufferElement* end,
            quint64 bufferIndex) {
            decodeddrawingstream::decodeMain(
                stream, start, end, buffer.vertexIndexTableWithBufferIndex(bufferIndex));
            const _UGLDrawingBufferElement* edgeStart = nullptr;
            const _UGLDrawingBufferElement* edgeEnd = nullptr;
            if (buffer.getEdgeDrawingBufferStartPtr(&edgeStart, &edgeEnd, bufferIndex))
                decodeddrawingstream::decodeEdges(stream, edgeStart, edgeEnd);
        });
    return stream;
}
