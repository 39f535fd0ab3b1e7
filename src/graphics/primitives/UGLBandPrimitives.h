#pragma once

#include "graphics/drawingbuffer/UGLDrawingBufferWriting.h"
#include "graphics/drawingbuffer/UGLDrawingInfo.h"
#include "graphics/drawingbuffer/UGLEdgeDrawingInfo.h"

// Bands: quads of constant width in image points whose plane holds the viewing direction, so that
// they look like lines from every angle. A quad's corners are p - h s, p + h s, q + h s, q - h s.
// Stateless; a null colour leaves the buffer's object colour in force.

// 1 and the 12 corner coordinates; 0 when p equals q or the line is seen end-on.
int UGLMakeScreenFacingLineQuad(double quad[12], const double p[3], const double q[3],
    const UGLDrawingInfo* drawingInfo, double widthInPixels);
// One band, not moved toward the viewer.
void UGLWriteScreenLine(UGLDrawingBufferWriting* buffer, const double p[3], const double q[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double widthInPixels);
// Bands between pairs of points, pushed toward the viewer; up to four join an open triangle or
// polygon command of matching tables.
void UGLWriteLineSegmentBands(UGLDrawingBufferWriting* buffer, const double* pointTable,
    const quint64* indexPairTable, quint64 lineCount, const _UGLColor* color,
    const UGLDrawingInfo* drawingInfo, double widthInPixels);
// An element's edges, pushed toward the viewer; with a null colour they go to the edge stream.
// Nothing in selection drawing.
void UGLWriteElementEdgeBands(UGLDrawingBufferWriting* buffer, const double* pointTable,
    const quint64* indexPairTable, quint64 edgeCount, const _UGLColor* edgeColor,
    const UGLDrawingInfo* drawingInfo, double edgeWidthInPixels);
// A rod as one band, with its outline when edge settings are given. End colours (both or none)
// take precedence over `color`.
void UGLWriteRodBand(UGLDrawingBufferWriting* buffer, const double p[3], const _UGLColor* colorP,
    const double q[3], const _UGLColor* colorQ, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo,
    double diameterInPixels);
// A band along a polyline with joints; open ends follow the given directions. Outlines of caps
// and circles; with a null colour the quads go to the edge stream.
void UGLWritePolylineBand(UGLDrawingBufferWriting* buffer, const double* pointTable,
    quint64 pointCount, bool isClosed, const double startDirection[3], const double endDirection[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double widthInPixels);
