#pragma once

#include "calculation/UFemWFMatrixCalculationContext.h"
#include "calculation/UFemWFMatrixCalculationDelegate.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UError.h"
#include "foundation/threads/USpinUntil.h"
#include "foundation/threads/UThreadTaskContext.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <vector>

// Solves K X = F for all cases of one matrix calculator on several threads: K = L D L^T
// left-looking over pages of 48 DOFs, the forward substitution Y = L^-1 F interleaved with it and
// the back substitution X = L^-T D^-1 Y pipelined from the last page down. Threads take page jobs
// from one locked schedule; a job once taken runs to its end, so a cancelled run can be restarted
// on new threads and continues where it stopped (pause and resume). The order of every sum is
// fixed, so X does not depend on the number of threads or on pauses.
class UFemWFMatrixCalculationThreadTaskContext : public UThreadTaskContext {
public:
    UFemWFMatrixCalculationThreadTaskContext();
    ~UFemWFMatrixCalculationThreadTaskContext() override;

    // Floating-point operations per unit of progress.
    static quint64 progressUnitFlotingOperations();

    // Caller holds the task lock. The delegate is not owned: the calculator owns this task.
    bool setArgumentIfNeededWithDelegate(const UFemWFMatrixCalculationDelegate* delegate);
    _UFemWFMatrixCalculationContext* calculationContextPtr() { return &calculationContext; }
    void setupToRunCalculation(UErrorPtr* error);
    void updateCalculationMatrixInfo(UErrorPtr* error);
    void calculateAndSetProgressTotalLength();
    bool runCalculationWithThreadContext(UThreadContext& threadContext);

    // Runs the task on the calling thread and pool threads until it is solved, waiting while
    // paused; false with an error when it was quit (21099), found the system singular (21011,
    // naming the DOF) or ran out of memory (81001); any other exception of its threads gives the
    // unexpected error (81004).
    [[nodiscard]] bool runMatrixCalculation(quint64 threadCount, UErrorPtr* error);
    // How long a thread short of a page polls for it before it sleeps (default: DefaultPollBudget
    // while the run has no more threads than the machine has processors, else none). Set before
    // runMatrixCalculation.
    static constexpr std::chrono::microseconds DefaultPollBudget { 200 };
    void setPollBudget(std::chrono::nanoseconds budget) { pollBudgetSetting_ = budget; }
    // From any thread while runMatrixCalculation runs.
    void pauseCalculationWithFlag(bool flag);
    void quitCalculation();
    bool isCalculationPausing() const
    {
        return isCalculationPausing_.load(std::memory_order_relaxed);
    }

    // Read-outs for the progress display (no lock).
    quint64 progressTotalLength() const;
    quint64 currentProgress() const;
    quint64 computingCount() const;
    quint64 calculationMemoryCapacity() const;
    QString calculationErrorString();
    // The first DOF whose pivot failed, UFemNotFound when none did.
    quint64 singularDOFIndex();

protected:
    void clearAll_shouldNotRunning_whileLocked() override;
    bool doThreadMainTaskWithThreadContext(UThreadContext& threadContext) override;
    bool doThreadFinalizationTaskWithThreadContext(UThreadContext& threadContext) override;

private:
    struct Condition {
        std::mutex mutex;
        std::condition_variable cv;
        void broadcast() { cv.notify_all(); }
    };
    using Lock = std::unique_lock<std::mutex>;

    struct UFemMatrixCalculation_U_MatrixRecord {
        Condition lockCondition;
        quint64 rowPageIndex = UFemNotFound;
        bool isValid = false;
        quint64 readThreadCount = 0;
        // L jobs of row page index + 4 handed out before that pivot took the record.
        quint64 nextReadThreadCount = 0;
        std::vector<double*> U_MatrixPageTable;
        std::vector<double> U_MatrixBlockMemory;
        double* current_U_MatrixBlockPtr = nullptr;
    };

    struct ThreadWork;
    enum class Failure { None, Singular, Raised };
    struct SolutionAborted { };

