#pragma once

#include "graphics/drawingbuffer/UGLDrawingTypes.h"

#include <QString>

// The OpenGL version numbers: major x 1000 + minor x 10, each part at most 10. Out-of-range
// numbers raise program errors.
bool UGLIsValidRenderingOpenGLVersion(UGLOpenGLVersion version);
// 1010 below 1040, else 1040.
UGLOpenGLVersion UGLStandardizedRenderingOpenGLVersion(UGLOpenGLVersion version);
UGLOpenGLVersion UGLMakeOpenGLVersion(quint64 major, quint64 minor);
void UGLSplitOpenGLVersion(UGLOpenGLVersion version, quint64* major, quint64* minor);
QString UGLOpenGLVersionString(UGLOpenGLVersion version);

// The version at the start of a GL_VERSION text: leading digits, a point, digits ("4.5 (...)"
// gives 4050). A part above 10 raises the program error.
UGLOpenGLVersion UGLOpenGLVersionWithVersionString(const QString& versionString);
// The same for a driver's text, which the program does not control: a text that gives no valid
// version gives 0 instead of an error.
UGLOpenGLVersion UGLOpenGLVersionWithDriverVersionString(const QString& versionString);
