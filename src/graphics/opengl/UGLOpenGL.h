#pragma once

// The one way the graphics engine includes OpenGL: with the prototypes of the core framebuffer
// functions, which the OpenGL library exports.
#ifndef GL_GLEXT_PROTOTYPES
#define GL_GLEXT_PROTOTYPES
#endif
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
