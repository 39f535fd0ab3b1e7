#include "foundation/threads/UThreadTaskContext.h"

#include "foundation/threads/UThreadCount.h"
#include "foundation/threads/UThreadCountPreference.h"
#include "foundation/threads/UThreadManager.h"
#include "foundation/threads/UThreadPool.h"
#include "foundation/threads/UThreadTaskError.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace {
constexpr std::size_t InitialThreadContextCapacity = 32;
constexpr std::size_t InitialErrorCapacity = 20;
constexpr quint64 CountNotSpecified = ~quint64(0);

void setCanceled(bool* isCanceled)
{
    if (isCanceled)
        *isCanceled = true;
}
} // namespace

UThreadTaskContext::UThreadTaskContext()
{
    threadContextArray_.reserve(InitialThreadContextCapacity);
}

UThreadTaskContext::~UThreadTaskContext()
{
    // Subclasses end their runs first; this only keeps the lock alive for a stray worker.
    std::lock_guard<UCondition> locked(lockCondition_);
    if (threadCount() != 0) {
        requestCancel_whileLocked();
        waitAllThreadDone_whileLocked();
    }
}

// ---- Overridable

void UThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    threadState_.store(UThreadTaskStateCleared, std::memory_order_release);
    threadManager_.reset();
    errorArray_.clear();
    errorArray_.shrink_to_fit();
    cancelFlag_.store(false, std::memory_order_release);
    failedFlag_ = false;
    lockCondition_.broadcast();
    nextTargetIndexesManager_.clear();
}

quint64 UThreadTaskContext::specifiedThreadCount() const
{
    return CountNotSpecified;
}

std::shared_ptr<UThreadContext> UThreadTaskContext::newThreadContextWithThreadIdentifier(quint64)
{
    return std::make_shared<UThreadContext>(this);
}

bool UThreadTaskContext::doThreadMainTaskWithThreadContext(UThreadContext&)
{
    std::lock_guard<UCondition> locked(lockCondition_);
    lockCondition_.broadcast();
    return true;
}

bool UThreadTaskContext::doThreadFinalizationTaskWithThreadContext(UThreadContext&)
{
    return true;
}

void UThreadTaskContext::doThreadFailureTaskWithThreadContext(UThreadContext&)
{
}

// ---- Starting a run

bool UThreadTaskContext::startThreadIfNeeded_isCanceled(bool* isCanceled)
{
    return startThreadIfNeededWithThreadCount(threadCountToRun(), isCanceled);
}

bool UThreadTaskContext::startThreadIfNeededWithThreadCount(quint64 threadCount, bool* isCanceled)
{
    return startThreadOrRunTaskIfNeeded(threadCount, false, isCanceled);
}

bool UThreadTaskContext::startThreadIfNeededWithThreadCountFactor(double factor, bool* isCanceled)
{
    const quint64 count = UThreadCountWithThreadCountFactor(
        threadCountToRun(), UThreadTaskMaximumThreadCount, factor);
    return startThreadIfNeededWithThreadCount(count, isCanceled);
}

bool UThreadTaskContext::runTaskByCurrentAndOtherThreadIfNeededWithDoesWaitUntilAllThreadDone(
    bool doesWait, bool* isCanceled)
{
    return runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(
        threadCountToRun(), doesWait, isCanceled);
}

bool UThreadTaskContext::runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(
    quint64 threadCount, bool doesWait, bool* isCanceled)
{
    bool ownFlag = false;
    bool* const canceled = isCanceled ? isCanceled : &ownFlag;
    const bool answer = startThreadOrRunTaskIfNeeded(threadCount, true, canceled);
    if (doesWait && !*canceled)
        waitAllThreadDone();
    return answer;
}

bool UThreadTaskContext::runTaskByCurrentAndOtherThreadIfNeededWithThreadCountFactor(
    double factor, bool doesWait, bool* isCanceled)
{
    const quint64 count = UThreadCountWithThreadCountFactor(
        threadCountToRun(), UThreadTaskMaximumThreadCount, factor);
    return runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(count, doesWait, isCanceled);
}

