#include "platform/UMainThread.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

TEST(MainThreadThreads, WaitingCallFromWorkerRunsOnMainThread)
{
    std::atomic<bool> ranOnMain { false };
    std::atomic<bool> done { false };
    std::thread worker([&] {
        EXPECT_FALSE(UMainThread::isMainThread());
        UMainThread::perform([&] { ranOnMain = UMainThread::isMainThread(); }, true);
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_TRUE(ranOnMain);
}

TEST(MainThread, QueuedCallRunsOnlyWhenTheLoopTurns)
{
    int calls = 0;
    UMainThread::perform([&] { ++calls; }, false);
    EXPECT_EQ(calls, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
    UMainThread::perform([&] { ++calls; }, true);
    EXPECT_EQ(calls, 2);
}

TEST(MainThreadThreads, QueuedWorkRunsInOrderAndWaitingCallsRethrow)
{
    std::vector<int> order; // touched on the main thread only
    std::atomic<bool> rethrown { false };
    std::atomic<bool> done { false };
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i)
            UMainThread::perform([&order, i] { order.push_back(i); }, false);
        try {
            UMainThread::perform([] { throw std::runtime_error("failed"); }, true);
        } catch (const std::runtime_error& error) {
            rethrown = std::string(error.what()) == "failed";
        }
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(rethrown);
}
