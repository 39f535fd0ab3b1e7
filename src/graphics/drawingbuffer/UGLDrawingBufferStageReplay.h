#pragma once

#include "graphics/drawingbuffer/UGLDrawingTypes.h"

#include <functional>

class UGLSelectGeometry;
class UReadWriteBufferReading;

// Replays the blocks of `source`'s open read stage (a drawing buffer, or a root whose children are
// drawing buffers) into the current OpenGL context: the select form in select mode, else the
// display form and the block's edges; the OpenGL 1.4 forms from version 1040 on. Answers whether
// the stage was read to its end. Then `moveDrawObjects` hands on the stage's draw objects (given
// the stage and the cancel flag). See UGLDrawingBufferReading. With `selectGeometry` the select
// form is appended to it instead of drawn, and no OpenGL context is needed.
bool UGLDrawingBufferReplayStage(UReadWriteBufferReading& source,
    UGLOpenGLVersion renderingOpenGLVersion, bool doesDrawForSelectMode, bool* returnsWhenEmpty,
    const std::function<void(quint64, bool*)>& moveDrawObjects, bool* isCanceled,
    UGLSelectGeometry* selectGeometry = nullptr);