quint64 UThreadTaskContext::threadCountToRun() const
{
    const quint64 specified = specifiedThreadCount();
    return specified != CountNotSpecified ? specified
                                          : UThreadCountPreference::foregroundTaskThreadCount();
}

std::shared_ptr<UThreadContext> UThreadTaskContext::makeRunningThreadContext(
    quint64 threadIdentifier)
{
    std::shared_ptr<UThreadContext> threadContext
        = newThreadContextWithThreadIdentifier(threadIdentifier);
    threadContext->setThreadState(UThreadTaskStateRunning);
    return threadContext;
}

// Makes the thread contexts of a start and the room to count them and to record one error, before
// the state changes: a start that runs out of memory here throws with the task as it was, and once
// threads run, ending the run for want of a thread allocates nothing.
std::vector<std::shared_ptr<UThreadContext>> UThreadTaskContext::makeThreadContexts_whileLocked(
    quint64 count, bool numbered)
{
    std::vector<std::shared_ptr<UThreadContext>> threadContexts;
    threadContexts.reserve(count);
    for (quint64 i = 0; i < count; ++i)
        threadContexts.push_back(
            makeRunningThreadContext(numbered ? i : UThreadContextIdentifierNotSpecified));
    threadContextArray_.reserve(threadContextArray_.size() + count);
    errorArray_.reserve(std::max(errorArray_.size() + 1, InitialErrorCapacity));
    return threadContexts;
}

bool UThreadTaskContext::startThreadOrRunTaskIfNeeded(
    quint64 threadCount, bool doesUseCurrentThread, bool* isCanceled)
{
    const std::shared_ptr<UThreadManager> manager = threadManager();
    const quint64 specified = specifiedThreadCount();
    std::unique_lock<UCondition> locked(lockCondition_);
    quint64 count = 0;
    switch (startDecision_whileLocked(threadCount, specified, &count)) {
    case StartDecision::Refuse:
        return false;
    case StartDecision::Cancel:
        return cancelExit_whileLocked(isCanceled);
    case StartDecision::Start:
        break;
    }
    const std::vector<std::shared_ptr<UThreadContext>> threadContexts
        = makeThreadContexts_whileLocked(count, specified != CountNotSpecified);
    threadState_.store(UThreadTaskStateRunning, std::memory_order_release);
    // Cannot be refused: the cancel flag was clear under the lock still held.
    for (const std::shared_ptr<UThreadContext>& threadContext : threadContexts)
        _addThreadContext_whileLocked(threadContext, nullptr);
    const std::shared_ptr<UThreadContext> own
        = doesUseCurrentThread ? threadContexts.front() : nullptr;
    if (!handOverWorkers_whileLocked(*manager, threadContexts, own ? 1 : 0)) {
        if (own)
            abandonThreadContext_whileLocked(*own);
        return cancelExit_whileLocked(isCanceled);
    }
    lockCondition_.broadcast();
    locked.unlock();
    return own ? runOwnThreadContext(own, isCanceled) : true;
}

// How many threads a start adds (through *count), or why it adds none.
UThreadTaskContext::StartDecision UThreadTaskContext::startDecision_whileLocked(
    quint64 threadCount, quint64 specified, quint64* count)
{
    if (cancelFlag())
        return StartDecision::Cancel;
    switch (threadState()) {
    case UThreadTaskStateReadyToRun:
        *count = specified != CountNotSpecified ? specified : threadCount;
        if (*count == 0)
            return StartDecision::Refuse; // before the state changes: a run without threads never
                                          // ends
        failedFlag_ = false;
        return StartDecision::Start;
    case UThreadTaskStateRunning:
        if (specified != CountNotSpecified)
            return StartDecision::Cancel;
        if (threadCount <= this->threadCount())
            return StartDecision::Refuse; // enough threads run already
        *count = threadCount - this->threadCount();
        return StartDecision::Start;
    case UThreadTaskStateValueValid:
        return StartDecision::Refuse;
    default:
        return StartDecision::Cancel; // never made ready, or failed
    }
}

