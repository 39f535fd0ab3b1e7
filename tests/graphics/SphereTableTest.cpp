#include "PrimitiveTestSupport.h"
#include "graphics/primitives/UGLSphereTables.h"
#include "graphics/primitives/UGLVec3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <utility>

namespace {

// Every triangle faces outward and every directed edge is met once, its reverse once: the
// triangles close the sphere without gaps, overlaps or flipped faces.
template <std::size_t V, std::size_t I>
void expectClosedOutwardSurface(
    const std::array<double, V>& vertices, const std::array<quint64, I>& indexes)
{
    std::map<std::pair<quint64, quint64>, int> directedEdges;
    for (std::size_t t = 0; t < I; t += 3) {
        const UGLVec3 a = UGLVec3::at(vertices.data() + 3 * indexes[t]);
        const UGLVec3 b = UGLVec3::at(vertices.data() + 3 * indexes[t + 1]);
        const UGLVec3 c = UGLVec3::at(vertices.data() + 3 * indexes[t + 2]);
        EXPECT_GT(UGLDot(UGLCross(b - a, c - a), a + b + c), 0.0) << "triangle " << t / 3;
        for (int k = 0; k < 3; ++k)
            ++directedEdges[{ indexes[t + k], indexes[t + (k + 1) % 3] }];
    }
    for (const auto& [edge, count] : directedEdges) {
        EXPECT_EQ(count, 1);
        EXPECT_EQ(directedEdges.count({ edge.second, edge.first }), 1u);
    }
}

} // namespace

TEST(SphereTable, IcosahedronVerticesLieOnTheUnitSphereAtTheirAzimuths)
{
    UGLInitializeSphereTables();
    const auto& v = UGLIcosahedronVertexTable();
    for (std::size_t k = 0; k < 12; ++k)
        EXPECT_NEAR(lengthOf(v.data() + 3 * k), 1.0, 1e-15);
    EXPECT_NEAR(v[3], 0.0, 1e-15);
    EXPECT_NEAR(v[4], -0.894427, 1e-6);
    EXPECT_NEAR(v[5], 0.447214, 1e-6);
    EXPECT_NEAR(v[6], 0.850651, 1e-6);
    EXPECT_NEAR(v[7], -0.276393, 1e-6);
    EXPECT_NEAR(v[18], 0.525731, 1e-6);
    EXPECT_NEAR(v[19], -0.723607, 1e-6);
    EXPECT_NEAR(v[20], -0.447214, 1e-6);
    EXPECT_EQ(v[35], -1.0);
}

TEST(SphereTable, FortyTwoVertexBallHasLatitudeRowsAndClosedFaces)
{
    const auto& v = UGLIcosphere42VertexTable();
    for (std::size_t k = 0; k < 42; ++k)
        EXPECT_NEAR(lengthOf(v.data() + 3 * k), 1.0, 1e-15);
    for (std::size_t k = 1; k <= 5; ++k) {
        EXPECT_NEAR(v[3 * k + 2], 0.850651, 1e-6);
        EXPECT_NEAR(std::hypot(v[3 * k], v[3 * k + 1]), 0.525731, 1e-6);
    }
    // The equator runs from -72 degrees in steps of 36.
    for (std::size_t k = 16; k <= 25; ++k) {
        const double azimuth = -72.0 + 36.0 * double(k - 16);
        EXPECT_NEAR(v[3 * k + 2], 0.0, 1e-15);
        EXPECT_NEAR(v[3 * k], std::cos(azimuth * std::numbers::pi / 180), 1e-12);
        EXPECT_NEAR(v[3 * k + 1], std::sin(azimuth * std::numbers::pi / 180), 1e-12);
    }
    EXPECT_NEAR(v[3 * 36 + 2], -0.850651, 1e-6);
    expectClosedOutwardSurface(UGLIcosahedronVertexTable(), UGLIcosahedronIndexTable());
    expectClosedOutwardSurface(v, UGLIcosphere42IndexTable());
}

TEST(SphereTable, FortyTwoVertexIndexTableBeginsAndEndsInRowsFromTheNorthPole)
{
    const auto& t = UGLIcosphere42IndexTable();
    const std::vector<quint64> begin { 0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5, 0, 5, 1, 2, 1, 7, 3, 2,
        9 };
    const std::vector<quint64> end { 37, 36, 41, 38, 37, 41, 39, 38, 41, 40, 39, 41, 36, 40, 41 };
    EXPECT_EQ(std::vector<quint64>(t.begin(), t.begin() + 21), begin);
    EXPECT_EQ(std::vector<quint64>(t.end() - 15, t.end()), end);
}

