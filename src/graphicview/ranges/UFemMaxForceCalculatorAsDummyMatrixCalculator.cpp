#include "graphicview/ranges/UFemMaxForceCalculatorAsDummyMatrixCalculator.h"

#include "foundation/errors/UException.h"

#include <cmath>

double UFemMaxForceCalculatorAsDummyMatrixCalculator::maxForceSize() const
{
    return std::sqrt(maxForceMomentSquare_[0]);
}

double UFemMaxForceCalculatorAsDummyMatrixCalculator::maxMomentSize() const
{
    return std::sqrt(maxForceMomentSquare_[1]);
}

void UFemMaxForceCalculatorAsDummyMatrixCalculator::addForceMatrix(
    const double* matrix, const UFemCardName&, quint64 rotation, const UFemCardName&)
{
    if (rotation >= maxForceMomentSquare_.size())
        UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown rotation."), long(rotation));
    const double square = matrix[0] * matrix[0] + matrix[1] * matrix[1] + matrix[2] * matrix[2];
    if (square > maxForceMomentSquare_[rotation])
        maxForceMomentSquare_[rotation] = square;
}
