#pragma once

#include "graphics/opengl/UGLOpenGL.h"

// GLU reports quadric errors through a C callback, which must not throw: the callback records the
// code for the calling thread, and the drawing code raises it once the GLU call has returned.
extern "C" void UOpenGLQuadricErrorCallback(GLenum errorCode);
// Raises "UOpenGLException" with the recorded code, if any, and clears it.
void UOpenGLRaiseRecordedQuadricError();
