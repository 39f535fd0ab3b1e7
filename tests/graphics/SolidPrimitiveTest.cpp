#include "PrimitiveTestSupport.h"
#include "graphics/primitives/UGLSharedFaceTable.h"
#include "graphics/primitives/UGLSolidPrimitives.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

constexpr _UGLColor red { 1, 0, 0, 1 };
constexpr _UGLColor blue { 0, 0, 1, 1 };
// A unit cube: 0-1-2-3 counterclockwise seen from the face 4-5-6-7 above it.
constexpr double cube[8][3] = { { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 0 }, { 0, 1, 0 }, { 0, 0, 1 },
    { 1, 0, 1 }, { 1, 1, 1 }, { 0, 1, 1 } };

void writeCube(UGLDrawingBufferWriting* buffer, const _UGLColor* const colors[8],
    const _UGLEdgeDrawingInfo* edges, const UGLDrawingInfo& info)
{
    UGLWriteHexahedron(buffer, cube[0], colors[0], cube[1], colors[1], cube[2], colors[2], cube[3],
        colors[3], cube[4], colors[4], cube[5], colors[5], cube[6], colors[6], cube[7], colors[7],
        nullptr, edges, &info);
}

// A block of unit cubes at whole-number corners, x slowest and z fastest, nodes numbered as
// `cube`.
struct CubeBlock {
    std::vector<std::array<double, 24>> corners;

    CubeBlock(int countX, int countY, int countZ)
    {
        for (int x = 0; x < countX; ++x)
            for (int y = 0; y < countY; ++y)
                for (int z = 0; z < countZ; ++z)
                    add(x, y, z);
    }
    void add(int x, int y, int z)
    {
        std::array<double, 24>& c = corners.emplace_back();
        for (int node = 0; node < 8; ++node) {
            c[3 * node] = x + cube[node][0];
            c[3 * node + 1] = y + cube[node][1];
            c[3 * node + 2] = z + cube[node][2];
        }
    }
    std::array<const double*, 8> nodes(std::size_t index) const
    {
        std::array<const double*, 8> n;
        for (int node = 0; node < 8; ++node)
            n[node] = corners[index].data() + 3 * node;
        return n;
    }
    void addTo(UGLSharedFaceTable& table) const
    {
        for (std::size_t index = 0; index < corners.size(); ++index)
            table.addHexahedron(nodes(index).data());
    }
};

} // namespace

using SolidPrimitive = PrimitiveFixture;

// Neighbours wind the face between them oppositely, whatever corner each starts from.
TEST(SharedFaceTable, AFaceIsSharedWhenAnotherSolidWindsItTheOtherWay)
{
    const CubeBlock block(3, 3, 2);
    UGLSharedFaceTable table;
    EXPECT_EQ(table.sharedHexahedronFaceMask(block.nodes(0).data()), 0u);
    block.addTo(table);
    // Faces -z, -y, +x, +y, -x, +z: shared where the block has a neighbour on that side.
    std::size_t index = 0;
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y)
            for (int z = 0; z < 2; ++z, ++index) {
                const bool sides[6] = { z > 0, y > 0, x < 2, (y < 2), (x > 0), z < 1 };
                quint32 expected = 0;
                for (quint32 face = 0; face < 6; ++face)
                    expected |= sides[face] ? 1U << face : 0;
                EXPECT_EQ(table.sharedHexahedronFaceMask(block.nodes(index).data()), expected)
                    << x << y << z;
            }
    // A cube on top of the block's first, numbered from another corner and with -0 for 0.
    const double above[8][3] = { { 1, 1, 2 }, { 0, 1, 2 }, { -0.0, -0.0, 2 }, { 1, 0, 2 },
        { 1, 1, 3 }, { 0, 1, 3 }, { 0, 0, 3 }, { 1, 0, 3 } };
    const double* const aboveNodes[8]
        = { above[0], above[1], above[2], above[3], above[4], above[5], above[6], above[7] };
    table.addHexahedron(aboveNodes);
    EXPECT_EQ(table.sharedHexahedronFaceMask(aboveNodes), 1u); // its -z face
    EXPECT_EQ(table.sharedHexahedronFaceMask(block.nodes(1).data()) & 0x20u, 0x20u);
}

