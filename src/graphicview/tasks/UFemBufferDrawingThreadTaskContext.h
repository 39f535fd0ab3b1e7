#pragma once

#include "foundation/threads/UThreadTaskContext.h"
#include "graphicview/tasks/UFemGraphicViewThreadTaskRecords.h"

#include <QRectF>

#include <array>
#include <memory>

class UFemBufferDrawingThreadContext;
class UFemGraphicDrawingInfo;
class UGLRootDrawingBuffer;

// Lets the cards of the card type records write into the child buffers of one or two root
// drawing buffers (one per OpenGL context): one worker per child buffer.
class UFemBufferDrawingThreadTaskContext final : public UThreadTaskContext {
public:
    class Delegate {
    public:
        virtual ~Delegate() = default;
        virtual bool runBufferDrawingWithThreadContext(
            UFemBufferDrawingThreadContext& threadContext)
            = 0;
    };

    // The work of one OpenGL context. The work dispenser is made on first use and kept.
    struct OpenGLContextRecord {
        std::unique_ptr<UThreadTaskNextTargetIndexesManager> nextTargetIndexesManager;
        UGLRootDrawingBuffer* rootDrawingBuffer = nullptr; // not owned
        UFemGraphicViewTargetRecordIndexes targetRecordIndexes;
    };

    UFemBufferDrawingThreadTaskContext() = default;
    ~UFemBufferDrawingThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // Per context (at most two): its root (not owned) and record indexes; the drawing infos (nine,
    // not owned) stay the caller's.
    bool setArgumentIfNeededWithDelegate(Delegate* delegate,
        UGLRootDrawingBuffer* const* rootDrawingBufferTable,
        const quint64* const* targetRecordIndexTableTable,
        const quint64* targetRecordIndexCountTable, quint64 openGLContextCount,
        bool doesDrawForSelectMode, const QRectF& viewRectForSelectMode,
        const UFemGraphicDrawingInfo* drawingInfoForCardTypeInfoRecordTable);
    // The sum of the roots' child buffer counts.
    quint64 specifiedThreadCount() const override;
    // Identifier i belongs to the context whose children include it, at child i − (children of
    // the contexts before); beyond the last child it is a program error.
    std::shared_ptr<UThreadContext> newThreadContextWithThreadIdentifier(
        quint64 threadIdentifier) override;
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;

    const OpenGLContextRecord& openGLContextRecord(quint64 index) const
    {
        return openGLContextRecordTable_.at(index);
    }
    OpenGLContextRecord& openGLContextRecord(quint64 index)
    {
        return openGLContextRecordTable_.at(index);
    }
    quint64 openGLContextRecordCount() const { return openGLContextRecordCount_; }
    bool doesDrawForSelectMode() const { return doesDrawForSelectMode_; }
    const QRectF& viewRectForSelectMode() const { return viewRectForSelectMode_; }
    const UFemGraphicDrawingInfo* drawingInfoForCardTypeInfoRecordTable() const
    {
        return drawingInfoForCardTypeInfoRecordTable_;
    }

private:
    Delegate* delegate_ = nullptr;
    std::array<OpenGLContextRecord, UFemGraphicViewMaximumOpenGLContextCount>
        openGLContextRecordTable_;
    quint64 openGLContextRecordCount_ = 0;
    bool doesDrawForSelectMode_ = false;
    QRectF viewRectForSelectMode_;
    const UFemGraphicDrawingInfo* drawingInfoForCardTypeInfoRecordTable_ = nullptr;
};
