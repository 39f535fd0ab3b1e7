#include "ProcessThreads.h"
#include "ThreadTestSupport.h"

#include "foundation/threads/UThreadCount.h"
#include "foundation/threads/UThreadCountPreference.h"
#include "foundation/threads/UThreadPool.h"
#include "foundation/threads/UThreadPoolThread.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUserDefaults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

TEST(ThreadPool, CountWithFactorFollowsTheRoundingRule)
{
    // The 3-D view's rule: factor 0.5, at most 4.
    EXPECT_EQ(UThreadCountWithThreadCountFactor(0, 4, 0.5), 1u);
    EXPECT_EQ(UThreadCountWithThreadCountFactor(1, 4, 0.5), 1u);
    EXPECT_EQ(UThreadCountWithThreadCountFactor(3, 4, 0.5), 2u);
    EXPECT_EQ(UThreadCountWithThreadCountFactor(8, 4, 0.5), 4u);
    EXPECT_EQ(UThreadCountWithThreadCountFactor(16, 4, 0.5), 4u);
    // The task contexts' rule, at most 16: a preference of 12 with factor 2 and 0.1.
    EXPECT_EQ(UThreadCountWithThreadCountFactor(12, UThreadTaskMaximumThreadCount, 2.0), 16u);
    EXPECT_EQ(UThreadCountWithThreadCountFactor(12, UThreadTaskMaximumThreadCount, 0.1), 1u);
    EXPECT_EQ(UThreadCountWithThreadCountFactor(5, UThreadTaskMaximumThreadCount, 1.5), 8u); // 8.1
    // A product truncating to 0 gives 1 even with maximum 0; a positive one is capped at 0.
    EXPECT_EQ(UThreadCountWithThreadCountFactor(0, 0, 0.5), 1u);
    EXPECT_EQ(UThreadCountWithThreadCountFactor(4, 0, 1.0), 0u);
    // Factors no caller should pass still give a count instead of undefined conversions.
    EXPECT_EQ(UThreadCountWithThreadCountFactor(8, 16, -3.0), 1u);
    EXPECT_EQ(UThreadCountWithThreadCountFactor(8, 16, std::nan("")), 1u);
    EXPECT_EQ(
        UThreadCountWithThreadCountFactor(8, 16, std::numeric_limits<double>::infinity()), 16u);
}

TEST(ThreadPool, ReferenceThreadCountPreferenceRule)
{
    const auto rule = &UThreadCountPreference::threadCountWithReferenceThreadCount;
    EXPECT_EQ(rule(QVariant(1), 8), 1u);
    EXPECT_EQ(rule(QVariant(12), 8), 12u);
    EXPECT_EQ(rule(QVariant(qulonglong(16)), 8), 16u);
    EXPECT_EQ(rule(QVariant(0), 8), 8u); // 0 = automatic
    EXPECT_EQ(rule(QVariant(17), 6), 6u);
    EXPECT_EQ(rule(QVariant(-3), 6), 6u);
    EXPECT_EQ(rule(QVariant(), 6), 6u); // absent
    EXPECT_EQ(rule(QVariant(QStringLiteral("many")), 6), 6u);
    EXPECT_EQ(rule(QVariant(), 0), 1u); // never 0
    EXPECT_GE(UThreadCountPreference::activeProcessorCount(), 1u);
}

