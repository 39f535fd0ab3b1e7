#include "HangGuard.h"
#include "ThreadTestSupport.h"

#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/threads/UThreadCount.h"
#include "foundation/threads/UThreadCountPreference.h"
#include "platform/UUserDefaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

constexpr quint64 NotSpecified = UThreadContextIdentifierNotSpecified;

std::vector<quint64> identifiersOf(const TestTask& task)
{
    std::vector<quint64> identifiers;
    for (const auto& threadContext : task.contexts)
        identifiers.push_back(threadContext->identifier);
    std::sort(identifiers.begin(), identifiers.end());
    return identifiers;
}

void waitUntilThreadCountAtMost(TestTask& task, quint64 count)
{
    std::lock_guard<TestTask> locked(task);
    while (task.threadCount() > count)
        task.wait();
}

// Work that runs until its thread context is told to stop.
TestTask::Work untilCanceled(ArrivalCounter& started)
{
    return [&started](RecordingThreadContext& threadContext) {
        started.arrive();
        while (!threadContext.cancelFlag())
            std::this_thread::yield();
        return false;
    };
}

} // namespace

TEST(ThreadTaskThreads, IdentifiersWithAndWithoutTheCallingThread)
{
    TestTask workersOnly({}, 4);
    ASSERT_TRUE(workersOnly.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(workersOnly.startThreadIfNeededWithThreadCount(2, &isCanceled)); // its own 4 win
    EXPECT_TRUE(workersOnly.waitAllThreadDone());
    EXPECT_EQ(identifiersOf(workersOnly), (std::vector<quint64> { 0, 1, 2, 3 }));
    for (const auto& threadContext : workersOnly.contexts)
        EXPECT_NE(threadContext->ranOn, std::this_thread::get_id());

    TestTask withCaller({}, 4);
    ASSERT_TRUE(withCaller.setArgumentIfNeeded());
    EXPECT_TRUE(
        withCaller.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(2, true, &isCanceled));
    EXPECT_FALSE(isCanceled);
    EXPECT_TRUE(withCaller.isValueValid());
    EXPECT_EQ(identifiersOf(withCaller), (std::vector<quint64> { 0, 1, 2, 3 }));
    for (const auto& threadContext : withCaller.contexts) {
        if (threadContext->identifier == 0)
            EXPECT_EQ(threadContext->ranOn, std::this_thread::get_id());
        else
            EXPECT_NE(threadContext->ranOn, std::this_thread::get_id());
    }

    // Left to the caller's count, no thread context is numbered.
    TestTask unnumbered;
    ASSERT_TRUE(unnumbered.setArgumentIfNeeded());
    EXPECT_TRUE(
        unnumbered.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(3, true, &isCanceled));
    EXPECT_EQ(identifiersOf(unnumbered), (std::vector<quint64>(3, NotSpecified)));
}

TEST(ThreadTaskThreads, FactorStartsScaledPreferenceThreadCount)
{
    // A preference of 12 threads: factor 2 starts 16 (24 capped), factor 0.1 starts 1.
    UUserDefaults::standardUserDefaults().registerDefaults(
        { { UFemReferenceThreadCountPreferencesKey, 12 } });
    UThreadCountPreference::invalidate();
    ASSERT_EQ(UThreadCountPreference::foregroundTaskThreadCount(), 12u);
    std::vector<std::size_t> started;
    for (const double factor : { 2.0, 0.1, 1.0 }) {
        TestTask task;
        ASSERT_TRUE(task.setArgumentIfNeeded());
        bool isCanceled = false;
        ASSERT_TRUE(task.startThreadIfNeededWithThreadCountFactor(factor, &isCanceled));
        EXPECT_TRUE(task.waitAllThreadDone());
        started.push_back(task.contexts.size());
    }
    TestTask byPreference;
    ASSERT_TRUE(byPreference.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(byPreference.runTaskByCurrentAndOtherThreadIfNeededWithDoesWaitUntilAllThreadDone(
        true, &isCanceled));
    started.push_back(byPreference.contexts.size());
    UUserDefaults::standardUserDefaults().registerDefaults(
        { { UFemReferenceThreadCountPreferencesKey, QVariant() } });
    UThreadCountPreference::invalidate();
    EXPECT_EQ(started, (std::vector<std::size_t> { 16, 1, 12, 12 }));
}

TEST(ThreadTaskThreads, JoiningARunningTaskAddsOnlyMissingThreads)
{
    Gate release;
    TestTask task([&release](RecordingThreadContext&) {
        release.waitOpen();
        return true;
    });
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(2, &isCanceled));
    EXPECT_TRUE(task.startThreadIfNeededWithThreadCount(5, &isCanceled));
    EXPECT_EQ(task.threadCount(), 5u);
    EXPECT_FALSE(task.startThreadIfNeededWithThreadCount(3, &isCanceled)); // enough run already
    EXPECT_FALSE(isCanceled);
    EXPECT_TRUE(task.isRunning());
    EXPECT_TRUE(UThreadTaskContext::isRunningAnyThreadWithThreadTaskContextList({ &task }));
    release.open();
    EXPECT_TRUE(task.waitAllThreadDone());
    EXPECT_EQ(task.mainTaskCount.load(), 5);
    EXPECT_EQ(task.finalizationCount, 1);
}

TEST(ThreadTaskThreads, CancelRightAfterStart)
{
    auto manager = std::make_shared<HeldJobsManager>();
    TestTask task;
    task.setThreadManager(manager);
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(6, &isCanceled));
    EXPECT_EQ(manager->heldCount(), 6u);
    task.requestCancel(); // before any worker has started
    for (const auto& threadContext : task.contexts)
        EXPECT_TRUE(threadContext->cancelFlag());
    manager->releaseAll();
    EXPECT_FALSE(task.waitAllThreadDone());
    manager->joinAll();
    EXPECT_EQ(task.threadCount(), 0u);
    EXPECT_EQ(task.threadState(), UThreadTaskStateCanceledOrFailed);
    EXPECT_EQ(task.mainTaskCount.load(), 0);
    EXPECT_EQ(task.finalizationCount, 0);
    EXPECT_FALSE(isCanceled); // the start itself went through

    // On the real pool, a cancel at once ends the run the same way, whatever has started.
    ArrivalCounter started;
    TestTask pooled(untilCanceled(started));
    ASSERT_TRUE(pooled.setArgumentIfNeeded());
    ASSERT_TRUE(pooled.startThreadIfNeededWithThreadCount(8, &isCanceled));
    pooled.requestCancel();
    EXPECT_FALSE(pooled.waitAllThreadDone());
    EXPECT_EQ(pooled.threadState(), UThreadTaskStateCanceledOrFailed);
    EXPECT_EQ(pooled.finalizationCount, 0);
    // Starting again while canceled reports the cancel.
    EXPECT_FALSE(pooled.startThreadIfNeededWithThreadCount(8, &isCanceled));
    EXPECT_TRUE(isCanceled);
}

