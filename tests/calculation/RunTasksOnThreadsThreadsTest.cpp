#include "calculation/UFemRunTasksOnThreads.h"

#include "HangGuard.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Gives the first `given` jobs to the foreground pool, then has no thread to give.
class HandOutRefusingManager final : public UThreadManager {
public:
    explicit HandOutRefusingManager(int given)
        : given_(given)
    {
    }
    void runThreadSelector(UThreadJob job) override
    {
        if (given_-- <= 0) // only the calling thread hands out
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        UThreadPool::foregroundTaskThreadPool()->runThreadSelector(std::move(job));
    }

private:
    int given_;
};

} // namespace

// When a thread cannot be handed its share, no task begins any more and the call returns only
// after the tasks begun have ended, rethrowing the refusal: no task runs after the call, none
// twice.
TEST(RunTasksOnThreadsThreads, RefusedHandOutWaitsForTheBegunTasksAndRethrows)
{
    const HangGuard guard("tasks with a refused hand-out");
    constexpr quint64 taskCount = 64;
    constexpr quint64 threadCount = 4;
    for (int given = 0; given < int(threadCount); ++given) {
        SCOPED_TRACE(given);
        std::vector<std::atomic<int>> runs(taskCount);
        HandOutRefusingManager manager(given);
        const auto run = [&] {
            UFemRunTasksOnThreads(
                taskCount, threadCount,
                [&runs](quint64 task) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                    runs[task].fetch_add(1);
                },
                manager);
        };
        const bool refused = given + 1 < int(threadCount);
        if (refused) {
            EXPECT_THROW(run(), std::system_error);
        } else {
            EXPECT_NO_THROW(run());
        }
        std::vector<int> atReturn;
        for (const std::atomic<int>& count : runs)
            atReturn.push_back(count.load());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        for (quint64 task = 0; task < taskCount; ++task) {
            EXPECT_EQ(runs[task].load(), atReturn[task]) << task;
            EXPECT_LE(atReturn[task], 1) << task;
            if (!refused) {
                EXPECT_EQ(atReturn[task], 1) << task;
            }
        }
    }
}
