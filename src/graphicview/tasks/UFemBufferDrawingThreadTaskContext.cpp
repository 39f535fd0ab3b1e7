#include "graphicview/tasks/UFemBufferDrawingThreadTaskContext.h"

#include "foundation/errors/UException.h"
#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphicview/tasks/UFemBufferDrawingThreadContext.h"
#include "graphicview/tasks/UFemSetThreadTaskArgument.h"

UFemBufferDrawingThreadTaskContext::~UFemBufferDrawingThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

void UFemBufferDrawingThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate_ = nullptr;
    for (OpenGLContextRecord& record : openGLContextRecordTable_) {
        if (record.nextTargetIndexesManager)
            record.nextTargetIndexesManager->clear();
        record.rootDrawingBuffer = nullptr;
        record.targetRecordIndexes.count = 0;
    }
    openGLContextRecordCount_ = 0;
    doesDrawForSelectMode_ = false;
    viewRectForSelectMode_ = QRectF();
    drawingInfoForCardTypeInfoRecordTable_ = nullptr;
}

bool UFemBufferDrawingThreadTaskContext::setArgumentIfNeededWithDelegate(Delegate* delegate,
    UGLRootDrawingBuffer* const* rootDrawingBufferTable,
    const quint64* const* targetRecordIndexTableTable, const quint64* targetRecordIndexCountTable,
    quint64 openGLContextCount, bool doesDrawForSelectMode, const QRectF& viewRectForSelectMode,
    const UFemGraphicDrawingInfo* drawingInfoForCardTypeInfoRecordTable)
{
    if (openGLContextCount > UFemGraphicViewMaximumOpenGLContextCount)
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("Too many OpenGL contexts."), long(openGLContextCount));
    return UFemSetThreadTaskArgumentIfNeeded(*this, [&] {
        delegate_ = delegate;
        for (quint64 i = 0; i < openGLContextCount; ++i) {
            OpenGLContextRecord& record = openGLContextRecordTable_[i];
            if (!record.nextTargetIndexesManager)
                record.nextTargetIndexesManager
                    = std::make_unique<UThreadTaskNextTargetIndexesManager>();
            record.rootDrawingBuffer = rootDrawingBufferTable[i];
            record.targetRecordIndexes.assign(
                targetRecordIndexTableTable[i], targetRecordIndexCountTable[i]);
        }
        openGLContextRecordCount_ = openGLContextCount;
        doesDrawForSelectMode_ = doesDrawForSelectMode;
        viewRectForSelectMode_ = viewRectForSelectMode;
        drawingInfoForCardTypeInfoRecordTable_ = drawingInfoForCardTypeInfoRecordTable;
    });
}

quint64 UFemBufferDrawingThreadTaskContext::specifiedThreadCount() const
{
    quint64 count = 0;
    for (quint64 i = 0; i < openGLContextRecordCount_; ++i)
        count += openGLContextRecordTable_[i].rootDrawingBuffer->childBufferCount();
    return count;
}

std::shared_ptr<UThreadContext>
UFemBufferDrawingThreadTaskContext::newThreadContextWithThreadIdentifier(quint64 threadIdentifier)
{
    quint64 first = 0;
    for (quint64 i = 0; i < openGLContextRecordCount_; ++i) {
        const quint64 children = openGLContextRecordTable_[i].rootDrawingBuffer->childBufferCount();
        if (threadIdentifier < first + children)
            return std::make_shared<UFemBufferDrawingThreadContext>(
                this, i, threadIdentifier - first);
        first += children;
    }
    UFemRaiseProgramError(QStringLiteral("Unexpected threadIdentifier???"));
}

bool UFemBufferDrawingThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    return delegate_->runBufferDrawingWithThreadContext(
        static_cast<UFemBufferDrawingThreadContext&>(threadContext));
}
