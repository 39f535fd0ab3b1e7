#pragma once

#include "graphics/drawingbuffer/UGLDrawingBufferWriting.h"
#include "graphics/drawingbuffer/UGLDrawingInfo.h"
#include "graphics/drawingbuffer/UGLEdgeDrawingInfo.h"

// Element bodies: shaded faces with a colour per node (a null first node colour means none, then
// `color` if given, else the buffer's object colour), then their edges as bands. Stateless.
// Hexahedron nodes: 0-1-2-3 one face, k + 4 opposite k.

void UGLWriteHexahedron(UGLDrawingBufferWriting* buffer, const double p0[3], const _UGLColor* c0,
    const double p1[3], const _UGLColor* c1, const double p2[3], const _UGLColor* c2,
    const double p3[3], const _UGLColor* c3, const double p4[3], const _UGLColor* c4,
    const double p5[3], const _UGLColor* c5, const double p6[3], const _UGLColor* c6,
    const double p7[3], const _UGLColor* c7, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo);
void UGLWriteHexahedronUniformColor(UGLDrawingBufferWriting* buffer, const double p0[3],
    const double p1[3], const double p2[3], const double p3[3], const double p4[3],
    const double p5[3], const double p6[3], const double p7[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo);
// The same with the nodes and colours as tables; `nodeColors` may be null.
void UGLWriteHexahedronWithTables(UGLDrawingBufferWriting* buffer, const double* const nodes[8],
    const _UGLColor* const* nodeColors, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo);

void UGLWriteQuadrilateral(UGLDrawingBufferWriting* buffer, const double p0[3], const _UGLColor* c0,
    const double p1[3], const _UGLColor* c1, const double p2[3], const _UGLColor* c2,
    const double p3[3], const _UGLColor* c3, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo);
void UGLWriteQuadrilateralUniformColor(UGLDrawingBufferWriting* buffer, const double p0[3],
    const double p1[3], const double p2[3], const double p3[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo);

void UGLWriteTriangle(UGLDrawingBufferWriting* buffer, const double p0[3], const _UGLColor* c0,
    const double p1[3], const _UGLColor* c1, const double p2[3], const _UGLColor* c2,
    const _UGLColor* color, const _UGLEdgeDrawingInfo* edgeDrawingInfo,
    const UGLDrawingInfo* drawingInfo);
void UGLWriteTriangleUniformColor(UGLDrawingBufferWriting* buffer, const double p0[3],
    const double p1[3], const double p2[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo);

void UGLWriteTetrahedron(UGLDrawingBufferWriting* buffer, const double p0[3], const _UGLColor* c0,
    const double p1[3], const _UGLColor* c1, const double p2[3], const _UGLColor* c2,
    const double p3[3], const _UGLColor* c3, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo);
void UGLWriteTetrahedronUniformColor(UGLDrawingBufferWriting* buffer, const double p0[3],
    const double p1[3], const double p2[3], const double p3[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo);

// A box about `centre` along three unit axes (also its face normals); sizes in model length.
void UGLWriteOrientedBox(UGLDrawingBufferWriting* buffer, const double centre[3],
    const double axis1[3], const double axis2[3], const double axis3[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo, double size1,
    double size2, double size3);
// The same with sizes in image points.
void UGLWriteOrientedBoxWithPixelSize(UGLDrawingBufferWriting* buffer, const double centre[3],
    const double axis1[3], const double axis2[3], const double axis3[3], const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo,
    double size1InPixels, double size2InPixels, double size3InPixels);
