#include "PrimitiveTestSupport.h"
#include "graphics/primitives/UGLBallPrimitives.h"
#include "graphics/primitives/UGLSphereTables.h"

#include <gtest/gtest.h>

namespace {

constexpr double centre[3] = { 1.0, 2.0, 3.0 };
constexpr _UGLColor red { 1, 0, 0, 1 };

// Totals over the stream's commands of one kind.
struct Totals {
    quint64 commands = 0;
    quint64 records = 0;
    quint64 indexes = 0;
};
Totals totals(const DecodedDrawingStream& stream, quint32 command)
{
    Totals sum;
    for (const DecodedVertexArray& array : stream.arrays)
        if (array.command == command) {
            ++sum.commands;
            sum.records += array.recordCount();
            sum.indexes += array.indexes.size();
        }
    return sum;
}

} // namespace

using BallPrimitive = PrimitiveFixture;

TEST_F(BallPrimitive, QualityOneBallIsTheIcosahedronWithUnitNormals)
{
    info.setImageQuality(1);
    info.setLengthPerPixel(0.5);
    UGLWriteSphere(&buffer, centre, &red, &info, 100.0); // diameter 50 model units
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& ball = stream.arrays[0];
    EXPECT_EQ(ball.command, UGLDrawingBufferCommandIndexedVertexArray);
    EXPECT_EQ(ball.polygonMode, 4u);
    EXPECT_EQ(ball.recordCount(), 12u);
    EXPECT_EQ(ball.indexes,
        std::vector<quint32>(UGLIcosahedronIndexTable().begin(), UGLIcosahedronIndexTable().end()));
    const auto& unit = UGLIcosahedronVertexTable();
    for (std::size_t k = 0; k < 36; ++k) {
        EXPECT_FLOAT_EQ(ball.positions[k], float(centre[k % 3] + 25.0 * unit[k]));
        EXPECT_FLOAT_EQ(ball.normals[k], float(unit[k]));
    }
    EXPECT_EQ(ball.colors, std::vector<_UGLColor>(12, red));
}

TEST_F(BallPrimitive, FinenessFollowsTheSegmentCount)
{
    // Quality 3 at 20 points: 10 segments, the 42-vertex ball.
    info.setImageQuality(3);
    UGLWriteSphere(&buffer, centre, nullptr, &info, 20.0);
    // Quality 5 at 20 points: 20 segments, level 2: 80 faces of 6 vertices and 12 indices.
    info.setImageQuality(5);
    UGLWriteSphere(&buffer, centre, nullptr, &info, 20.0);
    const DecodedDrawingStream stream = finish();
    const Totals sum = totals(stream, UGLDrawingBufferCommandIndexedVertexArray);
    EXPECT_EQ(sum.records, 42u + 80u * 6u);
    EXPECT_EQ(sum.indexes, 240u + 80u * 12u);
    ASSERT_FALSE(stream.arrays.empty());
    EXPECT_FALSE(stream.arrays[0].hasColor);
    for (std::size_t k = 0; k < stream.arrays[0].recordCount(); ++k)
        EXPECT_NEAR(lengthOf(stream.arrays[0].normals.data() + 3 * k), 1.0, 1e-6);
}

TEST_F(BallPrimitive, LevelsAboveTenDrawAtTen)
{
    // 200 segments give level 17, drawn as 80 faces of 66 vertices and 300 indices.
    info.setImageQuality(3);
    info.setRequiredNormalVector(false);
    double diameter = 20.0;
    while (UGLCircleSegmentCount(3, diameter, 1.0) < 200)
        diameter *= 1.1;
    UGLWriteSphere(&buffer, centre, &red, &info, diameter);
    const DecodedDrawingStream stream = finish();
    const Totals sum = totals(stream, UGLDrawingBufferCommandIndexedVertexArray);
    EXPECT_EQ(sum.records, 80u * 66u);
    EXPECT_EQ(sum.indexes, 80u * 300u);
    for (const DecodedVertexArray& array : stream.arrays) {
        EXPECT_FALSE(array.hasNormal);
        for (std::size_t k = 0; k < array.recordCount(); ++k) {
            const double d[3] = { array.positions[3 * k] - centre[0],
                array.positions[3 * k + 1] - centre[1], array.positions[3 * k + 2] - centre[2] };
            EXPECT_NEAR(lengthOf(d), 0.5 * diameter, 1e-4 * diameter);
        }
    }
}

TEST_F(BallPrimitive, SubdividedBallStopsAtTheCancelledFace)
{
    CancelingDrawingWriter writer(3);
    UGLWriteSphereSubdivision(&writer, centre, &red, 4, &info, 10.0);
    EXPECT_EQ(writer.writeCount, 3u);
}

