#pragma once

#include "DecodedDrawingStream.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// What one cell of a stream should hold: an unsigned value, a float, or a flag (first byte only).
struct ExpectedCell {
    enum Kind { Unsigned, Float, Flag } kind;
    double value;
};
inline ExpectedCell U(quint32 value)
{
    return { ExpectedCell::Unsigned, double(value) };
}
inline ExpectedCell F(double value)
{
    return { ExpectedCell::Float, double(float(value)) };
}
inline ExpectedCell B(bool flag)
{
    return { ExpectedCell::Flag, flag ? 1.0 : 0.0 };
}

using Cells = std::vector<_UGLDrawingBufferElement>;
using Expected = std::vector<ExpectedCell>;

// Empty when the cells are as expected; otherwise where and how they differ.
inline std::string cellMismatch(const Cells& cells, const std::vector<ExpectedCell>& expected)
{
    std::ostringstream out;
    if (cells.size() != expected.size())
        out << "cell count " << cells.size() << " instead of " << expected.size() << "; ";
    for (std::size_t index = 0; index < std::min(cells.size(), expected.size()); ++index) {
        const _UGLDrawingBufferElement& cell = cells[index];
        const ExpectedCell& want = expected[index];
        double got = 0;
        switch (want.kind) {
        case ExpectedCell::Unsigned:
            got = cell.unsignedValue();
            break;
        case ExpectedCell::Float:
            got = cell.floatValue();
            break;
        case ExpectedCell::Flag:
            got = cell.flagValue() ? 1 : 0;
            break;
        }
        if (got != want.value)
            out << "cell " << index << ": " << got << " instead of " << want.value << "; ";
    }
    return out.str();
}

// A block as the reader got it, copied out before the block is given back.
struct ReadBlock {
    quint64 bufferIndex;
    Cells cells;
    std::vector<quint32> indexes; // the block's whole index table in use
    Cells edges;
};

// Reads one stage of a buffer whose writer has closed it (and finished or moved on).
inline std::vector<ReadBlock> readStage(UGLDrawingBuffer& buffer, quint64 stage)
{
    std::vector<ReadBlock> blocks;
    forEachReadBlock(buffer, stage,
        [&](const _UGLDrawingBufferElement* start, const _UGLDrawingBufferElement* end,
            quint64 bufferIndex) {
            ReadBlock block { bufferIndex, Cells(start, end), {}, {} };
            const quint32* indexes = buffer.vertexIndexTableWithBufferIndex(bufferIndex);
            block.indexes.assign(
                indexes, indexes + buffer.vertexIndexCountWithBufferIndex(bufferIndex));
            const _UGLDrawingBufferElement* edgeStart = nullptr;
            const _UGLDrawingBufferElement* edgeEnd = nullptr;
            if (buffer.getEdgeDrawingBufferStartPtr(&edgeStart, &edgeEnd, bufferIndex))
                block.edges.assign(edgeStart, edgeEnd);
            blocks.push_back(std::move(block));
        });
    return blocks;
}
