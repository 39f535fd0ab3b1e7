#include "graphics/camera/UOpenGLEyeLocation.h"

#include "graphics/primitives/UGLVec3.h"

namespace {

constexpr double defaultEyeDistance = 1000.0;
constexpr double defaultDepthFar = 2000.0;
constexpr double pointsPerInch = 72.0;

} // namespace

UOpenGLEyeLocation::UOpenGLEyeLocation()
{
    const double position[3] = { 0.0, 0.0, defaultEyeDistance };
    const double direction[3] = { 0.0, 0.0, -1.0 };
    const double up[3] = { 0.0, 1.0, 0.0 };
    setEyeLocationWithPosition(position, direction, up, 0.0, defaultDepthFar, 1.0 / pointsPerInch);
}

void UOpenGLEyeLocation::setEyeLocationWithPosition(const double position[3],
    const double direction[3], const double upVector[3], double depthNear, double depthFar,
    double lengthPerPixel)
{
    _UGLEyeLocationStruct location {};
    const UGLVec3 eyeDirection = UGLWithLength(UGLVec3::at(direction), 1.0);
    const UGLVec3 side = UGLCross(eyeDirection, UGLVec3::at(upVector));
    UGLVec3::at(position).store(location.eyePosition);
    eyeDirection.store(location.eyeDirection);
    UGLWithLength(UGLCross(side, eyeDirection), 1.0).store(location.eyeUp);
    location.depthNear = depthNear;
    location.depthFar = depthFar;
    location.lengthPerPixel = lengthPerPixel;
    _eyeLocationStruct = location;
}

void UOpenGLEyeLocation::setEyeLocationWithEyeLocationStruct(
    const _UGLEyeLocationStruct& eyeLocation)
{
    setEyeLocationWithPosition(eyeLocation.eyePosition, eyeLocation.eyeDirection, eyeLocation.eyeUp,
        eyeLocation.depthNear, eyeLocation.depthFar, eyeLocation.lengthPerPixel);
}

void UOpenGLEyeLocation::getEyeAxes(double x[3], double y[3], double z[3]) const
{
    const UGLVec3 back = -UGLVec3::at(_eyeLocationStruct.eyeDirection);
    const UGLVec3 up = UGLVec3::at(_eyeLocationStruct.eyeUp);
    back.store(z);
    up.store(y);
    UGLCross(up, back).store(x);
}

void UOpenGLEyeLocation::getVectorOnGlobalCoord(
    double result[3], const double vectorOnEyeCoord[3]) const
{
    double x[3], y[3], z[3];
    getEyeAxes(x, y, z);
    const double l = _eyeLocationStruct.lengthPerPixel;
    for (int i = 0; i < 3; ++i)
        result[i]
            = (vectorOnEyeCoord[0] * x[i] + vectorOnEyeCoord[1] * y[i] + vectorOnEyeCoord[2] * z[i])
            * l;
}

void UOpenGLEyeLocation::getPositionOnGlobalCoord(
    double result[3], const double positionOnEyeCoord[3]) const
{
    getVectorOnGlobalCoord(result, positionOnEyeCoord);
    for (int i = 0; i < 3; ++i)
        result[i] += _eyeLocationStruct.eyePosition[i];
}

void UOpenGLEyeLocation::getVectorOnEyeCoord(
    double result[3], const double vectorOnGlobalCoord[3]) const
{
    // The axes are orthonormal, so the inverse of their matrix is its transpose.
    double x[3], y[3], z[3];
    getEyeAxes(x, y, z);
    const double l = _eyeLocationStruct.lengthPerPixel;
    const UGLVec3 v = UGLVec3::at(vectorOnGlobalCoord);
    const double e[3]
        = { UGLDot(v, UGLVec3::at(x)), UGLDot(v, UGLVec3::at(y)), UGLDot(v, UGLVec3::at(z)) };
    for (int i = 0; i < 3; ++i)
        result[i] = e[i] / l;
}

void UOpenGLEyeLocation::getPositionOnEyeCoord(
    double result[3], const double positionOnGlobalCoord[3]) const
{
    double relative[3];
    for (int i = 0; i < 3; ++i)
        relative[i] = positionOnGlobalCoord[i] - _eyeLocationStruct.eyePosition[i];
    getVectorOnEyeCoord(result, relative);
}