TEST(ThreadTaskThreads, CancelDuringWork)
{
    constexpr int ThreadCount = 4;
    ArrivalCounter started;
    TestTask task(untilCanceled(started));
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(ThreadCount, &isCanceled));
    ASSERT_TRUE(started.waitFor(ThreadCount));
    EXPECT_TRUE(task.isRunning());
    EXPECT_FALSE(task.requestCancelIfNotFinished());
    EXPECT_FALSE(task.waitAllThreadDone());
    EXPECT_EQ(task.threadState(), UThreadTaskStateCanceledOrFailed);
    EXPECT_EQ(task.finalizationCount, 0);
    for (const auto& threadContext : task.contexts)
        EXPECT_EQ(threadContext->threadState(), UThreadTaskStateCanceledOrFailed);

    // The same through the list operation, with the calling thread not waiting itself.
    ArrivalCounter startedAgain;
    TestTask second(untilCanceled(startedAgain));
    ASSERT_TRUE(second.setArgumentIfNeeded());
    ASSERT_TRUE(second.startThreadIfNeededWithThreadCount(ThreadCount, &isCanceled));
    ASSERT_TRUE(startedAgain.waitFor(ThreadCount));
    UThreadTaskContext::cancelAndWaitQuitIfNotFinishedWithThreadTaskContextList({ &second });
    EXPECT_EQ(second.threadCount(), 0u);
    EXPECT_TRUE(second.isCanceled());
}

