#pragma once

#include <functional>
#include <vector>

// One piece of work handed to another thread.
using UThreadJob = std::function<void()>;

// Runs work off the calling thread. The task contexts run their workers through one of these:
// the foreground UThreadPool unless they are given another.
class UThreadManager {
public:
    virtual ~UThreadManager() = default;

    // Runs `job` once on another thread and returns at once. An exception escaping the job is
    // caught on that thread and logged; the task contexts catch their own before that.
    virtual void runThreadSelector(UThreadJob job) = 0;

    // Runs `methods` one after another, in order, on one other thread of this manager.
    void runThreadContinuouslyWithMethodArray(std::vector<UThreadJob> methods);

    // Runs a job on the calling thread with the exception boundary every manager applies.
    static void performJob(const UThreadJob& job) noexcept;
};
