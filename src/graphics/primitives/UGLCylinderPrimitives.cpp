#include "graphics/primitives/UGLCylinderPrimitives.h"

#include "graphics/drawingbuffer/UGLScratchTable.h"
#include "graphics/primitives/UGLBandPrimitives.h"
#include "graphics/primitives/UGLPrimitiveSupport.h"
#include "graphics/primitives/UGLSphereTables.h"

#include <cmath>
#include <numbers>

namespace {

constexpr std::size_t inlineCylinderSegmentCount = 23;
constexpr std::size_t inlineCirclePointCount = 48;
// Above this diameter a rod at screen quality is a cylinder rather than a band.
constexpr double rodCylinderMinimumDiameter = 11.5;
// Silhouette lines sit this many diameters toward the viewer.
constexpr double silhouetteShiftPerDiameter = 0.05;
// Below this |normal.x| the circle's reference axis is x, else y.
constexpr double circleReferenceAxisLimit = 0.2;

struct CylinderFrame {
    UGLVec3 a; // axis p to q
    UGLVec3 u;
    UGLVec3 v;
    bool isEndOn;
};

CylinderFrame cylinderFrame(UGLVec3 p, UGLVec3 q, const UGLDrawingInfo* drawingInfo)
{
    CylinderFrame frame;
    frame.a = UGLNormalized(q - p);
    const UGLVec3 o = UGLCross(frame.a, UGLEyeAxis(drawingInfo, 2));
    frame.isEndOn = UGLDot(o, o) <= UGLEndOnSideLengthSquared;
    frame.u = UGLNormalized(frame.isEndOn ? UGLCross(frame.a, UGLEyeAxis(drawingInfo, 0)) : o);
    frame.v = UGLCross(frame.a, frame.u);
    return frame;
}

void writeCylinderOutline(UGLDrawingBufferWriting* buffer, const double* vertices, quint64 n,
    UGLVec3 p, UGLVec3 q, const CylinderFrame& frame, double w,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo)
{
    const _UGLColor* edgeColor = edgeDrawingInfo->edgeColor();
    const double edgeWidth = edgeDrawingInfo->edgeWidth;
    if (!frame.isEndOn) {
        const UGLVec3 t = silhouetteShiftPerDiameter * w * UGLEyeAxis(drawingInfo, 2);
        const UGLVec3 ru = 0.5 * w * frame.u;
        double silhouette[12];
        UGLStoreQuad(silhouette, p + t - ru, p + t + ru, q + t + ru, q + t - ru);
        static constexpr quint64 pairs[4] = { 1, 2, 3, 0 };
        UGLWriteElementEdgeBands(buffer, silhouette, pairs, 2, edgeColor, drawingInfo, edgeWidth);
    }
    UGLWritePolylineBand(
        buffer, vertices, n, true, nullptr, nullptr, edgeColor, drawingInfo, edgeWidth);
    UGLWritePolylineBand(
        buffer, vertices + 3 * n, n, true, nullptr, nullptr, edgeColor, drawingInfo, edgeWidth);
}

} // namespace

void UGLWriteCylinder(UGLDrawingBufferWriting* buffer, const double p[3], const _UGLColor* colorP,
    const double q[3], const _UGLColor* colorQ, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo,
    double diameterInPixels)
{
    const UGLVec3 P = UGLVec3::at(p);
    const UGLVec3 Q = UGLVec3::at(q);
    const quint64 n = UGLCircleSegmentCount(
        drawingInfo->imageQuality(), diameterInPixels, drawingInfo->imageResolutionPer72());
    // Without segments there is no valid side strip to draw.
    if (P == Q || n == 0)
        return;
    if (drawingInfo->drawingOutputType() == UGLDrawingOutputTypeSelectMode)
        edgeDrawingInfo = nullptr;
    const CylinderFrame frame = cylinderFrame(P, Q, drawingInfo);
    const double w = diameterInPixels * drawingInfo->lengthPerPixel();
    const double step = 2.0 * std::numbers::pi / double(n);
    UGLScratchTable<double, 6 * inlineCylinderSegmentCount> vertices(6 * n);
    UGLScratchTable<double, 6 * inlineCylinderSegmentCount> normals(6 * n);
    UGLScratchTable<_UGLColor, 2 * inlineCylinderSegmentCount> colors(2 * n);
    UGLScratchTable<quint64, 2 * inlineCylinderSegmentCount + 2> indexes(2 * n + 2);
    for (quint64 i = 0; i < n; ++i) {
        const UGLVec3 e
            = std::cos(double(i) * step) * frame.u + std::sin(double(i) * step) * frame.v;
        (P + 0.5 * w * e).store(vertices.data() + 3 * (n - 1 - i));
        (Q + 0.5 * w * e).store(vertices.data() + 3 * (n + i));
        e.store(normals.data() + 3 * (n - 1 - i));
        e.store(normals.data() + 3 * (n + i));
        indexes[2 * i] = i;
        indexes[2 * i + 1] = 2 * n - 1 - i;
    }
    indexes[2 * n] = 0;
    indexes[2 * n + 1] = 2 * n - 1;
    const _UGLColor* colorTable = nullptr;
    if (colorP != nullptr) {
        UGLFillColorTable(colors.data(), colorP, n);
        UGLFillColorTable(colors.data() + n, colorQ != nullptr ? colorQ : colorP, n);
        colorTable = colors.data();
    } else {
        colorTable = UGLFillColorTable(colors.data(), color, 2 * n);
    }
    const bool hasNormals = drawingInfo->isRequiredNormalVector();
    bool isCanceled = false;
    buffer->writeDrawVertexArrayByIndexArrayWithPolygonMode(UGLPolygonModeQuadStrip, indexes.data(),
        2 * n + 2, vertices.data(), colorTable, hasNormals ? normals.data() : nullptr, 2 * n,
        &isCanceled);
    for (quint64 cap = 0; cap < 2 && !isCanceled; ++cap) {
        UGLFillNormalTable(normals.data(), cap == 0 ? -frame.a : frame.a, n, drawingInfo);
        buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModePolygon,
            vertices.data() + 3 * n * cap, colorTable ? colorTable + n * cap : nullptr,
            hasNormals ? normals.data() : nullptr, n, &isCanceled);
    }
    if (isCanceled || edgeDrawingInfo == nullptr || edgeDrawingInfo->edgeWidth == 0.0)
        return;
    writeCylinderOutline(buffer, vertices.data(), n, P, Q, frame, w, edgeDrawingInfo, drawingInfo);
}

