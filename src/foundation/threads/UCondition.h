#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// A lock with one condition on it, in the lock / wait / signal / broadcast shape that the task
// contexts and read-write buffers expose to their owners. It is BasicLockable, so
// std::lock_guard<UCondition> and std::unique_lock<UCondition> work on it.
//
// wait() and waitUntil() must be called with the lock held; they release it while asleep and
// hold it again when they return. Wake-ups may be spurious: wait in a loop on the predicate.
class UCondition {
public:
    using Clock = std::chrono::steady_clock;

    UCondition() = default;
    UCondition(const UCondition&) = delete;
    UCondition& operator=(const UCondition&) = delete;

    void lock() { mutex_.lock(); }
    void unlock() { mutex_.unlock(); }
    bool try_lock() { return mutex_.try_lock(); }

    void wait();
    // Answers false when the deadline passed before a wake-up, true otherwise.
    bool waitUntil(Clock::time_point deadline);

    // Wakes one waiter / every waiter; may be called with or without the lock held.
    void signal() { condition_.notify_one(); }
    void broadcast() { condition_.notify_all(); }

private:
    std::mutex mutex_;
    std::condition_variable condition_;
};
