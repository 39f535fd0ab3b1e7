#pragma once

#include "foundation/threads/UThreadPool.h"

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// Tasks per thread where work is cut up for whichever thread is free: enough that a thread the
// system keeps waiting holds up little.
inline constexpr quint64 UFemTasksPerThread = 4;

// Runs task(0) .. task(taskCount - 1) on the calling thread and up to threadCount - 1 threads of
// `manager`, each task once, taken in turn by whichever thread is free; returns when all tasks
// have ended and rethrows the exception of the lowest-numbered task that threw. It waits for
// tasks, not for threads: a pool thread that starts late (a loaded machine) finds nothing left and
// touches nothing of the caller's. When a thread cannot be handed its share (no thread or no
// memory for the job), no task starts any more; the call waits for the tasks already begun and
// rethrows that exception (unless a task threw).
inline void UFemRunTasksOnThreads(quint64 taskCount, quint64 threadCount,
    const std::function<void(quint64)>& task, UThreadManager& manager)
{
    struct Shared {
        std::atomic<quint64> next { 0 };
        const std::function<void(quint64)>* task = nullptr;
        std::vector<std::exception_ptr> exceptions;
        std::mutex lock;
        std::condition_variable allDone;
        quint64 done = 0;
        quint64 begun = 0; // the tasks to wait for: all, or those begun before a failed hand-out
    };
    if (taskCount == 0)
        return;
    auto shared = std::make_shared<Shared>();
    shared->task = &task;
    shared->exceptions.resize(taskCount);
    shared->begun = taskCount;
    auto work = [shared, taskCount] {
        for (quint64 t; (t = shared->next.fetch_add(1)) < taskCount;) {
            try {
                (*shared->task)(t);
            } catch (...) {
                shared->exceptions[t] = std::current_exception();
            }
            const std::lock_guard guard(shared->lock);
            if (++shared->done == shared->begun)
                shared->allDone.notify_all();
        }
    };
    std::exception_ptr handOutFailure;
    try {
        for (quint64 thread = 1; thread < std::min(threadCount, taskCount); ++thread)
            manager.runThreadSelector(work);
    } catch (...) {
        handOutFailure = std::current_exception();
    }
    if (handOutFailure) {
        const std::lock_guard guard(shared->lock);
        shared->begun = std::min(shared->next.exchange(taskCount), taskCount);
    } else {
        work();
    }
    {
        std::unique_lock guard(shared->lock);
        shared->allDone.wait(guard, [&] { return shared->done == shared->begun; });
    }
    for (const auto& exception : shared->exceptions)
        if (exception)
            std::rethrow_exception(exception);
    if (handOutFailure)
        std::rethrow_exception(handOutFailure);
}

// The same on threads of the foreground pool.
inline void UFemRunTasksOnThreads(
    quint64 taskCount, quint64 threadCount, const std::function<void(quint64)>& task)
{
    UFemRunTasksOnThreads(taskCount, threadCount, task, *UThreadPool::foregroundTaskThreadPool());
}
