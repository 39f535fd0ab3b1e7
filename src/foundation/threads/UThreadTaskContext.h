#pragma once

#include "foundation/errors/UError.h"
#include "foundation/threads/UCondition.h"
#include "foundation/threads/UThreadContext.h"
#include "foundation/threads/UThreadTaskNextTargetIndexesManager.h"

#include <QtGlobal>

#include <atomic>
#include <exception>
#include <initializer_list>
#include <memory>
#include <vector>

class UThreadManager;

// One multi-threaded computation and its state. A run makes one UThreadContext per thread,
// hands the worker routine to the thread manager (the foreground UThreadPool unless another is
// set), optionally lets the calling thread take part, and has the last thread to finish run the
// final step under the task lock. Any thread may cancel the run or wait for it.
//
// States: 0 cleared → 1 ready (the subclass's own argument operation, under the lock, only from
// 0 with the cancel flag clear) → 2 running → 3 value valid (every thread succeeded and the final
// step answered true) or 4 canceled or failed. A cancel sets the flag only; the threads end the
// run.
//
// Subclasses supply the work: doThreadMainTaskWithThreadContext() (polling cancelFlag()), and as
// needed specifiedThreadCount(), newThreadContextWithThreadIdentifier(),
// doThreadFinalizationTaskWithThreadContext() and clearAll_shouldNotRunning_whileLocked() (calling
// the base first). Their arguments and results are guarded by the task lock: the task is
// BasicLockable, so std::lock_guard<UThreadTaskContext> works. A subclass's destructor calls
// clearAll_shouldNotRunning() (or cancelAndWaitQuitIfNotFinished()) first, so that no worker
// still runs its overrides; the base destructor only waits as a last guard.
//
// An exception thrown by a main task or a final step is caught at the task boundary, added to
// the errors and fails that thread.
class UThreadTaskContext {
public:
    UThreadTaskContext();
    virtual ~UThreadTaskContext();
    UThreadTaskContext(const UThreadTaskContext&) = delete;
    UThreadTaskContext& operator=(const UThreadTaskContext&) = delete;

    // ---- Overridable
    // Lock held, no thread running: state 0, no manager, no errors, cancel clear, dispenser
    // cleared.
    virtual void clearAll_shouldNotRunning_whileLocked();
    // All-ones: the count is not the task's own and the preference (or the caller's count) applies.
    virtual quint64 specifiedThreadCount() const;
    // A new thread context belonging to this task. The base ignores the identifier.
    virtual std::shared_ptr<UThreadContext> newThreadContextWithThreadIdentifier(
        quint64 threadIdentifier);
    // The work of one thread, run without the lock; true on success.
    virtual bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext);
    // Run under the lock by the last thread of a run in which every thread succeeded; true makes
    // the value valid. It must not wait for other threads of this task.
    virtual bool doThreadFinalizationTaskWithThreadContext(UThreadContext& threadContext);
    // Run under the lock by the last thread of a run that failed while no cancel was asked, the
    // task already in state 4, so that whoever waits for the value learns that none comes. It
    // must not wait for other threads of this task.
    virtual void doThreadFailureTaskWithThreadContext(UThreadContext& threadContext);

    // ---- Starting a run. Every isCanceled is set to true when the run was canceled (never
    // cleared here); it may be null. The answers are true when threads were started. A thread the
    // manager cannot give (or no memory for its job) ends the run failed with that error (the
    // memory error for want of resources) and cancels the threads already started. Memory running
    // out before any thread starts throws std::bad_alloc, the task left as it was.
    bool startThreadIfNeeded_isCanceled(bool* isCanceled);
    bool startThreadIfNeededWithThreadCount(quint64 threadCount, bool* isCanceled);
    // count = threadCountToRun() scaled by the factor rule, at most 16.
    bool startThreadIfNeededWithThreadCountFactor(double factor, bool* isCanceled);
    // The calling thread takes part as one of the threads (identifier 0); then, when asked and not
    // canceled, waits for the others.
    bool runTaskByCurrentAndOtherThreadIfNeededWithDoesWaitUntilAllThreadDone(
        bool doesWait, bool* isCanceled);
    bool runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(
        quint64 threadCount, bool doesWait, bool* isCanceled);
    bool runTaskByCurrentAndOtherThreadIfNeededWithThreadCountFactor(
        double factor, bool doesWait, bool* isCanceled);
    // The whole run on the calling thread, one thread context after another; false when any
    // failed or the task was not ready.
    bool runTaskByCurrentThread();
    // specifiedThreadCount() when given, otherwise the foreground thread count of the preferences.
    quint64 threadCountToRun() const;

    // ---- Waiting, cancelling, clearing
    // Waits until no thread is in the run; true when the value is then valid.
    bool waitAllThreadDone();
    bool waitAllThreadDone_whileLocked();
    // As waitAllThreadDone(); when the deadline passes first, *didTimeOut = true and false.
    bool waitAllThreadDoneUntilDate(UCondition::Clock::time_point deadline, bool* didTimeOut);
    void requestCancel();
    void requestCancel_whileLocked();
    // True, changing nothing, when the value is valid; otherwise cancels and answers false.
    bool requestCancelIfNotFinished();
    void cancelAndWaitQuitIfNotFinished();
    void clearAll_shouldNotRunning();
    // Clears only a task that is cleared, ready or failed (state 0, 1 or 4).
    void clearAllIfValueNotFinishedAndNotRunning();
    // Lock held: waits for the threads, clears the cancel; true when the value is valid,
    // otherwise the task is ready again (arguments kept) and the answer is false.
    bool clearRequestCancelAndSetupToRestart_whileLocked();

    static void clearAllIfValueNotFinishedAndNotRunningWithThreadTaskContextList(
        std::initializer_list<UThreadTaskContext*> list);
    static void clearAll_shouldNotRunning_withThreadTaskContextList(
        std::initializer_list<UThreadTaskContext*> list);
    // Cancels every one first, then waits for every one, so that all stop at once.
    static void cancelAndWaitQuitIfNotFinishedWithThreadTaskContextList(
        std::initializer_list<UThreadTaskContext*> list);
    static bool waitAllThreadDoneWithThreadTaskContextList(
        std::initializer_list<UThreadTaskContext*> list);
    static bool isRunningAnyThreadWithThreadTaskContextList(
        std::initializer_list<UThreadTaskContext*> list);

    // ---- Accessors
    // The own manager, or the foreground pool. Takes the lock.
    std::shared_ptr<UThreadManager> threadManager() const;
    // Kept until the next clear.
    void setThreadManager(std::shared_ptr<UThreadManager> threadManager);
    quint64 threadState() const { return threadState_.load(std::memory_order_acquire); }
    quint64 threadCount() const { return threadCount_.load(std::memory_order_acquire); }
    bool isReadyToRun() const { return threadState() == UThreadTaskStateReadyToRun; }
    bool isRunning() const { return threadState() == UThreadTaskStateRunning; }
    bool isValueValid() const { return threadState() == UThreadTaskStateValueValid; }
    bool isValueValidOrRunning() const;
    // State 4; not the flag.
    bool isCanceled() const { return threadState() == UThreadTaskStateCanceledOrFailed; }
    // The cancel request, read without the lock as a hint.
    bool cancelFlag() const { return cancelFlag_.load(std::memory_order_acquire); }
    UThreadTaskNextTargetIndexesManager& nextTargetIndexesManager()
    {
        return nextTargetIndexesManager_;
    }

    // The task condition, for the subclass's own fields.
    void lock() { lockCondition_.lock(); }
    void unlock() { lockCondition_.unlock(); }
    bool try_lock() { return lockCondition_.try_lock(); }
    void broadcast() { lockCondition_.broadcast(); }
    void signal() { lockCondition_.signal(); }
    void wait() { lockCondition_.wait(); }
    bool waitUntilDate(UCondition::Clock::time_point deadline)
    {
        return lockCondition_.waitUntil(deadline);
    }

    void _setThreadState_whileLocked(quint64 threadState);
    // Refused (answering false and setting *isCanceled) while the cancel flag is set.
    bool _addThreadContext(const std::shared_ptr<UThreadContext>& threadContext, bool* isCanceled);
    bool _addThreadContext_whileLocked(
        const std::shared_ptr<UThreadContext>& threadContext, bool* isCanceled);
    void _removeThreadContext(const UThreadContext& threadContext);
    void _removeThreadContext_whileLocked(const UThreadContext& threadContext);

    // ---- Errors of the run, kept until the next clear.
    void addCalculationError(UErrorPtr error);
    // For final steps and other code that already holds the lock.
    void addCalculationError_whileLocked(UErrorPtr error);
    void addCalculationErrorArray(const std::vector<UErrorPtr>& errors);
    // Copies; empty when no error was added.
    std::vector<UErrorPtr> errorArray() const;
    std::vector<UErrorPtr> errorArray_whileLock() const;
    // The first error of the run, or null; allocates nothing.
    UErrorPtr firstError_whileLocked() const;

