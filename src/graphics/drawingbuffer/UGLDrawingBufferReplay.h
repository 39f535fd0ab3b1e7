#pragma once

#include "graphics/drawingbuffer/UGLDrawingBufferElement.h"

#include <QtGlobal>

// Block replays: each turns one handed-over block of a drawing buffer into OpenGL calls on the
// current context. `start` and `end` bound the block's main stream; `vertexIndexTable` is the
// block's index table. Every block replays by itself: no begin is open and no client array is
// enabled before or after it. An unknown command raises "Unknown drawing command." with its code.

// Display: colours, normals, object colours as lit materials.
void UGLDrawingBufferReplay(const _UGLDrawingBufferElement* start,
    const _UGLDrawingBufferElement* end, const quint32* vertexIndexTable);
// The same with the multi-draw and range-element calls of OpenGL 1.4.
void UGLDrawingBufferReplayMultiDraw(const _UGLDrawingBufferElement* start,
    const _UGLDrawingBufferElement* end, const quint32* vertexIndexTable);
// Picking: positions and object names (glLoadName) only; the caller has set up OpenGL selection.
void UGLDrawingBufferReplaySelectMode(const _UGLDrawingBufferElement* start,
    const _UGLDrawingBufferElement* end, const quint32* vertexIndexTable);
void UGLDrawingBufferReplaySelectModeMultiDraw(const _UGLDrawingBufferElement* start,
    const _UGLDrawingBufferElement* end, const quint32* vertexIndexTable);

// A block's edge buffer: edge colours and runs of edge quads.
void UGLDrawingBufferDrawEdgeBuffer(
    const _UGLDrawingBufferElement* start, const _UGLDrawingBufferElement* end);
