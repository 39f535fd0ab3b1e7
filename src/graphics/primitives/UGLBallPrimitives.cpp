#include "graphics/primitives/UGLBallPrimitives.h"

#include "graphics/drawingbuffer/UGLScratchTable.h"
#include "graphics/primitives/UGLPrimitiveSupport.h"
#include "graphics/primitives/UGLSphereTables.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// Above this size a node marker at screen quality is a ball rather than a disc.
constexpr double markerBallMinimumDiameter = 19.5;
// Discs up to this many points take them from the drawing info's point tables.
constexpr quint64 diskPointTableMaximumCount = 12;
constexpr std::size_t diskInlinePointCount = 48;
// Segments per level of a subdivided ball.
constexpr quint64 segmentsPerSubdivisionLevel = 12;
// A ball's front lies half its diameter before its centre.
constexpr double selectBallFrontShift = 0.5;

template <std::size_t VertexCount, std::size_t IndexCount>
void writeUnitTableBall(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameter,
    const std::array<double, 3 * VertexCount>& unitTable,
    const std::array<quint64, IndexCount>& indexTable)
{
    const double r = 0.5 * diameter;
    std::array<double, 3 * VertexCount> vertices;
    for (std::size_t i = 0; i < 3 * VertexCount; ++i)
        vertices[i] = centre[i % 3] + r * unitTable[i];
    std::array<_UGLColor, VertexCount> colors;
    bool isCanceled = false;
    buffer->writeDrawVertexArrayByIndexArrayWithPolygonMode(UGLPolygonModeTriangles,
        indexTable.data(), IndexCount, vertices.data(),
        UGLFillColorTable(colors.data(), color, VertexCount),
        drawingInfo->isRequiredNormalVector() ? unitTable.data() : nullptr, VertexCount,
        &isCanceled);
}

// The points of one face of a subdivided ball, row by row from corner a, on the unit sphere.
void fillSubdividedFace(double* unitPoints, UGLVec3 a, UGLVec3 b, UGLVec3 c, quint64 level)
{
    quint64 vertex = 0;
    const auto put = [&](UGLVec3 p) { UGLNormalized(p).store(unitPoints + 3 * vertex++); };
    put(a);
    for (quint64 k = 1; k <= level; ++k) {
        const double t = double(k) / double(level);
        const UGLVec3 left = k == level ? b : (1.0 - t) * a + t * b;
        const UGLVec3 right = k == level ? c : (1.0 - t) * a + t * c;
        put(left);
        for (quint64 j = 1; j < k; ++j) {
            const double u = double(j) / double(k);
            put((1.0 - u) * left + u * right);
        }
        put(right);
    }
}

// A disc facing the viewer, `shiftPerWidth` of its diameter in front of the centre.
void writeFacingDisk(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameterInPixels,
    double shiftPerWidth)
{
    const double d = diameterInPixels * drawingInfo->lengthPerPixel();
    const double r = 0.5 * d;
    const UGLVec3 ez = UGLEyeAxis(drawingInfo, 2);
    const UGLVec3 c = UGLVec3::at(centre) + shiftPerWidth * d * ez;
    quint64 n = UGLCircleSegmentCount(
        drawingInfo->imageQuality(), diameterInPixels, drawingInfo->imageResolutionPer72());
    // Qualities that draw no circles draw no disc.
    if (n == 0)
        return;
    const double* pointTable = nullptr;
    if (n <= diskPointTableMaximumCount) {
        n += n % 2;
        pointTable = n == 6 ? drawingInfo->pointVertexTableFor6Vertex().data()
            : n == 8        ? drawingInfo->pointVertexTableFor8Vertex().data()
            : n == 10       ? drawingInfo->pointVertexTableFor10Vertex().data()
                            : drawingInfo->pointVertexTableFor12Vertex().data();
    }
    const UGLVec3 ex = UGLEyeAxis(drawingInfo, 0);
    const UGLVec3 ey = UGLEyeAxis(drawingInfo, 1);
    UGLScratchTable<double, 3 * diskInlinePointCount> vertices(3 * n);
    UGLScratchTable<double, 3 * diskInlinePointCount> normals(3 * n);
    UGLScratchTable<_UGLColor, diskInlinePointCount> colors(n);
    for (quint64 i = 0; i < n; ++i) {
        UGLVec3 unit;
        if (pointTable != nullptr) {
            unit = UGLVec3::at(pointTable + 3 * i);
        } else {
            const double angle = 2.0 * std::numbers::pi * double(i) / double(n);
            unit = std::cos(angle) * ex + std::sin(angle) * ey;
        }
        (c + r * unit).store(vertices.data() + 3 * i);
    }
    bool isCanceled = false;
    buffer->writeDrawVertexArrayWithPolygonMode(UGLPolygonModePolygon, vertices.data(),
        UGLFillColorTable(colors.data(), color, n),
        UGLFillNormalTable(normals.data(), ez, n, drawingInfo), n, &isCanceled);
}

} // namespace

