#pragma once

#include "foundation/threads/UThreadContext.h"

// A layer-image worker's share: the OpenGL context it renders in.
class UFemLayerImageDrawingThreadContext final : public UThreadContext {
public:
    UFemLayerImageDrawingThreadContext(
        UThreadTaskContext* threadTaskContext, quint64 openGLContextIndex)
        : UThreadContext(threadTaskContext)
        , openGLContextIndex_(openGLContextIndex)
    {
    }

    quint64 openGLContextIndex() const { return openGLContextIndex_; }

private:
    const quint64 openGLContextIndex_;
};
