// The run of a calculation: the restraint sets one after the other into new result data.

#include "calculation/UFemMatrixCalculationContext.h"

#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/UFemWFCalculationMemoryEstimate.h"
#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/solver/UFemWFMatrixCalculator.h"
#include "cards/loads/Case.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/strings/UFormattedString.h"
#include "platform/UAvailableMemory.h"

#include <future>

bool UFemMatrixCalculationContext::checkQuitAndWaitWhilePaused(UErrorPtr* error)
{
    std::unique_lock<std::mutex> lock(matrixCalculatorLock_);
    matrixCalculatorCondition_.wait(
        lock, [this] { return quitCalculationRequested_ || !pauseCalculationRequested_; });
    if (quitCalculationRequested_) {
        UFemSetError(error, UFemCalculationCanceledError());
        return false;
    }
    return true;
}

bool UFemMatrixCalculationContext::runCalculation(UErrorPtr* error)
{
    UErrorPtr failure;
    const bool succeeded = UFemWFRunCalculationStep(&failure, [&] {
        if (!checkQuitAndWaitWhilePaused(&failure))
            return false;
        // The result data takes the model's text and names while the first restraint set is
        // solved: the model stays locked through the run and the solver reads none of it.
        auto pending = std::async(std::launch::async | std::launch::deferred, [this] {
            return UFemResultDataManagerImpl::createWithDataController(
                *dataController_, [](const UFemCard& caseCard) -> const UFemCardName* {
                    const auto* typed = dynamic_cast<const Case*>(&caseCard);
                    return typed ? typed->restraintCardName() : nullptr;
                });
        });
        std::shared_ptr<UFemResultDataManagerImpl> manager;
        const auto results = [&]() -> UFemResultDataManagerImpl& {
            if (!manager) {
                manager = pending.get();
                manager->setCalculationInfoString(calculationInfoString_);
            }
            return *manager;
        };
        for (quint64 index = 0; index < matrixCalculatorArray_.size(); ++index)
            if (!runMatrixCalculator(*matrixCalculatorArray_[index], index, results, &failure))
                return false;
        if (!results().finalizeAddResultData(&failure))
            return false;
        std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
        resultDataManager_ = std::move(manager);
        return true;
    });
    dropCalculators();
    if (!succeeded)
        UFemSetError(error, failure);
    return succeeded;
}

bool UFemMatrixCalculationContext::runMatrixCalculator(UFemWFMatrixCalculator& calculator,
    quint64 calculationIndex, const ResultDataAccess& results, UErrorPtr* error)
{
    UErrorPtr failure;
    bool stored = solveMatrixCalculator(calculator, &failure)
        && storeDisplacements(calculator, calculationIndex, results(), &failure);
    const QString logText = calculator.calculationLogString();
    calculator.finish();
    {
        std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
        solutionFiguresArray_[calculationIndex] = calculator.solutionFigures();
    }
    if (!logText.isEmpty())
        results().appendCalculationLogString(logText);
    if (stored)
        return true;
    if (failure && failure->isUFemCalculationCanceledError()) {
        UFemSetError(error, failure);
        return false;
    }
    // One restraint set failing leaves the others to be calculated.
    const QString errorText = failure ? failure->localizedOneLineDescription()
                                      : ULocalizedString("Unknown Calculation Error.");
    return results().addResultDataWithCalculationErrorString(errorText, nullptr,
        matrixCalculatorInfoRecordTable_[calculationIndex].caseNoIndexSet, error);
}

bool UFemMatrixCalculationContext::solveMatrixCalculator(
    UFemWFMatrixCalculator& calculator, UErrorPtr* error)
{
    if (!checkQuitAndWaitWhilePaused(error))
        return false;
    UErrorPtr failure;
    // False without an error: nothing to solve, the restrained values alone are the result.
    if (!calculator.prepareMatrixCalculation(&failure) && failure) {
        UFemSetError(error, failure);
        return false;
    }
    if (!checkQuitAndWaitWhilePaused(error) || !calculator.runMatrixCalculation(error))
        return false;
    return checkQuitAndWaitWhilePaused(error) && calculator.finalizeMatrixCalculation(error);
}

bool UFemMatrixCalculationContext::storeDisplacements(UFemWFMatrixCalculator& calculator,
    quint64 calculationIndex, UFemResultDataManagerImpl& manager, UErrorPtr* error)
{
    const std::vector<quint64>& caseNos
        = matrixCalculatorInfoRecordTable_[calculationIndex].caseNoIndexSet;
    const double* values = nullptr;
    const quint64* combNodeNos = nullptr;
    const _UFemNode3DOFState* states = nullptr;
    const quint64 count
        = calculator.getDisplacementMatrixValueTable(&values, &combNodeNos, &states);
    if (count > 0)
        return manager.addResultDataWithNodeDOFStateTable(
            states, values, combNodeNos, count, caseNos, error);
    QString errorText = calculator.calculationErrorString();
    if (errorText.isEmpty())
        errorText = ULocalizedString("Unknown Calculation Error.");
    return manager.addResultDataWithCalculationErrorString(errorText, states, caseNos, error);
}

std::vector<UFemWFSolutionFigures> UFemMatrixCalculationContext::solutionFiguresArray() const
{
    std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
    return solutionFiguresArray_;
}

void UFemMatrixCalculationContext::dropCalculators()
{
    Calculators calculators;
    {
        std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
        calculators = std::move(matrixCalculatorArray_);
        matrixCalculatorArray_.clear();
        matrixCalculatorCondition_.notify_all();
    }
    calculators.clear();
    UReturnFreedMemoryToSystem();
}
