// Building, running and finishing the solution of one restraint set, and its progress.

#include "calculation/solver/UFemWFMatrixCalculator.h"

#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/UFemWFCalculationMatrixBuild.h"
#include "calculation/UFemWFCalculationMemoryEstimate.h"
#include "foundation/UFemNotFound.h"
#include "foundation/threads/UThreadCountPreference.h"

#include <chrono>

bool UFemWFMatrixCalculator::prepareMatrixCalculation(UErrorPtr* error)
{
    if (!UFemWFRunCalculationStep(error, [&] { return checkLoadsToSolve(error); }))
        return false;
    const auto start = std::chrono::steady_clock::now();
    UErrorPtr failure;
    std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> task;
    // Memory running out while the matrices are built is an error like any other. The step's
    // answer is whether a task came back, with its failure.
    static_cast<void>(UFemWFRunCalculationStep(&failure, [&] {
        task = UFemWFBuildCalculationThreadTaskContext(requireNodeMatrices(), slotLayout_, this,
            memoryLimit_, solutionThreadCount(), pagePolicy_, &failure);
        return true;
    }));

    buildCalculationMatrixTimeInterval_ = secondsSince(start);
    if (!task) {
        if (failure)
            UFemSetError(error, failure);
        return false;
    }
    std::lock_guard<std::mutex> lock(taskMutex_);
    task_ = std::move(task);
    // Requests made before the task existed.
    if (quitFlag_)
        task_->quitCalculation();
    else if (pauseFlag_)
        task_->pauseCalculationWithFlag(true);
    return true;
}

bool UFemWFMatrixCalculator::runMatrixCalculation(UErrorPtr* error)
{
    if (!task_)
        return true;
    const quint64 threadCount = solutionThreadCount();
    const auto start = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> lock(taskMutex_);
        pausedDuration_ = {};
        if (pauseStart_)
            pauseStart_ = start;
    }
    UErrorPtr failure;
    const bool solved = UFemWFRunCalculationStep(
        &failure, [&] { return task_->runMatrixCalculation(threadCount, &failure); });
    runCalculationTimeInterval_ = secondsSince(start) - pausedSecondsOfRun();
    if (!solved)
        UFemSetError(error, failure);
    return solved;
}

bool UFemWFMatrixCalculator::finalizeMatrixCalculation(UErrorPtr* error)
{
    const bool laidOut = UFemWFRunCalculationStep(error, [this] {
        UFemWFNodeMatrices& matrices = requireNodeMatrices();
        // Without a task (no slot or no case) the states alone give the values.
        const bool solved = task_ && task_->isValueValid();
        const double* X = solved ? task_->calculationContextPtr()->X_MatrixTable.data() : nullptr;
        const auto& slotTable = slotLayout_.orderedNodeIndexTableByBuild();
        matrices.finalizeMatrixCalculation(slotTable.empty() ? nullptr : slotTable.data(), X);
        writeRestraintToDisplacementMatrix();
        return true;
    });
    return laidOut && checkDisplacements(error);
}

quint64 UFemWFMatrixCalculator::getDisplacementMatrixValueTable(const double** valueTable,
    const quint64** nodeNoTable, const _UFemNode3DOFState** nodeDOFStateTable) const
{
    if (!nodeMatrices_) {
        *valueTable = nullptr;
        *nodeNoTable = nullptr;
        *nodeDOFStateTable = nullptr;
        return 0;
    }
    return nodeMatrices_->getDisplacementMatrixValueTable(
        valueTable, nodeNoTable, nodeDOFStateTable);
}

void UFemWFMatrixCalculator::finish()
{
    std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> task;
    {
        std::lock_guard<std::mutex> lock(taskMutex_);
        if (task_) {
            progressTotalLength_noMatrixCalculator_ = task_->progressTotalLength();
            currentProgress_noMatrixCalculator_ = task_->currentProgress();
            computingCount_noMatrixCalculator_ = task_->computingCount();
            calculationErrorString_ = task_->calculationErrorString();
            solutionFigures_ = figuresOfTask_whileLocked();
        }
        task = std::move(task_);
        isFinished_ = true;
    }
    if (task)
        UFemWFReleaseCalculationContext(task->calculationContextPtr(), solutionThreadCount());
    task.reset();
    if (nodeMatrices_) {
        std::vector<_UCMemoryStorage> storages
            = USparseMatrixStorages(nodeMatrices_->stiffnessMatrix());
        for (const _UCMemoryStorage& storage : USparseMatrixStorages(nodeMatrices_->forceMatrix()))
            storages.push_back(storage);
        UFemReleaseStoragePages(storages, solutionThreadCount());
    }
    nodeMatrices_.reset();
    restraintObjectList_ = UFemRestraintObjectList();
    slotLayout_ = UFemWFCalculationSlotLayout();
}

