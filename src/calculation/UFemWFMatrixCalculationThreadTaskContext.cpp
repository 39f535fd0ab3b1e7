#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"

#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/UFemWFCalculationMemoryEstimate.h"
#include "calculation/UFemWFMatrixCalculationThreadWork.h"
#include "calculation/solver/UFemBlockKernels.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/threads/UThreadCountPreference.h"
#include "platform/UAvailableMemory.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

constexpr quint64 ProgressUnitFlotingOperations = 864;
constexpr quint64 StateReady = 0;
constexpr quint64 StateFactorising = 1;
constexpr quint64 StateFactorised = 2;
constexpr quint64 StateBackSubstituting = 3;
constexpr quint64 StateDone = 4;

} // namespace

UFemWFMatrixCalculationThreadTaskContext::UFemWFMatrixCalculationThreadTaskContext() = default;

UFemWFMatrixCalculationThreadTaskContext::~UFemWFMatrixCalculationThreadTaskContext()
{
    clearAll_shouldNotRunning();
}

quint64 UFemWFMatrixCalculationThreadTaskContext::progressUnitFlotingOperations()
{
    return ProgressUnitFlotingOperations;
}

bool UFemWFMatrixCalculationThreadTaskContext::setArgumentIfNeededWithDelegate(
    const UFemWFMatrixCalculationDelegate* newDelegate)
{
    if (threadState() != 0 || cancelFlag())
        return false;
    delegate = newDelegate;
    UFemWFClearCalculationContext(&calculationContext);
    _setThreadState_whileLocked(1);
    return true;
}

void UFemWFMatrixCalculationThreadTaskContext::clearAll_shouldNotRunning_whileLocked()
{
    UThreadTaskContext::clearAll_shouldNotRunning_whileLocked();
    delegate = nullptr;
    UFemWFFreeCalculationContext(&calculationContext);
    stiffnessMatrixRowMatrixFirstColumnIndexTable.clear();
    stiffnessMatrixColumnMatrixLastRowIndexTable.clear();
    L_RowMatrixValidEndColumnIndexTable.clear();
    Y_MatrixValidEndRowIndex = 0;
    X_MatrixValidMinPageIndex = 0;
    for (auto& record : U_MatrixRecordTable) {
        record.rowPageIndex = 0;
        record.isValid = false;
        record.readThreadCount = record.nextReadThreadCount = 0;
        std::vector<double*>().swap(record.U_MatrixPageTable);
        std::vector<double>().swap(record.U_MatrixBlockMemory);
        record.current_U_MatrixBlockPtr = nullptr;
    }
    isAborted_ = false;
    {
        std::lock_guard<std::mutex> lock(failureMutex_);
        failure_ = Failure::None;
        singularDOFIndex_ = UFemNotFound;
        raisedError_.reset();
    }
    pauseFlag_ = false;
    quitFlag_ = false;
}

// ---- set-up -------------------------------------------------------------------------------------

