#include "graphics/primitives/UGLArrowPrimitives.h"

#include "graphics/primitives/UGLCylinderPrimitives.h"
#include "graphics/primitives/UGLPrimitiveSupport.h"

namespace {

// Head length per head size of a moment arrow (a force arrow's head is as long as it is wide).
constexpr double momentHeadLengthPerSize = 0.6;
// An arrow shorter than this many head sizes gets a proportionally smaller head.
constexpr double headFitLengthPerSize = 1.2;
// The moment head cylinder's diameter per head width.
constexpr double momentHeadDiameterPerWidth = 1.2;

struct ArrowVertices {
    double positions[8 * 3];
    quint64 count = 0;
    void add(UGLVec3 p) { p.store(positions + 3 * count++); }
};

} // namespace

void UGLWriteForceArrow(UGLDrawingBufferWriting* buffer, const double base[3],
    const double vector[3], quint32 style, const _UGLColor* color,
    const UGLDrawingInfo* drawingInfo, double shaftWidthInPixels, double headSizeInPixels)
{
    const UGLVec3 B = UGLVec3::at(base);
    const UGLVec3 V = UGLVec3::at(vector);
    const double L = UGLLength(V);
    if (L == 0.0 || style > UGLForceArrowStyleMoment)
        return;
    const UGLVec3 a = (1.0 / L) * V;
    const UGLVec3 o = UGLCross(a, UGLEyeAxis(drawingInfo, 2));
    if (UGLDot(o, o) <= UGLEndOnSideLengthSquared)
        return;
    const UGLVec3 s = UGLNormalized(o);
    const double lengthPerPixel = drawingInfo->lengthPerPixel();
    const UGLVec3 hw = 0.5 * shaftWidthInPixels * lengthPerPixel * s;
    const double hs = headSizeInPixels * lengthPerPixel;
    const UGLVec3 T = B + V;
    ArrowVertices arrow;
    bool isCanceled = false;
    if (style != UGLForceArrowStyleBand) {
        double l = style == UGLForceArrowStyleForce ? hs : momentHeadLengthPerSize * hs;
        double b = hs;
        if (headFitLengthPerSize * hs > L) {
            l *= L / (headFitLengthPerSize * hs);
            b *= L / (headFitLengthPerSize * hs);
        }
        const UGLVec3 H = T - l * a;
        for (UGLVec3 p : { B - hw, B + hw, H + hw, H - hw })
            arrow.add(p);
        if (style == UGLForceArrowStyleForce) {
            for (UGLVec3 p : { H - 0.5 * b * s, H + 0.5 * b * s, T, T })
                arrow.add(p);
        } else {
            double h[3];
            double t[3];
            H.store(h);
            T.store(t);
            UGLWriteCylinder(buffer, h, nullptr, t, nullptr, color, nullptr, drawingInfo,
                momentHeadDiameterPerWidth * b / lengthPerPixel);
        }
    } else {
        for (UGLVec3 p : { B - hw, B + hw, T + hw, T - hw })
            arrow.add(p);
    }
    _UGLColor colors[8];
    double normals[8 * 3];
    buffer->writeDrawVertexArrayWithPolygonMode(
        style == UGLForceArrowStyleMoment ? UGLPolygonModePolygon : UGLPolygonModeQuads,
        arrow.positions, UGLFillColorTable(colors, color, arrow.count),
        UGLFillNormalTable(normals, UGLCross(s, a), arrow.count, drawingInfo), arrow.count,
        &isCanceled);
}