void UGLWriteCylinderUniformColor(UGLDrawingBufferWriting* buffer, const double p[3],
    const double q[3], const _UGLColor* color, const _UGLEdgeDrawingInfo* edgeDrawingInfo,
    const UGLDrawingInfo* drawingInfo, double diameterInPixels)
{
    UGLWriteCylinder(
        buffer, p, nullptr, q, nullptr, color, edgeDrawingInfo, drawingInfo, diameterInPixels);
}

void UGLWriteRod(UGLDrawingBufferWriting* buffer, const double p[3], const _UGLColor* colorP,
    const double q[3], const _UGLColor* colorQ, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo,
    double diameterInPixels)
{
    if (UGLVec3::at(p) == UGLVec3::at(q))
        return;
    bool isCylinder = false;
    switch (drawingInfo->imageQuality()) {
    case 1:
    case 2:
        break;
    case 3:
    case 10:
        isCylinder = diameterInPixels > rodCylinderMinimumDiameter;
        break;
    case 4:
    case 5:
        isCylinder = true;
        break;
    default:
        return;
    }
    if (isCylinder)
        UGLWriteCylinder(
            buffer, p, colorP, q, colorQ, color, edgeDrawingInfo, drawingInfo, diameterInPixels);
    else
        UGLWriteRodBand(
            buffer, p, colorP, q, colorQ, color, edgeDrawingInfo, drawingInfo, diameterInPixels);
}

void UGLWriteRodWithModelDiameter(UGLDrawingBufferWriting* buffer, const double p[3],
    const _UGLColor* colorP, const double q[3], const _UGLColor* colorQ, const _UGLColor* color,
    const _UGLEdgeDrawingInfo* edgeDrawingInfo, const UGLDrawingInfo* drawingInfo, double diameter)
{
    UGLWriteRod(buffer, p, colorP, q, colorQ, color, edgeDrawingInfo, drawingInfo,
        diameter / drawingInfo->lengthPerPixel());
}

void UGLWriteCircularSolid(UGLDrawingBufferWriting* buffer, const double centre[3],
    const double normal[3], const _UGLColor* color, const _UGLEdgeDrawingInfo* edgeDrawingInfo,
    const UGLDrawingInfo* drawingInfo, double diameterInPixels)
{
    quint64 n = UGLCircleSegmentCount(
        drawingInfo->imageQuality(), diameterInPixels, drawingInfo->imageResolutionPer72());
    if (n == 0)
        return;
    n += n % 2;
    const double r = 0.5 * diameterInPixels * drawingInfo->lengthPerPixel();
    const UGLVec3 N = UGLVec3::at(normal);
    const UGLVec3 g
        = std::abs(N.x) < circleReferenceAxisLimit ? UGLVec3 { 1, 0, 0 } : UGLVec3 { 0, 1, 0 };
    const UGLVec3 u = r * UGLNormalized(UGLCross(g, N));
    const UGLVec3 v = UGLCross(N, u);
    UGLScratchTable<double, 3 * inlineCirclePointCount> vertices(3 * n);
    UGLScratchTable<double, 3 * inlineCirclePointCount> normals(3 * n);
    UGLScratchTable<_UGLColor, inlineCirclePointCount> colors(n);
    for (quint64 i = 0; i < n; ++i) {
        const double angle = 2.0 * std::numbers::pi * double(i) / double(n);
        (UGLVec3::at(centre) + std::cos(angle) * u + std::sin(angle) * v)
            .store(vertices.data() + 3 * i);
    }
    bool isCanceled = false;
    buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModePolygon, vertices.data(),
        UGLFillColorTable(colors.data(), color, n),
        UGLFillNormalTable(normals.data(), N, n, drawingInfo), n, &isCanceled);
    if (isCanceled || edgeDrawingInfo == nullptr)
        return;
    UGLWritePolylineBand(buffer, vertices.data(), n, true, nullptr, nullptr,
        edgeDrawingInfo->edgeColor(), drawingInfo, edgeDrawingInfo->edgeWidth);
}