void UFemWFMatrixCalculationThreadTaskContext::setupToRunCalculation(UErrorPtr* error)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    const quint64 n = c.nodePageCount;
    auto& fc = stiffnessMatrixRowMatrixFirstColumnIndexTable;
    auto& lr = stiffnessMatrixColumnMatrixLastRowIndexTable;
    auto& e = L_RowMatrixValidEndColumnIndexTable;
    try {
        fc.assign(n, 0);
        lr.assign(n, 0);
        e = std::vector<std::atomic<quint64>>(n);
        quint64 bandSum = 0;
        c.maxPageBandWidth = 0;
        for (quint64 i = 0; i < n; ++i) {
            const USparseMatrixIndexSet& columns
                = USparseMatrixRowColumnIndexSet(&c.stiffnessMatrix, i);
            if (columns.empty() || columns.front() > i) {
                UFemSetError(error,
                    UFemUnexpectedError_withDescription(
                        ULocalizedFormattedString("No column matrix in a row.")));
                return;
            }
            fc[i] = e[i] = columns.front();
            for (quint64 j = fc[i]; j <= i; ++j)
                lr[j] = i;
            const quint64 width = i + 1 - fc[i];
            c.maxPageBandWidth = std::max(c.maxPageBandWidth, width);
            bandSum += width;
        }
        c.avePageBandWidth = double(bandSum) / double(n);
        // A factor that cannot fit is refused before any of it is allocated.
        c.estimatedMemoryCapacity
            = UFemWFEstimateCalculationMatrixMemory(c, bandSum, c.maxPageBandWidth);
        const quint64 available = c.memoryLimit ? c.memoryLimit : UAvailableMemoryBytes();
        if (c.estimatedMemoryCapacity > available)
            throw UFemWFMemoryShortage(c.estimatedMemoryCapacity, available);
        UFemWFAllocateCalculationMatrices(&c, fc);
        c.D_MatrixMaxValueNodeDOFIndex = c.D_MatrixMinValueNodeDOFIndex = UFemNotFound;
        c.progressTotalLength = UFemNotFound;
        const USparseMatrixIndexSet& forceColumns
            = USparseMatrixRowColumnIndexSet(&c.forceMatrix, 0);
        forceMatrixValidFirstRowIndex = forceColumns.empty() ? UFemNotFound : forceColumns.front();
        Y_MatrixValidEndRowIndex = 0;
        X_MatrixValidMinPageIndex = n;
        for (auto& record : U_MatrixRecordTable) {
            record.rowPageIndex = UFemNotFound;
            record.isValid = false;
            record.readThreadCount = record.nextReadThreadCount = 0;
            record.U_MatrixPageTable.assign(c.maxPageBandWidth * UFemWFPageBlockCount, nullptr);
            record.U_MatrixBlockMemory.assign(
                c.maxPageBandWidth * UFemWFPageBlockCount * UFemBlockValueCount, 0.0);
            record.current_U_MatrixBlockPtr = nullptr;
        }
    } catch (const std::bad_alloc&) {
        UFemSetError(error, UFemWFCalculationErrorWithException(std::current_exception()));
        return;
    }
    updateCalculationMatrixInfo(error);
}

void UFemWFMatrixCalculationThreadTaskContext::updateCalculationMatrixInfo(UErrorPtr*)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    double maxValue = 0.0;
    double minValue = std::numeric_limits<double>::infinity();
    quint64 maxIndex = UFemNotFound;
    quint64 minIndex = UFemNotFound;
    quint64 valueBytes = 0;
    for (quint64 p = 0; p < c.nodePageCount; ++p) {
        valueBytes += USparseMatrixValueMemorySize(&c.stiffnessMatrix, p, 1);
        double** page = USparseMatrixPageAt(&c.stiffnessMatrix, p, p);
        for (quint64 r = 0; page && r < UFemWFGroupsPerPage; ++r) {
            const double* block = page[UFemWFPageLayout::diagonalBlockIndex(r)];
            for (quint64 j = 0; block && j < UFemBlockDimension; ++j) {
                const double x = block[UFemWFPageLayout::diagonalValueIndex(j)];
                if (x == 0.0)
                    continue;
                const quint64 dof = UFemWFPageDOFCount * p + UFemBlockDimension * r + j;
                if (x > maxValue) {
                    maxValue = x;
                    maxIndex = dof;
                }
                if (x < minValue) {
                    minValue = x;
                    minIndex = dof;
                }
            }
        }
    }
    if (maxIndex != UFemNotFound) {
        c.stiffnessMatrixMaxValue = maxValue;
        c.stiffnessMatrixMaxValueNodeDOFIndex = maxIndex;
        c.stiffnessMatrixMinValue = minValue;
        c.stiffnessMatrixMinValueNodeDOFIndex = minIndex;
    }
    c.stiffnessMatrixValueMemoryCapacity = valueBytes;
    c.stiffnessMatrixAllocMemoryCapacity = USparseMatrixTotalMemoryCapacity(&c.stiffnessMatrix);
}

// ---- costs --------------------------------------------------------------------------------------

quint64 UFemWFMatrixCalculationThreadTaskContext::pivotCost(quint64 p) const
{
    return 256 * (p - stiffnessMatrixRowMatrixFirstColumnIndexTable[p]) + 64;
}

quint64 UFemWFMatrixCalculationThreadTaskContext::lPageCost(quint64 i, quint64 k) const
{
    const auto& fc = stiffnessMatrixRowMatrixFirstColumnIndexTable;
    // L(k + 1, k) is also taken across a boundary between disconnected parts, where it does
    // nothing.
    if (fc[i] > k)
        return 0;
    return 256 * (k - std::max(fc[k], fc[i])) + 128;
}

