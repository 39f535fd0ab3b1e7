#include "ThreadTestSupport.h"

#include <gtest/gtest.h>

TEST(ThreadTaskConditionThreads, WaitWakesOnSignalAndBroadcast)
{
    UCondition condition;
    int stage = 0;
    int woken = 0;
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i) {
        waiters.emplace_back([&] {
            std::lock_guard<UCondition> locked(condition);
            while (stage == 0)
                condition.wait();
            ++woken;
            condition.broadcast();
        });
    }
    {
        std::lock_guard<UCondition> locked(condition);
        stage = 1;
    }
    condition.broadcast();
    {
        std::unique_lock<UCondition> locked(condition);
        while (woken < 3)
            condition.wait();
    }
    for (std::thread& waiter : waiters)
        waiter.join();
    EXPECT_EQ(woken, 3);
}

TEST(ThreadTaskConditionThreads, WaitUntilAnswersFalseOnlyWhenTheDeadlinePasses)
{
    UCondition condition;
    condition.lock();
    EXPECT_FALSE(condition.waitUntil(UCondition::Clock::now() - std::chrono::milliseconds(1)));
    EXPECT_FALSE(condition.waitUntil(UCondition::Clock::now() + std::chrono::milliseconds(10)));
    bool signalled = false;
    std::thread signaller([&] {
        std::lock_guard<UCondition> locked(condition);
        signalled = true;
        condition.signal();
    });
    bool sawSignal = false;
    while (!signalled)
        sawSignal = condition.waitUntil(UCondition::Clock::now() + std::chrono::seconds(60));
    condition.unlock();
    signaller.join();
    EXPECT_TRUE(sawSignal);
    EXPECT_TRUE(condition.try_lock());
    condition.unlock();
}