TEST_F(BallPrimitive, NodeMarkerChoosesBallOrDiscByQualityAndSize)
{
    struct Case {
        UGLImageQuality quality;
        double diameter;
        quint32 command; // 0: nothing
    };
    const Case cases[] = { { 3, 19.5, UGLDrawingBufferCommandVertexArrayRuns },
        { 3, 19.6, UGLDrawingBufferCommandIndexedVertexArray },
        { 4, 19.5, UGLDrawingBufferCommandIndexedVertexArray },
        { 4, 19.6, UGLDrawingBufferCommandIndexedVertexArray },
        { 2, 19.5, UGLDrawingBufferCommandVertexArrayRuns },
        { 2, 30.0, UGLDrawingBufferCommandVertexArrayRuns },
        { 10, 19.5, UGLDrawingBufferCommandVertexArrayRuns },
        { 10, 30.0, UGLDrawingBufferCommandIndexedVertexArray }, { 7, 30.0, 0 } };
    for (const Case& c : cases) {
        info.setImageQuality(c.quality);
        EXPECT_EQ(firstCommandDrawn([&](UGLDrawingBufferWriting* target) {
            UGLWriteNodeMarker(target, centre, &red, &info, c.diameter);
        }),
            c.command)
            << c.quality << " " << c.diameter;
    }
}

TEST_F(BallPrimitive, DiscFacesTheViewerFromTheEyeXAxis)
{
    // The eye looks along -x: screen right is +y, up is +z, toward the viewer +x.
    const double eye[3][3] = { { 0, 1, 0 }, { 0, 0, 1 }, { 1, 0, 0 } };
    info.setEyeCoordOnObjectCoord(eye);
    info.setImageQuality(2);
    info.setLengthPerPixel(0.05);
    // Tolerance 1 at radius 10: pi / acos(0.9) = 6.96, 7 segments, drawn with the 8-point table.
    UGLWritePointDisk(&buffer, centre, &red, &info, 20.0);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& disc = stream.arrays[0];
    EXPECT_EQ(disc.polygonMode, 9u);
    ASSERT_EQ(disc.recordCount(), 8u);
    EXPECT_EQ(disc.indexes, std::vector<quint32> { 8 });
    // c' = centre + 0.3 d ez with d = 1; first vertex c' + r ex, the second 45 degrees toward ey.
    EXPECT_FLOAT_EQ(disc.positions[0], 1.3f);
    EXPECT_FLOAT_EQ(disc.positions[1], 2.5f);
    EXPECT_FLOAT_EQ(disc.positions[2], 3.0f);
    EXPECT_NEAR(disc.positions[4], 2.0 + 0.5 * std::sqrt(0.5), 1e-6);
    EXPECT_NEAR(disc.positions[5], 3.0 + 0.5 * std::sqrt(0.5), 1e-6);
    for (std::size_t k = 0; k < 8; ++k)
        EXPECT_EQ(disc.normals[3 * k], 1.0f);
}

// Selection needs the ball's outline and nearest point only: a facing disc at the ball's front,
// as fine as the ball's outline.
TEST_F(BallPrimitive, ASelectPassMarkerIsADiscAtTheBallsFront)
{
    const double eye[3][3] = { { 0, 1, 0 }, { 0, 0, 1 }, { 1, 0, 0 } };
    info.setEyeCoordOnObjectCoord(eye);
    info.setDrawingOutputType(UGLDrawingOutputTypeSelectMode);
    info.setImageQuality(UGLImageQualityPrint);
    info.setLengthPerPixel(0.05);
    constexpr double diameter = 20.0;
    const double radius = 0.5 * diameter * 0.05;
    UGLWriteNodeMarker(&buffer, centre, &red, &info, diameter);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const DecodedVertexArray& disc = stream.arrays[0];
    EXPECT_EQ(disc.polygonMode, 9u);
    ASSERT_EQ(disc.recordCount(), UGLCircleSegmentCount(UGLImageQualityPrint, diameter, 1.0));
    for (std::size_t k = 0; k < disc.recordCount(); ++k) {
        EXPECT_FLOAT_EQ(disc.positions[3 * k], float(centre[0] + radius));
        EXPECT_NEAR(std::hypot(disc.positions[3 * k + 1] - centre[1],
                        disc.positions[3 * k + 2] - centre[2]),
            radius, 1e-6);
    }
}

TEST_F(BallPrimitive, LargeDiscsComputeTheirPointsWithoutTheTables)
{
    info.setImageQuality(2);
    info.setRequiredNormalVector(false);
    double diameter = 10.0;
    while (UGLCircleSegmentCount(2, diameter, 1.0) != 13)
        diameter += 0.25;
    UGLWritePointDisk(&buffer, centre, nullptr, &info, diameter);
    // And one past the 48 points kept in the call's own storage.
    while (UGLCircleSegmentCount(2, diameter, 1.0) < 60)
        diameter *= 1.2;
    UGLWritePointDisk(&buffer, centre, nullptr, &info, diameter);
    const DecodedDrawingStream stream = finish();
    ASSERT_EQ(stream.arrays.size(), 1u);
    const quint32 large = quint32(UGLCircleSegmentCount(2, diameter, 1.0));
    EXPECT_EQ(stream.arrays[0].indexes, (std::vector<quint32> { 13, large }));
    EXPECT_FALSE(stream.arrays[0].hasColor);
    EXPECT_FALSE(stream.arrays[0].hasNormal);
}
