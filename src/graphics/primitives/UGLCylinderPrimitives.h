#pragma once

#include "graphics/drawingbuffer/UGLDrawingBufferWriting.h"
#include "graphics/drawingbuffer/UGLDrawingInfo.h"
#include "graphics/drawingbuffer/UGLEdgeDrawingInfo.h"

// Rods as shaded cylinders or bands, and flat circles. Stateless. End colours (colorP and colorQ,
// both or neither) take precedence over `color`; with neither the buffer's object colour holds.

// A cylinder with caps; outlined (silhouette and cap rings) when edge settings with a width are
// given, except in select mode. Nothing for equal ends or a quality that draws no circles.
void UGLWriteCylinder(UGLDrawingBufferWriting* buffer, const double p[3], const _UGLColor* colorP,
    const double q[3], const _UGLColor* colorQ, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo,
    double diameterInPixels);
void UGLWriteCylinderUniformColor(UGLDrawingBufferWriting* buffer, const double p[3],
    const double q[3], const _UGLColor* color, const _UGLEdgeDrawingInfo* edgeDrawingInfo,
    const UGLDrawingInfo* drawingInfo, double diameterInPixels);
// A band or a cylinder by image quality and diameter, as the rod element draws.
void UGLWriteRod(UGLDrawingBufferWriting* buffer, const double p[3], const _UGLColor* colorP,
    const double q[3], const _UGLColor* colorQ, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo,
    double diameterInPixels);
// The same with the diameter in model length.
void UGLWriteRodWithModelDiameter(UGLDrawingBufferWriting* buffer, const double p[3],
    const _UGLColor* colorP, const double q[3], const _UGLColor* colorQ, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo, double diameter);
// A filled circle in the plane through `centre` with the unit `normal`, outlined when edge
// settings are given.
void UGLWriteCircularSolid(UGLDrawingBufferWriting* buffer, const double centre[3],
    const double normal[3], const _UGLColor* color, const _UGLEdgeDrawingInfo* edgeDrawingInfo,
    const UGLDrawingInfo* drawingInfo, double diameterInPixels);
