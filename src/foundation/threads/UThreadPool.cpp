#include "foundation/threads/UThreadPool.h"

#include "foundation/threads/UDetachedThreadManager.h"
#include "foundation/threads/UThreadPoolThread.h"

#include <utility>

UThreadPool::UThreadPool() = default;

UThreadPool::~UThreadPool()
{
    endThreads();
}

void UThreadPool::endThreads()
{
    const quint64 count = threadCountInTable();
    for (quint64 i = 0; i < count; ++i)
        threadTable_[i]->requestThreadLoopQuit();
    for (quint64 i = 0; i < count; ++i)
        threadTable_[i].reset(); // waits for the loop to end and joins
    threadCountInTable_.store(0, std::memory_order_release);
}

UThreadPool* UThreadPool::foregroundTaskThreadPool()
{
    static UThreadPool* const pool = new UThreadPool; // leaked on purpose
    return pool;
}

UThreadPool* UThreadPool::backgroundTaskThreadPool()
{
    static UThreadPool* const pool = new UThreadPool; // leaked on purpose
    return pool;
}

UThreadPool* UThreadPool::sharedThreadPool()
{
    static UThreadPool* const pool = new UThreadPool; // leaked on purpose
    return pool;
}

void UThreadPool::endProcessWideThreads()
{
    foregroundTaskThreadPool()->endThreads();
    backgroundTaskThreadPool()->endThreads();
    sharedThreadPool()->endThreads();
}

void UThreadPool::runThreadSelector(UThreadJob job)
{
    const quint64 scanned = threadCountInTable();
    for (quint64 i = 0; i < scanned; ++i) {
        if (threadTable_[i]->runThreadSelectorIfNotExecuting(job))
            return;
    }
    std::unique_lock<std::mutex> tableLocked(threadTableLock_);
    const quint64 count = threadCountInTable_.load(std::memory_order_relaxed);
    if (count >= UThreadPoolMaximumThreadCount) {
        tableLocked.unlock();
        UDetachedThreadManager::detachNewThread(std::move(job));
        return;
    }
    auto thread = std::make_unique<UThreadPoolThread>();
    thread->runThreadSelectorIfNotExecuting(job); // idle, so it accepts before it first runs
    thread->start();
    threadTable_[count] = std::move(thread);
    threadCountInTable_.store(count + 1, std::memory_order_release);
}
