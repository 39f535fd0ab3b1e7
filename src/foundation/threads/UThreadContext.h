#pragma once

#include <QtGlobal>

#include <atomic>

class UThreadTaskContext;

// States of a task context (and, 2 to 4, of a thread context).
enum UThreadTaskState : quint64 {
    UThreadTaskStateCleared = 0,
    UThreadTaskStateReadyToRun = 1,
    UThreadTaskStateRunning = 2,
    UThreadTaskStateValueValid = 3,
    UThreadTaskStateCanceledOrFailed = 4,
};

// Identifier of a thread context when the task leaves its thread count to the preferences.
inline constexpr quint64 UThreadContextIdentifierNotSpecified = ~quint64(0);

// One thread's share of a run of a UThreadTaskContext: running (2), done (3) or failed or
// canceled (4). Subclasses add per-thread fields only; the task makes them through
// newThreadContextWithThreadIdentifier().
class UThreadContext {
public:
    explicit UThreadContext(UThreadTaskContext* threadTaskContext);
    virtual ~UThreadContext() = default;
    UThreadContext(const UThreadContext&) = delete;
    UThreadContext& operator=(const UThreadContext&) = delete;

    // The task it belongs to; not owned.
    UThreadTaskContext* threadTaskContext() const { return threadTaskContext_; }

    quint64 threadState() const { return threadState_.load(std::memory_order_acquire); }
    void setThreadState(quint64 state) { threadState_.store(state, std::memory_order_release); }

    // Read by the thread's own work as a hint to stop; set by the task's cancel.
    bool cancelFlag() const { return cancelFlag_.load(std::memory_order_acquire); }
    // No lock and no wake-up.
    void requestCancel() { cancelFlag_.store(true, std::memory_order_release); }

    // Waits on the task condition while this thread context is running.
    void waitUntilDone();

private:
    UThreadTaskContext* const threadTaskContext_;
    std::atomic<quint64> threadState_ { UThreadTaskStateCleared };
    std::atomic<bool> cancelFlag_ { false };
};