quint64 UFemWFMatrixCalculationThreadTaskContext::yPageCost(quint64 p) const
{
    const quint64 f0 = forceMatrixValidFirstRowIndex;
    if (f0 == UFemNotFound || p < f0)
        return 0;
    const quint64 first = std::max(stiffnessMatrixRowMatrixFirstColumnIndexTable[p], f0);
    return calculationContext.caseBlockCount * (64 * (p - first) + 32);
}

quint64 UFemWFMatrixCalculationThreadTaskContext::xPageCost(quint64 p) const
{
    return calculationContext.caseBlockCount
        * (64 * (stiffnessMatrixColumnMatrixLastRowIndexTable[p] - p) + 32);
}

void UFemWFMatrixCalculationThreadTaskContext::calculateAndSetProgressTotalLength()
{
    const auto& fc = stiffnessMatrixRowMatrixFirstColumnIndexTable;
    const auto& lr = stiffnessMatrixColumnMatrixLastRowIndexTable;
    quint64 total = 0;
    for (quint64 k = 0; k < calculationContext.nodePageCount; ++k) {
        total += pivotCost(k) + yPageCost(k) + xPageCost(k);
        for (quint64 i = k + 1; i <= lr[k]; ++i)
            if (fc[i] <= k)
                total += lPageCost(i, k);
    }
    calculationContext.progressTotalLength = total;
}

// ---- read-outs ----------------------------------------------------------------------------------

quint64 UFemWFMatrixCalculationThreadTaskContext::progressTotalLength() const
{
    return calculationContext.progressTotalLength.load(std::memory_order_relaxed);
}

quint64 UFemWFMatrixCalculationThreadTaskContext::currentProgress() const
{
    return calculationContext.currentProgress.load(std::memory_order_relaxed);
}

quint64 UFemWFMatrixCalculationThreadTaskContext::computingCount() const
{
    return calculationContext.computingCount.load(std::memory_order_relaxed);
}

quint64 UFemWFMatrixCalculationThreadTaskContext::calculationMemoryCapacity() const
{
    return calculationContext.calculationMatrixAllocMemoryCapacity.load(std::memory_order_relaxed);
}

QString UFemWFMatrixCalculationThreadTaskContext::calculationErrorString()
{
    Lock lock(calculationContextLockCondition.mutex);
    return calculationContext.calculationErrorString;
}

quint64 UFemWFMatrixCalculationThreadTaskContext::singularDOFIndex()
{
    std::lock_guard<std::mutex> lock(failureMutex_);
    return singularDOFIndex_;
}

// ---- threads ------------------------------------------------------------------------------------

bool UFemWFMatrixCalculationThreadTaskContext::doThreadMainTaskWithThreadContext(
    UThreadContext& threadContext)
{
    return runCalculationWithThreadContext(threadContext);
}

bool UFemWFMatrixCalculationThreadTaskContext::doThreadFinalizationTaskWithThreadContext(
    UThreadContext&)
{
    return true;
}

bool UFemWFMatrixCalculationThreadTaskContext::runCalculationWithThreadContext(
    UThreadContext& threadContext)
{
    if (isAborted_)
        return false;
    try {
        return runCalculation(threadContext);
    } catch (const SolutionAborted&) {
        return false;
    } catch (...) {
        failSolutionWithException(std::current_exception());
        return false;
    }
}

void UFemWFMatrixCalculationThreadTaskContext::failSolutionWithException(
    std::exception_ptr exception)
{
    UErrorPtr error = UFemWFCalculationErrorWithException(exception);
    {
        std::lock_guard<std::mutex> lock(failureMutex_);
        if (!raisedError_)
            raisedError_ = std::move(error);
    }
    failSolution(Failure::Raised);
}

