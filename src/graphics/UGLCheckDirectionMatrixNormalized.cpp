#include "graphics/UGLCheckDirectionMatrixNormalized.h"

#include "graphics/UGLVector3.h"

#include <cmath>

namespace {

constexpr double tolerance = 0.01;

bool lengthIsOff(const double row[3], double referenceLength)
{
    return std::fabs(referenceLength / UGLVector3::length(row) - 1.0) > tolerance;
}

bool rowIsOff(const double corrected[3], const double given[3], double referenceLength)
{
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(corrected[i] - given[i]) > tolerance * referenceLength)
            return true;
    }
    return false;
}

} // namespace

bool UGLCheckDirectionMatrixNormalized(double direction[3][3], double length)
{
    using namespace UGLVector3;
    bool failed = false;
    double referenceLength = length;
    if (length != 0.0) {
        const double s = length / UGLVector3::length(direction[0]);
        failed = std::fabs(s - 1.0) > tolerance;
        scale(direction[0], s);
    } else {
        referenceLength = UGLVector3::length(direction[0]);
    }
    failed = failed || lengthIsOff(direction[1], referenceLength)
        || lengthIsOff(direction[2], referenceLength);

    double r2[3], r1[3];
    cross(r2, direction[0], direction[1]);
    setLength(r2, referenceLength);
    cross(r1, r2, direction[0]);
    setLength(r1, referenceLength);
    failed = failed || rowIsOff(r1, direction[1], referenceLength)
        || rowIsOff(r2, direction[2], referenceLength);
    copy(direction[1], r1);
    copy(direction[2], r2);
    return failed;
}