// Hands thread contexts first .. end to the manager, each already counted; the lock is held
// throughout, so no worker gets past its first lock before the start is done. When the manager has
// no thread to give (or no memory for the job), the error is recorded, the contexts not handed
// over leave the run, and the answer is false.
bool UThreadTaskContext::handOverWorkers_whileLocked(UThreadManager& manager,
    const std::vector<std::shared_ptr<UThreadContext>>& threadContexts, std::size_t first)
{
    for (std::size_t i = first; i < threadContexts.size(); ++i) {
        try {
            manager.runThreadSelector([this, threadContext = threadContexts[i]] {
                doThreadTaskAndFinalizationWithThreadContext(threadContext);
            });
        } catch (...) {
            addUncaughtException_whileLocked(std::current_exception());
            for (std::size_t j = i; j < threadContexts.size(); ++j)
                abandonThreadContext_whileLocked(*threadContexts[j]);
            return false;
        }
    }
    return true;
}

// A thread context that will never run leaves the run as failed; threads already handed over
// end the run through the cancel that follows.
void UThreadTaskContext::abandonThreadContext_whileLocked(UThreadContext& threadContext)
{
    failedFlag_ = true;
    threadContext.setThreadState(UThreadTaskStateCanceledOrFailed);
    _removeThreadContext_whileLocked(threadContext);
    if (threadCount() == 0)
        threadState_.store(UThreadTaskStateCanceledOrFailed, std::memory_order_release);
}

bool UThreadTaskContext::runOwnThreadContext(
    const std::shared_ptr<UThreadContext>& threadContext, bool* isCanceled)
{
    const bool succeeded = !cancelFlag() && runMainTask(*threadContext);
    // Leaving the run and cancelling it are one step: a restart waiting for the run to end must
    // not clear the cancel in between, or the cancel set afterwards refuses every restart.
    std::lock_guard<UCondition> locked(lockCondition_);
    if (finishThreadContext_whileLocked(*threadContext, succeeded))
        return true;
    // The calling thread's own failure stops the whole run.
    return cancelExit_whileLocked(isCanceled);
}

bool UThreadTaskContext::cancelExit_whileLocked(bool* isCanceled)
{
    requestCancel_whileLocked();
    lockCondition_.broadcast();
    setCanceled(isCanceled);
    return false;
}

bool UThreadTaskContext::runTaskByCurrentThread()
{
    const quint64 specified = specifiedThreadCount();
    std::unique_lock<UCondition> locked(lockCondition_);
    quint64 count = 0;
    switch (runByCurrentThreadDecision_whileLocked(specified, &count)) {
    case StartDecision::Refuse:
        return false;
    case StartDecision::Cancel:
        return failureExit_whileLocked();
    case StartDecision::Start:
        break;
    }
    const std::vector<std::shared_ptr<UThreadContext>> threadContexts
        = makeThreadContexts_whileLocked(count, specified != CountNotSpecified);
    threadState_.store(UThreadTaskStateRunning, std::memory_order_release);
    for (const std::shared_ptr<UThreadContext>& threadContext : threadContexts)
        _addThreadContext_whileLocked(threadContext, nullptr); // cancel is clear under the lock
    lockCondition_.broadcast();
    locked.unlock();

    bool anyFailed = false;
    for (const std::shared_ptr<UThreadContext>& threadContext : threadContexts) {
        const bool succeeded = !cancelFlag() && runMainTask(*threadContext);
        if (!finishThreadContext(*threadContext, succeeded))
            anyFailed = true;
    }
    if (!anyFailed)
        return true;
    locked.lock();
    return failureExit_whileLocked();
}

