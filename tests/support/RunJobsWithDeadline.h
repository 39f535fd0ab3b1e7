#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

// Runs every job on a thread of its own and joins them. When they do not all end within a time
// far beyond need, the program stops, so that a lost wake-up shows as a failure and not as a
// hung test.
inline void runJobsWithDeadline(const std::vector<std::function<void()>>& jobs,
    std::chrono::seconds deadline = std::chrono::seconds(60))
{
    std::atomic<std::size_t> finished { 0 };
    std::vector<std::thread> threads;
    for (const auto& job : jobs) {
        threads.emplace_back([&finished, &job] {
            job();
            ++finished;
        });
    }
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (finished.load() < jobs.size()) {
        if (std::chrono::steady_clock::now() > end) {
            ADD_FAILURE() << "threads still waiting";
            std::abort();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (std::thread& thread : threads)
        thread.join();
}