TEST(ThreadPool, ThreadCountSnapshotFollowsTheUserDefaults)
{
    UUserDefaults& defaults = UUserDefaults::standardUserDefaults();
    const quint64 processors = UThreadCountPreference::activeProcessorCount();
    const auto setPreference = [&defaults](const QVariant& value) {
        defaults.registerDefaults({ { UFemReferenceThreadCountPreferencesKey, value } });
    };
    const auto postChange = [&defaults] {
        UNotificationCenter::defaultCenter().post(UUserDefaultsDidChangeNotification, &defaults);
    };
    setPreference(3);
    UThreadCountPreference::invalidate();
    EXPECT_EQ(UThreadCountPreference::foregroundTaskThreadCount(), 3u);
    EXPECT_EQ(UThreadCountPreference::calculationTaskThreadCount(), 3u);
    setPreference(5);
    EXPECT_EQ(UThreadCountPreference::foregroundTaskThreadCount(), 3u); // still the snapshot
    UNotificationCenter::defaultCenter().post(UUserDefaultsDidChangeNotification, nullptr);
    EXPECT_EQ(UThreadCountPreference::foregroundTaskThreadCount(), 3u); // not the standard defaults
    postChange();
    EXPECT_EQ(UThreadCountPreference::foregroundTaskThreadCount(), 5u);
    setPreference(0);
    postChange();
    EXPECT_EQ(UThreadCountPreference::foregroundTaskThreadCount(), processors);
    setPreference(QVariant());
    postChange();
    EXPECT_EQ(UThreadCountPreference::foregroundTaskThreadCount(), processors);
}

TEST(ThreadPool, SingletonPoolsAreDistinctAndStable)
{
    UThreadPool* foreground = UThreadPool::foregroundTaskThreadPool();
    EXPECT_EQ(foreground, UThreadPool::foregroundTaskThreadPool());
    EXPECT_NE(foreground, UThreadPool::backgroundTaskThreadPool());
    EXPECT_NE(foreground, UThreadPool::sharedThreadPool());
    EXPECT_NE(UThreadPool::backgroundTaskThreadPool(), UThreadPool::sharedThreadPool());
}

TEST(ThreadPoolThreads, MoreThan32ConcurrentRequestsGetDetachedThreads)
{
    constexpr int RequestCount = 40;
    auto pool = std::make_unique<UThreadPool>();
    ArrivalCounter started;
    ArrivalCounter finished;
    Gate release;
    for (int i = 0; i < RequestCount; ++i) {
        pool->runThreadSelector([&] {
            started.arrive();
            release.waitOpen();
            finished.arrive();
        });
    }
    // All forty run at once: the eight beyond the pool did not wait for a pooled thread.
    const bool allStarted = started.waitFor(RequestCount);
    EXPECT_TRUE(allStarted);
    EXPECT_EQ(pool->threadCountInTable(), UThreadPool::UThreadPoolMaximumThreadCount);
    release.open();
    EXPECT_TRUE(finished.waitFor(RequestCount));
    pool.reset(); // joins the 32 pooled threads
    // A further pool starts empty and grows one thread at a time.
    UThreadPool fresh;
    EXPECT_EQ(fresh.threadCountInTable(), 0u);
}

// Ending the threads joins them, so none is left ending when the call returns (a leak check at
// exit must not meet one), and the pool grows again on the next request. The process-wide pools
// end theirs alike.
TEST(ThreadPoolThreads, EndingThreadsJoinsThemAndThePoolGrowsAgain)
{
    constexpr int JobCount = 3;
    UThreadPool pool;
    ArrivalCounter started;
    Gate release;
    for (int i = 0; i < JobCount; ++i) {
        pool.runThreadSelector([&] {
            started.arrive();
            release.waitOpen();
        });
    }
    ASSERT_TRUE(started.waitFor(JobCount));
    ASSERT_EQ(pool.threadCountInTable(), quint64(JobCount));
    const quint64 threadsBefore = processThreadCount();
    release.open(); // the running jobs finish before their threads end
    pool.endThreads();
    EXPECT_EQ(pool.threadCountInTable(), 0u);
    EXPECT_LE(processThreadCountAfterExits(threadsBefore - JobCount), threadsBefore - JobCount);
    ArrivalCounter again;
    pool.runThreadSelector([&] { again.arrive(); });
    EXPECT_TRUE(again.waitFor(1));
    EXPECT_EQ(pool.threadCountInTable(), 1u);

    ArrivalCounter shared;
    UThreadPool::sharedThreadPool()->runThreadSelector([&] { shared.arrive(); });
    UThreadPool::backgroundTaskThreadPool()->runThreadSelector([&] { shared.arrive(); });
    ASSERT_TRUE(shared.waitFor(2));
    UThreadPool::endProcessWideThreads();
    EXPECT_EQ(UThreadPool::sharedThreadPool()->threadCountInTable(), 0u);
    EXPECT_EQ(UThreadPool::backgroundTaskThreadPool()->threadCountInTable(), 0u);
    EXPECT_EQ(UThreadPool::foregroundTaskThreadPool()->threadCountInTable(), 0u);
}