private:
    enum class StartDecision { Start, Refuse, Cancel };

    bool startThreadOrRunTaskIfNeeded(
        quint64 threadCount, bool doesUseCurrentThread, bool* isCanceled);
    StartDecision startDecision_whileLocked(quint64 threadCount, quint64 specified, quint64* count);
    std::vector<std::shared_ptr<UThreadContext>> makeThreadContexts_whileLocked(
        quint64 count, bool numbered);
    bool handOverWorkers_whileLocked(UThreadManager& manager,
        const std::vector<std::shared_ptr<UThreadContext>>& threadContexts, std::size_t first);
    void abandonThreadContext_whileLocked(UThreadContext& threadContext);
    StartDecision runByCurrentThreadDecision_whileLocked(quint64 specified, quint64* count);
    bool failureExit_whileLocked();
    bool runOwnThreadContext(
        const std::shared_ptr<UThreadContext>& threadContext, bool* isCanceled);
    bool cancelExit_whileLocked(bool* isCanceled);
    void doThreadTaskAndFinalizationWithThreadContext(
        const std::shared_ptr<UThreadContext>& threadContext);
    bool runMainTask(UThreadContext& threadContext);
    bool finishThreadContext(UThreadContext& threadContext, bool mainTaskSucceeded);
    bool finishThreadContext_whileLocked(UThreadContext& threadContext, bool mainTaskSucceeded);
    bool finishRun_whileLocked(UThreadContext& threadContext);
    void addUncaughtException_whileLocked(std::exception_ptr exception) noexcept;
    std::shared_ptr<UThreadContext> makeRunningThreadContext(quint64 threadIdentifier);

    mutable UCondition lockCondition_;
    std::vector<std::shared_ptr<UThreadContext>> threadContextArray_;
    std::shared_ptr<UThreadManager> threadManager_;
    std::atomic<quint64> threadState_ { UThreadTaskStateCleared };
    std::vector<UErrorPtr> errorArray_;
    std::atomic<quint64> threadCount_ { 0 };
    std::atomic<bool> cancelFlag_ { false };
    // Some thread of this run failed: the run ends failed whichever thread finishes last.
    bool failedFlag_ = false;
    UThreadTaskNextTargetIndexesManager nextTargetIndexesManager_;
};
