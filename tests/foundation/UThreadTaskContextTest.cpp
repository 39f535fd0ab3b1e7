#include "ThreadTestSupport.h"

#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <algorithm>

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

} // namespace

// ---- On the calling thread

TEST(ThreadTask, RunByCurrentThreadNumbersItsThreadContexts)
{
    TestTask numbered({}, 3);
    ASSERT_TRUE(numbered.setArgumentIfNeeded());
    EXPECT_TRUE(numbered.runTaskByCurrentThread());
    EXPECT_EQ(numbered.threadState(), UThreadTaskStateValueValid);
    EXPECT_EQ(identifiersOf(numbered), (std::vector<quint64> { 0, 1, 2 }));
    EXPECT_EQ(numbered.finalizationCount, 1);
    EXPECT_EQ(numbered.finalizedContext, numbered.contexts.back().get()); // the last one runs it
    for (const auto& threadContext : numbered.contexts) {
        EXPECT_EQ(threadContext->ranOn, std::this_thread::get_id());
        EXPECT_EQ(threadContext->threadState(), UThreadTaskStateValueValid);
    }
    EXPECT_FALSE(numbered.runTaskByCurrentThread()); // the value is valid already
    EXPECT_EQ(numbered.mainTaskCount.load(), 3);

    TestTask unnumbered;
    ASSERT_TRUE(unnumbered.setArgumentIfNeeded());
    EXPECT_TRUE(unnumbered.runTaskByCurrentThread());
    EXPECT_EQ(identifiersOf(unnumbered), (std::vector<quint64> { NotSpecified }));
}

TEST(ThreadTask, RunByCurrentThreadHasNoFixedLimitOfThreadContexts)
{
    TestTask task({}, 40);
    ASSERT_TRUE(task.setArgumentIfNeeded());
    EXPECT_TRUE(task.runTaskByCurrentThread());
    EXPECT_EQ(task.contexts.size(), 40u);
    EXPECT_EQ(identifiersOf(task).back(), 39u);
}

TEST(ThreadTask, RunByCurrentThreadFailsWhenAnyThreadContextFails)
{
    TestTask task(
        [](RecordingThreadContext& threadContext) { return threadContext.identifier != 1; }, 3);
    ASSERT_TRUE(task.setArgumentIfNeeded());
    EXPECT_FALSE(task.runTaskByCurrentThread());
    EXPECT_EQ(task.threadState(), UThreadTaskStateCanceledOrFailed);
    EXPECT_EQ(task.mainTaskCount.load(), 3); // the others still ran
    EXPECT_EQ(task.finalizationCount, 0);
    EXPECT_EQ(task.contexts[1]->threadState(), UThreadTaskStateCanceledOrFailed);
    EXPECT_FALSE(task.cancelFlag()); // failure, not cancel
}

// Only the last thread of a run that failed without a cancel runs the failure step, and only
// once the task is in state 4.
TEST(ThreadTask, OnlyARunThatFailedWithoutCancelRunsTheFailureStep)
{
    struct Case {
        const char* name;
        bool workSucceeds;
        bool finalizationSucceeds;
        bool cancels;
        int failureSteps;
    };
    const Case cases[] = {
        { "done", true, true, false, 0 },
        { "work failed", false, true, false, 1 },
        { "final step refused", true, false, false, 1 },
        { "canceled", false, true, true, 0 },
    };
    for (const Case& c : cases) {
        TestTask* self = nullptr;
        TestTask task(
            [&](RecordingThreadContext&) {
                if (c.cancels)
                    self->requestCancel();
                return c.workSucceeds;
            },
            2);
        self = &task;
        task.finalization = [&] { return c.finalizationSucceeds; };
        ASSERT_TRUE(task.setArgumentIfNeeded());
        static_cast<void>(task.runTaskByCurrentThread());
        EXPECT_EQ(task.failureStepCount, c.failureSteps) << c.name;
        if (c.failureSteps != 0) {
            EXPECT_EQ(task.stateAtFailureStep, UThreadTaskStateCanceledOrFailed) << c.name;
        }
    }
}

