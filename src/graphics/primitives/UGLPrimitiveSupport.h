#pragma once

#include "graphics/drawingbuffer/UGLDrawingBufferWriting.h"
#include "graphics/drawingbuffer/UGLDrawingInfo.h"
#include "graphics/primitives/UGLVec3.h"

// OpenGL primitive modes the drawing primitives write.
inline constexpr quint64 UGLPolygonModeTriangles = 4;
inline constexpr quint64 UGLPolygonModeQuads = 7;
inline constexpr quint64 UGLPolygonModeQuadStrip = 8;
inline constexpr quint64 UGLPolygonModePolygon = 9;

// Below this squared length a side vector counts as zero: the line is seen end-on.
inline constexpr double UGLEndOnSideLengthSquared = 2.5e-7;
// Bands and markers are pushed toward the viewer by this many widths so that the surface they
// border does not hide them.
inline constexpr double UGLTowardViewerShiftPerWidth = 0.3;

// Row 0, 1 or 2 of the eye frame: screen right, screen up, toward the viewer.
inline UGLVec3 UGLEyeAxis(const UGLDrawingInfo* drawingInfo, int row)
{
    return UGLVec3::at(drawingInfo->eyeCoordOnObjectCoord()[row]);
}

// The four corners of a quad, 12 doubles.
inline void UGLStoreQuad(double* quad, UGLVec3 a, UGLVec3 b, UGLVec3 c, UGLVec3 d)
{
    a.store(quad);
    b.store(quad + 3);
    c.store(quad + 6);
    d.store(quad + 9);
}

// `count` copies of `color` into `table`; null (no colour table) when `color` is null.
inline _UGLColor* UGLFillColorTable(_UGLColor* table, const _UGLColor* color, quint64 count)
{
    if (color == nullptr)
        return nullptr;
    for (quint64 i = 0; i < count; ++i)
        table[i] = *color;
    return table;
}

// `count` copies of `normal` into `table` when normals are required; null otherwise.
inline double* UGLFillNormalTable(
    double* table, UGLVec3 normal, quint64 count, const UGLDrawingInfo* drawingInfo)
{
    if (!drawingInfo->isRequiredNormalVector())
        return nullptr;
    for (quint64 i = 0; i < count; ++i)
        normal.store(table + 3 * i);
    return table;
}
