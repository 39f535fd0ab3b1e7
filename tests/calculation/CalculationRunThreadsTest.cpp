#include "CalculationRunTestModels.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::unique_ptr<UFemWFMatrixCalculator> preparedCalculator(
    CalculatorTestModel& model, quint64 threads)
{
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    EXPECT_TRUE(calculator);
    if (!calculator)
        return nullptr;
    calculator->setCalculationThreadCount(threads);
    EXPECT_TRUE(calculator->prepareMatrixCalculation(&error));
    return calculator;
}

// Polls until the predicate holds; false after ten seconds.
template <class Predicate> bool waitFor(Predicate predicate)
{
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(100us);
    }
    return true;
}

bool bitwiseEqual(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

} // namespace

TEST(CalculationRunThreads, pauseAndResumeGiveBitwiseTheSameDisplacements)
{
    CalculatorTestModel model = latticeTower(6, 6, 12, 13);
    auto reference = preparedCalculator(model, 4);
    ASSERT_TRUE(reference);
    UErrorPtr error;
    ASSERT_TRUE(reference->runMatrixCalculation(&error));
    ASSERT_TRUE(reference->finalizeMatrixCalculation(&error));
    const auto expected = calculatorSolution(*reference, model.nodeCount(), model.caseCount());

    auto calculator = preparedCalculator(model, 3);
    ASSERT_TRUE(calculator);
    std::atomic<bool> done { false };
    bool solved = false;
    UErrorPtr runError;
    double runnerSeconds = 0.0;
    std::thread runner([&] {
        const auto start = std::chrono::steady_clock::now();
        solved = calculator->runMatrixCalculation(&runError);
        runnerSeconds
            = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        done = true;
    });
    int pauses = 0;
    while (!done && pauses < 5) {
        calculator->pauseCalculationWithFlag(true);
        if (waitFor([&] { return calculator->isCalculationPausing() || done; }) && !done) {
            ++pauses;
            const quint64 progress = calculator->currentProgress();
            std::this_thread::sleep_for(5ms);
            EXPECT_EQ(calculator->currentProgress(), progress);
            EXPECT_TRUE(calculator->isCalculationPausing());
        }
        calculator->pauseCalculationWithFlag(false);
        std::this_thread::sleep_for(2ms);
    }
    runner.join();
    ASSERT_TRUE(solved) << (runError ? runError->localizedDescription().toStdString() : "");
    EXPECT_GT(pauses, 0);
    // Each counted pause lasted at least its 5 ms sleep, which the run's time leaves out.
    EXPECT_LE(calculator->runCalculationTimeInterval(), runnerSeconds - 0.005 * pauses);
    EXPECT_GT(calculator->runCalculationTimeInterval(), 0.0);
    EXPECT_FALSE(calculator->isCalculationPausing());
    ASSERT_TRUE(calculator->finalizeMatrixCalculation(&error));
    EXPECT_TRUE(bitwiseEqual(
        calculatorSolution(*calculator, model.nodeCount(), model.caseCount()), expected));
    const quint64 total = calculator->progressTotalLength();
    EXPECT_EQ(calculator->currentProgress(), total);
    calculator->finish();
    EXPECT_EQ(calculator->progressTotalLength(), total);
    EXPECT_EQ(calculator->currentProgress(), total);
}

TEST(CalculationRunThreads, quitEndsTheRunWithTheCancelledError)
{
    CalculatorTestModel model = latticeTower(6, 6, 12, 13);
    // Quit while paused.
    {
        auto calculator = preparedCalculator(model, 3);
        ASSERT_TRUE(calculator);
        calculator->pauseCalculationWithFlag(true);
        bool solved = true;
        UErrorPtr error;
        std::thread runner([&] { solved = calculator->runMatrixCalculation(&error); });
        EXPECT_TRUE(waitFor([&] { return calculator->isCalculationPausing(); }));
        calculator->quitCalculation();
        runner.join();
        EXPECT_FALSE(solved);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 21099);
        EXPECT_TRUE(error->isUFemCalculationCanceledError());
        EXPECT_EQ(error->localizedDescription(), "Calculation has canceled.");
    }
    // Quit at some moment of the run, and quit asked before the solver existed. An optimised
    // build may solve this model before the quit arrives: such a run must then be whole.
    for (bool early : { false, true }) {
        UErrorPtr error;
        auto calculator = model.setUpCalculator(&error);
        ASSERT_TRUE(calculator);
        calculator->setCalculationThreadCount(2);
        if (early)
            calculator->quitCalculation();
        ASSERT_TRUE(calculator->prepareMatrixCalculation(&error));
        bool solved = true;
        std::thread runner([&] { solved = calculator->runMatrixCalculation(&error); });
        if (!early) {
            waitFor([&] { return calculator->currentProgress() > 0; });
            calculator->quitCalculation();
        }
        runner.join();
        if (early || !solved) {
            EXPECT_FALSE(solved) << early;
            ASSERT_TRUE(error);
            EXPECT_TRUE(error->isUFemCalculationCanceledError());
        } else {
            EXPECT_FALSE(error);
            EXPECT_EQ(calculator->currentProgress(), calculator->progressTotalLength());
        }
        calculator->finish();
    }
}

// The page policies change only how the matrices' storages take their pages, never a value: every
// policy gives the displacements bit for bit (FactorPopulateThreads checks the pages themselves).
TEST(CalculationRunThreads, everyPagePolicyGivesBitwiseTheSameDisplacements)
{
    CalculatorTestModel model = latticeTower(8, 8, 4, 2);
    std::vector<double> expected;
    for (const UMemoryPagePolicy policy :
        { UMemoryPagePolicy::residentHugePages, UMemoryPagePolicy::faultedHugePages,
            UMemoryPagePolicy::smallPages, UMemoryPagePolicy::adaptivePages }) {
        UErrorPtr error;
        auto calculator = model.setUpCalculator(&error, policy);
        ASSERT_TRUE(calculator);
        calculator->setCalculationThreadCount(3);
        ASSERT_TRUE(calculator->prepareMatrixCalculation(&error));
        ASSERT_TRUE(calculator->runMatrixCalculation(&error));
        ASSERT_TRUE(calculator->finalizeMatrixCalculation(&error));
        const auto solution = calculatorSolution(*calculator, model.nodeCount(), model.caseCount());
        if (expected.empty())
            expected = solution;
        EXPECT_TRUE(bitwiseEqual(solution, expected)) << int(policy);
        calculator->finish();
    }
}
