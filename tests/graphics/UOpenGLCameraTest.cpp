#include "GraphicsTestSupport.h"

#include "graphics/camera/UOpenGLEyeLocation.h"
#include "graphics/camera/UOpenGLObjectLocation.h"
#include "graphics/primitives/UGLCheckDirectionMatrixNormalized.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

namespace {

const QString openGLException = QStringLiteral("UOpenGLException");

void expectNear3(const double actual[3], double x, double y, double z, double tolerance = 1e-12)
{
    EXPECT_NEAR(actual[0], x, tolerance);
    EXPECT_NEAR(actual[1], y, tolerance);
    EXPECT_NEAR(actual[2], z, tolerance);
}

// A random right-handed orthonormal frame from a random rotation.
UOpenGLObjectLocation randomObjectLocation(std::mt19937& random)
{
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    UOpenGLObjectLocation location;
    const double center[3] = { uniform(random), uniform(random), uniform(random) };
    const double axis[3] = { uniform(random), uniform(random), uniform(random) + 2.0 };
    location.rotateWithCenterPoint(center, axis, 3.0 * uniform(random));
    const double move[3] = { 10 * uniform(random), 10 * uniform(random), 10 * uniform(random) };
    location.translateWithVector(move);
    return location;
}

} // namespace

TEST(CameraEyeLocation, DefaultConvertsOnePointToOneSeventySecond)
{
    const UOpenGLEyeLocation eye;
    const _UGLEyeLocationStruct s = eye.eyeLocationStruct();
    expectNear3(s.eyePosition, 0, 0, 1000);
    EXPECT_EQ(s.depthFar, 2000.0);
    const double eyeVector[3] = { 1, 0, 0 };
    double global[3];
    eye.getVectorOnGlobalCoord(global, eyeVector);
    expectNear3(global, 1.0 / 72, 0, 0);
    double back[3];
    eye.getVectorOnEyeCoord(back, global);
    expectNear3(back, 1, 0, 0);
    // Eye Z points towards the viewer, so an eye point in front of the eye has negative z.
    const double origin[3] = { 0, 0, 0 };
    double onEye[3];
    eye.getPositionOnEyeCoord(onEye, origin);
    expectNear3(onEye, 0, 0, -72000, 1e-9);
}

TEST(CameraEyeLocation, UpVectorIsMadePerpendicularAndConversionsRoundTrip)
{
    UOpenGLEyeLocation eye;
    const double position[3] = { 1, 2, 3 };
    const double direction[3] = { 0, 0, -2 };
    const double up[3] = { 0, 1, 1 };
    eye.setEyeLocationWithPosition(position, direction, up, 1, 50, 0.5);
    const _UGLEyeLocationStruct s = eye.eyeLocationStruct();
    expectNear3(s.eyeDirection, 0, 0, -1);
    expectNear3(s.eyeUp, 0, 1, 0);

    const double tilted[3] = { 1, -2, 0.5 };
    const double skewUp[3] = { 0.3, 0.2, 1 };
    eye.setEyeLocationWithPosition(position, tilted, skewUp, 1, 50, 0.25);
    const double point[3] = { 4, -7, 2.5 };
    double onEye[3], again[3];
    eye.getPositionOnEyeCoord(onEye, point);
    eye.getPositionOnGlobalCoord(again, onEye);
    expectNear3(again, point[0], point[1], point[2], 1e-12);
    // A point straight ahead of the eye lies on the eye's -Z axis.
    const _UGLEyeLocationStruct t = eye.eyeLocationStruct();
    const double ahead[3]
        = { 1 + 3 * t.eyeDirection[0], 2 + 3 * t.eyeDirection[1], 3 + 3 * t.eyeDirection[2] };
    eye.getPositionOnEyeCoord(onEye, ahead);
    expectNear3(onEye, 0, 0, -3 / 0.25, 1e-12);
}

