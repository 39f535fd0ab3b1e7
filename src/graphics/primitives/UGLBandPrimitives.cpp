#include "graphics/primitives/UGLBandPrimitives.h"

#include "graphics/drawingbuffer/UGLScratchTable.h"
#include "graphics/primitives/UGLPrimitiveSupport.h"

#include <array>

namespace {

constexpr std::size_t inlineBandCount = 12;
// Up to this many segment bands may join an open triangle or polygon command.
constexpr quint64 joiningBandMaximumCount = 4;
constexpr std::array<quint64, 24> quadTriangleIndexTable { 0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 8, 9,
    10, 8, 10, 11, 12, 13, 14, 12, 14, 15 };

// The quads of the pairs that make one, each shifted toward the viewer; answers how many.
quint64 makeShiftedQuads(double* quads, const double* pointTable, const quint64* indexPairTable,
    quint64 pairCount, const UGLDrawingInfo* drawingInfo, double widthInPixels)
{
    const UGLVec3 shift = UGLTowardViewerShiftPerWidth * widthInPixels
        * drawingInfo->lengthPerPixel() * UGLEyeAxis(drawingInfo, 2);
    quint64 made = 0;
    for (quint64 pair = 0; pair < pairCount; ++pair) {
        double p[3];
        double q[3];
        (UGLVec3::at(pointTable + 3 * indexPairTable[2 * pair]) + shift).store(p);
        (UGLVec3::at(pointTable + 3 * indexPairTable[2 * pair + 1]) + shift).store(q);
        made += quint64(
            UGLMakeScreenFacingLineQuad(quads + 12 * made, p, q, drawingInfo, widthInPixels));
    }
    return made;
}

// Up to four bands join an open triangle or polygon command whose tables match; answers whether
// they were written so.
bool writeJoiningOpenCommand(UGLDrawingBufferWriting* buffer, const double* quads,
    quint64 quadCount, const _UGLColor* colors, const double* normals)
{
    quint32 command = 0;
    quint64 mode = 0;
    bool hasColor = false;
    bool hasNormal = false;
    if (quadCount > joiningBandMaximumCount
        || !buffer->_getCurrentWriteVertexArrayCommand(&command, &mode, &hasColor, &hasNormal)
        || hasColor != (colors != nullptr) || hasNormal != (normals != nullptr))
        return false;
    bool isCanceled = false;
    if (mode == UGLPolygonModeTriangles) {
        buffer->writeDrawVertexArrayByIndexArrayWithPolygonMode(UGLPolygonModeTriangles,
            quadTriangleIndexTable.data(), 6 * quadCount, quads, colors, normals, 4 * quadCount,
            &isCanceled);
        return true;
    }
    if (mode != UGLPolygonModePolygon)
        return false;
    for (quint64 k = 0; k < quadCount && !isCanceled; ++k)
        buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModePolygon, quads + 12 * k,
            colors == nullptr ? nullptr : colors + 4 * k,
            normals == nullptr ? nullptr : normals + 12 * k, 4, &isCanceled);
    return true;
}

} // namespace

int UGLMakeScreenFacingLineQuad(double quad[12], const double p[3], const double q[3],
    const UGLDrawingInfo* drawingInfo, double widthInPixels)
{
    const UGLVec3 d = UGLVec3::at(q) - UGLVec3::at(p);
    if (d.x == 0.0 && d.y == 0.0 && d.z == 0.0)
        return 0;
    const UGLVec3 s = UGLCross(UGLNormalized(d), UGLEyeAxis(drawingInfo, 2));
    if (UGLDot(s, s) <= UGLEndOnSideLengthSquared)
        return 0;
    const double h = 0.5 * widthInPixels * drawingInfo->lengthPerPixel();
    const UGLVec3 side = h * UGLNormalized(s);
    const UGLVec3 P = UGLVec3::at(p);
    const UGLVec3 Q = UGLVec3::at(q);
    UGLStoreQuad(quad, P - side, P + side, Q + side, Q - side);
    return 1;
}

void UGLWriteScreenLine(UGLDrawingBufferWriting* buffer, const double p[3], const double q[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double widthInPixels)
{
    double quad[12];
    if (drawingInfo->imageQuality() == UGLImageQualitySelection
        || !UGLMakeScreenFacingLineQuad(quad, p, q, drawingInfo, widthInPixels))
        return;
    _UGLColor colors[4];
    double normals[12];
    bool isCanceled = false;
    buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModeQuads, quad,
        UGLFillColorTable(colors, color, 4),
        UGLFillNormalTable(normals, UGLEyeAxis(drawingInfo, 2), 4, drawingInfo), 4, &isCanceled);
}

