#include "UFemLDUSolverTestSupport.h"

#include "foundation/errors/UError.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Solution = LDUSolutionTables;

class LDUSolverThreads : public ::testing::Test {
protected:
    Solution solve(const LDUTestSystem& system, quint64 threads)
    {
        auto task = makeLDUTask(system, &delegate);
        EXPECT_NE(nullptr, task);
        UErrorPtr error;
        EXPECT_TRUE(task->runMatrixCalculation(threads, &error));
        EXPECT_EQ(task->progressTotalLength(), task->currentProgress());
        return solutionTablesOf(*task);
    }

    LDUTestDelegate delegate;
    // Narrow bands leave the pivots' chain few L jobs to run beside; on wide ones the jobs of a
    // column are handed out before its pivot has begun; the split exercises disconnected parts.
    LDUTestSystem narrow = makeBlockBandedSystem(14, 13, 5, 0.7, 101);
    LDUTestSystem wide = makeBlockBandedSystem(12, 3, 40, 0.5, 102, 7);
    // Loads only from page 9 on: pages before it publish their (absent) Y pages out of order.
    LDUTestSystem lateLoad = [] {
        LDUTestSystem system = makeBlockBandedSystem(14, 2, 6, 0.7, 103);
        std::fill(system.F.begin(), system.F.begin() + 9 * 48 * 2, 0.0);
        return system;
    }();
};

TEST_F(LDUSolverThreads, SolutionIsBitwiseTheSameForAnyThreadCount)
{
    for (const LDUTestSystem* system : { &narrow, &wide, &lateLoad }) {
        const Solution reference = solve(*system, 1);
        auto task = makeLDUTask(*system, &delegate);
        UErrorPtr error;
        ASSERT_TRUE(task->runMatrixCalculation(1, &error));
        EXPECT_LT(relativeResidual(*system, solutionOf(*task, *system)), 1e-10);
        for (quint64 threads : { 2, 4, 8 }) {
            const Solution solution = solve(*system, threads);
            EXPECT_TRUE(reference == solution) << threads << " threads";
        }
    }
}

TEST_F(LDUSolverThreads, SinglePageWithManyThreads)
{
    // The first thread does pivot 0 and Y 0 and moves the schedule on; the others wait for it.
    const LDUTestSystem single = makeBlockBandedSystem(1, 25, 4, 1.0, 104);
    const Solution reference = solve(single, 1);
    for (quint64 threads : { 4, 8 })
        EXPECT_TRUE(reference == solve(single, threads)) << threads << " threads";
}

TEST_F(LDUSolverThreads, PausesAndResumesGiveTheSameSolution)
{
    std::mt19937_64 random(5);
    for (const LDUTestSystem* system : { &narrow, &wide }) {
        const Solution reference = solve(*system, 1);
        auto task = makeLDUTask(*system, &delegate);
        std::atomic<bool> done { false };
        bool solved = false;
        std::thread runner([&] {
            UErrorPtr error;
            solved = task->runMatrixCalculation(4, &error);
            done = true;
        });
        quint64 lastProgress = 0;
        int pauses = 0;
        while (!done) {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
            task->pauseCalculationWithFlag(true);
            ++pauses;
            const quint64 progress = task->currentProgress();
            EXPECT_GE(progress, lastProgress);
            lastProgress = progress;
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 1000));
            task->pauseCalculationWithFlag(false);
        }
        runner.join();
        EXPECT_TRUE(solved);
        EXPECT_GT(pauses, 0);
        EXPECT_EQ(task->progressTotalLength(), task->currentProgress());
        const Solution solution = solutionTablesOf(*task);
        EXPECT_TRUE(reference == solution);
    }
}

TEST_F(LDUSolverThreads, QuitEndsWithTheCancelledError)
{
    // Quit before the run, quit while paused, and quit at some moment of a run.
    for (int when = 0; when < 3; ++when) {
        auto task = makeLDUTask(wide, &delegate);
        if (when == 0)
            task->quitCalculation();
        if (when == 1)
            task->pauseCalculationWithFlag(true);
        UErrorPtr error;
        bool solved = true;
        std::thread runner([&] { solved = task->runMatrixCalculation(4, &error); });
        if (when == 1) {
            while (!task->isCalculationPausing())
                std::this_thread::yield();
            task->quitCalculation();
        }
        if (when == 2) {
            while (
                task->currentProgress() == 0 && task->threadState() != UThreadTaskStateValueValid)
                std::this_thread::yield();
            task->quitCalculation();
        }
        runner.join();
        if (when < 2 || !solved) {
            EXPECT_FALSE(solved) << when;
            ASSERT_NE(nullptr, error) << when;
            EXPECT_EQ(21099, error->code());
            EXPECT_TRUE(error->isUFemCalculationCanceledError());
        }
    }
}

} // namespace
