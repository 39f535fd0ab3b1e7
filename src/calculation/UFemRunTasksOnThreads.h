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
// the foreground pool, each task once, taken in turn by whichever thread is free; returns when all
// tasks have ended and rethrows the exception of the lowest-numbered task that threw. It waits for
// tasks, not for threads: a pool thread that starts late (a loaded machine) finds nothing left and
// touches nothing of the caller's.
inline void UFemRunTasksOnThreads(
    quint64 taskCount, quint64 threadCount, const std::function<void(quint64)>& task)
{
    struct Shared {
        std::atomic<quint64> next { 0 };
        const std::function<void(quint64)>* task = nullptr;
        std::vector<std::exception_ptr> exceptions;
        std::mutex lock;
        std::condition_variable allDone;
        quint64 done = 0;
    };
    if (taskCount == 0)
        return;
    auto shared = std::make_shared<Shared>();
    shared->task = &task;
    shared->exceptions.resize(taskCount);
    auto work = [shared, taskCount] {
        for (quint64 t; (t = shared->next.fetch_add(1)) < taskCount;) {
            try {
                (*shared->task)(t);
            } catch (...) {
                shared->exceptions[t] = std::current_exception();
            }
            const std::lock_guard guard(shared->lock);
            if (++shared->done == taskCount)
                shared->allDone.notify_all();
        }
    };
    for (quint64 thread = 1; thread < std::min(threadCount, taskCount); ++thread)
        UThreadPool::foregroundTaskThreadPool()->runThreadSelector(work);
    work();
    {
        std::unique_lock guard(shared->lock);
        shared->allDone.wait(guard, [&] { return shared->done == taskCount; });
    }
    for (const auto& exception : shared->exceptions)
        if (exception)
            std::rethrow_exception(exception);
}
