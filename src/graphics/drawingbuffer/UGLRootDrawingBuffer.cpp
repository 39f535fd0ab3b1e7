#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLDrawingBufferStageReplay.h"

UGLRootDrawingBuffer::UGLRootDrawingBuffer(UGLOpenGLVersion renderingOpenGLVersion)
    : UGLRootDrawingBuffer(UGLDrawingBuffer::defaultBufferCount,
        UGLDrawingBuffer::defaultBufferElementCapacity, renderingOpenGLVersion)
{
}

UGLRootDrawingBuffer::UGLRootDrawingBuffer(
    quint64 bufferCount, quint64 bufferElementCapacity, UGLOpenGLVersion renderingOpenGLVersion)
    : URootReadWriteBuffer(sizeof(_UGLDrawingBufferElement), bufferCount, bufferElementCapacity)
    , renderingOpenGLVersion_(renderingOpenGLVersion)
{
}

std::unique_ptr<UReadWriteBuffer> UGLRootDrawingBuffer::newChildBuffer()
{
    auto child = std::make_unique<UGLDrawingBuffer>(
        bufferCount(), bufferElementCapacity(), renderingOpenGLVersion_);
    child->setEdgeDrawingBufferEnabled(isEdgeDrawingBufferEnabled_);
    return child;
}

UGLDrawingBuffer* UGLRootDrawingBuffer::drawingBufferAtIndex(quint64 childBufferIndex) const
{
    if (childBufferIndex >= childBufferCount())
        return nullptr;
    return static_cast<UGLDrawingBuffer*>(childBufferAtIndex(childBufferIndex));
}

template <typename Action> void UGLRootDrawingBuffer::forEachChild(Action action) const
{
    for (quint64 index = 0; index < childBufferCount(); ++index)
        action(*drawingBufferAtIndex(index));
}

quint64 UGLRootDrawingBuffer::resetBufferWithChildBufferCount(quint64 childBufferCount)
{
    const quint64 count = URootReadWriteBuffer::resetBufferWithChildBufferCount(childBufferCount);
    doesDrawForSelectMode_ = false;
    isReadLightingEnabled_ = false;
    // A child left out of earlier frames may have missed an edge setting.
    forEachChild([this](UGLDrawingBuffer& child) {
        child.setEdgeDrawingBufferEnabled(isEdgeDrawingBufferEnabled_);
    });
    return count;
}

void UGLRootDrawingBuffer::setEdgeDrawingBufferEnabled(bool flag)
{
    forEachChild([flag](UGLDrawingBuffer& child) { child.setEdgeDrawingBufferEnabled(flag); });
    isEdgeDrawingBufferEnabled_ = flag;
}

void UGLRootDrawingBuffer::setDoesDrawForSelectMode(bool flag)
{
    forEachChild([flag](UGLDrawingBuffer& child) { child.setDoesDrawForSelectMode(flag); });
    doesDrawForSelectMode_ = flag;
}

void UGLRootDrawingBuffer::setReadLightingEnabled(bool flag)
{
    forEachChild([flag](UGLDrawingBuffer& child) { child.setReadLightingEnabled(flag); });
    isReadLightingEnabled_ = flag;
}

bool UGLRootDrawingBuffer::drawOpenGLUntilNextStage_returnsWhenEmpty(bool* returnsWhenEmpty,
    std::vector<UFemGraphicCocoaDrawObject>* cocoaDrawObjectArray, bool* isCanceled)
{
    return UGLDrawingBufferReplayStage(
        *this, renderingOpenGLVersion_, doesDrawForSelectMode_, returnsWhenEmpty,
        [this, cocoaDrawObjectArray](quint64 stage, bool* canceled) {
            getCocoaDrawingObjectsToCocoaDrawObjectArray(cocoaDrawObjectArray, stage, canceled);
        },
        isCanceled);
}

bool UGLRootDrawingBuffer::recordSelectGeometryUntilNextStage(
    UGLSelectGeometry& geometry, bool* isCanceled)
{
    if (!doesDrawForSelectMode_)
        UFemRaiseProgramError(QStringLiteral("Select geometry is recorded in select mode only."));
    std::vector<UFemGraphicCocoaDrawObject> drawObjects;
    return UGLDrawingBufferReplayStage(
        *this, renderingOpenGLVersion_, true, nullptr,
        [this, &drawObjects](quint64 stage, bool* canceled) {
            getCocoaDrawingObjectsToCocoaDrawObjectArray(&drawObjects, stage, canceled);
        },
        isCanceled, &geometry);
}

bool UGLRootDrawingBuffer::getCocoaDrawingObjectsToCocoaDrawObjectArray(
    std::vector<UFemGraphicCocoaDrawObject>* array, quint64 readStageIdentifier, bool* isCanceled)
{
    bool didMove = false;
    for (quint64 index = 0; index < childBufferCount(); ++index) {
        bool canceled = false;
        didMove |= drawingBufferAtIndex(index)->getCocoaDrawingObjectsToCocoaDrawObjectArray(
            array, readStageIdentifier, &canceled);
        if (canceled) {
            if (isCanceled != nullptr)
                *isCanceled = true;
            return false;
        }
    }
    return didMove;
}