void UGLWriteLineSegmentBands(UGLDrawingBufferWriting* buffer, const double* pointTable,
    const quint64* indexPairTable, quint64 lineCount, const _UGLColor* color,
    const UGLDrawingInfo* drawingInfo, double widthInPixels)
{
    UGLScratchTable<double, 12 * inlineBandCount> quads(12 * lineCount);
    const quint64 m = makeShiftedQuads(
        quads.data(), pointTable, indexPairTable, lineCount, drawingInfo, widthInPixels);
    if (m == 0)
        return;
    UGLScratchTable<_UGLColor, 4 * inlineBandCount> colorTable(4 * m);
    UGLScratchTable<double, 12 * inlineBandCount> normalTable(12 * m);
    const _UGLColor* colors = UGLFillColorTable(colorTable.data(), color, 4 * m);
    const double* normals
        = UGLFillNormalTable(normalTable.data(), UGLEyeAxis(drawingInfo, 2), 4 * m, drawingInfo);
    if (writeJoiningOpenCommand(buffer, quads.data(), m, colors, normals))
        return;
    bool isCanceled = false;
    buffer->writeDrawVertexArrayWithPolygonMode(
        UGLPolygonModeQuads, quads.data(), colors, normals, 4 * m, &isCanceled);
}

void UGLWriteElementEdgeBands(UGLDrawingBufferWriting* buffer, const double* pointTable,
    const quint64* indexPairTable, quint64 edgeCount, const _UGLColor* edgeColor,
    const UGLDrawingInfo* drawingInfo, double edgeWidthInPixels)
{
    if (drawingInfo->imageQuality() == UGLImageQualitySelection || edgeCount == 0)
        return;
    UGLScratchTable<double, 12 * inlineBandCount> quads(12 * edgeCount);
    const quint64 m = makeShiftedQuads(
        quads.data(), pointTable, indexPairTable, edgeCount, drawingInfo, edgeWidthInPixels);
    if (m == 0)
        return;
    bool isCanceled = false;
    if (edgeColor == nullptr) {
        buffer->writeEdgeLineWithEdgeQuadVertexTable(quads.data(), m, &isCanceled);
        return;
    }
    UGLScratchTable<_UGLColor, 4 * inlineBandCount> colors(4 * m);
    UGLScratchTable<double, 12 * inlineBandCount> normals(12 * m);
    buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModeQuads, quads.data(),
        UGLFillColorTable(colors.data(), edgeColor, 4 * m),
        UGLFillNormalTable(normals.data(), UGLEyeAxis(drawingInfo, 2), 4 * m, drawingInfo), 4 * m,
        &isCanceled);
}

void UGLWriteRodBand(UGLDrawingBufferWriting* buffer, const double p[3], const _UGLColor* colorP,
    const double q[3], const _UGLColor* colorQ, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo,
    double diameterInPixels)
{
    const UGLVec3 P = UGLVec3::at(p);
    const UGLVec3 Q = UGLVec3::at(q);
    if (P == Q)
        return;
    const UGLVec3 a = UGLNormalized(Q - P);
    const UGLVec3 ez = UGLEyeAxis(drawingInfo, 2);
    const UGLVec3 o = UGLCross(a, ez);
    if (UGLDot(o, o) <= UGLEndOnSideLengthSquared)
        return;
    const UGLVec3 s = UGLNormalized(o);
    const double w = diameterInPixels * drawingInfo->lengthPerPixel();
    const UGLVec3 shift = UGLTowardViewerShiftPerWidth * w * ez;
    const UGLVec3 side = 0.5 * w * s;
    double corners[12];
    UGLStoreQuad(corners, P + shift - side, P + shift + side, Q + shift + side, Q + shift - side);
    _UGLColor colorTable[4];
    const _UGLColor* colors = nullptr;
    if (colorP != nullptr) {
        colorTable[0] = colorTable[1] = *colorP;
        colorTable[2] = colorTable[3] = *colorQ;
        colors = colorTable;
    } else {
        colors = UGLFillColorTable(colorTable, color, 4);
    }
    double normals[12];
    bool isCanceled = false;
    buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModeQuads, corners, colors,
        UGLFillNormalTable(normals, UGLCross(s, a), 4, drawingInfo), 4, &isCanceled);
    if (isCanceled || edgeDrawingInfo == nullptr)
        return;
    static constexpr quint64 outline[8] = { 0, 1, 1, 2, 2, 3, 3, 0 };
    UGLWriteElementEdgeBands(buffer, corners, outline, 4, edgeDrawingInfo->edgeColor(), drawingInfo,
        edgeDrawingInfo->edgeWidth);
}