void UFemWFMatrixCalculationThreadTaskContext::failSolution(Failure failure)
{
    {
        std::lock_guard<std::mutex> lock(failureMutex_);
        if (failure_ == Failure::None)
            failure_ = failure;
    }
    // Wake every waiter (some wait while holding the schedule lock); none of them will see its
    // condition met any more.
    isAborted_ = true;
    auto wake = [](Condition& condition) {
        Lock lock(condition.mutex);
        condition.broadcast();
    };
    for (auto& condition : L_RowMatrixLockConditionTable)
        wake(condition);
    {
        Lock lock(Y_X_MatrixMutex);
        for (auto& condition : Y_X_PageConditionTable)
            condition.notify_all();
    }
    for (auto& record : U_MatrixRecordTable)
        wake(record.lockCondition);
    requestCancel();
}

void UFemWFMatrixCalculationThreadTaskContext::failSolutionOnPivot(quint64 dofIndex)
{
    {
        std::lock_guard<std::mutex> lock(failureMutex_);
        if (singularDOFIndex_ == UFemNotFound)
            singularDOFIndex_ = dofIndex;
    }
    failSolution(Failure::Singular);
}

UErrorPtr UFemWFMatrixCalculationThreadTaskContext::makeFailureError()
{
    Failure failure = Failure::None;
    quint64 dofIndex = UFemNotFound;
    {
        std::lock_guard<std::mutex> lock(failureMutex_);
        failure = failure_;
        dofIndex = singularDOFIndex_;
    }
    UErrorPtr error;
    if (failure == Failure::Raised) {
        std::lock_guard<std::mutex> lock(failureMutex_);
        error = raisedError_;
    } else if (failure == Failure::Singular) {
        QString nodeName;
        quint64 direction6 = 0;
        if (!delegate || !delegate->getNodeNameStringAndDirection(&nodeName, &direction6, dofIndex))
            nodeName = QString::number(dofIndex);
        error = UFemCalculationFailedWhileSetupError_withDescription(
            ULocalizedFormattedString("Stiffness Matrix is singular or not positive definite."),
            ULocalizedFormattedString(
                "Check whether the model is restrained enough and has no mechanism, "
                "etc. The reason of error can be different from the DOF shown."),
            nodeName, direction6);
    } else {
        return UFemCalculationCanceledError();
    }
    Lock lock(calculationContextLockCondition.mutex);
    calculationContext.calculationErrorString = error->localizedOneLineDescription();
    return error;
}

void UFemWFMatrixCalculationThreadTaskContext::flushPending(ThreadWork& work)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    c.currentProgress.fetch_add(work.pendingProgress, std::memory_order_relaxed);
    c.computingCount.fetch_add(work.pendingComputingCount, std::memory_order_relaxed);
    c.L_MatrixValueMemoryCapacity += work.pendingLMemory;
    work.pendingProgress = work.pendingComputingCount = work.pendingLMemory = 0;
}

bool UFemWFMatrixCalculationThreadTaskContext::runCalculation(UThreadContext& threadContext)
{
    if (isCancelRequested(threadContext))
        return false;
    ThreadWork work(calculationContext);
    const bool done = scheduleFactorisation(threadContext, work)
        && scheduleBackSubstitution(threadContext, work);
    if (!done && (work.pendingProgress || work.pendingComputingCount || work.pendingLMemory)) {
        Lock lock = lockPolling(calculationContextLockCondition.mutex);
        flushPending(work);
    }
    return done;
}