// How many thread contexts the calling thread runs (through *count); Cancel means the failure exit.
UThreadTaskContext::StartDecision UThreadTaskContext::runByCurrentThreadDecision_whileLocked(
    quint64 specified, quint64* count)
{
    if (cancelFlag())
        return StartDecision::Cancel;
    switch (threadState()) {
    case UThreadTaskStateReadyToRun:
        *count = specified != CountNotSpecified ? specified : 1;
        if (*count == 0)
            return StartDecision::Refuse; // before the state changes
        failedFlag_ = false;
        return StartDecision::Start;
    case UThreadTaskStateRunning:
        if (specified != CountNotSpecified)
            return StartDecision::Cancel;
        *count = 1; // one more thread context joins the running task
        return StartDecision::Start;
    case UThreadTaskStateValueValid:
        return StartDecision::Refuse;
    default:
        return StartDecision::Cancel;
    }
}

// Any failure on the calling thread fails the run; no cancel is requested.
bool UThreadTaskContext::failureExit_whileLocked()
{
    if (threadCount() == 0)
        threadState_.store(UThreadTaskStateCanceledOrFailed, std::memory_order_release);
    lockCondition_.broadcast();
    return false;
}

// ---- The worker

void UThreadTaskContext::doThreadTaskAndFinalizationWithThreadContext(
    const std::shared_ptr<UThreadContext>& threadContext)
{
    const bool succeeded = !cancelFlag() && runMainTask(*threadContext);
    finishThreadContext(*threadContext, succeeded);
}

bool UThreadTaskContext::runMainTask(UThreadContext& threadContext)
{
    try {
        return doThreadMainTaskWithThreadContext(threadContext);
    } catch (...) {
        std::lock_guard<UCondition> locked(lockCondition_);
        addUncaughtException_whileLocked(std::current_exception());
        return false;
    }
}

// Ends one thread's part under the lock; the last thread also ends the run. Answers whether this
// thread context ended done (3).
bool UThreadTaskContext::finishThreadContext(UThreadContext& threadContext, bool mainTaskSucceeded)
{
    std::lock_guard<UCondition> locked(lockCondition_);
    return finishThreadContext_whileLocked(threadContext, mainTaskSucceeded);
}

bool UThreadTaskContext::finishThreadContext_whileLocked(
    UThreadContext& threadContext, bool mainTaskSucceeded)
{
    if (!mainTaskSucceeded)
        failedFlag_ = true;
    bool succeeded = mainTaskSucceeded;
    if (threadCount_.load(std::memory_order_relaxed) == 1)
        succeeded = finishRun_whileLocked(threadContext);
    threadContext.setThreadState(
        succeeded ? UThreadTaskStateValueValid : UThreadTaskStateCanceledOrFailed);
    _removeThreadContext_whileLocked(threadContext);
    return succeeded;
}

bool UThreadTaskContext::finishRun_whileLocked(UThreadContext& threadContext)
{
    bool valid = !failedFlag_ && !cancelFlag();
    if (valid) {
        try {
            valid = doThreadFinalizationTaskWithThreadContext(threadContext);
        } catch (...) {
            addUncaughtException_whileLocked(std::current_exception());
            valid = false;
        }
    }
    threadState_.store(valid ? UThreadTaskStateValueValid : UThreadTaskStateCanceledOrFailed,
        std::memory_order_release);
    if (!valid && !cancelFlag()) {
        try {
            doThreadFailureTaskWithThreadContext(threadContext);
        } catch (...) {
            addUncaughtException_whileLocked(std::current_exception());
        }
    }
    return valid;
}

// ---- Waiting, cancelling, clearing

bool UThreadTaskContext::waitAllThreadDone()
{
    std::lock_guard<UCondition> locked(lockCondition_);
    return waitAllThreadDone_whileLocked();
}

bool UThreadTaskContext::waitAllThreadDone_whileLocked()
{
    while (threadCount() != 0)
        lockCondition_.wait();
    return isValueValid();
}

