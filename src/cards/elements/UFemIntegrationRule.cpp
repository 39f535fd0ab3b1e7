#include "cards/elements/UFemIntegrationRule.h"

#include "foundation/errors/UException.h"

#include <array>
#include <cstdlib>

namespace {

constexpr int UFemLargestGaussLegendreRule = 5;
constexpr int UFemLargestEqualCellRule = 120;

struct GaussLegendrePoint {
    double abscissa;
    double weight;
};

// The ten-decimal values, not the full-precision ones: results are compared with earlier
// calculations made with these.
constexpr GaussLegendrePoint rule1[] = { { 0.0, 2.0 } };
constexpr GaussLegendrePoint rule2[] = { { -0.5773502692, 1.0 }, { 0.5773502692, 1.0 } };
constexpr GaussLegendrePoint rule3[]
    = { { -0.7745966692, 0.5555555556 }, { 0.0, 0.8888888889 }, { 0.7745966692, 0.5555555556 } };
constexpr GaussLegendrePoint rule4[]
    = { { -0.8611363116, 0.3478548451 }, { -0.3399810436, 0.6521451549 },
          { 0.3399810436, 0.6521451549 }, { 0.8611363116, 0.3478548451 } };
constexpr GaussLegendrePoint rule5[]
    = { { -0.9061798459, 0.2369268851 }, { -0.5384693101, 0.4786286705 }, { 0.0, 0.5688888889 },
          { 0.5384693101, 0.4786286705 }, { 0.9061798459, 0.2369268851 } };

constexpr std::array<const GaussLegendrePoint*, UFemLargestGaussLegendreRule> gaussLegendreRules
    = { rule1, rule2, rule3, rule4, rule5 };

bool isAllowedIntegralNumber(int integralNumber)
{
    return (integralNumber >= -UFemLargestGaussLegendreRule && integralNumber <= -1)
        || (integralNumber >= 1 && integralNumber <= UFemLargestEqualCellRule);
}

quint64 pointsOfRule(int integralNumber)
{
    return static_cast<quint64>(std::abs(integralNumber));
}

} // namespace

void UFemGaussLegendrePointAndWeight(
    double* weight, double* point, int integralNumber, quint64 index)
{
    if (!isAllowedIntegralNumber(integralNumber))
        UFemRaiseProgramError(QStringLiteral("Unexpected 'integralNumber'."));
    if (integralNumber > 0) {
        if (index >= static_cast<quint64>(integralNumber))
            UFemRaiseProgramError(QStringLiteral("i_integral_each >= anIntegralNumber"));
        const double cellWidth = 1.0 / integralNumber;
        const double middle = static_cast<double>(index) + 0.5;
        *point = (middle + middle) * cellWidth - 1.0;
        *weight = 2.0 * cellWidth;
        return;
    }
    // Silently writing nothing would leave the caller integrating with stale values.
    if (index >= pointsOfRule(integralNumber))
        UFemRaiseProgramError(QStringLiteral("i_integral_each >= anIntegralNumber"));
    const GaussLegendrePoint& rulePoint
        = gaussLegendreRules[pointsOfRule(integralNumber) - 1][index];
    *point = rulePoint.abscissa;
    *weight = rulePoint.weight;
}

void UFemGaussIntegrationPoints(double* weight, double* pointArray, quint64 dimensionNumber,
    int integralNumber1, int integralNumber2, int integralNumber3, quint64 index)
{
    if (dimensionNumber < 1 || dimensionNumber > 3)
        UFemRaiseProgramError(QStringLiteral("'dimensionNumber' is NOT 1, 2, or 3."));
    const int integralNumbers[3] = { integralNumber1, integralNumber2, integralNumber3 };
    for (quint64 dimension = 0; dimension < dimensionNumber; ++dimension) {
        if (!isAllowedIntegralNumber(integralNumbers[dimension]))
            UFemRaiseProgramError(QStringLiteral("'integralNumber' is too large."));
    }
    double productWeight = 1.0;
    quint64 remainingIndex = index;
    for (quint64 dimension = dimensionNumber; dimension-- > 0;) {
        const quint64 points = pointsOfRule(integralNumbers[dimension]);
        const quint64 localIndex = remainingIndex % points;
        remainingIndex /= points;
        double localWeight = 0.0;
        UFemGaussLegendrePointAndWeight(
            &localWeight, &pointArray[dimension], integralNumbers[dimension], localIndex);
        productWeight *= localWeight;
    }
    *weight = productWeight;
}

quint64 UFemIntegrationPointCount(
    quint64 dimensionNumber, int integralNumber1, int integralNumber2, int integralNumber3)
{
    if (dimensionNumber < 1 || dimensionNumber > 3)
        UFemRaiseProgramError(QStringLiteral("'aDimensionNumber' is NOT 1, 2, or 3."));
    const int integralNumbers[3] = { integralNumber1, integralNumber2, integralNumber3 };
    quint64 count = 1;
    for (quint64 dimension = 0; dimension < dimensionNumber; ++dimension) {
        if (!isAllowedIntegralNumber(integralNumbers[dimension]))
            UFemRaiseProgramError(QStringLiteral("Unexpected 'integralNumber'."));
        count *= pointsOfRule(integralNumbers[dimension]);
    }
    return count;
}
