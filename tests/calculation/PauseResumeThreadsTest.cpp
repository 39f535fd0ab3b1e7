#include "CalculationRunTestModels.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// ThreadSanitizer runs many times slower: fewer pauses there.
#if defined(__SANITIZE_THREAD__)
constexpr int PauseResumeCount = 150;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
constexpr int PauseResumeCount = 150;
#else
constexpr int PauseResumeCount = 2000;
#endif
#else
constexpr int PauseResumeCount = 2000;
#endif
constexpr int MaxPausesPerRun = 20;
// A run that has not ended this long after its last resume is hung; quit frees it.
constexpr auto HangDeadline = 5s;

std::unique_ptr<UFemWFMatrixCalculator> preparedCalculator(
    CalculatorTestModel& model, quint64 threads)
{
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    if (!calculator || !calculator->prepareMatrixCalculation(&error))
        return nullptr;
    calculator->setCalculationThreadCount(threads);
    return calculator;
}

bool bitwiseEqual(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

struct Tally {
    int runs = 0;
    int pauses = 0;
    int hangs = 0;
    int thrown = 0;
    int unsolved = 0;
    int differing = 0;
};

// One calculation run on its own thread, as the calculation thread would run it.
class Runner {
public:
    explicit Runner(UFemWFMatrixCalculator& calculator)
        : thread_([this, &calculator] {
            try {
                UErrorPtr error;
                solved_ = calculator.runMatrixCalculation(&error)
                    && calculator.finalizeMatrixCalculation(&error);
                error_ = error;
            } catch (const std::exception&) {
                thrown_ = true;
            }
            done_ = true;
        })
    {
    }
    ~Runner() { thread_.join(); }
    bool done() const { return done_; }
    bool waitDone(Clock::duration timeout) const
    {
        const auto deadline = Clock::now() + timeout;
        while (!done_ && Clock::now() < deadline)
            std::this_thread::sleep_for(50us);
        return done_;
    }
    bool solved() const { return solved_; }
    bool thrown() const { return thrown_; }

private:
    std::atomic<bool> done_ { false };
    bool solved_ = false;
    bool thrown_ = false;
    UErrorPtr error_;
    std::thread thread_;
};

// Runs the model again and again, pausing and resuming each run at random moments (some resumes
// at once), until `PauseResumeCount` pauses were made; every run must end solved with `expected`.
Tally stressPauseResume(CalculatorTestModel& model, quint64 threads,
    const std::vector<double>& expected, Clock::duration runTime, std::mt19937_64& random)
{
    Tally tally;
    const auto spread = std::max<Clock::duration::rep>(1, (runTime / 3).count());
    while (tally.pauses < PauseResumeCount) {
        auto calculator = preparedCalculator(model, threads);
        if (!calculator)
            return tally;
        ++tally.runs;
        {
            Runner runner(*calculator);
            const int pauses = 1 + int(random() % MaxPausesPerRun);
            for (int i = 0; i < pauses && !runner.done(); ++i) {
                std::this_thread::sleep_for(Clock::duration(random() % spread));
                calculator->pauseCalculationWithFlag(true);
                if (random() % 2)
                    std::this_thread::sleep_for(Clock::duration(random() % spread) / 4);
                calculator->pauseCalculationWithFlag(false);
                ++tally.pauses;
            }
            if (!runner.waitDone(HangDeadline)) {
                ++tally.hangs;
                calculator->quitCalculation();
            }
            if (!runner.waitDone(HangDeadline)) {
                // Not even a quit ends it: joining would block the whole suite.
                std::fprintf(stderr, "A paused run ignores the quit; giving up.\n");
                std::abort();
            }
            if (runner.thrown())
                ++tally.thrown;
            else if (!runner.solved())
                ++tally.unsolved;
            else if (!bitwiseEqual(
                         calculatorSolution(*calculator, model.nodeCount(), model.caseCount()),
                         expected))
                ++tally.differing;
        }
        calculator->finish();
    }
    return tally;
}

TEST(PauseResumeThreads, everyRunEndsWithTheUndisturbedDisplacements)
{
    CalculatorTestModel model = latticeTower(3, 3, 8, 5);
    std::mt19937_64 random(44);
    for (const quint64 threads : { 1, 2, 8 }) {
        auto reference = preparedCalculator(model, threads);
        ASSERT_TRUE(reference);
        UErrorPtr error;
        const auto start = Clock::now();
        ASSERT_TRUE(reference->runMatrixCalculation(&error));
        const auto runTime = Clock::now() - start;
        ASSERT_TRUE(reference->finalizeMatrixCalculation(&error));
        const auto expected = calculatorSolution(*reference, model.nodeCount(), model.caseCount());
        ASSERT_LT(relativeDifference(expected, model.denseSolution()), 1e-9);

        const Tally tally = stressPauseResume(model, threads, expected, runTime, random);
        const auto where = [&] {
            return testing::Message() << threads << " threads, " << tally.runs << " runs";
        };
        EXPECT_GE(tally.pauses, PauseResumeCount) << where();
        EXPECT_EQ(tally.hangs, 0) << where();
        EXPECT_EQ(tally.thrown, 0) << where();
        EXPECT_EQ(tally.unsolved, 0) << where();
        EXPECT_EQ(tally.differing, 0) << where();
    }
}

} // namespace
