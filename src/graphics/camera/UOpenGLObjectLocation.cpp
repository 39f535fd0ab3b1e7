#include "graphics/camera/UOpenGLObjectLocation.h"

#include "graphics/opengl/UOpenGLException.h"
#include "graphics/primitives/UGLCheckDirectionMatrixNormalized.h"
#include "graphics/primitives/UGLVec3.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double affineTolerance = 0.0001;
using Matrix4 = double[4][4];

void setIdentity(Matrix4 m)
{
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j)
            m[i][j] = i == j ? 1.0 : 0.0;
    }
}

// Row-vector convention: a point p maps to [p 1] x m, so the translation sits in the last row.
void setTranslation(Matrix4 m, const double t[3], double sign)
{
    setIdentity(m);
    for (int j = 0; j < 3; ++j)
        m[3][j] = sign * t[j];
}

void setRotation(Matrix4 m, const double axisVector[3], double angle)
{
    double a[3];
    const UGLVec3 axis = UGLVec3::at(axisVector);
    UGLWithLength(axis, 1.0).store(a);
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double skew[3][3] = { { 0.0, -a[2], a[1] }, { a[2], 0.0, -a[0] }, { -a[1], a[0], 0.0 } };
    setIdentity(m);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            m[i][j] = a[i] * a[j] * (1.0 - c) + (i == j ? c : 0.0) + s * skew[i][j];
    }
}

void multiply(Matrix4 result, const Matrix4 a, const Matrix4 b)
{
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += a[i][k] * b[k][j];
            result[i][j] = sum;
        }
    }
}

} // namespace

UOpenGLObjectLocation::UOpenGLObjectLocation()
    : _objectLocationStruct { { 0.0, 0.0, 0.0 },
        { { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, { 0.0, 0.0, 1.0 } } }
{
}

void UOpenGLObjectLocation::setObjectLocationWithPosition(
    const double position[3], const double directionXYZ[3][3])
{
    _UGLObjectLocationStruct location {};
    std::memcpy(location.objectDirection, directionXYZ, sizeof location.objectDirection);
    if (!UGLCheckDirectionMatrixNormalized(location.objectDirection, 1.0)) {
        UGLRaiseOpenGLException(QStringLiteral("setObjectLocationWithPosition"),
            QStringLiteral("'objectDirection' is not normalized."));
    }
    UGLVec3::at(position).store(location.objectPosition);
    _objectLocationStruct = location;
}

void UOpenGLObjectLocation::setObjectLocationWithObjectLocationStruct(
    const _UGLObjectLocationStruct& objectLocation)
{
    setObjectLocationWithPosition(objectLocation.objectPosition, objectLocation.objectDirection);
}

void UOpenGLObjectLocation::translateWithVector(const double vector[3])
{
    for (int i = 0; i < 3; ++i)
        _objectLocationStruct.objectPosition[i] += vector[i];
}

void UOpenGLObjectLocation::adjustObjectPositionZWithObjectCenter(const double objectCenter[3])
{
    const auto& d = _objectLocationStruct.objectDirection;
    _objectLocationStruct.objectPosition[2]
        = -(d[0][2] * objectCenter[0] + d[1][2] * objectCenter[1] + d[2][2] * objectCenter[2]);
}

void UOpenGLObjectLocation::rotateWithCenterPoint(
    const double centerPoint[3], const double axisVector[3], double angle)
{
    Matrix4 toCenter, rotation, fromCenter, current;
    setTranslation(toCenter, centerPoint, -1.0);
    setRotation(rotation, axisVector, angle);
    setTranslation(fromCenter, centerPoint, 1.0);
    getObjectLocationAffineTransformMatrix(&current[0][0]);
    Matrix4 first, second, result;
    multiply(first, toCenter, rotation);
    multiply(second, first, fromCenter);
    multiply(result, second, current);
    setObjectLocationAffineTransformMatrix(&result[0][0]);
}

void UOpenGLObjectLocation::getObjectLocationAffineTransformMatrix(double matrix[16]) const
{
    for (int row = 0; row < 3; ++row) {
        for (int j = 0; j < 3; ++j)
            matrix[4 * row + j] = _objectLocationStruct.objectDirection[row][j];
        matrix[4 * row + 3] = 0.0;
    }
    for (int j = 0; j < 3; ++j)
        matrix[12 + j] = _objectLocationStruct.objectPosition[j];
    matrix[15] = 1.0;
}

void UOpenGLObjectLocation::setObjectLocationAffineTransformMatrix(const double matrix[16])
{
    if (std::fabs(matrix[3]) > affineTolerance || std::fabs(matrix[7]) > affineTolerance
        || std::fabs(matrix[11]) > affineTolerance
        || std::fabs(matrix[15] - 1.0) > affineTolerance) {
        UGLRaiseOpenGLException(QStringLiteral("setObjectLocationAffineTransformMatrix"),
            QStringLiteral(
                "aMatrix[3], aMatrix[7], aMatrix[11] is Not '0.0' or aMatrix[15] is Not '1.0'"));
    }
    for (int row = 0; row < 3; ++row) {
        for (int j = 0; j < 3; ++j)
            _objectLocationStruct.objectDirection[row][j] = matrix[4 * row + j];
    }
    for (int j = 0; j < 3; ++j)
        _objectLocationStruct.objectPosition[j] = matrix[12 + j];
}

void UOpenGLObjectLocation::getVectorOnGlobalCoord(
    double result[3], const double vectorOnObjectCoord[3]) const
{
    const auto& d = _objectLocationStruct.objectDirection;
    for (int j = 0; j < 3; ++j)
        result[j] = vectorOnObjectCoord[0] * d[0][j] + vectorOnObjectCoord[1] * d[1][j]
            + vectorOnObjectCoord[2] * d[2][j];
}

void UOpenGLObjectLocation::getPositionOnGlobalCoord(
    double result[3], const double positionOnObjectCoord[3]) const
{
    getVectorOnGlobalCoord(result, positionOnObjectCoord);
    for (int j = 0; j < 3; ++j)
        result[j] += _objectLocationStruct.objectPosition[j];
}

void UOpenGLObjectLocation::getVectorOnObjectCoord(
    double result[3], const double vectorOnGlobalCoord[3]) const
{
    // g = o D with D's rows the axes, so o = g D^-1; D^-1 by cofactors over the determinant.
    const auto& d = _objectLocationStruct.objectDirection;
    double inverse[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            inverse[i][j] = d[r0][c0] * d[r1][c1] - d[r0][c1] * d[r1][c0];
        }
    }
    const double determinant
        = d[0][0] * inverse[0][0] + d[0][1] * inverse[1][0] + d[0][2] * inverse[2][0];
    for (int j = 0; j < 3; ++j) {
        result[j] = (vectorOnGlobalCoord[0] * inverse[0][j] + vectorOnGlobalCoord[1] * inverse[1][j]
                        + vectorOnGlobalCoord[2] * inverse[2][j])
            / determinant;
    }
}

void UOpenGLObjectLocation::getPositionOnObjectCoord(
    double result[3], const double positionOnGlobalCoord[3]) const
{
    double relative[3];
    for (int j = 0; j < 3; ++j)
        relative[j] = positionOnGlobalCoord[j] - _objectLocationStruct.objectPosition[j];
    getVectorOnObjectCoord(result, relative);
}
