#include "PrimitiveTestSupport.h"
#include "graphics/primitives/UGLBandPrimitives.h"
#include "graphics/primitives/UGLCylinderPrimitives.h"

#include <gtest/gtest.h>

namespace {

constexpr _UGLColor red { 1, 0, 0, 1 };
constexpr _UGLColor blue { 0, 0, 1, 1 };
constexpr double origin[3] = { 0, 0, 0 };
constexpr double alongX[3] = { 4, 0, 0 };
constexpr double alongZ[3] = { 0, 0, 4 }; // toward the viewer: seen end-on

quint64 edgeLineCount(const DecodedDrawingStream& stream)
{
    return stream.edgeQuadVertices.size() / 12;
}

} // namespace

using BandPrimitive = PrimitiveFixture;

TEST_F(BandPrimitive, ScreenFacingQuadHasTheWidthAcrossTheLine)
{
    info.setLengthPerPixel(0.5);
    double quad[12];
    ASSERT_EQ(UGLMakeScreenFacingLineQuad(quad, origin, alongX, &info, 4.0), 1);
    // s = x cross z = -y; h = 1.
    const double expected[12] = { 0, 1, 0, 0, -1, 0, 4, -1, 0, 4, 1, 0 };
    for (int k = 0; k < 12; ++k)
        EXPECT_DOUBLE_EQ(quad[k], expected[k]) << k;
    EXPECT_EQ(UGLMakeScreenFacingLineQuad(quad, origin, origin, &info, 4.0), 0);
    EXPECT_EQ(UGLMakeScreenFacingLineQuad(quad, origin, alongZ, &info, 4.0), 0);
}

TEST_F(BandPrimitive, FewSegmentBandsJoinAnOpenTriangleCommand)
{
    const double points[] = { 0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0 };
    const quint64 pairs[] = { 0, 1, 0, 2, 0, 3 };
    const double triangle[] = { 5, 5, 5, 6, 5, 5, 5, 6, 5 };
    const double normals[] = { 0, 0, 1, 0, 0, 1, 0, 0, 1 };
    const _UGLColor colors[] = { red, red, red };
    buffer.writeDrawVertexArrayWithPolygonMode(4, triangle, colors, normals, 3, &canceled);
    UGLWriteLineSegmentBands(&buffer, points, pairs, 3, &blue, &info, 2.0);
    // With a quads command open the bands start their own quads array.
    buffer.writeDrawVertexArrayWithPolygonMode(7, points, colors, normals, 0, &canceled);
    UGLWriteLineSegmentBands(&buffer, points, pairs, 3, &blue, &info, 2.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 3u);
    // The open plain triangle array ends; the 12 corners and 18 indices form an indexed one.
    EXPECT_EQ(stream.arrays[1].command, UGLDrawingBufferCommandIndexedVertexArray);
    EXPECT_EQ(stream.arrays[1].recordCount(), 12u);
    EXPECT_EQ(stream.arrays[1].indexes,
        (std::vector<quint32> { 0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 8, 9, 10, 8, 10, 11 }));
    // Pushed toward the viewer by 0.3 widths.
    EXPECT_FLOAT_EQ(stream.arrays[1].positions[2], 0.6f);
    EXPECT_EQ(stream.arrays[2].command, UGLDrawingBufferCommandVertexArray);
    EXPECT_EQ(stream.arrays[2].polygonMode, 7u);
    EXPECT_EQ(stream.arrays[2].recordCount(), 12u);
    EXPECT_EQ(stream.arrays[2].colors, std::vector<_UGLColor>(12, blue));
}

TEST_F(BandPrimitive, ElementEdgesGoToTheEdgeStreamWithoutAColour)
{
    const double points[] = { 0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 0, 3 };
    const quint64 edges[] = { 0, 1, 1, 2, 0, 3 }; // the last is seen end-on and dropped
    UGLWriteElementEdgeBands(&buffer, points, edges, 3, nullptr, &info, 1.0);
    UGLWriteElementEdgeBands(&buffer, points, edges, 3, &red, &info, 1.0);
    info.setImageQuality(UGLImageQualitySelection);
    UGLWriteElementEdgeBands(&buffer, points, edges, 3, &red, &info, 1.0);
    UGLWriteElementEdgeBands(&buffer, points, edges, 3, nullptr, &info, 1.0);
    const DecodedDrawingStream stream = finish();
    EXPECT_EQ(edgeLineCount(stream), 2u);
    ASSERT_EQ(stream.arrays.size(), 1u);
    EXPECT_EQ(stream.arrays[0].polygonMode, 7u);
    EXPECT_EQ(stream.arrays[0].recordCount(), 8u);
}

