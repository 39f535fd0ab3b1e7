#pragma once

#include "foundation/UGLColor.h"

#include <QPainter>
#include <QtGlobal>

class QImage;

void UOpenGLSetLightingEnabled(bool enabled);
// Filled polygons drawn while on lie a little deeper than they are (the steepest depth slope of
// each plus a few depth steps), so that edges and markers on a face win the depth test against
// it. The edges of a drawing buffer are always drawn without it.
void UOpenGLSetFaceOffsetEnabled(bool enabled);
void UOpenGLSetClearColor(const _UGLColor& color);

inline constexpr quint64 UOpenGLCopyRawImageRowsModeCopy = 1;
inline constexpr quint64 UOpenGLCopyRawImageRowsModeBlend = 2;
// Mode 1 copies rowWidth x height pixels of 4 bytes; mode 2 blends the source over the
// destination with the source alpha times `opacity`.
void UOpenGLCopyRawImageRows(uchar* destination, const uchar* source, quint64 mode,
    quint64 rowWidth, quint64 height, double opacity);
// Turns a bottom-up image of blue, green, red, alpha upside down and swaps red and blue.
void UOpenGLStandardizeRawImageRows(uchar* rawImageData, quint64 rowWidth, quint64 height);

// Draws standardised pixels (rows of rowWidth pixels, pixelWidth of them used) at the origin of
// `painter`. A given cache keeps the image between frames of the same size.
void UOpenGLMakeImageFromRawImageData(QPainter& painter, const uchar* rawImageData,
    QPainter::CompositionMode operation, quint64 pixelWidth, quint64 pixelHeight, quint64 rowWidth,
    QImage* cachedImage, double fraction);
