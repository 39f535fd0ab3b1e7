#pragma once

#include "foundation/threads/UCondition.h"
#include "foundation/threads/UThreadManager.h"

#include <thread>

// One reusable thread of a UThreadPool: it sleeps on its condition until a job is offered, runs
// it without any lock held, and goes back to sleep. Owned by its pool.
class UThreadPoolThread {
public:
    UThreadPoolThread() = default;
    // Ends the loop (a running job finishes first) and joins the thread.
    ~UThreadPoolThread();
    UThreadPoolThread(const UThreadPoolThread&) = delete;
    UThreadPoolThread& operator=(const UThreadPoolThread&) = delete;

    // Takes `job` (moving it out) when this thread is idle and answers true; answers false and
    // leaves `job` untouched when the thread is busy.
    bool runThreadSelectorIfNotExecuting(UThreadJob& job);

    void start();
    void requestThreadLoopQuit();
    void waitUntilThreadLoopQuit();

private:
    enum QuitState { Running = 0, QuitRequested = 1, LoopEnded = 2 };

    void main();

    UCondition threadLockCondition_;
    UThreadJob job_; // the pending job, until the loop takes it
    bool isExecuting_ = false; // from the offer until the job has returned
    QuitState threadQuitState_ = Running;
    std::thread thread_;
};
