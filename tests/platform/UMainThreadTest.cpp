#include "platform/UMainThread.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <atomic>
#include <thread>

TEST(MainThread, WaitingCallFromWorkerRunsOnMainThread)
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