TEST(ThreadTaskThreads, FailedWorkerEndsTheRunFailed)
{
    // Worker 2 fails first; the others finish after it, so the last thread succeeds.
    TestTask* self = nullptr;
    TestTask task(
        [&self](RecordingThreadContext& threadContext) {
            if (threadContext.identifier == 2)
                return false;
            waitUntilThreadCountAtMost(*self, 3);
            return true;
        },
        4);
    self = &task;
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(4, &isCanceled));
    EXPECT_FALSE(task.waitAllThreadDone());
    EXPECT_EQ(task.threadState(), UThreadTaskStateCanceledOrFailed);
    EXPECT_EQ(task.mainTaskCount.load(), 4);
    EXPECT_EQ(task.finalizationCount, 0);
    EXPECT_FALSE(task.cancelFlag()); // a worker's failure does not cancel the others
    EXPECT_FALSE(isCanceled);
}

TEST(ThreadTaskThreads, ExceptionInWorkIsTheTasksError)
{
    TestTask task(
        [](RecordingThreadContext& threadContext) {
            if (threadContext.identifier == 1)
                UFemRaiseProgramError(QStringLiteral("Broken work."));
            if (threadContext.identifier == 2)
                throw std::runtime_error("out of pages");
            return true;
        },
        3);
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(3, &isCanceled));
    EXPECT_FALSE(task.waitAllThreadDone());
    EXPECT_EQ(task.finalizationCount, 0);
    const std::vector<UErrorPtr> errors = task.errorArray();
    ASSERT_EQ(errors.size(), 2u);
    QStringList texts;
    for (const UErrorPtr& error : errors) {
        EXPECT_EQ(error->code(), 21011);
        EXPECT_EQ(
            error->localizedDescription(), QStringLiteral("Error occurred while calculation."));
        texts << error->localizedOneLineDescription();
    }
    texts.sort();
    EXPECT_EQ(texts,
        (QStringList {
            QStringLiteral(
                "Error occurred while calculation. - error: Program Error. Broken work."),
            QStringLiteral("Error occurred while calculation. - error: out of pages") }));

    // A final step that throws fails the run too.
    TestTask finalThrows;
    finalThrows.finalization = []() -> bool { throw std::runtime_error("final step failed"); };
    ASSERT_TRUE(finalThrows.setArgumentIfNeeded());
    ASSERT_TRUE(finalThrows.startThreadIfNeededWithThreadCount(2, &isCanceled));
    EXPECT_FALSE(finalThrows.waitAllThreadDone());
    EXPECT_EQ(finalThrows.errorArray().size(), 1u);
}

TEST(ThreadTaskThreads, CallingThreadFailureCancelsTheRun)
{
    ArrivalCounter started;
    const std::thread::id caller = std::this_thread::get_id();
    TestTask task([&](RecordingThreadContext& threadContext) {
        if (std::this_thread::get_id() == caller) {
            started.waitFor(3); // every worker is at work
            return false;
        }
        return untilCanceled(started)(threadContext);
    });
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    EXPECT_FALSE(task.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(4, true, &isCanceled));
    EXPECT_TRUE(isCanceled);
    EXPECT_TRUE(task.cancelFlag());
    EXPECT_FALSE(task.waitAllThreadDone());
    EXPECT_EQ(task.threadState(), UThreadTaskStateCanceledOrFailed);
}