void UGLWriteIcosahedron(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameter)
{
    writeUnitTableBall<12>(buffer, centre, color, drawingInfo, diameter,
        UGLIcosahedronVertexTable(), UGLIcosahedronIndexTable());
}

void UGLWriteIcosphere42(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameter)
{
    writeUnitTableBall<42>(buffer, centre, color, drawingInfo, diameter,
        UGLIcosphere42VertexTable(), UGLIcosphere42IndexTable());
}

void UGLWriteSphereSubdivision(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, quint64 level, const UGLDrawingInfo* drawingInfo, double diameter)
{
    if (level < 2) {
        UGLWriteIcosphere42(buffer, centre, color, drawingInfo, diameter);
        return;
    }
    constexpr quint64 maximumVertexCount = 66;
    const quint64 L = std::min(level, UGLSubdividedTriangleMaximumLevel);
    const quint64 vertexCount = (L + 1) * (L + 2) / 2;
    const double r = 0.5 * diameter;
    std::array<_UGLColor, maximumVertexCount> colors;
    const _UGLColor* colorTable = UGLFillColorTable(colors.data(), color, vertexCount);
    std::array<double, 3 * maximumVertexCount> unitPoints;
    std::array<double, 3 * maximumVertexCount> vertices;
    const auto& unit = UGLIcosphere42VertexTable();
    const auto& faces = UGLIcosphere42IndexTable();
    const UGLVec3 c = UGLVec3::at(centre);
    for (std::size_t face = 0; face < faces.size(); face += 3) {
        fillSubdividedFace(unitPoints.data(), UGLVec3::at(unit.data() + 3 * faces[face]),
            UGLVec3::at(unit.data() + 3 * faces[face + 1]),
            UGLVec3::at(unit.data() + 3 * faces[face + 2]), L);
        for (quint64 v = 0; v < vertexCount; ++v)
            (c + r * UGLVec3::at(unitPoints.data() + 3 * v)).store(vertices.data() + 3 * v);
        bool isCanceled = false;
        buffer->writeDrawVertexArrayByIndexArrayWithPolygonMode(UGLPolygonModeTriangles,
            UGLSubdividedTriangleIndexTable().data(), 3 * L * L, vertices.data(), colorTable,
            drawingInfo->isRequiredNormalVector() ? unitPoints.data() : nullptr, vertexCount,
            &isCanceled);
        if (isCanceled)
            return;
    }
}

void UGLWriteSphere(UGLDrawingBufferWriting* buffer, const double centre[3], const _UGLColor* color,
    const UGLDrawingInfo* drawingInfo, double diameterInPixels)
{
    const double d = diameterInPixels * drawingInfo->lengthPerPixel();
    const quint64 n = UGLCircleSegmentCount(
        drawingInfo->imageQuality(), diameterInPixels, drawingInfo->imageResolutionPer72());
    if (n <= 6)
        UGLWriteIcosahedron(buffer, centre, color, drawingInfo, d);
    else if (n <= 12)
        UGLWriteIcosphere42(buffer, centre, color, drawingInfo, d);
    else
        UGLWriteSphereSubdivision(buffer, centre, color,
            (n + segmentsPerSubdivisionLevel - 1) / segmentsPerSubdivisionLevel, drawingInfo, d);
}

void UGLWritePointDisk(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameterInPixels)
{
    writeFacingDisk(
        buffer, centre, color, drawingInfo, diameterInPixels, UGLTowardViewerShiftPerWidth);
}

void UGLWriteNodeMarker(UGLDrawingBufferWriting* buffer, const double centre[3],
    const _UGLColor* color, const UGLDrawingInfo* drawingInfo, double diameterInPixels)
{
    // Selection needs only the ball's outline and nearest depth: a disc at its front has both,
    // with a tenth of the ball's triangles.
    if (drawingInfo->drawingOutputType() == UGLDrawingOutputTypeSelectMode) {
        writeFacingDisk(buffer, centre, color, drawingInfo, diameterInPixels, selectBallFrontShift);
        return;
    }
    const bool isLarge = diameterInPixels > markerBallMinimumDiameter;
    switch (drawingInfo->imageQuality()) {
    case 1:
    case 2:
        UGLWritePointDisk(buffer, centre, color, drawingInfo, diameterInPixels);
        break;
    case 3:
    case 10:
        if (isLarge)
            UGLWriteSphere(buffer, centre, color, drawingInfo, diameterInPixels);
        else
            UGLWritePointDisk(buffer, centre, color, drawingInfo, diameterInPixels);
        break;
    case 4:
    case 5:
        UGLWriteSphere(buffer, centre, color, drawingInfo, diameterInPixels);
        break;
    default:
        break;
    }
}