TEST_F(BandPrimitive, ClosedSquarePolylineHasFourSegmentsAndFourJoints)
{
    const double square[] = { 0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0 };
    UGLWritePolylineBand(&buffer, square, 4, true, nullptr, nullptr, &red, &info, 1.0);
    UGLWritePolylineBand(&buffer, square, 4, true, nullptr, nullptr, nullptr, &info, 1.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    EXPECT_EQ(stream.arrays[0].recordCount(), 32u);
    EXPECT_EQ(edgeLineCount(stream), 8u);
    // Each segment quad keeps the width across its segment, so the joints close the corners.
    for (std::size_t quad = 0; quad < 8; ++quad) {
        for (int corner = 0; corner < 4; ++corner) {
            const double x = stream.arrays[0].positions[12 * quad + 3 * corner];
            const double y = stream.arrays[0].positions[12 * quad + 3 * corner + 1];
            EXPECT_TRUE(std::abs(x) <= 0.5 + 1e-6 || std::abs(x - 2) <= 0.5 + 1e-6);
            EXPECT_TRUE(std::abs(y) <= 0.5 + 1e-6 || std::abs(y - 2) <= 0.5 + 1e-6);
        }
    }
}

TEST_F(BandPrimitive, RodIsABandOrACylinderByQualityAndDiameter)
{
    struct Case {
        UGLImageQuality quality;
        double diameter;
        quint32 command; // 0: nothing
    };
    const Case cases[] = { { 3, 11.5, UGLDrawingBufferCommandVertexArray },
        { 3, 12.0, UGLDrawingBufferCommandIndexedRuns },
        { 4, 11.5, UGLDrawingBufferCommandIndexedRuns },
        { 4, 12.0, UGLDrawingBufferCommandIndexedRuns },
        { 1, 11.5, UGLDrawingBufferCommandVertexArray },
        { 1, 12.0, UGLDrawingBufferCommandVertexArray }, { 8, 12.0, 0 } };
    for (const Case& c : cases) {
        info.setImageQuality(c.quality);
        EXPECT_EQ(firstCommandDrawn([&](UGLDrawingBufferWriting* target) {
            UGLWriteRod(target, origin, &red, alongX, &blue, nullptr, nullptr, &info, c.diameter);
        }),
            c.command)
            << c.quality << " " << c.diameter;
    }
    // End colours: red at the first end, blue at the second.
    info.setImageQuality(3);
    UGLWriteRod(&buffer, origin, &red, alongX, &blue, nullptr, nullptr, &info, 12.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_FALSE(stream.arrays.empty());
    EXPECT_EQ(stream.arrays[0].colors.front(), red);
    EXPECT_EQ(stream.arrays[0].colors.back(), blue);
}

TEST_F(BandPrimitive, CylinderSideStripCapsAndOutlines)
{
    _UGLEdgeDrawingInfo edges;
    edges.edgeWidth = 1.0;
    info.setImageQuality(1); // 6 segments
    UGLWriteCylinder(&buffer, origin, nullptr, alongX, nullptr, &red, &edges, &info, 20.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 2u);
    const DecodedVertexArray& side = stream.arrays[0];
    EXPECT_EQ(side.command, UGLDrawingBufferCommandIndexedRuns);
    EXPECT_EQ(side.polygonMode, 8u);
    EXPECT_EQ(side.recordCount(), 12u);
    // One run [k, i...] of 2n + 2 = 14 entries: pairs (k, 2n - 1 - k), then (0, 2n - 1).
    EXPECT_EQ(
        side.indexes, (std::vector<quint32> { 14, 0, 11, 1, 10, 2, 9, 3, 8, 4, 7, 5, 6, 0, 11 }));
    // The two caps, one polygon run each, follow with the side's records.
    EXPECT_EQ(stream.arrays[1].command, UGLDrawingBufferCommandVertexArrayRuns);
    EXPECT_EQ(stream.arrays[1].indexes, (std::vector<quint32> { 6, 6 }));
    EXPECT_FLOAT_EQ(stream.arrays[1].normals[0], -1.0f);
    EXPECT_FLOAT_EQ(stream.arrays[1].normals[3 * 6], 1.0f);
    // Silhouette: 2 lines; each cap ring, seen edge-on as a line, 6 segments and the 4 joints
    // where the band does not turn back on itself.
    EXPECT_EQ(edgeLineCount(stream), 2u + 2u * 10u);
}

TEST_F(BandPrimitive, EndOnCylinderDrawsCapsAndRingsButNoSilhouette)
{
    _UGLEdgeDrawingInfo edges;
    edges.edgeWidth = 1.0;
    info.setImageQuality(1);
    UGLWriteCylinder(&buffer, origin, nullptr, alongZ, nullptr, &red, &edges, &info, 20.0);
    UGLWriteRodBand(&buffer, origin, nullptr, alongZ, nullptr, &red, &edges, &info, 20.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 2u);
    // Two closed hexagon rings of 6 segments and 6 joints each.
    EXPECT_EQ(edgeLineCount(stream), 24u);
}

TEST_F(BandPrimitive, CylinderWithoutSegmentsOrEdgeWidthDrawsLess)
{
    _UGLEdgeDrawingInfo edges; // width 0: no outline
    info.setImageQuality(7); // no segments: nothing at all
    UGLWriteCylinder(&buffer, origin, nullptr, alongX, nullptr, &red, &edges, &info, 20.0);
    info.setImageQuality(3);
    UGLWriteCylinder(&buffer, origin, nullptr, alongX, nullptr, &red, &edges, &info, 20.0);
    const DecodedDrawingStream stream = finish();
    EXPECT_EQ(stream.arrays.size(), 2u);
    EXPECT_EQ(edgeLineCount(stream), 0u);
}

TEST_F(BandPrimitive, RodBandOutlineStopsWhenTheBandWasCancelled)
{
    _UGLEdgeDrawingInfo edges;
    edges.edgeWidth = 1.0;
    CancelingDrawingWriter writer(1);
    UGLWriteRodBand(&writer, origin, nullptr, alongX, nullptr, &red, &edges, &info, 4.0);
    EXPECT_EQ(writer.writeCount, 1u);
    EXPECT_EQ(writer.edgeWriteCount, 0u);
    CancelingDrawingWriter going(99);
    UGLWriteRodBand(&going, origin, nullptr, alongX, nullptr, &red, &edges, &info, 4.0);
    EXPECT_EQ(going.edgeWriteCount, 1u);
}
