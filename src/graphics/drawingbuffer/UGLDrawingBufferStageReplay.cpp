#include "graphics/drawingbuffer/UGLDrawingBufferStageReplay.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"
#include "graphics/drawingbuffer/UGLDrawingBufferReplay.h"
#include "graphics/drawingbuffer/UGLSelectGeometry.h"
#include "graphics/opengl/UGLOpenGL.h"

namespace {

using Cell = _UGLDrawingBufferElement;

void replayBlock(const UGLDrawingBuffer& child, quint64 bufferIndex, const Cell* start,
    const Cell* end, bool isMultiDraw, bool doesDrawForSelectMode,
    UGLSelectGeometry* selectGeometry)
{
    const quint32* indexTable = child.vertexIndexTableWithBufferIndex(bufferIndex);
    if (doesDrawForSelectMode && selectGeometry != nullptr) {
        selectGeometry->appendBlock(start, end, indexTable);
        return;
    }
    if (doesDrawForSelectMode) {
        (isMultiDraw ? UGLDrawingBufferReplaySelectModeMultiDraw
                     : UGLDrawingBufferReplaySelectMode)(start, end, indexTable);
        return;
    }
    (isMultiDraw ? UGLDrawingBufferReplayMultiDraw : UGLDrawingBufferReplay)(
        start, end, indexTable);
    const Cell* edgeStart = nullptr;
    const Cell* edgeEnd = nullptr;
    if (!child.getEdgeDrawingBufferStartPtr(&edgeStart, &edgeEnd, bufferIndex))
        return;
    // Edges lie where they are even when the faces are pushed back.
    const bool isFaceOffset = glIsEnabled(GL_POLYGON_OFFSET_FILL) == GL_TRUE;
    if (isFaceOffset)
        glDisable(GL_POLYGON_OFFSET_FILL);
    UGLDrawingBufferDrawEdgeBuffer(edgeStart, edgeEnd);
    if (isFaceOffset)
        glEnable(GL_POLYGON_OFFSET_FILL);
}

} // namespace

bool UGLDrawingBufferReplayStage(UReadWriteBufferReading& source,
    UGLOpenGLVersion renderingOpenGLVersion, bool doesDrawForSelectMode, bool* returnsWhenEmpty,
    const std::function<void(quint64, bool*)>& moveDrawObjects, bool* isCanceled,
    UGLSelectGeometry* selectGeometry)
{
    bool canceled = false;
    const quint64 stage = source.currentReadStageIdentifier_isCanceled(&canceled);
    const bool isMultiDraw = renderingOpenGLVersion >= UGLOpenGLVersion_1_4;
    bool isStageDone = false;
    while (!canceled && !isStageDone) {
        const void* start = nullptr;
        const void* end = nullptr;
        UReadWriteBuffer* child = nullptr;
        quint64 bufferIndex = 0;
        bool isEmpty = false;
        isStageDone = source.getNextReadBufferStartPtr(&start, &end, &child, &bufferIndex,
            returnsWhenEmpty != nullptr ? &isEmpty : nullptr, &canceled);
        if (canceled)
            break;
        if (start != nullptr) {
            const auto* drawingChild = dynamic_cast<const UGLDrawingBuffer*>(child);
            if (drawingChild == nullptr)
                UFemRaiseProgramError(QStringLiteral("Drawing buffer is expected."));
            replayBlock(*drawingChild, bufferIndex, static_cast<const Cell*>(start),
                static_cast<const Cell*>(end), isMultiDraw, doesDrawForSelectMode, selectGeometry);
            canceled = source.isCanceled();
        } else if (isEmpty) {
            *returnsWhenEmpty = true;
            break;
        }
    }
    if (!canceled)
        moveDrawObjects(stage, &canceled);
    if (canceled) {
        if (isCanceled != nullptr)
            *isCanceled = true;
        return false;
    }
    return isStageDone;
}
