#include "graphics/opengl/UOpenGLException.h"

#include "foundation/errors/UException.h"

void UGLRaiseOpenGLException(const QString& place, const QString& reason)
{
    Q_UNUSED(place);
    throw UException(UOpenGLExceptionName, reason);
}
