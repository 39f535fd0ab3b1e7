#include "foundation/threads/UThreadPoolThread.h"

#include <mutex>
#include <utility>

UThreadPoolThread::~UThreadPoolThread()
{
    if (!thread_.joinable())
        return;
    requestThreadLoopQuit();
    waitUntilThreadLoopQuit();
    thread_.join();
}

bool UThreadPoolThread::runThreadSelectorIfNotExecuting(UThreadJob& job)
{
    {
        std::lock_guard<UCondition> locked(threadLockCondition_);
        if (isExecuting_)
            return false;
        job_ = std::move(job);
        isExecuting_ = true;
    }
    // Woken after the unlock, so that the thread does not wake only to wait for the lock; the
    // thread object outlives every offer (it lives as long as its pool).
    threadLockCondition_.broadcast();
    return true;
}

void UThreadPoolThread::start()
{
    thread_ = std::thread([this] { main(); });
}

void UThreadPoolThread::requestThreadLoopQuit()
{
    std::lock_guard<UCondition> locked(threadLockCondition_);
    if (threadQuitState_ == Running)
        threadQuitState_ = QuitRequested;
    threadLockCondition_.broadcast();
}

void UThreadPoolThread::waitUntilThreadLoopQuit()
{
    std::lock_guard<UCondition> locked(threadLockCondition_);
    while (threadQuitState_ != LoopEnded)
        threadLockCondition_.wait();
}

void UThreadPoolThread::main()
{
    for (;;) {
        UThreadJob job;
        {
            std::lock_guard<UCondition> locked(threadLockCondition_);
            while (!isExecuting_ && threadQuitState_ == Running)
                threadLockCondition_.wait();
            if (threadQuitState_ != Running) {
                // A job still pending when the quit came is dropped without running.
                job_ = nullptr;
                isExecuting_ = false;
                threadQuitState_ = LoopEnded;
                threadLockCondition_.broadcast();
                return;
            }
            job = std::move(job_);
            job_ = nullptr;
        }
        UThreadManager::performJob(job);
        job = nullptr; // what the job captured goes before the thread reports idle
        std::lock_guard<UCondition> locked(threadLockCondition_);
        isExecuting_ = false;
        threadLockCondition_.broadcast();
    }
}
