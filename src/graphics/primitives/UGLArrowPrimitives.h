#pragma once

#include "graphics/drawingbuffer/UGLDrawingBufferWriting.h"
#include "graphics/drawingbuffer/UGLDrawingInfo.h"

// Arrow styles of UGLWriteForceArrow.
enum UGLForceArrowStyle : quint32 {
    UGLForceArrowStyleBand = 0,
    UGLForceArrowStyleForce = 1,
    UGLForceArrowStyleMoment = 2,
};

// An arrow from base to base + vector, not moved toward the viewer: a plain band, a band with a
// flat triangular head (force), or a band with a short cylinder as head (moment). Nothing for a
// zero vector or one seen end-on. Stateless.
void UGLWriteForceArrow(UGLDrawingBufferWriting* buffer, const double base[3],
    const double vector[3], quint32 style, const _UGLColor* color,
    const UGLDrawingInfo* drawingInfo, double shaftWidthInPixels, double headSizeInPixels);
