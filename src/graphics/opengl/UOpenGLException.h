#pragma once

#include <QString>

// The graphics engine's own exception: refused camera frames, render targets that cannot be made
// and GLU errors. Raised as a UException carrying this name.
inline const QString UOpenGLExceptionName = QStringLiteral("UOpenGLException");

// `place` names the raising code for a reader of the source only; the exception carries `reason`.
[[noreturn]] void UGLRaiseOpenGLException(const QString& place, const QString& reason);
