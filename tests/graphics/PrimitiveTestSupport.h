#pragma once

#include "DecodedDrawingStream.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"
#include "graphics/drawingbuffer/UGLDrawingInfo.h"

#include <gtest/gtest.h>

#include <cmath>

// A buffer with edges on and one stage open, and screen drawing info with the identity eye (the
// viewer looks down -z), one model unit a point.
struct PrimitiveFixture : ::testing::Test {
    static constexpr quint64 stage = 1;
    UGLDrawingBuffer buffer { 8, UGLDrawingBuffer::defaultBufferElementCapacity,
        UGLOpenGLVersion_1_4 };
    UGLDrawingInfo info;
    bool canceled = false;

    PrimitiveFixture()
    {
        buffer.setEdgeDrawingBufferEnabled(true);
        buffer.openWriteStageWithStageIdentifier(stage, &canceled);
    }
    DecodedDrawingStream finish() { return decodeDrawingStage(buffer, stage); }
};

// Records the vertex-array writes and cancels from the `cancelAtWrite`-th on (counted from 1).
class CancelingDrawingWriter final : public UGLDrawingBufferWriting {
public:
    explicit CancelingDrawingWriter(quint64 cancelAtWrite)
        : cancelAtWrite_(cancelAtWrite)
    {
    }

    quint64 writeCount = 0;
    quint64 edgeWriteCount = 0;

    quint64 currentWriteObjectName() const override { return ~quint64(0); }
    void setCurrentWriteObjectName(quint64, bool*) override { }
    void* writeBufferPtrWithElementCount(quint64, bool, bool*) override { return nullptr; }
    void setCurrentWriteObjectColor(const _UGLColor*, bool*) override { }
    bool _getCurrentWriteVertexArrayCommand(quint32*, quint64*, bool*, bool*) const override
    {
        return false;
    }
    void writeDrawVertexArrayWithPolygonMode(
        quint64, const double*, const _UGLColor*, const double*, quint64, bool* c) override
    {
        count(c);
    }
    void writeDrawVertexArrayByIndexArrayWithPolygonMode(quint64, const quint64*, quint64,
        const double*, const _UGLColor*, const double*, quint64, bool* c) override
    {
        count(c);
    }
    void writeDrawVertexArrayByIndexArrayExpandingToNormalTableWithPolygonMode(quint64,
        const quint64*, quint64, const double*, const _UGLColor*, const double*, quint64,
        bool* c) override
    {
        count(c);
    }
    void writeCocoaDrawingObjectWithArray(
        const std::vector<UFemGraphicCocoaDrawObject>&, bool*) override
    {
    }
    void setCurrentWriteEdgeColor(const _UGLColor*, bool*) override { }
    void writeEdgeLineWithEdgeQuadVertexTable(const double*, quint64, bool* c) override
    {
        ++edgeWriteCount;
        count(c);
    }
    void writeEdgeLineWithEdgeQuadStripVertexTable(const double*, quint64, bool* c) override
    {
        ++edgeWriteCount;
        count(c);
    }

private:
    void count(bool* isCanceled)
    {
        if (++writeCount >= cancelAtWrite_)
            *isCanceled = true;
    }
    quint64 cancelAtWrite_;
};

// The first command a drawing writes into a fresh buffer; 0 when it writes none.
template <typename Draw> quint32 firstCommandDrawn(Draw draw)
{
    UGLDrawingBuffer buffer { 4, UGLDrawingBuffer::defaultBufferElementCapacity,
        UGLOpenGLVersion_1_4 };
    bool canceled = false;
    buffer.openWriteStageWithStageIdentifier(0, &canceled);
    draw(&buffer);
    const DecodedDrawingStream stream = decodeDrawingStage(buffer, 0);
    return stream.arrays.empty() ? 0 : stream.arrays[0].command;
}

inline double lengthOf(const double* v)
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}
