#pragma once

#include "foundation/threads/UThreadContext.h"

// A buffer-drawing worker's share: the OpenGL context it draws for and the child drawing buffer
// of that context's root it writes.
class UFemBufferDrawingThreadContext final : public UThreadContext {
public:
    UFemBufferDrawingThreadContext(UThreadTaskContext* threadTaskContext,
        quint64 openGLContextIndex, quint64 childDrawingBufferIndex)
        : UThreadContext(threadTaskContext)
        , openGLContextIndex_(openGLContextIndex)
        , childDrawingBufferIndex_(childDrawingBufferIndex)
    {
    }

    quint64 openGLContextIndex() const { return openGLContextIndex_; }
    quint64 childDrawingBufferIndex() const { return childDrawingBufferIndex_; }

private:
    const quint64 openGLContextIndex_;
    const quint64 childDrawingBufferIndex_;
};