TEST(ThreadPoolThreads, IdleThreadsAreReused)
{
    constexpr int JobCount = 20;
    UThreadPool pool;
    std::set<std::thread::id> threads;
    std::mutex threadsMutex;
    for (int i = 0; i < JobCount; ++i) {
        ArrivalCounter done;
        pool.runThreadSelector([&] {
            {
                std::lock_guard<std::mutex> locked(threadsMutex);
                threads.insert(std::this_thread::get_id());
            }
            done.arrive();
        });
        ASSERT_TRUE(done.waitFor(1));
    }
    // One job at a time: a thread is only added while the previous one is still reporting idle.
    EXPECT_LE(pool.threadCountInTable(), quint64(JobCount / 2));
    std::lock_guard<std::mutex> locked(threadsMutex);
    EXPECT_EQ(threads.size(), pool.threadCountInTable());
}

TEST(ThreadPoolThreads, DestroyingAPoolWaitsForARunningJob)
{
    std::atomic<bool> jobReturned { false };
    Gate jobStarted;
    {
        UThreadPool pool;
        pool.runThreadSelector([&] {
            jobStarted.open();
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            jobReturned = true;
        });
        jobStarted.waitOpen();
    }
    EXPECT_TRUE(jobReturned.load());
}

TEST(ThreadPoolThreads, JobPendingAtQuitIsDropped)
{
    bool ran = false;
    UThreadPoolThread thread;
    UThreadJob job = [&ran] { ran = true; };
    ASSERT_TRUE(thread.runThreadSelectorIfNotExecuting(job));
    UThreadJob second = [] {};
    EXPECT_FALSE(thread.runThreadSelectorIfNotExecuting(second)); // busy until the first returns
    EXPECT_TRUE(static_cast<bool>(second)); // a refused job stays with the caller
    thread.requestThreadLoopQuit();
    thread.start();
    thread.waitUntilThreadLoopQuit();
    EXPECT_FALSE(ran);
}

TEST(ThreadPoolThreads, MethodArrayRunsInOrderOnOneThread)
{
    UThreadPool pool;
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    ArrivalCounter done;
    std::vector<UThreadJob> methods;
    for (int i = 0; i < 3; ++i) {
        methods.push_back([&, i] {
            order.push_back(i);
            threads.push_back(std::this_thread::get_id());
            done.arrive();
        });
    }
    pool.runThreadContinuouslyWithMethodArray(std::move(methods));
    ASSERT_TRUE(done.waitFor(3));
    EXPECT_EQ(order, (std::vector<int> { 0, 1, 2 }));
    EXPECT_EQ(threads[0], threads[1]);
    EXPECT_EQ(threads[1], threads[2]);
    EXPECT_NE(threads[0], std::this_thread::get_id());
}

TEST(ThreadPoolThreads, ThrowingJobLeavesThePoolThreadUsable)
{
    UThreadPool pool;
    ArrivalCounter done;
    pool.runThreadSelector([&] {
        done.arrive();
        throw std::runtime_error("job failed");
    });
    ASSERT_TRUE(done.waitFor(1));
    pool.runThreadSelector([&] { done.arrive(); });
    EXPECT_TRUE(done.waitFor(2));
}
