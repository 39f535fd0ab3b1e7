#pragma once

#include "graphics/drawingbuffer/UFemGraphicCocoaDrawObject.h"

#include <vector>

// The reading side of a drawing buffer or of a root over several: the settings the layer-image
// thread gives between frames, and the replay of one stage into the current OpenGL context.
class UGLDrawingBufferReading {
public:
    virtual ~UGLDrawingBufferReading() = default;

    virtual bool isEdgeDrawingBufferEnabled() const = 0;
    virtual void setEdgeDrawingBufferEnabled(bool flag) = 0;
    // Select mode: the writers keep positions only and the replay loads object names.
    virtual void setDoesDrawForSelectMode(bool flag) = 0;
    // The replay is the same either way; the caller switches OpenGL lighting to match.
    virtual void setReadLightingEnabled(bool flag) = 0;
    // Replays the blocks of the open read stage and moves the stage's draw objects behind those in
    // `cocoaDrawObjectArray`; true once the stage has been read to its end. A null
    // `returnsWhenEmpty` waits for the writers; a flag is set, and the call returns, when no block
    // is ready. Cancellation sets `isCanceled` and answers false.
    virtual bool drawOpenGLUntilNextStage_returnsWhenEmpty(bool* returnsWhenEmpty,
        std::vector<UFemGraphicCocoaDrawObject>* cocoaDrawObjectArray, bool* isCanceled)
        = 0;
};