    // Schedule
    bool runCalculation(UThreadContext& threadContext);
    bool isCancelRequested(const UThreadContext& threadContext) const
    {
        return threadContext.cancelFlag() || cancelFlag()
            || isAborted_.load(std::memory_order_relaxed);
    }
    bool scheduleFactorisation(UThreadContext& threadContext, ThreadWork& work);
    bool finishForwardSubstitution(UThreadContext& threadContext, Lock& scheduleLock);
    bool scheduleBackSubstitution(UThreadContext& threadContext, ThreadWork& work);
    void flushPending(ThreadWork& work);
    void takeLPage(Lock& scheduleLock, quint64 i, quint64 k, ThreadWork& work);
    void markLPageDone(quint64 i, quint64 k);
    bool isPivotDone(quint64 p) const;
    void waitForPivot(Lock& scheduleLock, quint64 p);
    // No lock held: until pivot p is done and row p no longer written.
    void awaitPivot(quint64 p);
    bool isPivotChainJobReady(quint64 q, quint64 column) const;
    void takePivotChainJob(Lock& scheduleLock, quint64 q, ThreadWork& work);
    void pivotStep(quint64 p, ThreadWork& work);
    void recordDiagonalExtremesAndMemory();
    void failSolution(Failure failure);
    void failSolutionWithException(std::exception_ptr exception);
    // Task lock held: the run was quit or failed (a stopped run without either is restarted).
    bool hasFailedOrQuit_whileLocked();
    void failSolutionOnPivot(quint64 dofIndex);
    UErrorPtr makeFailureError();
    // Waits for `done`; a failed solution ends the wait by throwing SolutionAborted.
    template <class Predicate>
    void waitUntil(std::condition_variable& condition, Lock& lock, Predicate done)
    {
        condition.wait(lock, [&] { return done() || isAborted_.load(std::memory_order_relaxed); });
        if (!done())
            throw SolutionAborted();
    }
    template <class Predicate> void waitUntil(Condition& condition, Lock& lock, Predicate done)
    {
        waitUntil(condition.cv, lock, done);
    }
    // Polls `done` a while with no lock held, since the job waited for is mostly a few
    // microseconds from its end; true when it came. `done` reads only atomics, with acquire where
    // it publishes data.
    template <class Predicate> bool pollFor(Predicate done) const
    {
        return USpinUntil([&] { return done() || isAborted_.load(std::memory_order_relaxed); },
                   pollBudget_)
            && done();
    }
    // As waitUntil, polling first with the lock released.
    template <class Predicate>
    void pollThenWaitUntil(std::condition_variable& condition, Lock& lock, Predicate done)
    {
        if (!done()) {
            lock.unlock();
            pollFor(done);
            lock.lock();
        }
        waitUntil(condition, lock, done);
    }
    template <class Predicate>
    void pollThenWaitUntil(Condition& condition, Lock& lock, Predicate done)
    {
        pollThenWaitUntil(condition.cv, lock, done);
    }
    // With no lock held: polls, and takes `mutex` only if it must sleep.
    template <class Predicate>
    void pollThenWait(std::condition_variable& condition, std::mutex& mutex, Predicate done)
    {
        if (pollFor(done))
            return;
        Lock lock = lockPolling(mutex);
        waitUntil(condition, lock, done);
    }
    // The run's threads only: the locks of the schedule, rows, U records and Y and X pages are
    // held for microseconds.
    Lock lockPolling(std::mutex& mutex) const
    {
        constexpr std::chrono::microseconds LockPollBudget { 20 };
        ULockPolling(mutex, std::min<std::chrono::nanoseconds>(pollBudget_, LockPollBudget));
        return Lock(mutex, std::adopt_lock);
    }
    // Y and X pages: a thread waiting for page p to be published sleeps on p's slot, so that a
    // page published wakes only the threads that wait for it.
    std::condition_variable& pageCondition(quint64 page)
    {
        return Y_X_PageConditionTable[page % Y_X_PageConditionTable.size()];
    }
    // Y_X_MatrixMutex held: until the Y pages before `end` (at least 1) are published.
    void waitForYPages(Lock& lock, quint64 end);
    void publishYPage(quint64 page);
    // Until X page `page` is published (X_MatrixValidMinPageIndex <= page).
    void waitForXPage(quint64 page);
    void publishXPage(quint64 page);
    Condition& rowCondition(quint64 row) { return L_RowMatrixLockConditionTable[row % 16]; }
    UFemMatrixCalculation_U_MatrixRecord& uRecord(quint64 page)
    {
        return U_MatrixRecordTable[page % URecordCount];
    }

