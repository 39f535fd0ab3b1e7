#include "graphics/primitives/UGLCheckDirectionMatrixNormalized.h"

#include "graphics/primitives/UGLVec3.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double tolerance = 0.01;

bool lengthIsOff(const double row[3], double referenceLength)
{
    return std::fabs(referenceLength / UGLLength(UGLVec3::at(row)) - 1.0) > tolerance;
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
    bool failed = false;
    double referenceLength = length;
    const UGLVec3 first = UGLVec3::at(direction[0]);
    if (length != 0.0) {
        const double s = length / UGLLength(first);
        failed = std::fabs(s - 1.0) > tolerance;
        (s * first).store(direction[0]);
    } else {
        referenceLength = UGLLength(first);
    }
    failed = failed || lengthIsOff(direction[1], referenceLength)
        || lengthIsOff(direction[2], referenceLength);

    double r2[3], r1[3];
    UGLWithLength(UGLCross(UGLVec3::at(direction[0]), UGLVec3::at(direction[1])), referenceLength)
        .store(r2);
    UGLWithLength(UGLCross(UGLVec3::at(r2), UGLVec3::at(direction[0])), referenceLength).store(r1);
    failed = failed || rowIsOff(r1, direction[1], referenceLength)
        || rowIsOff(r2, direction[2], referenceLength);
    std::copy(r1, r1 + 3, direction[1]);
    std::copy(r2, r2 + 3, direction[2]);
    return !failed;
}
