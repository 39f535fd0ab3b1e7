#pragma once

#include "foundation/threads/UThreadManager.h"

#include <QtGlobal>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>

class UThreadPoolThread;

// Up to 32 reusable threads. A request goes to the first idle pooled thread; when every pooled
// thread is busy a new one joins the pool, and beyond 32 the request gets a detached thread that
// ends with its job. Pooled threads never leave the pool while it lives.
class UThreadPool final : public UThreadManager {
public:
    static constexpr quint64 UThreadPoolMaximumThreadCount = 32;

    UThreadPool();
    // Ends every pooled thread; running jobs finish first.
    ~UThreadPool() override;
    UThreadPool(const UThreadPool&) = delete;
    UThreadPool& operator=(const UThreadPool&) = delete;

    // Three distinct process-wide pools, made on first use and never destroyed, so that static
    // destruction at exit never waits for a busy thread. The foreground pool is the default
    // manager of every task context.
    static UThreadPool* foregroundTaskThreadPool();
    static UThreadPool* backgroundTaskThreadPool();
    static UThreadPool* sharedThreadPool();
    // Ends the threads of the three process-wide pools, as endThreads() does. For the end of a
    // program that must exit with no thread but its own (a leak check at exit).
    static void endProcessWideThreads();

    // Ends and joins every pooled thread (running jobs finish first); a later request starts new
    // ones. Only while no other thread hands this pool work.
    void endThreads();

    void runThreadSelector(UThreadJob job) override;

    quint64 threadCountInTable() const
    {
        return threadCountInTable_.load(std::memory_order_acquire);
    }

private:
    // A slot is written before the count is raised (release) and never cleared while the pool
    // lives, so the scan reads slots below the count (acquire) without the lock.
    std::array<std::unique_ptr<UThreadPoolThread>, UThreadPoolMaximumThreadCount> threadTable_;
    std::atomic<quint64> threadCountInTable_ { 0 };
    std::mutex threadTableLock_;
};
