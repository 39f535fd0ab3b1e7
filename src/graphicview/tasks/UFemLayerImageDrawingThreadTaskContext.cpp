#include "graphicview/tasks/UFemLayerImageDrawingThreadTaskContext.h"

#include "foundation/errors/UException.h"
#include "graphicview/tasks/UFemLayerImageDrawingThreadContext.h"
#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

UFemLayerImageDrawingThreadTaskContext::~UFemLayerImageDrawingThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemLayerImageDrawingThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate_ = nullptr;
    for (UFemUGLRawImageDataRecord& record : layerImageDataRecordTable_) {
        record.validness = UFemUGLRawImageDataRecord::Pending;
        record.cocoaDrawObjectArray.clear();
    }
    selectionBufferPtr_ = nullptr;
    selectionBufferCapacity_ = 0;
    hitObjectCountPtr_ = nullptr;
    for (OpenGLContextRecord& record : openGLContextRecordTable_)
        record = OpenGLContextRecord();
    openGLContextRecordCount_ = 0;
    doesDrawForSelectMode_ = false;
}

bool UFemLayerImageDrawingThreadTaskContext::setArgumentIfNeededWithDelegate(Delegate* delegate,
    const quint64* const* targetRecordIndexTableTable, const quint64* targetRecordIndexCountTable,
    UOpenGLManager* const* openGLManagerTable, UGLRootDrawingBuffer* const* rootDrawingBufferTable,
    quint64 openGLContextCount, bool doesDrawForSelectMode, GLuint* selectModeSelectionBufferPtr,
    quint64 selectModeSelectionBufferCapacity, quint64* selectModeHitObjectCountPtr)
{
    if (openGLContextCount > UFemGraphicViewMaximumOpenGLContextCount)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Too many OpenGL contexts."), long(openGLContextCount));
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] {
        delegate_ = delegate;
        for (quint64 i = 0; i < openGLContextCount; ++i) {
            OpenGLContextRecord& record = openGLContextRecordTable_[i];
            record.openGLManager = openGLManagerTable[i];
            record.rootDrawingBuffer = rootDrawingBufferTable[i];
            record.targetRecordIndexes.assign(
                targetRecordIndexTableTable[i], targetRecordIndexCountTable[i]);
        }
        openGLContextRecordCount_ = openGLContextCount;
        doesDrawForSelectMode_ = doesDrawForSelectMode;
        selectionBufferPtr_ = selectModeSelectionBufferPtr;
        selectionBufferCapacity_ = selectModeSelectionBufferCapacity;
        hitObjectCountPtr_ = selectModeHitObjectCountPtr;
    });
}

std::shared_ptr<UThreadContext>
UFemLayerImageDrawingThreadTaskContext::newThreadContextWithThreadIdentifier(
    quint64 threadIdentifier)
{
    return std::make_shared<UFemLayerImageDrawingThreadContext>(this, threadIdentifier);
}

bool UFemLayerImageDrawingThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    auto& layerThreadContext = static_cast<UFemLayerImageDrawingThreadContext&>(threadContext);
    return doesDrawForSelectMode_
        ? delegate_->runLayerImageDrawingWithThreadContext_selectMode(layerThreadContext)
        : delegate_->runLayerImageDrawingWithThreadContext(layerThreadContext);
}
