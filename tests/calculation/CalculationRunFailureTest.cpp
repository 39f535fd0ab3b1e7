#include "MatrixCalculatorTestSupport.h"

#include "calculation/UFemWFCalculationExceptionError.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <limits>
#include <new>

namespace {

// Node 0 fixed, a unit spring to node 1 and a spring of `k` on to node 2, along x.
CalculatorTestModel twoSprings(double k, quint64 cases)
{
    CalculatorTestModel model({ { 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 2.0, 0.0, 0.0 } }, cases);
    model.addSpring(0, 1, 0, 1.0);
    model.addSpring(1, 2, 0, k);
    model.fix(0, 0, 0);
    for (quint64 c = 0; c < cases; ++c)
        model.addLoad(1, 0, c, { 1.0, 0.0, 0.0 });
    return model;
}

std::string textOf(const UErrorPtr& error)
{
    return error ? error->localizedDescription().toStdString() : "no error";
}

} // namespace

TEST(CalculationRun, aDenormalPivotFailsNamingItsDegreeOfFreedomAndNothingIsRaised)
{
    // 5e-324 passes "positive and not below 1e-13 of the diagonal", but 1/5e-324 is infinite.
    CalculatorTestModel model = twoSprings(std::numeric_limits<double>::denorm_min(), 1);
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    ASSERT_TRUE(calculator) << textOf(error);
    calculator->setCalculationThreadCount(2);
    ASSERT_TRUE(calculator->prepareMatrixCalculation(&error));
    EXPECT_FALSE(calculator->runMatrixCalculation(&error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 21011);
    EXPECT_EQ(error->localizedDescription(),
        "Calculation failed. Stiffness Matrix is singular or not positive definite.\n"
        "( DOF: N2@TX )");

    // Laying out a solution that does not exist is an error of the calculation, not an exception
    // that would leave the calculation thread.
    UErrorPtr finalizeError;
    bool finalized = true;
    EXPECT_NO_THROW(finalized = calculator->finalizeMatrixCalculation(&finalizeError));
    EXPECT_FALSE(finalized);
    ASSERT_TRUE(finalizeError);
    EXPECT_EQ(finalizeError->code(), 81004);
}

TEST(CalculationRun, nonFiniteLoadsAndForcedDisplacementsFailNamingNodeDirectionAndCase)
{
    constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double Infinity = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        void (*spoil)(CalculatorTestModel&);
        const char* description;
    };
    const Case cases[] = {
        { "NaN load",
            [](CalculatorTestModel& model) {
                model.addLoad(2, 0, 1, { 0.0, NaN, 0.0 });
            },
            "Calculation failed. A non-finite value found in Force Matrix of Case 'C1'.\n"
            "( DOF: N2@TY )" },
        { "infinite moment",
            [](CalculatorTestModel& model) {
                model.addLoad(1, 1, 0, { 0.0, 0.0, -Infinity });
            },
            "Calculation failed. A non-finite value found in Force Matrix of Case 'C0'.\n"
            "( DOF: N1@RZ )" },
        { "infinite forced displacement",
            [](CalculatorTestModel& model) { model.force(2, 0, 0, Infinity); },
            "Calculation failed. A non-finite value found in Forced Displacement.\n"
            "( DOF: N2@TX )" },
    };
    for (const Case& spoilt : cases) {
        CalculatorTestModel model = twoSprings(2.0, 2);
        spoilt.spoil(model);
        UErrorPtr error;
        EXPECT_FALSE(model.setUpCalculator(&error)) << spoilt.name;
        ASSERT_TRUE(error) << spoilt.name;
        EXPECT_EQ(error->code(), 21011) << spoilt.name;
        EXPECT_EQ(error->localizedDescription(), spoilt.description) << spoilt.name;
    }
    // Large finite values are loads like any other.
    CalculatorTestModel model = twoSprings(2.0, 1);
    model.addLoad(2, 0, 0, { std::numeric_limits<double>::max() / 4, 0.0, 0.0 });
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    ASSERT_TRUE(calculator) << textOf(error);
    EXPECT_TRUE(solveCalculator(*calculator, &error)) << textOf(error);
}

TEST(CalculationRun, exhaustedMemoryIsTheAllocationErrorAndOtherExceptionsTheUnexpectedOne)
{
    EXPECT_EQ(
        UFemWFCalculationErrorWithException(std::make_exception_ptr(std::bad_alloc()))->code(),
        81001);
    std::exception_ptr arenaFailure;
    try {
        UFemRaiseMemoryAllocationFailed();
    } catch (...) {
        arenaFailure = std::current_exception();
    }
    EXPECT_EQ(UFemWFCalculationErrorWithException(arenaFailure)->code(), 81001);

    std::exception_ptr programError;
    try {
        UFemRaiseProgramError(QStringLiteral("A page without its row."));
    } catch (...) {
        programError = std::current_exception();
    }
    const UErrorPtr unexpected = UFemWFCalculationErrorWithException(programError);
    EXPECT_EQ(unexpected->code(), 81004);
    EXPECT_EQ(
        unexpected->localizedDescription(), "Unexpected error occurred. A page without its row.");

    // A step that raises answers false with that error.
    UErrorPtr error;
    EXPECT_FALSE(UFemWFRunCalculationStep(&error, []() -> bool { throw std::bad_alloc(); }));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81001);
}

TEST(CalculationRun, aProgramErrorWhileBuildingOrLayingOutIsTheCalculationsError)
{
    // Steps called out of order raise inside; the caller gets the unexpected error instead.
    CalculatorTestModel model = twoSprings(2.0, 1);
    UFemWFMatrixCalculator calculator(&model, model.nodeCount());
    UErrorPtr prepareError;
    bool prepared = true;
    EXPECT_NO_THROW(prepared = calculator.prepareMatrixCalculation(&prepareError));
    EXPECT_FALSE(prepared);
    ASSERT_TRUE(prepareError);
    EXPECT_EQ(prepareError->code(), 81004);
    UErrorPtr finalizeError;
    EXPECT_FALSE(calculator.finalizeMatrixCalculation(&finalizeError));
    ASSERT_TRUE(finalizeError);
    EXPECT_EQ(finalizeError->code(), 81004);
}
