#include "graphics/UOpenGLException.h"

#include "foundation/UException.h"

void UGLRaiseOpenGLException(const QString& place, const QString& reason)
{
    Q_UNUSED(place);
    throw UException(UOpenGLExceptionName, reason);
}
