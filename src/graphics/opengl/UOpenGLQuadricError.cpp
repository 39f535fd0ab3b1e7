#include "graphics/opengl/UOpenGLQuadricError.h"

#include "foundation/strings/UFormattedString.h"
#include "graphics/opengl/UOpenGLException.h"

namespace {

// One slot per thread, like OpenGL's own error flag: a manager is used by one thread at a time.
thread_local GLenum recordedQuadricError = GL_NO_ERROR;

} // namespace

extern "C" void UOpenGLQuadricErrorCallback(GLenum errorCode)
{
    if (recordedQuadricError == GL_NO_ERROR)
        recordedQuadricError = errorCode;
}

void UOpenGLRaiseRecordedQuadricError()
{
    const GLenum errorCode = recordedQuadricError;
    if (errorCode == GL_NO_ERROR)
        return;
    recordedQuadricError = GL_NO_ERROR;
    UGLRaiseOpenGLException(QStringLiteral("UOpenGLQuadricErrorCallback"),
        ULocalizedFormattedString(
            "An error occurred while gluQuadricFunction or ...(?). (ErrCode:%lu)",
            quint64(errorCode)));
}
