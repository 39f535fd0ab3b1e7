#include "PrimitiveTestSupport.h"
#include "graphics/primitives/UGLArrowPrimitives.h"

#include <gtest/gtest.h>

namespace {

constexpr _UGLColor green { 0, 1, 0, 1 };
constexpr double base[3] = { 1, 0, 0 };
constexpr double vector[3] = { 10, 0, 0 };

} // namespace

using ArrowPrimitive = PrimitiveFixture;

TEST_F(ArrowPrimitive, ShortForceArrowScalesItsHeadToFiveSixthsOfItsLength)
{
    // hs = 20 > L / 1.2: l = b = 10 / 1.2.
    UGLWriteForceArrow(&buffer, base, vector, UGLForceArrowStyleForce, &green, &info, 2.0, 20.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& arrow = stream.arrays[0];
    EXPECT_EQ(arrow.polygonMode, 7u);
    ASSERT_EQ(arrow.recordCount(), 8u);
    const double l = 10.0 / 1.2;
    const double headBase = 11.0 - l;
    // Shaft: base -/+ hw s, H +/- hw s with s = x cross z = -y, hw = 1.
    const double expected[8][2] = { { 1, 1 }, { 1, -1 }, { headBase, -1 }, { headBase, 1 },
        { headBase, 0.5 * l }, { headBase, -0.5 * l }, { 11, 0 }, { 11, 0 } };
    for (int k = 0; k < 8; ++k) {
        EXPECT_NEAR(arrow.positions[3 * k], expected[k][0], 1e-5) << k;
        EXPECT_NEAR(arrow.positions[3 * k + 1], expected[k][1], 1e-5) << k;
        EXPECT_EQ(arrow.positions[3 * k + 2], 0.0f);
    }
    EXPECT_NEAR((11.0 - headBase) / 10.0, 5.0 / 6.0, 1e-12);
    // The normal s x a = -y x x = z faces the viewer.
    EXPECT_FLOAT_EQ(arrow.normals[2], 1.0f);
    EXPECT_EQ(arrow.colors, std::vector<_UGLColor>(8, green));
}

TEST_F(ArrowPrimitive, LongArrowKeepsItsFullHeadAndBandHasNone)
{
    info.setLengthPerPixel(0.1);
    // hs = 2, 1.2 hs < 10: l = b = 2.
    UGLWriteForceArrow(&buffer, base, vector, UGLForceArrowStyleForce, nullptr, &info, 2.0, 20.0);
    UGLWriteForceArrow(&buffer, base, vector, UGLForceArrowStyleBand, nullptr, &info, 2.0, 20.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& arrows = stream.arrays[0];
    ASSERT_EQ(arrows.recordCount(), 12u);
    EXPECT_FLOAT_EQ(arrows.positions[3 * 2], 9.0f);
    EXPECT_FLOAT_EQ(arrows.positions[3 * 4 + 1], 1.0f);
    EXPECT_FLOAT_EQ(arrows.positions[3 * 10], 11.0f); // the band reaches the tip
    EXPECT_FALSE(arrows.hasColor);
}

TEST_F(ArrowPrimitive, MomentArrowIsACylinderThenAShaftPolygon)
{
    info.setLengthPerPixel(0.1);
    UGLWriteForceArrow(&buffer, base, vector, UGLForceArrowStyleMoment, &green, &info, 2.0, 20.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 2u);
    EXPECT_EQ(stream.arrays[0].command, UGLDrawingBufferCommandIndexedRuns);
    // The head: l = 0.6 hs = 1.2 long, from x = 9.8 to the tip at 11; diameter 1.2 b = 2.4.
    EXPECT_FLOAT_EQ(stream.arrays[0].positions[0], 9.8f);
    const DecodedVertexArray& runs = stream.arrays[1];
    EXPECT_EQ(runs.command, UGLDrawingBufferCommandVertexArrayRuns);
    const quint32 n = quint32(stream.arrays[0].recordCount() / 2);
    EXPECT_EQ(runs.indexes, (std::vector<quint32> { n, n, 4 }));
    EXPECT_FLOAT_EQ(runs.positions[3 * (2 * n + 2)], 9.8f);
}

TEST_F(ArrowPrimitive, ZeroOrEndOnArrowsDrawNothing)
{
    const double zero[3] = { 0, 0, 0 };
    const double towardViewer[3] = { 0, 0, 5 };
    UGLWriteForceArrow(&buffer, base, zero, UGLForceArrowStyleForce, &green, &info, 2.0, 20.0);
    UGLWriteForceArrow(
        &buffer, base, towardViewer, UGLForceArrowStyleMoment, &green, &info, 2.0, 20.0);
    EXPECT_TRUE(finish().arrays.empty());
}