bool UFemWFMatrixCalculationThreadTaskContext::scheduleFactorisation(
    UThreadContext& threadContext, ThreadWork& work)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    const quint64 n = c.nodePageCount;
    const auto& fc = stiffnessMatrixRowMatrixFirstColumnIndexTable;
    const auto& lr = stiffnessMatrixColumnMatrixLastRowIndexTable;
    {
        Lock lock = lockPolling(calculationContextLockCondition.mutex);
        if (c.calculationProgressState == StateReady) {
            calculateAndSetProgressTotalLength();
            c.calculationProgressState = n == 1 ? StateFactorised : StateFactorising;
            c.columnPageIndex = n == 1 ? UFemNotFound : 0;
            c.rowPageIndex = n == 1 ? UFemNotFound : 2;
            c.pivotChainPageIndex = 1;
            lock.unlock();
            pivotStep(0, work);
        }
    }
    for (;;) {
        if (isCancelRequested(threadContext))
            return false;
        Lock lock = lockPolling(calculationContextLockCondition.mutex);
        flushPending(work);
        if (c.calculationProgressState != StateFactorising)
            return finishForwardSubstitution(threadContext, lock);
        const quint64 k = c.columnPageIndex;
        const quint64 q = c.pivotChainPageIndex;
        // The pivots form the critical path: its next job goes first, to a thread already
        // running, as soon as its rows are ready.
        if (q < n && isPivotChainJobReady(q, k)) {
            takePivotChainJob(lock, q, work);
            continue;
        }
        quint64 i = c.rowPageIndex;
        while (i <= lr[k] && fc[i] > k)
            ++i;
        if (i <= lr[k]) {
            c.rowPageIndex = i + 1;
            takeLPage(lock, i, k, work);
            continue;
        }
        // The jobs of the next column need its pivot: it is taken before they are handed out,
        // and only once pivot k is done, so that no job of column k + 1 marks its U record
        // before pivot k - 3 has taken it.
        if (q == k + 1) {
            if (isPivotDone(k))
                takePivotChainJob(lock, q, work);
            else
                waitForPivot(lock, k);
            continue;
        }
        if (k + 2 == n) {
            c.calculationProgressState = StateFactorised;
            c.columnPageIndex = c.rowPageIndex = UFemNotFound;
            return finishForwardSubstitution(threadContext, lock);
        }
        c.columnPageIndex = k + 1;
        c.rowPageIndex = k + 3;
    }
}

// Pivot q's job may run without waiting: pivot q - 1 is done and row q is complete up to the
// L page it computes first. Pivot q takes over the U record of page q - 4, so every job of column
// q - 4 must have been handed out (and counted as a reader of it) first: a chain running further
// ahead of the column being handed out would take the record from jobs not yet given, which then
// read the wrong U page and leave a reader count that never returns to 0.
bool UFemWFMatrixCalculationThreadTaskContext::isPivotChainJobReady(quint64 q, quint64 column) const
{
    return q <= column + URecordCount - 1 && isPivotDone(q - 1)
        && L_RowMatrixValidEndColumnIndexTable[q].load(std::memory_order_acquire) >= q - 1;
}

bool UFemWFMatrixCalculationThreadTaskContext::isPivotDone(quint64 p) const
{
    return L_RowMatrixValidEndColumnIndexTable[p].load(std::memory_order_acquire) > p;
}

// Nothing can be handed out before pivot p is done.
void UFemWFMatrixCalculationThreadTaskContext::waitForPivot(Lock& scheduleLock, quint64 p)
{
    scheduleLock.unlock();
    awaitPivot(p);
}

void UFemWFMatrixCalculationThreadTaskContext::awaitPivot(quint64 p)
{
    Condition& row = rowCondition(p);
    pollThenWait(row.cv, row.mutex, [&] { return isPivotDone(p); });
}

// L(q, q - 1) and pivot q on one thread. The L page needs no reader mark on the U record of
// q - 1: the only pivot that reuses it, q + 3, comes after pivot q on the chain.
void UFemWFMatrixCalculationThreadTaskContext::takePivotChainJob(
    Lock& scheduleLock, quint64 q, ThreadWork& work)
{
    calculationContext.pivotChainPageIndex = q + 1;
    scheduleLock.unlock();
    work.pendingProgress += lPageCost(q, q - 1);
    calculateLPage(q, q - 1, work);
    markLPageDone(q, q - 1);
    pivotStep(q, work);
}

void UFemWFMatrixCalculationThreadTaskContext::takeLPage(
    Lock& scheduleLock, quint64 i, quint64 k, ThreadWork& work)
{
    UFemMatrixCalculation_U_MatrixRecord& record = uRecord(k);
    {
        // Pivot k may not have taken the record yet (it then holds page k - 4): the job counts
        // as a reader of its next page, and waits for the pivot, not the schedule.
        Lock recordLock = lockPolling(record.lockCondition.mutex);
        ++(record.rowPageIndex == k ? record.readThreadCount : record.nextReadThreadCount);
    }
    scheduleLock.unlock();
    work.pendingProgress += lPageCost(i, k);
    calculateLPage(i, k, work);
    {
        Lock recordLock = lockPolling(record.lockCondition.mutex);
        --record.readThreadCount;
        record.lockCondition.broadcast();
    }
    markLPageDone(i, k);
}

