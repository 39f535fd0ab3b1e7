#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include "foundation/errors/UException.h"

namespace {

// Corners of one edge quad: 4 vertices of x, y, z.
constexpr quint64 edgeLineCellCount = 12;
constexpr quint64 edgeQuadVertexCount = 4;
// Doubles from one edge line to the next in a strip: the quad shares two vertices with the next.
constexpr quint64 stripDoublesPerLine = 6;

} // namespace

_UGLDrawingBufferElement* UGLDrawingBuffer::currentEdgeCells() const
{
    requireOpenWriteStage();
    if (!isEdgeDrawingBufferEnabled_)
        UFemRaiseProgramError(QStringLiteral("Edge drawing buffer is not enabled."));
    const UGLEdgeDrawingBufferRecord& record = *currentWriteEdgeDrawingBufferRecord_;
    return record.edgeDrawingBuffer + record.edgeDrawingBufferElementCount;
}

void UGLDrawingBuffer::setCurrentWriteEdgeColor(const _UGLColor* color, bool* isCanceled)
{
    currentEdgeCells();
    if (this->isCanceled())
        return setCanceledFlag(isCanceled);
    const quint64 cellCount
        = UGLDrawingBufferColorCellCount + UGLDrawingBufferEdgeQuadsHeaderCellCount;
    if (currentWriteEdgeDrawingBufferRecord_->edgeDrawingBufferElementCount + cellCount
        > edgeDrawingBufferCapacity) {
        bool canceled = false;
        moveToNextWriteBuffer_isCanceled(&canceled);
        if (canceled)
            return setCanceledFlag(isCanceled);
    }
    currentWriteEdgeColor_ = *color;
    isCurrentWriteEdgeColorValid_ = true;
    writeEdgeBlockPrologue();
}

void UGLDrawingBuffer::writeEdgeLines(
    const double* cornerTable, quint64 doublesPerLine, quint64 edgeLineCount, bool* isCanceled)
{
    currentEdgeCells();
    const quint64 lineCells = edgeLineCellCount * edgeLineCount;
    const quint64 colorAndRunCells
        = UGLDrawingBufferColorCellCount + UGLDrawingBufferEdgeQuadsHeaderCellCount;
    // What fits an empty edge buffer behind a repeated colour; larger calls never fit.
    if (edgeLineCount > edgeDrawingBufferLimit / edgeLineCellCount
        || lineCells + colorAndRunCells > edgeDrawingBufferLimit)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("EdgeLineCount is bigger than edgeDrawingBufferCapacity."),
            long(edgeLineCount));
    if (this->isCanceled())
        return setCanceledFlag(isCanceled);
    UGLEdgeDrawingBufferRecord* record = currentWriteEdgeDrawingBufferRecord_;
    if (record->edgeDrawingBufferElementCount + lineCells + UGLDrawingBufferEdgeQuadsHeaderCellCount
        > edgeDrawingBufferLimit) {
        bool canceled = false;
        moveToNextWriteBuffer_isCanceled(&canceled);
        if (canceled)
            return setCanceledFlag(isCanceled);
        record = currentWriteEdgeDrawingBufferRecord_;
    }
    if (currentWriteEdgeQuadVertexCountPtr_ == nullptr) {
        _UGLDrawingBufferElement* run
            = record->edgeDrawingBuffer + record->edgeDrawingBufferElementCount;
        run[0].setUnsignedValue(UGLDrawingBufferCommandEdgeQuads);
        run[1].setUnsignedValue(0);
        currentWriteEdgeQuadVertexCountPtr_ = &run[1];
        record->edgeDrawingBufferElementCount += UGLDrawingBufferEdgeQuadsHeaderCellCount;
    }
    _UGLDrawingBufferElement* cells
        = record->edgeDrawingBuffer + record->edgeDrawingBufferElementCount;
    for (quint64 line = 0; line < edgeLineCount; ++line, cells += edgeLineCellCount) {
        const double* corners = cornerTable + doublesPerLine * line;
        for (quint64 cell = 0; cell < edgeLineCellCount; ++cell)
            cells[cell].setFloatValue(float(corners[cell]));
    }
    record->edgeDrawingBufferElementCount += lineCells;
    _UGLDrawingBufferElement& count = *currentWriteEdgeQuadVertexCountPtr_;
    count.setUnsignedValue(quint32(count.unsignedValue() + edgeQuadVertexCount * edgeLineCount));
}

void UGLDrawingBuffer::writeEdgeLineWithEdgeQuadVertexTable(
    const double* edgeQuadVertexTable, quint64 edgeLineCount, bool* isCanceled)
{
    writeEdgeLines(edgeQuadVertexTable, edgeLineCellCount, edgeLineCount, isCanceled);
}

void UGLDrawingBuffer::writeEdgeLineWithEdgeQuadStripVertexTable(
    const double* edgeQuadStripVertexTable, quint64 edgeLineCount, bool* isCanceled)
{
    writeEdgeLines(edgeQuadStripVertexTable, stripDoublesPerLine, edgeLineCount, isCanceled);
}
