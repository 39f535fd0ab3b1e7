#include "cards/elements/UFemIntegrationRule.h"

#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QString programErrorReason(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), UFemProgramErrorExceptionName);
        return exception.reason();
    }
    ADD_FAILURE() << "no program error";
    return {};
}

double weightSum(int integralNumber)
{
    double sum = 0.0;
    const quint64 count = UFemIntegrationPointCount(1, integralNumber, 0, 0);
    for (quint64 index = 0; index < count; ++index) {
        double weight = 0.0;
        double point = 0.0;
        UFemGaussIntegrationPoints(&weight, &point, 1, integralNumber, 0, 0, index);
        sum += weight;
    }
    return sum;
}

} // namespace

TEST(IntegrationRule, OnePointRulesAndEqualCells)
{
    double weight = 0.0;
    double point = 1.0;
    UFemGaussLegendrePointAndWeight(&weight, &point, -1, 0);
    EXPECT_EQ(point, 0.0);
    EXPECT_EQ(weight, 2.0);
    UFemGaussLegendrePointAndWeight(&weight, &point, 1, 0);
    EXPECT_EQ(point, 0.0);
    EXPECT_EQ(weight, 2.0);

    const double quarterCells[] = { -0.75, -0.25, 0.25, 0.75 };
    for (quint64 index = 0; index < 4; ++index) {
        UFemGaussLegendrePointAndWeight(&weight, &point, 4, index);
        EXPECT_DOUBLE_EQ(point, quarterCells[index]);
        EXPECT_EQ(weight, 0.5);
    }
    UFemGaussLegendrePointAndWeight(&weight, &point, 120, 119);
    EXPECT_DOUBLE_EQ(point, 1.0 - 1.0 / 120.0);
}

TEST(IntegrationRule, WeightsSumToTwoWithinTheTenDecimalRounding)
{
    for (int integralNumber : { -1, -2, -4, 1, 7, 120 })
        EXPECT_NEAR(weightSum(integralNumber), 2.0, 1e-12) << integralNumber;
    for (int integralNumber : { -3, -5 })
        EXPECT_NEAR(weightSum(integralNumber), 2.0000000001, 1e-12) << integralNumber;
}

TEST(IntegrationRule, CountsAndTheLastDimensionVaryingFastest)
{
    EXPECT_EQ(UFemIntegrationPointCount(3, -4, -4, -2), 32u);
    EXPECT_EQ(UFemIntegrationPointCount(3, -2, -2, -2), 8u);
    EXPECT_EQ(UFemIntegrationPointCount(1, 7, 0, 1000), 7u);

    double weight = 0.0;
    double point[3] = {};
    UFemGaussIntegrationPoints(&weight, point, 3, -4, -4, -2, 9);
    EXPECT_EQ(point[0], -0.3399810436);
    EXPECT_EQ(point[1], -0.8611363116);
    EXPECT_EQ(point[2], 0.5773502692);
    EXPECT_EQ(weight, 1.0 * 0.3478548451 * 0.6521451549);

    // Every point of the Quad rule appears exactly once.
    int seen[4][4][2] = {};
    for (quint64 index = 0; index < 32; ++index) {
        UFemGaussIntegrationPoints(&weight, point, 3, -4, -4, -2, index);
        EXPECT_EQ(index % 2, point[2] > 0 ? 1u : 0u);
        ++seen[index / 8][(index / 2) % 4][index % 2];
    }
    for (const auto& plane : seen)
        for (const auto& row : plane)
            for (int count : row)
                EXPECT_EQ(count, 1);
}

TEST(IntegrationRule, RulesOutsideTheTableAreProgramErrors)
{
    double weight = 0.0;
    double point[3] = {};
    EXPECT_EQ(programErrorReason([&] { UFemIntegrationPointCount(1, 121, 0, 0); }),
        "Unexpected 'integralNumber'.");
    EXPECT_EQ(programErrorReason([&] { UFemIntegrationPointCount(2, -2, -6, 0); }),
        "Unexpected 'integralNumber'.");
    EXPECT_EQ(programErrorReason([&] { UFemIntegrationPointCount(4, -2, -2, -2); }),
        "'aDimensionNumber' is NOT 1, 2, or 3.");
    EXPECT_EQ(
        programErrorReason([&] { UFemGaussIntegrationPoints(&weight, point, 1, 121, 0, 0, 0); }),
        "'integralNumber' is too large.");
    EXPECT_EQ(
        programErrorReason([&] { UFemGaussIntegrationPoints(&weight, point, 3, -2, -2, 0, 0); }),
        "'integralNumber' is too large.");
    EXPECT_EQ(
        programErrorReason([&] { UFemGaussIntegrationPoints(&weight, point, 0, -2, 0, 0, 0); }),
        "'dimensionNumber' is NOT 1, 2, or 3.");
    EXPECT_EQ(programErrorReason([&] { UFemGaussLegendrePointAndWeight(&weight, point, 0, 0); }),
        "Unexpected 'integralNumber'.");
    EXPECT_EQ(programErrorReason([&] { UFemGaussLegendrePointAndWeight(&weight, point, 3, 3); }),
        "i_integral_each >= anIntegralNumber");
    EXPECT_EQ(programErrorReason([&] { UFemGaussLegendrePointAndWeight(&weight, point, -2, 2); }),
        "i_integral_each >= anIntegralNumber");
}