void UFemWFMatrixCalculationThreadTaskContext::markLPageDone(quint64 i, quint64 k)
{
    Condition& row = rowCondition(i);
    Lock rowLock = lockPolling(row.mutex);
    if (L_RowMatrixValidEndColumnIndexTable[i] == k) {
        L_RowMatrixValidEndColumnIndexTable[i] = k + 1;
        row.broadcast();
    }
}

void UFemWFMatrixCalculationThreadTaskContext::pivotStep(quint64 p, ThreadWork& work)
{
    work.pendingProgress += pivotCost(p);
    calculatePivotPage(p, work);
    UFemMatrixCalculation_U_MatrixRecord& record = uRecord(p);
    {
        Lock recordLock = lockPolling(record.lockCondition.mutex);
        record.isValid = true;
        record.lockCondition.broadcast();
    }
    {
        Condition& row = rowCondition(p);
        Lock rowLock = lockPolling(row.mutex);
        L_RowMatrixValidEndColumnIndexTable[p] = p + 1;
        row.broadcast();
    }
    work.pendingLMemory = USparseMatrixValueMemorySize(&calculationContext.L_Matrix, p, 1);
    if (forceMatrixValidFirstRowIndex != UFemNotFound && p >= forceMatrixValidFirstRowIndex) {
        work.pendingProgress += yPageCost(p);
        calculateYPage(p, work);
    }
    publishYPage(p);
}

void UFemWFMatrixCalculationThreadTaskContext::waitForYPages(Lock& lock, quint64 end)
{
    pollThenWaitUntil(pageCondition(end - 1), lock,
        [&] { return Y_MatrixValidEndRowIndex.load(std::memory_order_relaxed) >= end; });
}

void UFemWFMatrixCalculationThreadTaskContext::publishYPage(quint64 page)
{
    Lock lock = lockPolling(Y_X_MatrixMutex);
    // Pages before the first force page publish without waiting for each other: the index only
    // grows, and may pass several waited-for pages at once.
    const quint64 end = Y_MatrixValidEndRowIndex.load(std::memory_order_relaxed);
    if (page < end)
        return;
    Y_MatrixValidEndRowIndex.store(page + 1, std::memory_order_release);
    const quint64 slotCount = Y_X_PageConditionTable.size();
    for (quint64 q = std::max(end, page + 1 > slotCount ? page + 1 - slotCount : 0); q <= page; ++q)
        pageCondition(q).notify_all();
}

void UFemWFMatrixCalculationThreadTaskContext::waitForXPage(quint64 page)
{
    pollThenWait(pageCondition(page), Y_X_MatrixMutex,
        [&] { return X_MatrixValidMinPageIndex.load(std::memory_order_acquire) <= page; });
}

void UFemWFMatrixCalculationThreadTaskContext::publishXPage(quint64 page)
{
    Lock lock = lockPolling(Y_X_MatrixMutex);
    X_MatrixValidMinPageIndex.store(page, std::memory_order_release);
    pageCondition(page).notify_all();
}

bool UFemWFMatrixCalculationThreadTaskContext::finishForwardSubstitution(
    UThreadContext& threadContext, Lock& scheduleLock)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    if (c.calculationProgressState == StateFactorised) {
        {
            Lock yLock = lockPolling(Y_X_MatrixMutex);
            waitForYPages(yLock, c.nodePageCount);
        }
        if (isCancelRequested(threadContext))
            return false;
        recordDiagonalExtremesAndMemory();
        c.calculationProgressState = StateBackSubstituting;
        c.columnPageIndex = UFemNotFound;
        c.rowPageIndex = c.nodePageCount - 1;
    }
    scheduleLock.unlock();
    return true;
}

void UFemWFMatrixCalculationThreadTaskContext::recordDiagonalExtremesAndMemory()
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    double maxValue = 0.0;
    double minValue = std::numeric_limits<double>::infinity();
    quint64 maxIndex = UFemNotFound;
    quint64 minIndex = UFemNotFound;
    for (quint64 dof = 0; dof < c.nodePageCount * UFemWFPageDOFCount; ++dof) {
        const double d = c.D_MatrixTable[2 * dof];
        if (d > maxValue) {
            maxValue = d;
            maxIndex = dof;
        }
        if (d < minValue) {
            minValue = d;
            minIndex = dof;
        }
    }
    c.D_MatrixMaxValue = maxValue;
    c.D_MatrixMaxValueNodeDOFIndex = maxIndex;
    c.D_MatrixMinValue = minValue;
    c.D_MatrixMinValueNodeDOFIndex = minIndex;
    c.L_MatrixAllocMemoryCapacity = USparseMatrixTotalMemoryCapacity(&c.L_Matrix);
    c.calculationMatrixAllocMemoryCapacity
        = c.L_MatrixAllocMemoryCapacity + c.stiffnessMatrixAllocMemoryCapacity;
    c.calculationMatrixValueMemoryCapacity
        = c.L_MatrixValueMemoryCapacity + c.stiffnessMatrixValueMemoryCapacity;
}