bool UThreadTaskContext::waitAllThreadDoneUntilDate(
    UCondition::Clock::time_point deadline, bool* didTimeOut)
{
    std::lock_guard<UCondition> locked(lockCondition_);
    while (threadCount() != 0) {
        if (!lockCondition_.waitUntil(deadline) && threadCount() != 0) {
            *didTimeOut = true;
            return false;
        }
    }
    *didTimeOut = false;
    return isValueValid();
}

void UThreadTaskContext::requestCancel()
{
    std::lock_guard<UCondition> locked(lockCondition_);
    requestCancel_whileLocked();
}

void UThreadTaskContext::requestCancel_whileLocked()
{
    cancelFlag_.store(true, std::memory_order_release);
    for (const std::shared_ptr<UThreadContext>& threadContext : threadContextArray_)
        threadContext->requestCancel();
    lockCondition_.broadcast();
}

bool UThreadTaskContext::requestCancelIfNotFinished()
{
    std::lock_guard<UCondition> locked(lockCondition_);
    if (isValueValid())
        return true;
    requestCancel_whileLocked();
    return false;
}

void UThreadTaskContext::cancelAndWaitQuitIfNotFinished()
{
    if (!requestCancelIfNotFinished())
        waitAllThreadDone();
}

void UThreadTaskContext::clearAll_shouldNotRunning()
{
    std::lock_guard<UCondition> locked(lockCondition_);
    waitAllThreadDone_whileLocked();
    clearAll_shouldNotRunning_whileLocked();
}

void UThreadTaskContext::clearAllIfValueNotFinishedAndNotRunning()
{
    std::lock_guard<UCondition> locked(lockCondition_);
    const quint64 state = threadState();
    if (state != UThreadTaskStateCleared && state != UThreadTaskStateReadyToRun
        && state != UThreadTaskStateCanceledOrFailed)
        return;
    waitAllThreadDone_whileLocked();
    clearAll_shouldNotRunning_whileLocked();
}

bool UThreadTaskContext::clearRequestCancelAndSetupToRestart_whileLocked()
{
    waitAllThreadDone_whileLocked();
    cancelFlag_.store(false, std::memory_order_release);
    failedFlag_ = false;
    if (isValueValid())
        return true;
    threadState_.store(UThreadTaskStateReadyToRun, std::memory_order_release);
    lockCondition_.broadcast();
    return false;
}

void UThreadTaskContext::clearAllIfValueNotFinishedAndNotRunningWithThreadTaskContextList(
    std::initializer_list<UThreadTaskContext*> list)
{
    for (UThreadTaskContext* task : list)
        task->clearAllIfValueNotFinishedAndNotRunning();
}

void UThreadTaskContext::clearAll_shouldNotRunning_withThreadTaskContextList(
    std::initializer_list<UThreadTaskContext*> list)
{
    for (UThreadTaskContext* task : list)
        task->clearAll_shouldNotRunning();
}

void UThreadTaskContext::cancelAndWaitQuitIfNotFinishedWithThreadTaskContextList(
    std::initializer_list<UThreadTaskContext*> list)
{
    for (UThreadTaskContext* task : list)
        task->requestCancelIfNotFinished();
    for (UThreadTaskContext* task : list)
        task->waitAllThreadDone();
}

bool UThreadTaskContext::waitAllThreadDoneWithThreadTaskContextList(
    std::initializer_list<UThreadTaskContext*> list)
{
    bool allValid = true;
    for (UThreadTaskContext* task : list)
        allValid = task->waitAllThreadDone() && allValid;
    return allValid;
}

bool UThreadTaskContext::isRunningAnyThreadWithThreadTaskContextList(
    std::initializer_list<UThreadTaskContext*> list)
{
    return std::any_of(
        list.begin(), list.end(), [](const UThreadTaskContext* task) { return task->isRunning(); });
}

// ---- Accessors