quint64 UFemWFMatrixCalculator::solutionThreadCount() const
{
    return threadCount_ ? threadCount_ : UThreadCountPreference::calculationTaskThreadCount();
}

UFemWFSolutionFigures UFemWFMatrixCalculator::solutionFigures() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    UFemWFSolutionFigures figures = task_ ? figuresOfTask_whileLocked() : solutionFigures_;
    figures.nodeOrderingSeconds = nodeOrderingTimeInterval_;
    figures.buildCalculationMatrixSeconds = buildCalculationMatrixTimeInterval_;
    figures.runCalculationSeconds = runCalculationTimeInterval_;
    return figures;
}

UFemWFSolutionFigures UFemWFMatrixCalculator::figuresOfTask_whileLocked() const
{
    const _UFemWFMatrixCalculationContext& c = *task_->calculationContextPtr();
    UFemWFSolutionFigures figures;
    figures.pageCount = c.nodePageCount;
    figures.maxPageBandWidth = c.maxPageBandWidth;
    figures.avePageBandWidth = c.avePageBandWidth;
    figures.estimatedMemoryCapacity = c.estimatedMemoryCapacity;
    figures.factorValueMemoryCapacity = c.L_MatrixValueMemoryCapacity;
    figures.stiffnessValueMemoryCapacity = c.stiffnessMatrixValueMemoryCapacity;
    figures.factorPagesFellBack = c.factorPagesFellBack;
    const quint64 total = task_->progressTotalLength();
    figures.floatingOperations = total == ~quint64(0) ? 0 : total * progressUnitFlotingOperations();
    return figures;
}

// ---- progress and control -----------------------------------------------------------------------

bool UFemWFMatrixCalculator::isCalculationPausing() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    return task_ && task_->isCalculationPausing();
}

quint64 UFemWFMatrixCalculator::calculatingThreadCount() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    if (task_)
        return task_->threadCount();
    return isFinished_ ? 1 : 0;
}

quint64 UFemWFMatrixCalculator::progressTotalLength() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    return task_ ? task_->progressTotalLength() : progressTotalLength_noMatrixCalculator_;
}

quint64 UFemWFMatrixCalculator::currentProgress() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    return task_ ? task_->currentProgress() : currentProgress_noMatrixCalculator_;
}

quint64 UFemWFMatrixCalculator::computingCount() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    return task_ ? task_->computingCount() : computingCount_noMatrixCalculator_;
}

quint64 UFemWFMatrixCalculator::calculationMemoryCapacity() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    return task_ ? task_->calculationMemoryCapacity() : 0;
}

quint64 UFemWFMatrixCalculator::progressUnitFlotingOperations()
{
    return UFemWFMatrixCalculationThreadTaskContext::progressUnitFlotingOperations();
}

double UFemWFMatrixCalculator::pausedSecondsOfRun() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    auto paused = pausedDuration_;
    if (pauseStart_)
        paused += std::chrono::steady_clock::now() - *pauseStart_;
    return std::chrono::duration<double>(paused).count();
}

void UFemWFMatrixCalculator::recordPauseWithFlag_whileLocked(bool flag)
{
    const auto now = std::chrono::steady_clock::now();
    if (flag && !pauseStart_) {
        pauseStart_ = now;
    } else if (!flag && pauseStart_) {
        pausedDuration_ += now - *pauseStart_;
        pauseStart_.reset();
    }
}

void UFemWFMatrixCalculator::pauseCalculationWithFlag(bool flag)
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    recordPauseWithFlag_whileLocked(flag);
    pauseFlag_ = flag;
    if (task_)
        task_->pauseCalculationWithFlag(flag);
}

void UFemWFMatrixCalculator::quitCalculation()
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    recordPauseWithFlag_whileLocked(false);
    quitFlag_ = true;
    pauseFlag_ = false;
    if (task_)
        task_->quitCalculation();
}

QString UFemWFMatrixCalculator::calculationErrorString() const
{
    std::lock_guard<std::mutex> lock(taskMutex_);
    return task_ ? task_->calculationErrorString() : calculationErrorString_;
}

bool UFemWFMatrixCalculator::getNodeNameStringAndDirection(
    QString* nodeName, quint64* direction6, quint64 calculationDOFIndex) const
{
    const auto& triples = slotLayout_.orderedCombNodeNoTableByCalc();
    const quint64 slot = calculationDOFIndex / 3;
    if (slot >= triples.size() || triples[slot] == UFemNotFound)
        return false;
    const quint64 t = triples[slot];
    *nodeName = nodeNameStringWithNodeNo(t / 2);
    *direction6 = 3 * (t % 2) + calculationDOFIndex % 3;
    return true;
}