TEST(ThreadTask, TaskThatIsNotReadyDoesNotRun)
{
    TestTask task;
    bool isCanceled = false;
    EXPECT_FALSE(task.startThreadIfNeededWithThreadCount(2, &isCanceled)); // state 0
    EXPECT_TRUE(isCanceled);
    EXPECT_TRUE(task.cancelFlag());
    EXPECT_FALSE(task.setArgumentIfNeeded()); // the cancel stays until a clear
    EXPECT_FALSE(task.runTaskByCurrentThread());
    EXPECT_EQ(task.threadState(), UThreadTaskStateCanceledOrFailed);
    EXPECT_EQ(task.mainTaskCount.load(), 0);
    task.clearAll_shouldNotRunning();
    EXPECT_FALSE(task.cancelFlag());
    EXPECT_EQ(task.threadState(), UThreadTaskStateCleared);
    EXPECT_TRUE(task.setArgumentIfNeeded());
}

TEST(ThreadTask, ThreadCountZeroIsRefusedBeforeTheStateChanges)
{
    TestTask task;
    ASSERT_TRUE(task.setArgumentIfNeeded());
    bool isCanceled = false;
    EXPECT_FALSE(task.startThreadIfNeededWithThreadCount(0, &isCanceled));
    EXPECT_FALSE(task.runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(0, true, &isCanceled));
    EXPECT_FALSE(isCanceled);
    EXPECT_EQ(task.threadState(), UThreadTaskStateReadyToRun);
    EXPECT_EQ(task.threadCount(), 0u);

    TestTask specifiedZero({}, 0);
    ASSERT_TRUE(specifiedZero.setArgumentIfNeeded());
    EXPECT_FALSE(specifiedZero.runTaskByCurrentThread());
    EXPECT_FALSE(specifiedZero.startThreadIfNeededWithThreadCount(4, &isCanceled));
    EXPECT_EQ(specifiedZero.threadState(), UThreadTaskStateReadyToRun);
    EXPECT_EQ(specifiedZero.mainTaskCount.load(), 0);
}

TEST(ThreadTask, ErrorsAreCollectedUntilTheNextClear)
{
    TestTask task;
    EXPECT_TRUE(task.errorArray().empty());
    const UErrorPtr first = UError::create(UFemErrorDomain, 21011, {});
    const UErrorPtr second = UError::create(UFemErrorDomain, 21099, {});
    task.addCalculationError(nullptr);
    task.addCalculationErrorArray({});
    task.addCalculationError(first);
    task.addCalculationErrorArray({ second, first });
    EXPECT_EQ(task.errorArray(), (std::vector<UErrorPtr> { first, second, first }));
    task.clearAll_shouldNotRunning();
    EXPECT_TRUE(task.errorArray().empty());
}

TEST(ThreadTask, RestartAndRequestCancelKeepAValidValue)
{
    TestTask task;
    ASSERT_TRUE(task.setArgumentIfNeeded());
    ASSERT_TRUE(task.runTaskByCurrentThread());
    EXPECT_TRUE(task.requestCancelIfNotFinished());
    EXPECT_FALSE(task.cancelFlag());
    EXPECT_TRUE(task.isValueValid());
    {
        std::lock_guard<TestTask> locked(task);
        EXPECT_TRUE(task.clearRequestCancelAndSetupToRestart_whileLocked());
    }
    task.clearAllIfValueNotFinishedAndNotRunning(); // a valid value is left alone
    EXPECT_TRUE(task.isValueValid());

    TestTask failing([](RecordingThreadContext&) { return false; });
    ASSERT_TRUE(failing.setArgumentIfNeeded());
    EXPECT_FALSE(failing.runTaskByCurrentThread());
    EXPECT_FALSE(failing.requestCancelIfNotFinished());
    EXPECT_TRUE(failing.cancelFlag());
    {
        std::lock_guard<TestTask> locked(failing);
        EXPECT_FALSE(failing.clearRequestCancelAndSetupToRestart_whileLocked());
    }
    EXPECT_FALSE(failing.cancelFlag());
    EXPECT_TRUE(failing.isReadyToRun());
    failing.clearAllIfValueNotFinishedAndNotRunning();
    EXPECT_EQ(failing.threadState(), UThreadTaskStateCleared);
}