TEST(ThreadTaskThreads, FinalStepRunsOnceByTheLastThread)
{
    constexpr int ThreadCount = 8;
    constexpr int RunCount = 25;
    TestTask task;
    for (int run = 0; run < RunCount; ++run) {
        task.clearAll_shouldNotRunning();
        task.contexts.clear();
        task.mainTaskCount = 0;
        task.finalizationCount = 0;
        ASSERT_TRUE(task.setArgumentIfNeeded());
        bool isCanceled = false;
        ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(ThreadCount, &isCanceled));
        ASSERT_TRUE(task.waitAllThreadDone());
        EXPECT_EQ(task.finalizationCount, 1);
        EXPECT_EQ(task.threadCountAtFinalization, 1u);
        EXPECT_EQ(task.mainTasksAtFinalization, ThreadCount);
        EXPECT_NE(task.finalizedOn, std::this_thread::get_id());
        const auto last = std::find_if(
            task.contexts.begin(), task.contexts.end(), [&task](const auto& threadContext) {
                return threadContext.get() == task.finalizedContext;
            });
        ASSERT_NE(last, task.contexts.end());
        EXPECT_EQ((*last)->ranOn, task.finalizedOn);
    }
    // A final step that refuses, reporting why under the lock it holds, leaves the run failed.
    task.clearAll_shouldNotRunning();
    task.finalization = [&task] {
        task.addCalculationError_whileLocked(UFemCalculationCanceledError());
        return false;
    };
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(3, &isCanceled));
    EXPECT_FALSE(task.waitAllThreadDone());
    EXPECT_TRUE(task.isCanceled());
    ASSERT_EQ(task.errorArray().size(), 1u);
    EXPECT_TRUE(task.errorArray().front()->isUFemCalculationCanceledError());
}

TEST(ThreadTaskThreads, WaitWithADeadlineThatExpires)
{
    Gate release;
    TestTask task([&release](RecordingThreadContext&) {
        release.waitOpen();
        return true;
    });
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(2, &isCanceled));
    bool didTimeOut = false;
    EXPECT_FALSE(task.waitAllThreadDoneUntilDate(
        UCondition::Clock::now() - std::chrono::seconds(1), &didTimeOut));
    EXPECT_TRUE(didTimeOut);
    didTimeOut = false;
    EXPECT_FALSE(task.waitAllThreadDoneUntilDate(
        UCondition::Clock::now() + std::chrono::milliseconds(20), &didTimeOut));
    EXPECT_TRUE(didTimeOut);
    EXPECT_TRUE(task.isRunning());
    release.open();
    EXPECT_TRUE(task.waitAllThreadDoneUntilDate(
        UCondition::Clock::now() + std::chrono::seconds(60), &didTimeOut));
    EXPECT_FALSE(didTimeOut);
    // Nothing left to wait for: a past deadline does not count as a time-out.
    EXPECT_TRUE(task.waitAllThreadDoneUntilDate(
        UCondition::Clock::now() - std::chrono::seconds(1), &didTimeOut));
    EXPECT_FALSE(didTimeOut);
}

TEST(ThreadTaskThreads, WaitUntilDoneOfOneThreadContext)
{
    Gate release;
    TestTask task([&release](RecordingThreadContext&) {
        release.waitOpen();
        return true;
    });
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.startThreadIfNeededWithThreadCount(1, &isCanceled));
    std::shared_ptr<RecordingThreadContext> threadContext;
    {
        std::lock_guard<TestTask> locked(task);
        threadContext = task.contexts.front();
    }
    EXPECT_EQ(threadContext->threadState(), UThreadTaskStateRunning);
    std::thread opener([&release] { release.open(); });
    threadContext->waitUntilDone();
    opener.join();
    EXPECT_EQ(threadContext->threadState(), UThreadTaskStateValueValid);
    task.waitAllThreadDone();
}

TEST(ThreadTaskThreads, ManagerWithoutThreadsEndsTheRunFailed)
{
    TestTask task;
    task.setThreadManager(std::make_shared<FailingThreadManager>());
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    EXPECT_FALSE(task.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(3, true, &isCanceled));
    EXPECT_TRUE(isCanceled);
    EXPECT_EQ(task.threadCount(), 0u);
    EXPECT_EQ(task.threadState(), UThreadTaskStateCanceledOrFailed);
    EXPECT_EQ(task.errorArray().size(), 1u);
    EXPECT_EQ(task.mainTaskCount.load(), 0);
}