namespace {

using Corners = std::array<double, 24>;

// The unit cube with its bottom at height z; `inverted` numbers the top face first, which
// winds every face inwards.
Corners cubeAt(double z, bool inverted = false)
{
    Corners corners {};
    for (int node = 0; node < 8; ++node)
        for (int axis = 0; axis < 3; ++axis)
            corners[3 * ((node + (inverted ? 4 : 0)) % 8) + axis]
                = cube[node][axis] + (axis == 2 ? z : 0.0);
    return corners;
}

// The same cube numbered from its second corner on.
Corners turned(const Corners& corners)
{
    Corners result {};
    for (int node = 0; node < 8; ++node)
        for (int axis = 0; axis < 3; ++axis)
            result[3 * node + axis] = corners[3 * ((node / 4) * 4 + (node + 1) % 4) + axis];
    return result;
}

// The cube squashed onto its bottom, top and bottom on the same four positions.
Corners flatAt(double z)
{
    Corners corners = cubeAt(z);
    for (int node = 4; node < 8; ++node)
        corners[3 * node + 2] = z;
    return corners;
}

Corners allOnOnePoint()
{
    Corners corners {};
    corners.fill(0.5);
    return corners;
}

std::array<const double*, 8> nodesOf(const Corners& corners)
{
    std::array<const double*, 8> nodes;
    for (int node = 0; node < 8; ++node)
        nodes[node] = corners.data() + 3 * node;
    return nodes;
}

} // namespace

// Duplicates (however numbered), a solid's own faces and faces without area are never shared.
TEST(SharedFaceTable, OnlyOppositeWindingsOfTwoSolidsAreShared)
{
    constexpr quint32 below = 0x01;
    constexpr quint32 above = 0x20;
    struct Case {
        const char* name;
        std::vector<Corners> solids;
        std::vector<quint32> masks;
    };
    const Case cases[] = {
        { "neighbours", { cubeAt(0), cubeAt(1) }, { above, below } },
        { "duplicate", { cubeAt(0), cubeAt(0) }, { 0, 0 } },
        { "duplicate numbered from another corner", { cubeAt(0), turned(cubeAt(0)) }, { 0, 0 } },
        { "inverted duplicate", { cubeAt(0), cubeAt(0, true) }, { 0, 0 } },
        { "inverted neighbour", { cubeAt(0), cubeAt(1, true) }, { above, above } },
        { "duplicate neighbours", { cubeAt(0), cubeAt(1), cubeAt(1) }, { above, below, below } },
        { "flat solid", { flatAt(0) }, { 0 } },
        { "flat solid on a cube", { cubeAt(-1), flatAt(0) }, { above, below } },
        { "solids on one point", { allOnOnePoint(), allOnOnePoint() }, { 0, 0 } },
    };
    for (const Case& c : cases) {
        UGLSharedFaceTable table;
        for (const Corners& solid : c.solids)
            table.addHexahedron(nodesOf(solid).data());
        for (std::size_t solid = 0; solid < c.solids.size(); ++solid)
            EXPECT_EQ(
                table.sharedHexahedronFaceMask(nodesOf(c.solids[solid]).data()), c.masks[solid])
                << c.name << ", solid " << solid;
    }
}

TEST_F(SolidPrimitive, SharedFacesAndTheEdgesOnlyBetweenThemAreLeftOut)
{
    _UGLEdgeDrawingInfo edges;
    edges.edgeWidth = 1.0;
    const CubeBlock block(3, 3, 3);
    UGLSharedFaceTable table;
    block.addTo(table);
    info.setSharedFaceTable(&table);
    // The centre cube (1, 1, 1) draws nothing; the top centre one (1, 1, 2) its +z face and the
    // four edges around it, the rest lying between hidden faces.
    UGLWriteHexahedronWithTables(&buffer, block.nodes(13).data(), nullptr, &red, &edges, &info);
    UGLWriteHexahedronWithTables(&buffer, block.nodes(14).data(), nullptr, &red, &edges, &info);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& top = stream.arrays[0];
    ASSERT_EQ(top.recordCount(), 12u);
    for (std::size_t entry = 0; entry < 12; ++entry)
        EXPECT_FLOAT_EQ(top.normals[3 * entry + 2], 1.0f) << entry;
    EXPECT_EQ(stream.edgeQuadVertices.size(), 4u * 12u);
}