TEST(SphereTable, SubdividedTriangleTableCutsTenByTen)
{
    const auto& t = UGLSubdividedTriangleIndexTable();
    // Rows 0 to 2 by hand: row r joins vertices r(r+1)/2.. to (r+1)(r+2)/2..
    const std::vector<quint64> firstRows { 0, 1, 2, 1, 3, 4, 2, 1, 4, 2, 4, 5, 3, 6, 7, 4, 3, 7, 4,
        7, 8, 5, 4, 8, 5, 8, 9 };
    EXPECT_EQ(std::vector<quint64>(t.begin(), t.begin() + 27), firstRows);
    // The last triangle of row 9: (45 + 9, 55 + 9, 55 + 10).
    EXPECT_EQ(std::vector<quint64>(t.end() - 3, t.end()), (std::vector<quint64> { 54, 64, 65 }));
    // Every L x L prefix uses exactly the vertices of its cut, and every triangle turns like the
    // corner triangle in the plane of the cut.
    for (quint64 L = 1; L <= 10; ++L) {
        quint64 highest = 0;
        for (quint64 k = 0; k < 3 * L * L; ++k)
            highest = std::max(highest, t[k]);
        EXPECT_EQ(highest, (L + 1) * (L + 2) / 2 - 1) << L;
    }
    const auto planar = [](quint64 vertex) {
        quint64 row = 0;
        while ((row + 1) * (row + 2) / 2 <= vertex)
            ++row;
        const double j = double(vertex - row * (row + 1) / 2);
        return UGLVec3 { double(row) - j, j, 0.0 }; // toward the second, toward the third corner
    };
    for (std::size_t k = 0; k < t.size(); k += 3) {
        const UGLVec3 a = planar(t[k]), b = planar(t[k + 1]), c = planar(t[k + 2]);
        EXPECT_NEAR(UGLCross(b - a, c - a).z, 1.0, 1e-12) << "triangle " << k / 3;
    }
}

TEST(SphereTable, SegmentCountFollowsTheChordTolerance)
{
    EXPECT_EQ(UGLCircleSegmentCount(3, 20.0, 1.0), 10u); // pi / acos(0.95) = 9.89
    EXPECT_EQ(UGLCircleSegmentCount(5, 20.0, 1.0), 20u); // pi / acos(0.9875) = 19.85
    EXPECT_EQ(UGLCircleSegmentCount(10, 20.0, 1.0), 10u);
    EXPECT_EQ(UGLCircleSegmentCount(3, 20.0, 2.0), 14u); // r = 20 device pixels
    for (double diameter : { 0.5, 20.0, 500.0 })
        EXPECT_EQ(UGLCircleSegmentCount(1, diameter, 1.0), 6u);
    EXPECT_EQ(UGLCircleSegmentCount(2, 4.0, 1.0), 6u);
    for (UGLImageQuality quality : { 0, 6, 7, 8, 9, 11 })
        EXPECT_EQ(UGLCircleSegmentCount(quality, 20.0, 1.0), 0u) << quality;
    // The returned count keeps every sagitta within the tolerance but for rounding.
    for (double diameter = 3.0; diameter < 400.0; diameter *= 1.37) {
        const quint64 n = UGLCircleSegmentCount(4, diameter, 1.0);
        const double r = 0.5 * diameter;
        EXPECT_LE(r * (1.0 - std::cos(std::numbers::pi / double(n + 1))), 0.25) << diameter;
    }
}

TEST(SphereTable, SegmentCountIsFiniteAndBoundedForDegenerateSizes)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    for (UGLImageQuality quality : { 2, 3, 4, 5, 10 }) {
        for (double diameter : { 0.0, 1e-300, 0.1, -5.0, nan })
            EXPECT_EQ(UGLCircleSegmentCount(quality, diameter, 1.0), 6u) << diameter;
        EXPECT_EQ(UGLCircleSegmentCount(quality, infinity, 1.0), UGLMaximumCircleSegmentCount);
        EXPECT_EQ(UGLCircleSegmentCount(quality, 1e9, 1.0), UGLMaximumCircleSegmentCount);
    }
}