// A thread the manager cannot give (no thread, or no memory for its job) ends the run failed with
// the memory error: the threads already handed over are canceled and waited for, and nothing stays
// counted that would keep a clear waiting.
TEST(ThreadTaskThreads, RefusedThreadEndsTheRunWithTheMemoryError)
{
    const HangGuard guard("a run with a refused thread");
    const std::exception_ptr refusals[]
        = { std::make_exception_ptr(
                std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again))),
              std::make_exception_ptr(std::bad_alloc()) };
    for (const std::exception_ptr& refusal : refusals) {
        for (int given = 0; given < 3; ++given) {
            SCOPED_TRACE(given);
            ArrivalCounter started;
            TestTask task(untilCanceled(started));
            task.setThreadManager(std::make_shared<RefusingThreadManager>(given, refusal));
            ASSERT_TRUE(task.setArgumentIfNeeded());
            bool isCanceled = false;
            EXPECT_FALSE(
                task.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(4, true, &isCanceled));
            EXPECT_TRUE(isCanceled);
            EXPECT_FALSE(task.waitAllThreadDone());
            EXPECT_EQ(task.threadCount(), 0u);
            EXPECT_EQ(task.threadState(), UThreadTaskStateCanceledOrFailed);
            const std::vector<UErrorPtr> errors = task.errorArray();
            ASSERT_EQ(errors.size(), 1u);
            EXPECT_EQ(errors[0]->code(), 81001);
            EXPECT_LE(task.mainTaskCount.load(), given); // the calling thread's own never ran
            task.clearAll_shouldNotRunning();
            EXPECT_EQ(task.threadState(), UThreadTaskStateCleared);
        }
    }
}

// Memory running out while a start makes its thread contexts leaves the task as it was: nothing
// runs or stays counted, and the start succeeds once memory is there.
TEST(ThreadTaskThreads, ThreadContextWithoutMemoryLeavesTheTaskReady)
{
    const HangGuard guard("a start without memory");
    for (std::size_t failing = 0; failing < 4; ++failing) {
        for (const bool byCurrentThreadOnly : { false, true }) {
            SCOPED_TRACE(testing::Message() << failing << (byCurrentThreadOnly ? " alone" : ""));
            TestTask task({}, 4);
            task.failingContext = failing;
            ASSERT_TRUE(task.setArgumentIfNeeded());
            const auto start = [&] {
                return byCurrentThreadOnly
                    ? task.runTaskByCurrentThread()
                    : task.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(4, true, nullptr);
            };
            EXPECT_THROW(start(), std::bad_alloc);
            EXPECT_EQ(task.threadState(), UThreadTaskStateReadyToRun);
            EXPECT_EQ(task.threadCount(), 0u);
            EXPECT_EQ(task.mainTaskCount.load(), 0);
            task.failingContext = ~std::size_t(0);
            EXPECT_TRUE(start());
            EXPECT_TRUE(task.waitAllThreadDone());
            EXPECT_EQ(task.mainTaskCount.load(), 4);
        }
    }
}

TEST(ThreadTaskThreads, DispenserRangesCoverEveryIndexOnceAcrossThreads)
{
    constexpr quint64 IndexCount = 10007;
    constexpr quint64 Chunk = 7;
    std::vector<std::atomic<int>> visits(IndexCount);
    TestTask task([&visits](RecordingThreadContext& threadContext) {
        auto& dispenser = threadContext.threadTaskContext()->nextTargetIndexesManager();
        for (;;) {
            const UThreadTaskIndexRange range
                = dispenser.nextTargetIndexRangeWithCount(Chunk, IndexCount);
            if (range.location == UFemNotFound)
                return true;
            for (quint64 i = range.location; i < range.location + range.length; ++i)
                visits[i].fetch_add(1);
        }
    });
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    ASSERT_TRUE(task.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(8, true, &isCanceled));
    EXPECT_TRUE(task.isValueValid());
    EXPECT_TRUE(std::all_of(
        visits.begin(), visits.end(), [](const std::atomic<int>& v) { return v.load() == 1; }));
}