TEST_F(SolidPrimitive, CoarseHexahedronIsEightVerticesAndThirtySixIndices)
{
    info.setImageQuality(1);
    info.setRequiredNormalVector(false);
    const _UGLColor* const colors[8] = { &red, &blue, &blue, &blue, &blue, &blue, &blue, &blue };
    writeCube(&buffer, colors, nullptr, info);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    EXPECT_EQ(stream.arrays[0].command, UGLDrawingBufferCommandIndexedVertexArray);
    EXPECT_EQ(stream.arrays[0].recordCount(), 8u);
    EXPECT_EQ(stream.arrays[0].indexes,
        (std::vector<quint32> { 0, 3, 2, 2, 1, 0, 0, 1, 5, 5, 4, 0, 1, 2, 6, 6, 5, 1, 2, 3, 7, 7, 6,
            2, 3, 0, 4, 4, 7, 3, 4, 5, 6, 6, 7, 4 }));
    EXPECT_EQ(stream.arrays[0].colors[0], red);
    EXPECT_EQ(stream.arrays[0].colors[7], blue);
}

TEST_F(SolidPrimitive, FineHexahedronAddsFaceCentresWithMeanColours)
{
    info.setImageQuality(3);
    info.setRequiredNormalVector(false);
    const _UGLColor* const colors[8] = { &red, &blue, &blue, &blue, &blue, &blue, &blue, &blue };
    writeCube(&buffer, colors, nullptr, info);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& hexa = stream.arrays[0];
    ASSERT_EQ(hexa.recordCount(), 14u);
    ASSERT_EQ(hexa.indexes.size(), 72u);
    EXPECT_EQ(std::vector<quint32>(hexa.indexes.begin(), hexa.indexes.begin() + 12),
        (std::vector<quint32> { 8, 0, 3, 8, 3, 2, 8, 2, 1, 8, 1, 0 }));
    EXPECT_EQ(std::vector<quint32>(hexa.indexes.end() - 3, hexa.indexes.end()),
        (std::vector<quint32> { 13, 7, 4 }));
    // Vertex 8: the centre of face (0, 3, 2, 1), a quarter red; vertex 13 of (4, 5, 6, 7).
    EXPECT_FLOAT_EQ(hexa.positions[24], 0.5f);
    EXPECT_FLOAT_EQ(hexa.positions[25], 0.5f);
    EXPECT_FLOAT_EQ(hexa.positions[26], 0.0f);
    EXPECT_FLOAT_EQ(hexa.positions[3 * 13 + 2], 1.0f);
    EXPECT_EQ(hexa.colors[8], (_UGLColor { 0.25, 0, 0.75, 1 }));
    EXPECT_EQ(hexa.colors[13], blue);
}

TEST_F(SolidPrimitive, FlatNormalsExpandToOneRecordPerIndexEntry)
{
    info.setImageQuality(3);
    const _UGLColor* const none[8] = {};
    writeCube(&buffer, none, nullptr, info);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& hexa = stream.arrays[0];
    EXPECT_EQ(hexa.command, UGLDrawingBufferCommandVertexArray);
    ASSERT_EQ(hexa.recordCount(), 72u);
    EXPECT_FALSE(hexa.hasColor);
    const double faceNormals[6][3]
        = { { 0, 0, -1 }, { 0, -1, 0 }, { 1, 0, 0 }, { 0, 1, 0 }, { -1, 0, 0 }, { 0, 0, 1 } };
    for (std::size_t entry = 0; entry < 72; ++entry)
        for (int k = 0; k < 3; ++k)
            EXPECT_FLOAT_EQ(hexa.normals[3 * entry + k], float(faceNormals[entry / 12][k]))
                << entry;
    // The first record is the centre of face (0, 3, 2, 1), the second node 0.
    EXPECT_FLOAT_EQ(hexa.positions[0], 0.5f);
    EXPECT_FLOAT_EQ(hexa.positions[3], 0.0f);
}

TEST_F(SolidPrimitive, HexahedronEdgesFollowUnlessCancelledOrSelecting)
{
    _UGLEdgeDrawingInfo edges;
    edges.edgeWidth = 1.0;
    const _UGLColor* const none[8] = {};
    CancelingDrawingWriter cancelled(1);
    writeCube(&cancelled, none, &edges, info);
    EXPECT_EQ(cancelled.edgeWriteCount, 0u);
    writeCube(&buffer, none, &edges, info);
    info.setImageQuality(UGLImageQualitySelection);
    writeCube(&buffer, none, &edges, info);
    writeCube(&buffer, none, nullptr, info);
    const DecodedDrawingStream stream = finish();
    // Seen along z the four vertical edges are end-on: 8 of the 12 edges are drawn, once.
    EXPECT_EQ(stream.edgeQuadVertices.size(), 8u * 12u);
}

