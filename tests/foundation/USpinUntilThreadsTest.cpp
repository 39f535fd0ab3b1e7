#include "foundation/threads/USpinUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

// Polling ends with the answer it last saw: false once the budget is spent (at once without
// one), true as soon as another thread makes it so.
TEST(SpinUntilThreads, AnswersWhetherTheConditionCameWithinTheBudget)
{
    std::atomic<bool> flag { false };
    EXPECT_FALSE(USpinUntil([&] { return flag.load(); }, 0ns));
    EXPECT_FALSE(USpinUntil([&] { return flag.load(); }, 1ms));
    std::thread setter([&] {
        std::this_thread::sleep_for(5ms);
        flag = true;
    });
    EXPECT_TRUE(USpinUntil([&] { return flag.load(); }, 60s));
    setter.join();
    EXPECT_TRUE(USpinUntil([&] { return flag.load(); }, 0ns));
}

// A lock held past the polling budget is still taken, by sleeping on it, once its holder leaves
// it; what the holder wrote under it is seen.
TEST(SpinUntilThreads, LockHeldPastTheBudgetIsTakenWhenLeft)
{
    std::mutex mutex;
    std::atomic<bool> isHeld { false };
    int written = 0;
    std::thread holder([&] {
        std::lock_guard<std::mutex> lock(mutex);
        isHeld = true;
        std::this_thread::sleep_for(20ms);
        written = 1;
    });
    while (!isHeld)
        std::this_thread::yield();
    ULockPolling(mutex, 1ms);
    EXPECT_EQ(written, 1);
    mutex.unlock();
    holder.join();
}
