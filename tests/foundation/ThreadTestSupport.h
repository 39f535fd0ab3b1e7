#pragma once

#include "foundation/threads/UCondition.h"
#include "foundation/threads/UThreadManager.h"
#include "foundation/threads/UThreadPool.h"
#include "foundation/threads/UThreadTaskContext.h"

#include <QtGlobal>

#include <atomic>
#include <exception>
#include <functional>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

// A one-way gate: threads wait until it is opened.
class Gate {
public:
    void open()
    {
        std::lock_guard<UCondition> locked(condition_);
        isOpen_ = true;
        condition_.broadcast();
    }
    void waitOpen()
    {
        std::lock_guard<UCondition> locked(condition_);
        while (!isOpen_)
            condition_.wait();
    }

private:
    UCondition condition_;
    bool isOpen_ = false;
};

// Counts arrivals; waiters block until a number of them has arrived (or a deadline passed).
class ArrivalCounter {
public:
    void arrive()
    {
        std::lock_guard<UCondition> locked(condition_);
        ++count_;
        condition_.broadcast();
    }
    bool waitFor(int count, std::chrono::milliseconds timeout = std::chrono::seconds(30))
    {
        const auto deadline = UCondition::Clock::now() + timeout;
        std::lock_guard<UCondition> locked(condition_);
        while (count_ < count) {
            if (!condition_.waitUntil(deadline))
                return count_ >= count;
        }
        return true;
    }
    int count()
    {
        std::lock_guard<UCondition> locked(condition_);
        return count_;
    }

private:
    UCondition condition_;
    int count_ = 0;
};

// A thread manager that keeps every job until the test lets them all run, each on its own thread.
class HeldJobsManager final : public UThreadManager {
public:
    ~HeldJobsManager() override { joinAll(); }
    void runThreadSelector(UThreadJob job) override
    {
        std::lock_guard<std::mutex> locked(mutex_);
        jobs_.push_back(std::move(job));
    }
    std::size_t heldCount()
    {
        std::lock_guard<std::mutex> locked(mutex_);
        return jobs_.size();
    }
    void releaseAll()
    {
        std::lock_guard<std::mutex> locked(mutex_);
        for (UThreadJob& job : jobs_)
            threads_.emplace_back([job = std::move(job)] { performJob(job); });
        jobs_.clear();
    }
    void joinAll()
    {
        std::lock_guard<std::mutex> locked(mutex_);
        for (std::thread& thread : threads_)
            thread.join();
        threads_.clear();
    }

private:
    std::mutex mutex_;
    std::vector<UThreadJob> jobs_;
    std::vector<std::thread> threads_;
};

// A thread manager that cannot give out threads.
class FailingThreadManager final : public UThreadManager {
public:
    void runThreadSelector(UThreadJob) override
    {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

// A thread manager that gives the first `given` jobs to the foreground pool and then refuses
// every request with `refusal` (a thread or the memory for its job not to be had).
class RefusingThreadManager final : public UThreadManager {
public:
    RefusingThreadManager(int given, std::exception_ptr refusal)
        : given_(given)
        , refusal_(std::move(refusal))
    {
    }
    void runThreadSelector(UThreadJob job) override
    {
        if (given_.fetch_sub(1) <= 0)
            std::rethrow_exception(refusal_);
        UThreadPool::foregroundTaskThreadPool()->runThreadSelector(std::move(job));
    }

private:
    std::atomic<int> given_;
    const std::exception_ptr refusal_;
};

// A thread context that remembers its identifier and the thread that ran it.
class RecordingThreadContext final : public UThreadContext {
public:
    RecordingThreadContext(UThreadTaskContext* task, quint64 identifier)
        : UThreadContext(task)
        , identifier(identifier)
    {
    }
    const quint64 identifier;
    std::thread::id ranOn; // written by the thread that runs it, read after the run
};

// A task whose work and thread count each test sets. Everything it records is guarded by the
// task lock.
class TestTask final : public UThreadTaskContext {
public:
    using Work = std::function<bool(RecordingThreadContext&)>;

    explicit TestTask(Work work = {}, quint64 specified = ~quint64(0))
        : work_(std::move(work))
        , specified_(specified)
    {
    }
    ~TestTask() override { clearAll_shouldNotRunning(); }

    // The argument operation of a subclass: ready only from cleared with no cancel.
    bool setArgumentIfNeeded()
    {
        std::lock_guard<TestTask> locked(*this);
        if (threadState() != UThreadTaskStateCleared || cancelFlag())
            return false;
        _setThreadState_whileLocked(UThreadTaskStateReadyToRun);
        return true;
    }

    quint64 specifiedThreadCount() const override { return specified_; }

    std::shared_ptr<UThreadContext> newThreadContextWithThreadIdentifier(
        quint64 identifier) override
    {
        if (contexts.size() == failingContext)
            throw std::bad_alloc();
        auto threadContext = std::make_shared<RecordingThreadContext>(this, identifier);
        contexts.push_back(threadContext); // made under the task lock
        return threadContext;
    }

    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override
    {
        auto& recording = static_cast<RecordingThreadContext&>(threadContext);
        recording.ranOn = std::this_thread::get_id();
        mainTaskCount.fetch_add(1);
        return work_ ? work_(recording) : true;
    }

    bool doThreadFinalizationTaskWithThreadContext(UThreadContext& threadContext) override
    {
        ++finalizationCount;
        threadCountAtFinalization = threadCount();
        mainTasksAtFinalization = mainTaskCount.load();
        finalizedOn = std::this_thread::get_id();
        finalizedContext = &threadContext;
        if (finalization)
            return finalization();
        return true;
    }

    void doThreadFailureTaskWithThreadContext(UThreadContext&) override
    {
        ++failureStepCount;
        stateAtFailureStep = threadState();
    }

    std::vector<std::shared_ptr<RecordingThreadContext>> contexts;
    // The making of this thread context (counted from 0 over the task's life) runs out of memory.
    std::size_t failingContext = ~std::size_t(0);
    std::atomic<int> mainTaskCount { 0 };
    int finalizationCount = 0;
    quint64 threadCountAtFinalization = 0;
    int mainTasksAtFinalization = 0;
    std::thread::id finalizedOn;
    const UThreadContext* finalizedContext = nullptr;
    std::function<bool()> finalization;
    int failureStepCount = 0;
    quint64 stateAtFailureStep = 0;

private:
    Work work_;
    quint64 specified_;
};