TEST(CameraObjectLocation, DirectionCheckAcceptsOnePercentAndRefusesMore)
{
    UOpenGLObjectLocation location;
    const double position[3] = { 5, 6, 7 };
    const double nearlyUnit[3][3] = { { 1.005, 0, 0 }, { 0, 1.005, 0 }, { 0, 0, 1.005 } };
    location.setObjectLocationWithPosition(position, nearlyUnit);
    _UGLObjectLocationStruct s = location.objectLocationStruct();
    for (const auto& row : s.objectDirection)
        EXPECT_NEAR(std::sqrt(row[0] * row[0] + row[1] * row[1] + row[2] * row[2]), 1.0, 1e-15);

    const double tooLong[3][3] = { { 1.02, 0, 0 }, { 0, 1.02, 0 }, { 0, 0, 1.02 } };
    const double leftHanded[3][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, -1 } };
    const double skewed[3][3] = { { 1, 0, 0 }, { 0.1, 1, 0 }, { 0, 0, 1 } };
    for (const auto* refused : { &tooLong, &leftHanded, &skewed }) {
        const double otherPosition[3] = { 0, 0, 0 };
        const auto [name, reason] = raisedException(
            [&] { location.setObjectLocationWithPosition(otherPosition, *refused); });
        EXPECT_EQ(name, openGLException);
        EXPECT_EQ(reason, QStringLiteral("'objectDirection' is not normalized."));
        // The old location survives.
        expectNear3(location.objectLocationStruct().objectPosition, 5, 6, 7);
    }
    // A frame within the tolerance passes and is corrected in place, here to the length of r0;
    // one outside it fails.
    double twice[3][3] = { { 2, 0, 0 }, { 0, 2, 0 }, { 0, 0, 2.01 } };
    EXPECT_TRUE(UGLCheckDirectionMatrixNormalized(twice, 0.0));
    expectNear3(twice[2], 0, 0, 2);
    double skewedFrame[3][3] = { { 1, 0, 0 }, { 0.1, 1, 0 }, { 0, 0, 1 } };
    EXPECT_FALSE(UGLCheckDirectionMatrixNormalized(skewedFrame, 1.0));
}

TEST(CameraObjectLocation, QuarterTurnAboutZGivesRowVectorRows)
{
    UOpenGLObjectLocation location;
    const double origin[3] = { 0, 0, 0 };
    const double zAxis[3] = { 0, 0, 1 };
    location.rotateWithCenterPoint(origin, zAxis, std::numbers::pi / 2);
    const _UGLObjectLocationStruct s = location.objectLocationStruct();
    expectNear3(s.objectDirection[0], 0, -1, 0);
    expectNear3(s.objectDirection[1], 1, 0, 0);
    expectNear3(s.objectDirection[2], 0, 0, 1);
    expectNear3(s.objectPosition, 0, 0, 0);

    // About a centre off the axis: the centre stays where it was, a point beside it turns.
    UOpenGLObjectLocation turned;
    const double center[3] = { 1, 0, 0 };
    turned.rotateWithCenterPoint(center, zAxis, std::numbers::pi / 2);
    double global[3];
    turned.getPositionOnGlobalCoord(global, center);
    expectNear3(global, 1, 0, 0);
    const double beside[3] = { 2, 0, 0 };
    turned.getPositionOnGlobalCoord(global, beside);
    expectNear3(global, 1, -1, 0);
}

TEST(CameraObjectLocation, AffineMatrixLayoutAndRefusal)
{
    UOpenGLObjectLocation location;
    const double move[3] = { 1, 2, 3 };
    location.translateWithVector(move);
    double matrix[16];
    location.getObjectLocationAffineTransformMatrix(matrix);
    const double expected[16] = { 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1 };
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(matrix[i], expected[i]) << i;

    double notAffine[16];
    std::memcpy(notAffine, expected, sizeof notAffine);
    notAffine[15] = 2;
    const auto [name, reason]
        = raisedException([&] { location.setObjectLocationAffineTransformMatrix(notAffine); });
    EXPECT_EQ(name, openGLException);
    EXPECT_EQ(reason,
        QStringLiteral(
            "aMatrix[3], aMatrix[7], aMatrix[11] is Not '0.0' or aMatrix[15] is Not '1.0'"));
    expectNear3(location.objectLocationStruct().objectPosition, 1, 2, 3);

    const double center[3] = { 1, 2, 3 };
    UOpenGLObjectLocation identity;
    identity.adjustObjectPositionZWithObjectCenter(center);
    expectNear3(identity.objectLocationStruct().objectPosition, 0, 0, -3);
}

TEST(CameraObjectLocation, ConversionsRoundTripOnRandomFrames)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 50; ++trial) {
        const UOpenGLObjectLocation location = randomObjectLocation(random);
        const double point[3] = { 1.5, -2.0, 0.25 * trial };
        double global[3], back[3];
        location.getPositionOnGlobalCoord(global, point);
        location.getPositionOnObjectCoord(back, global);
        expectNear3(back, point[0], point[1], point[2], 1e-11);
        // Rotations keep lengths.
        double vector[3];
        location.getVectorOnGlobalCoord(vector, point);
        EXPECT_NEAR(std::hypot(vector[0], vector[1], vector[2]),
            std::hypot(point[0], point[1], point[2]), 1e-11);
    }
}
