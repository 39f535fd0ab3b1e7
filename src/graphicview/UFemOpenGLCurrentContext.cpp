#include "graphicview/UFemOpenGLCurrentContext.h"

#include "graphics/opengl/UOpenGLManager.h"

UFemOpenGLCurrentContext::UFemOpenGLCurrentContext(UOpenGLManager& manager)
    : isCurrent_(manager.makeCurrentContext())
{
}

UFemOpenGLCurrentContext::~UFemOpenGLCurrentContext()
{
    UOpenGLManager::clearCurrentContext();
}
