#pragma once

#include "foundation/threads/UThreadTaskContext.h"
#include "graphics/opengl/UGLOpenGL.h"
#include "graphicview/tasks/UFemGraphicViewThreadTaskRecords.h"
#include "graphicview/tasks/UFemUGLRawImageDataRecord.h"

#include <array>
#include <memory>

class UFemLayerImageDrawingThreadContext;
class UGLRootDrawingBuffer;
class UOpenGLManager;

// Replays the root drawing buffers into their OpenGL contexts, one worker per context, and
// publishes the layer images (or, in select mode, the hit records) under the task lock.
class UFemLayerImageDrawingThreadTaskContext final : public UThreadTaskContext {
public:
    static constexpr quint64 layerCount = 7;

    class Delegate {
    public:
        virtual ~Delegate() = default;
        virtual bool runLayerImageDrawingWithThreadContext(
            UFemLayerImageDrawingThreadContext& threadContext)
            = 0;
        virtual bool runLayerImageDrawingWithThreadContext_selectMode(
            UFemLayerImageDrawingThreadContext& threadContext)
            = 0;
    };

    struct OpenGLContextRecord {
        UOpenGLManager* openGLManager = nullptr; // not owned
        UGLRootDrawingBuffer* rootDrawingBuffer = nullptr; // not owned
        UFemGraphicViewTargetRecordIndexes targetRecordIndexes;
    };

    UFemLayerImageDrawingThreadTaskContext() = default;
    ~UFemLayerImageDrawingThreadTaskContext() override;

    void clearAll_shouldNotRunning_whileLocked() override;
    // The selection buffer, its capacity in words and the hit count belong to the hit-writer task.
    bool setArgumentIfNeededWithDelegate(Delegate* delegate,
        const quint64* const* targetRecordIndexTableTable,
        const quint64* targetRecordIndexCountTable, UOpenGLManager* const* openGLManagerTable,
        UGLRootDrawingBuffer* const* rootDrawingBufferTable, quint64 openGLContextCount,
        bool doesDrawForSelectMode, GLuint* selectModeSelectionBufferPtr,
        quint64 selectModeSelectionBufferCapacity, quint64* selectModeHitObjectCountPtr);
    // One worker per context.
    quint64 specifiedThreadCount() const override { return openGLContextRecordCount_; }
    std::shared_ptr<UThreadContext> newThreadContextWithThreadIdentifier(
        quint64 threadIdentifier) override;
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;

    // Under the task lock.
    UFemUGLRawImageDataRecord& layerImageDataRecord(quint64 layer)
    {
        return layerImageDataRecordTable_.at(layer);
    }
    const OpenGLContextRecord& openGLContextRecord(quint64 index) const
    {
        return openGLContextRecordTable_.at(index);
    }
    quint64 openGLContextRecordCount() const { return openGLContextRecordCount_; }
    bool doesDrawForSelectMode() const { return doesDrawForSelectMode_; }
    GLuint* selectionBufferPtr() const { return selectionBufferPtr_; }
    quint64 selectionBufferCapacity_GLUInt() const { return selectionBufferCapacity_; }
    quint64* hitObjectCountPtr() const { return hitObjectCountPtr_; }

private:
    Delegate* delegate_ = nullptr;
    std::array<UFemUGLRawImageDataRecord, layerCount> layerImageDataRecordTable_;
    GLuint* selectionBufferPtr_ = nullptr;
    quint64 selectionBufferCapacity_ = 0;
    quint64* hitObjectCountPtr_ = nullptr;
    std::array<OpenGLContextRecord, UFemGraphicViewMaximumOpenGLContextCount>
        openGLContextRecordTable_;
    quint64 openGLContextRecordCount_ = 0;
    bool doesDrawForSelectMode_ = false;
};
