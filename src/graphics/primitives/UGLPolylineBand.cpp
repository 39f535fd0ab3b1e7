#include "graphics/primitives/UGLBandPrimitives.h"

#include "graphics/drawingbuffer/UGLScratchTable.h"
#include "graphics/primitives/UGLPrimitiveSupport.h"

namespace {

constexpr std::size_t inlinePointCount = 24;
// Two quads (joint and segment) per step, n + 1 steps.
constexpr std::size_t inlineQuadDoubleCount = 2 * (inlinePointCount + 1) * 12;
// Below this the two sides cancel: the band turns back on itself and gets no joint.
constexpr double turnBackSideSumSquared = 1e-5;

struct Step {
    UGLVec3 start;
    UGLVec3 end;
    UGLVec3 direction;
    bool hasStart = true;
};

Step polylineStep(const double* points, quint64 n, quint64 i, bool isClosed,
    const double* startDirection, const double* endDirection)
{
    const auto point = [&](quint64 k) { return UGLVec3::at(points + 3 * k); };
    const auto direction = [](const double* d) { return d ? UGLVec3::at(d) : UGLVec3 {}; };
    Step step;
    if ((i == 0 || i == n) && isClosed) {
        step.start = point(n - 1);
        step.end = point(0);
        step.direction = step.end - step.start;
    } else if (i == 0) {
        step.hasStart = false;
        step.end = point(0);
        step.direction = direction(startDirection);
    } else if (i == n) {
        step.start = point(n - 1);
        step.direction = direction(endDirection);
        step.end = step.start + step.direction;
    } else {
        step.start = point(i - 1);
        step.end = point(i);
        step.direction = step.end - step.start;
    }
    return step;
}

class QuadSink {
public:
    explicit QuadSink(double* quads)
        : quads_(quads)
    {
    }
    void add(UGLVec3 a, UGLVec3 b, UGLVec3 c, UGLVec3 d)
    {
        UGLStoreQuad(quads_ + 12 * count_++, a, b, c, d);
    }
    quint64 count() const { return count_; }

private:
    double* quads_;
    quint64 count_ = 0;
};

struct Side {
    UGLVec3 end;
    UGLVec3 direction;
    UGLVec3 side;
};

void addJoint(QuadSink& sink, const Side& previous, UGLVec3 start, UGLVec3 s, UGLVec3 shift,
    UGLVec3 ez, double h)
{
    const UGLVec3 s0 = previous.side;
    if (previous.end == start) {
        const UGLVec3 sum = s0 + s;
        if (UGLDot(sum, sum) < turnBackSideSumSquared)
            return;
        const UGLVec3 J = start + shift;
        if (UGLDot(previous.direction, s) == 0.0)
            sink.add(J - h * s0, J + h * s, J + h * s0, J - h * s);
        else
            sink.add(J - h * s, J + h * s0, J + h * s, J - h * s0);
        return;
    }
    // Steps were skipped: both joint ends go to the depth of the point nearer the viewer.
    const double e = UGLDot(start - previous.end, ez);
    const UGLVec3 A = e > 0 ? start + shift : start + shift - e * ez;
    const UGLVec3 B = e > 0 ? previous.end + shift + e * ez : previous.end + shift;
    const UGLVec3 sum = s0 + s;
    const auto facesViewer
        = [&](UGLVec3 from, UGLVec3 to) { return UGLDot(UGLCross(sum, to - from), ez) > 0; };
    const bool outerFirst = facesViewer(B - h * s0, A - h * s);
    const bool innerFirst = facesViewer(B + h * s0, A + h * s);
    sink.add(outerFirst ? B - h * s0 : A - h * s, innerFirst ? B + h * s0 : A + h * s,
        innerFirst ? A + h * s : B + h * s0, outerFirst ? A - h * s : B - h * s0);
}

} // namespace

void UGLWritePolylineBand(UGLDrawingBufferWriting* buffer, const double* pointTable,
    quint64 pointCount, bool isClosed, const double startDirection[3], const double endDirection[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double widthInPixels)
{
    if (drawingInfo->imageQuality() == UGLImageQualitySelection || pointCount == 0)
        return;
    const double w = widthInPixels * drawingInfo->lengthPerPixel();
    const double h = 0.5 * w;
    const UGLVec3 ez = UGLEyeAxis(drawingInfo, 2);
    const UGLVec3 shift = UGLTowardViewerShiftPerWidth * w * ez;
    const quint64 n = pointCount;
    UGLScratchTable<double, inlineQuadDoubleCount> quads(2 * (n + 1) * 12);
    QuadSink sink(quads.data());
    bool hasPrevious = false;
    Side previous;
    bool hasFirst = false;
    Side first; // the first usable step with a start: its start point and side
    for (quint64 i = 0; i <= n; ++i) {
        Step step = polylineStep(pointTable, n, i, isClosed, startDirection, endDirection);
        const UGLVec3 o = UGLCross(step.direction, ez);
        const bool isUsable = UGLDot(o, o) > UGLEndOnSideLengthSquared * UGLLength(step.direction);
        const bool isJointOnly = !isUsable && i == n && isClosed && hasFirst;
        if (!isUsable && !isJointOnly)
            continue;
        const UGLVec3 s = isJointOnly ? first.side : UGLNormalized(o);
        if (isJointOnly)
            step.start = first.end;
        if (i > 0 && hasPrevious)
            addJoint(sink, previous, step.start, s, shift, ez, h);
        if (i > 0 && !isJointOnly)
            sink.add(step.start + shift - h * s, step.start + shift + h * s,
                step.end + shift + h * s, step.end + shift - h * s);
        if (!hasFirst && step.hasStart) {
            first = { step.start, step.direction, s };
            hasFirst = true;
        }
        previous = { step.end, step.direction, s };
        hasPrevious = true;
    }
    const quint64 m = sink.count();
    if (m == 0)
        return;
    bool isCanceled = false;
    if (color == nullptr) {
        buffer->writeEdgeLineWithEdgeQuadVertexTable(quads.data(), m, &isCanceled);
        return;
    }
    UGLScratchTable<_UGLColor, 2 * (inlinePointCount + 1) * 4> colors(4 * m);
    UGLScratchTable<double, inlineQuadDoubleCount> normals(12 * m);
    buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModeQuads, quads.data(),
        UGLFillColorTable(colors.data(), color, 4 * m),
        UGLFillNormalTable(normals.data(), ez, 4 * m, drawingInfo), 4 * m, &isCanceled);
}