TEST(ThreadTask, ListOperations)
{
    TestTask valid;
    TestTask failed([](RecordingThreadContext&) { return false; });
    ASSERT_TRUE(valid.setArgumentIfNeeded());
    ASSERT_TRUE(failed.setArgumentIfNeeded());
    valid.runTaskByCurrentThread();
    failed.runTaskByCurrentThread();
    EXPECT_TRUE(UThreadTaskContext::waitAllThreadDoneWithThreadTaskContextList({}));
    EXPECT_TRUE(UThreadTaskContext::waitAllThreadDoneWithThreadTaskContextList({ &valid }));
    EXPECT_FALSE(
        UThreadTaskContext::waitAllThreadDoneWithThreadTaskContextList({ &failed, &valid }));
    EXPECT_FALSE(UThreadTaskContext::isRunningAnyThreadWithThreadTaskContextList({}));
    EXPECT_FALSE(
        UThreadTaskContext::isRunningAnyThreadWithThreadTaskContextList({ &valid, &failed }));
    UThreadTaskContext::clearAllIfValueNotFinishedAndNotRunningWithThreadTaskContextList(
        { &valid, &failed });
    EXPECT_TRUE(valid.isValueValid());
    EXPECT_EQ(failed.threadState(), UThreadTaskStateCleared);
    UThreadTaskContext::clearAll_shouldNotRunning_withThreadTaskContextList({ &valid, &failed });
    EXPECT_EQ(valid.threadState(), UThreadTaskStateCleared);
}

// ---- The work dispenser

TEST(ThreadTask, DispenserHandsOutRangesThenNone)
{
    UThreadTaskNextTargetIndexesManager dispenser;
    dispenser.clear();
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 25), (UThreadTaskIndexRange { 0, 10 }));
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 25), (UThreadTaskIndexRange { 10, 10 }));
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 25), (UThreadTaskIndexRange { 20, 5 }));
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 25),
        (UThreadTaskIndexRange { UFemNotFound, 0 }));
    EXPECT_EQ(dispenser.nextTargetIndexWithIncrementCount(1), UFemNotFound);

    // An exact fit finishes with the last full range; a start at or past the end gives an
    // empty rest instead of a wrapped-around length.
    dispenser.clear();
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 20), (UThreadTaskIndexRange { 0, 10 }));
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 20), (UThreadTaskIndexRange { 10, 10 }));
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 20).location, UFemNotFound);
    dispenser.clear();
    EXPECT_EQ(dispenser.nextTargetIndexWithIncrementCount(30), 0u);
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 25), (UThreadTaskIndexRange { 30, 0 }));
    EXPECT_EQ(dispenser.nextTargetIndexRangeWithCount(10, 25).location, UFemNotFound);
}

TEST(ThreadTask, DispenserIndexesOnlyMoveForward)
{
    UThreadTaskNextTargetIndexesManager dispenser;
    dispenser.clear();
    quint64 first = 0;
    quint64 second = 0;
    dispenser.forwardNextTargetIndexesOf2WithIndexe1(3, 7);
    dispenser.forwardNextTargetIndexesOf2WithIndexe1(3, 6); // smaller: unchanged
    dispenser.forwardNextTargetIndexesOf2WithIndexe1(2, 9); // smaller first index: unchanged
    dispenser.getNextTargetIndexesOf2ToIndex1Ptr(&first, &second, 4);
    EXPECT_EQ(first, 3u);
    EXPECT_EQ(second, 7u);
    dispenser.getNextTargetIndexesOf2ToIndex1Ptr(&first, &second, 0);
    EXPECT_EQ(second, 11u); // grown by the previous call

    const quint64 equal[] = { 3, 11, 0 };
    dispenser.forwardNextTargetIndexesToIndexes(equal); // equal tuple: nothing changes
    const quint64 larger[] = { 3, 11, 5 };
    dispenser.forwardNextTargetIndexesToIndexes(larger);
    dispenser.forwardNextTargetIndexesToIndexes({});
    quint64 out[4] = {};
    dispenser.getNextTargetIndexes(out, 2);
    EXPECT_EQ(std::vector<quint64>(out, out + 4), (std::vector<quint64> { 3, 11, 5, 0 }));
    dispenser.getNextTargetIndexes(out, 0);
    EXPECT_EQ(out[3], 2u);
    quint64 tooMany[5] = {};
    EXPECT_THROW(dispenser.getNextTargetIndexes(tooMany, 1), UException);

    dispenser.forwardNextTargetIndexesOf2WithIndexe1(UFemNotFound, 0);
    dispenser.getNextTargetIndexes(out, 9);
    EXPECT_EQ(std::count(out, out + 4, UFemNotFound), 4); // finished, and stays so
    dispenser.forwardNextTargetIndexesToFinished();
    EXPECT_EQ(dispenser.nextTargetIndexWithIncrementCount(1), UFemNotFound);
}
