#pragma once

#include <QtGlobal>

// What a drawing is for; the primitives pick symbols and fineness by it.
using UGLDrawingOutputType = quint64;
inline constexpr UGLDrawingOutputType UGLDrawingOutputTypeScreen = 0;
inline constexpr UGLDrawingOutputType UGLDrawingOutputTypePrint = 1;
// Picking: positions and object names only.
inline constexpr UGLDrawingOutputType UGLDrawingOutputTypeSelectMode = 2;

// 1 to 5 and 10; selection drawing is tessellated like the screen but without edge bands.
using UGLImageQuality = quint64;
inline constexpr UGLImageQuality UGLImageQualityScreen = 3;
inline constexpr UGLImageQuality UGLImageQualityPrint = 4;
inline constexpr UGLImageQuality UGLImageQualitySelection = 10;

// major x 1000 + minor x 10; the drawing buffers replay at one of two feature levels.
using UGLOpenGLVersion = quint64;
inline constexpr UGLOpenGLVersion UGLOpenGLVersion_1_1 = 1010;
inline constexpr UGLOpenGLVersion UGLOpenGLVersion_1_4 = 1040;