bool UFemWFMatrixCalculationThreadTaskContext::scheduleBackSubstitution(
    UThreadContext& threadContext, ThreadWork& work)
{
    _UFemWFMatrixCalculationContext& c = calculationContext;
    for (;;) {
        if (isCancelRequested(threadContext))
            return false;
        quint64 p = 0;
        {
            Lock lock = lockPolling(calculationContextLockCondition.mutex);
            flushPending(work);
            if (c.calculationProgressState != StateBackSubstituting)
                return true;
            p = c.rowPageIndex;
            if (p == 0) {
                c.calculationProgressState = StateDone;
                c.columnPageIndex = c.rowPageIndex = UFemNotFound;
            } else {
                c.rowPageIndex = p - 1;
            }
        }
        work.pendingProgress += xPageCost(p);
        calculateXPage(p, work);
        publishXPage(p);
    }
}

// ---- running with pause, resume and quit --------------------------------------------------------

bool UFemWFMatrixCalculationThreadTaskContext::runMatrixCalculation(
    quint64 threadCount, UErrorPtr* error)
{
    std::unique_lock<UThreadTaskContext> locked(*this);
    // With more threads than processors, a polling thread would hold the processor that the
    // thread it waits for needs.
    const bool hasProcessorPerThread
        = threadCount <= UThreadCountPreference::activeProcessorCount();
    pollBudget_ = pollBudgetSetting_.value_or(
        hasProcessorPerThread ? DefaultPollBudget : std::chrono::nanoseconds(0));
    for (;;) {
        while (pauseFlag_ && !hasFailedOrQuit_whileLocked()) {
            isCalculationPausing_ = true;
            wait();
        }
        isCalculationPausing_ = false;
        if (hasFailedOrQuit_whileLocked())
            break;
        // Only this loop restarts a stopped run, so a pause lifted at any moment finds it here.
        if (clearRequestCancelAndSetupToRestart_whileLocked())
            return true;
        locked.unlock();
        bool isCanceled = false;
        runTaskByCurrentAndOtherThreadIfNeededWithThreadCount(
            std::max<quint64>(threadCount, 1), true, &isCanceled);
        locked.lock();
        // Solved only with a valid value; any other ending not failed or quit was a pause
        // (perhaps already lifted), and the run goes on where it stopped.
        if (waitAllThreadDone_whileLocked())
            return true;
    }
    locked.unlock();
    UFemSetError(error, makeFailureError());
    return false;
}

bool UFemWFMatrixCalculationThreadTaskContext::hasFailedOrQuit_whileLocked()
{
    if (quitFlag_)
        return true;
    std::lock_guard<std::mutex> failureLock(failureMutex_);
    // A thread that could not be started, or raised outside the solution, fails it too.
    if (failure_ == Failure::None) {
        if (UErrorPtr error = firstError_whileLocked()) {
            failure_ = Failure::Raised;
            raisedError_ = std::move(error);
        }
    }
    return failure_ != Failure::None;
}

void UFemWFMatrixCalculationThreadTaskContext::pauseCalculationWithFlag(bool flag)
{
    lock();
    if (flag && !quitFlag_) {
        pauseFlag_ = true;
        requestCancel_whileLocked();
    } else if (!flag) {
        // The run loop restarts the stopped run once it has ended.
        pauseFlag_ = false;
    }
    broadcast();
    unlock();
}

void UFemWFMatrixCalculationThreadTaskContext::quitCalculation()
{
    lock();
    pauseFlag_ = false;
    quitFlag_ = true;
    requestCancel_whileLocked();
    broadcast();
    unlock();
}
