#pragma once

#include "graphics/drawingbuffer/UGLDrawingBufferWriting.h"
#include "graphics/drawingbuffer/UGLDrawingInfo.h"

// Balls, discs and node markers. Stateless: they read the drawing info and the sphere tables and
// write into the buffer; a null colour leaves the buffer's object colour in force. Diameters in
// "pixels" are image points.

// A ball or a disc by image quality and size, as every node-like card draws its point.
void UGLWriteNodeMarker(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameterInPixels);
// A ball whose fineness follows the segment count of its size.
void UGLWriteSphere(UGLDrawingBufferWriting* buffer, const double centre[3], const _UGLColor* color,
    const UGLDrawingInfo* drawingInfo, double diameterInPixels);
// A ball of 80 level^2 triangles (level capped at 10); diameter in model length.
void UGLWriteSphereSubdivision(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, quint64 level, const UGLDrawingInfo* drawingInfo, double diameter);
// The 12- and 42-vertex balls; diameter in model length.
void UGLWriteIcosahedron(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameter);
void UGLWriteIcosphere42(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameter);
// A flat disc facing the viewer, moved toward the viewer so that the ball-less node shows.
void UGLWritePointDisk(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameterInPixels);
