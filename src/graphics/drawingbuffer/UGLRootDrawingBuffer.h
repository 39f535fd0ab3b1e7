#pragma once

#include "foundation/buffers/URootReadWriteBuffer.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"
#include "graphics/drawingbuffer/UGLDrawingBufferReading.h"

class UGLSelectGeometry;

// The reading side of one OpenGL context's drawing threads: up to four UGLDrawingBuffer children,
// one per drawing thread, read as one stream of blocks per stage by the layer-image thread. The
// settings are given between frames and passed on to the children.
class UGLRootDrawingBuffer : public URootReadWriteBuffer, public UGLDrawingBufferReading {
public:
    explicit UGLRootDrawingBuffer(UGLOpenGLVersion renderingOpenGLVersion);
    UGLRootDrawingBuffer(quint64 bufferCount, quint64 bufferElementCapacity,
        UGLOpenGLVersion renderingOpenGLVersion);

    UGLOpenGLVersion renderingOpenGLVersion() const { return renderingOpenGLVersion_; }
    quint64 bufferCount() const { return readWriteBuffer_bufferCount(); }
    quint64 bufferElementCapacity() const { return readWriteBuffer_bufferElementCapacity(); }
    // The drawing child a drawing thread writes into; null beyond the children in use.
    UGLDrawingBuffer* drawingBufferAtIndex(quint64 childBufferIndex) const;

    // Resets the children as the base does; select mode and read lighting go off, the edge flag
    // stays and holds for every child in use.
    quint64 resetBufferWithChildBufferCount(quint64 childBufferCount) override;

    bool isEdgeDrawingBufferEnabled() const override { return isEdgeDrawingBufferEnabled_; }
    void setEdgeDrawingBufferEnabled(bool flag) override;
    bool doesDrawForSelectMode() const { return doesDrawForSelectMode_; }
    void setDoesDrawForSelectMode(bool flag) override;
    bool isReadLightingEnabled() const { return isReadLightingEnabled_; }
    void setReadLightingEnabled(bool flag) override;
    bool drawOpenGLUntilNextStage_returnsWhenEmpty(bool* returnsWhenEmpty,
        std::vector<UFemGraphicCocoaDrawObject>* cocoaDrawObjectArray, bool* isCanceled) override;
    // In select mode: appends the open read stage to `geometry` instead of drawing it, waiting for
    // the writers; true once the stage was read to its end. Needs no OpenGL context.
    bool recordSelectGeometryUntilNextStage(UGLSelectGeometry& geometry, bool* isCanceled);

    // Every child's draw objects of the stage, child by child; true when any child moved some.
    bool getCocoaDrawingObjectsToCocoaDrawObjectArray(
        std::vector<UFemGraphicCocoaDrawObject>* array, quint64 readStageIdentifier,
        bool* isCanceled);

protected:
    std::unique_ptr<UReadWriteBuffer> newChildBuffer() override;

private:
    template <typename Action> void forEachChild(Action action) const;

    const UGLOpenGLVersion renderingOpenGLVersion_;
    bool isEdgeDrawingBufferEnabled_ = false;
    bool doesDrawForSelectMode_ = false;
    bool isReadLightingEnabled_ = false;
};