std::shared_ptr<UThreadManager> UThreadTaskContext::threadManager() const
{
    // The foreground pool is never destroyed; it is shared without an owner.
    static const std::shared_ptr<UThreadManager> foregroundPool(
        UThreadPool::foregroundTaskThreadPool(), [](UThreadManager*) {});
    std::lock_guard<UCondition> locked(lockCondition_);
    return threadManager_ ? threadManager_ : foregroundPool;
}

void UThreadTaskContext::setThreadManager(std::shared_ptr<UThreadManager> threadManager)
{
    std::lock_guard<UCondition> locked(lockCondition_);
    threadManager_ = std::move(threadManager);
}

bool UThreadTaskContext::isValueValidOrRunning() const
{
    const quint64 state = threadState();
    return state == UThreadTaskStateRunning || state == UThreadTaskStateValueValid;
}

void UThreadTaskContext::_setThreadState_whileLocked(quint64 threadState)
{
    threadState_.store(threadState, std::memory_order_release);
}

bool UThreadTaskContext::_addThreadContext(
    const std::shared_ptr<UThreadContext>& threadContext, bool* isCanceled)
{
    std::lock_guard<UCondition> locked(lockCondition_);
    return _addThreadContext_whileLocked(threadContext, isCanceled);
}

bool UThreadTaskContext::_addThreadContext_whileLocked(
    const std::shared_ptr<UThreadContext>& threadContext, bool* isCanceled)
{
    if (cancelFlag()) {
        setCanceled(isCanceled);
        return false;
    }
    threadContextArray_.push_back(threadContext);
    threadCount_.fetch_add(1, std::memory_order_acq_rel);
    lockCondition_.broadcast();
    return true;
}

void UThreadTaskContext::_removeThreadContext(const UThreadContext& threadContext)
{
    std::lock_guard<UCondition> locked(lockCondition_);
    _removeThreadContext_whileLocked(threadContext);
}

void UThreadTaskContext::_removeThreadContext_whileLocked(const UThreadContext& threadContext)
{
    const auto found = std::find_if(threadContextArray_.begin(), threadContextArray_.end(),
        [&threadContext](
            const std::shared_ptr<UThreadContext>& held) { return held.get() == &threadContext; });
    if (found == threadContextArray_.end())
        return;
    threadContextArray_.erase(found);
    threadCount_.fetch_sub(1, std::memory_order_acq_rel);
    lockCondition_.broadcast();
}

// ---- Errors

void UThreadTaskContext::addCalculationError(UErrorPtr error)
{
    std::lock_guard<UCondition> locked(lockCondition_);
    addCalculationError_whileLocked(std::move(error));
}

void UThreadTaskContext::addCalculationErrorArray(const std::vector<UErrorPtr>& errors)
{
    if (errors.empty())
        return;
    std::lock_guard<UCondition> locked(lockCondition_);
    for (const UErrorPtr& error : errors)
        addCalculationError_whileLocked(error);
}

void UThreadTaskContext::addCalculationError_whileLocked(UErrorPtr error)
{
    if (!error)
        return;
    if (errorArray_.capacity() == 0)
        errorArray_.reserve(InitialErrorCapacity);
    errorArray_.push_back(std::move(error));
    lockCondition_.broadcast();
}

void UThreadTaskContext::addUncaughtException_whileLocked(std::exception_ptr exception) noexcept
{
    // The room for one error was made when the run started: a push that finds none (memory having
    // run out) leaves an earlier error to fail the run.
    try {
        addCalculationError_whileLocked(UThreadTaskErrorWithException(std::move(exception)));
    } catch (...) {
        // Dropped: the run fails all the same.
    }
}

UErrorPtr UThreadTaskContext::firstError_whileLocked() const
{
    return errorArray_.empty() ? nullptr : errorArray_.front();
}

std::vector<UErrorPtr> UThreadTaskContext::errorArray() const
{
    std::lock_guard<UCondition> locked(lockCondition_);
    return errorArray_;
}

std::vector<UErrorPtr> UThreadTaskContext::errorArray_whileLock() const
{
    return errorArray_;
}