TEST_F(SolidPrimitive, QuadrilateralSharesOneNormalAcrossItsCentreVertex)
{
    info.setImageQuality(2);
    const double p0[3] = { 0, 0, 0 }, p1[3] = { 2, 0, 0 }, p2[3] = { 2, 2, 0 }, p3[3] = { 0, 2, 1 };
    UGLWriteQuadrilateral(
        &buffer, p0, &red, p1, &red, p2, &blue, p3, &blue, nullptr, nullptr, &info);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& quad = stream.arrays[0];
    EXPECT_EQ(quad.command, UGLDrawingBufferCommandIndexedVertexArray);
    EXPECT_EQ(quad.recordCount(), 5u);
    EXPECT_EQ(quad.indexes, (std::vector<quint32> { 0, 1, 4, 1, 2, 4, 2, 3, 4, 3, 0, 4 }));
    EXPECT_FLOAT_EQ(quad.positions[14], 0.25f);
    EXPECT_EQ(quad.colors[4], (_UGLColor { 0.5, 0, 0.5, 1 }));
    // (p2 - p0) x (p3 - p1) = (2, 2, 0) x (-2, 2, 1) = (2, -2, 8), normalised, for all five.
    const double length = std::sqrt(72.0);
    for (std::size_t v = 0; v < 5; ++v) {
        EXPECT_FLOAT_EQ(quad.normals[3 * v], float(2 / length));
        EXPECT_FLOAT_EQ(quad.normals[3 * v + 1], float(-2 / length));
        EXPECT_FLOAT_EQ(quad.normals[3 * v + 2], float(8 / length));
    }
}

TEST_F(SolidPrimitive, TriangleTetrahedronAndBoxFaceOutward)
{
    const double a[3] = { 0, 0, 0 }, b[3] = { 1, 0, 0 }, c[3] = { 0, 1, 0 }, d[3] = { 0, 0, 1 };
    UGLWriteTriangleUniformColor(&buffer, a, b, c, &red, nullptr, &info);
    UGLWriteTetrahedronUniformColor(&buffer, a, b, c, d, nullptr, nullptr, &info);
    const double centre[3] = { 0, 0, 0 }, x[3] = { 1, 0, 0 }, y[3] = { 0, 1, 0 },
                 z[3] = { 0, 0, 1 };
    info.setLengthPerPixel(0.5);
    UGLWriteOrientedBoxWithPixelSize(&buffer, centre, x, y, z, &blue, nullptr, &info, 2, 4, 6);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 3u);
    EXPECT_EQ(stream.arrays[0].recordCount(), 3u);
    EXPECT_FLOAT_EQ(stream.arrays[0].normals[2], 1.0f);
    // Each tetrahedron face normal points away from the opposite vertex.
    const DecodedVertexArray& tetra = stream.arrays[1];
    ASSERT_EQ(tetra.recordCount(), 12u);
    for (std::size_t entry = 0; entry < 12; entry += 3) {
        double centroid[3] = {};
        for (std::size_t k = 0; k < 3; ++k)
            for (int axis = 0; axis < 3; ++axis)
                centroid[axis] += tetra.positions[3 * (entry + k) + axis] / 3 - 0.25 / 3;
        double dot = 0;
        for (int axis = 0; axis < 3; ++axis)
            dot += tetra.normals[3 * entry + axis] * centroid[axis];
        EXPECT_GT(dot, 0.0) << entry;
    }
    // The box: half-axes 0.5, 1 and 1.5; 24 quad records, first face (3, 2, 1, 0) facing -z.
    const DecodedVertexArray& box = stream.arrays[2];
    EXPECT_EQ(box.polygonMode, 7u);
    ASSERT_EQ(box.recordCount(), 24u);
    EXPECT_FLOAT_EQ(box.positions[0], -0.5f);
    EXPECT_FLOAT_EQ(box.positions[1], 1.0f);
    EXPECT_FLOAT_EQ(box.positions[2], -1.5f);
    EXPECT_FLOAT_EQ(box.normals[2], -1.0f);
    EXPECT_FLOAT_EQ(box.normals[3 * 20], -1.0f); // the last face faces -x
}