    // Job costs in progress units
    quint64 pivotCost(quint64 p) const;
    quint64 lPageCost(quint64 i, quint64 k) const;
    quint64 yPageCost(quint64 p) const;
    quint64 xPageCost(quint64 p) const;

    // Page jobs
    void calculatePivotPage(quint64 k, ThreadWork& work);
    void calculateLPage(quint64 i, quint64 k, ThreadWork& work);
    void calculateYPage(quint64 k, ThreadWork& work);
    void calculateXPage(quint64 k, ThreadWork& work);
    quint64 takeRowPages(quint64 row, quint64 endColumn, quint64 firstSlot, ThreadWork& work);
    void accumulatePivotPages(quint64 k, quint64 firstSlot, quint64 endSlot, ThreadWork& work);
    void factoriseDiagonalBlock(
        quint64 k, quint64 a, const double* K, double* L, double* U, double* S);
    void solveOffDiagonalBlock(
        quint64 k, quint64 b, const double* K, double* L, const double* Ubb, double* S);
    void accumulateYPages(quint64 firstSlot, quint64 endSlot, ThreadWork& work);
    double* takeUBlock(UFemMatrixCalculation_U_MatrixRecord& record);

    const UFemWFMatrixCalculationDelegate* delegate = nullptr;
    // The schedule's lock; no thread waits on its condition (a thread short of work waits for the
    // pivot it needs on that pivot's row).
    Condition calculationContextLockCondition;
    _UFemWFMatrixCalculationContext calculationContext;
    std::vector<quint64> stiffnessMatrixRowMatrixFirstColumnIndexTable;
    std::vector<quint64> stiffnessMatrixColumnMatrixLastRowIndexTable;
    // Written under the row's lock; the schedule reads it without, to look for the next pivot
    // without waiting for a row's lock.
    std::vector<std::atomic<quint64>> L_RowMatrixValidEndColumnIndexTable;
    std::array<Condition, 16> L_RowMatrixLockConditionTable;
    // Guards the two indexes (written under it, read without it where a job only looks) and the
    // creation of Y pages.
    std::mutex Y_X_MatrixMutex;
    std::array<std::condition_variable, 16> Y_X_PageConditionTable;
    std::atomic<quint64> Y_MatrixValidEndRowIndex { 0 };
    std::atomic<quint64> X_MatrixValidMinPageIndex { 0 };
    // Pivot page k's U page lives in record k mod URecordCount.
    static constexpr quint64 URecordCount = 4;
    std::array<UFemMatrixCalculation_U_MatrixRecord, URecordCount> U_MatrixRecordTable;
    quint64 forceMatrixValidFirstRowIndex = UFemNotFound;

    // Failure of the solution (guarded by failureMutex_; the flag is read anywhere).
    std::mutex failureMutex_;
    std::atomic<bool> isAborted_ { false };
    Failure failure_ = Failure::None;
    quint64 singularDOFIndex_ = UFemNotFound;
    UErrorPtr raisedError_;

    std::optional<std::chrono::nanoseconds> pollBudgetSetting_;
    // Chosen when a run starts; its threads only read it.
    std::chrono::nanoseconds pollBudget_ { 0 };

    // Pause (guarded by the task lock).
    bool pauseFlag_ = false;
    bool quitFlag_ = false;
    std::atomic<bool> isCalculationPausing_ { false };
};
