// Names and numbers of a calculation, and its pause, quit and progress.

#include "calculation/UFemMatrixCalculationContext.h"

#include "calculation/results/UFemResultDataManagerImpl.h"
#include "calculation/solver/UFemWFMatrixCalculator.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"

#include <cmath>

UFemMatrixCalculationContext::UFemMatrixCalculationContext(UFemDataController* dataController)
    : dataController_(dataController)
{
}

UFemMatrixCalculationContext::~UFemMatrixCalculationContext() = default;

std::shared_ptr<UFemResultDataManagerImpl> UFemMatrixCalculationContext::resultDataManager(
    UErrorPtr* error) const
{
    std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
    if (!resultDataManager_)
        UFemSetError(error,
            UFemUnexpectedError_withDescription(ULocalizedString("No resultDataManager yet.")));
    return resultDataManager_;
}

// ---- pause, quit and progress ------------------------------------------------------------------

quint64 UFemMatrixCalculationContext::sumOverCalculators(
    quint64 (UFemWFMatrixCalculator::*figure)() const) const
{
    std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
    quint64 sum = 0;
    for (const auto& calculator : matrixCalculatorArray_)
        sum += ((*calculator).*figure)();
    return sum;
}

void UFemMatrixCalculationContext::pauseCalculationWithFlag(bool flag)
{
    std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
    pauseCalculationRequested_ = flag;
    for (const auto& calculator : matrixCalculatorArray_)
        calculator->pauseCalculationWithFlag(flag);
    matrixCalculatorCondition_.notify_all();
}

void UFemMatrixCalculationContext::quitCalculation()
{
    std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
    quitCalculationRequested_ = true;
    for (const auto& calculator : matrixCalculatorArray_)
        calculator->quitCalculation();
    matrixCalculatorCondition_.notify_all();
}

bool UFemMatrixCalculationContext::isCalculationPausing() const
{
    std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
    for (const auto& calculator : matrixCalculatorArray_)
        if (calculator->isCalculationPausing())
            return true;
    return false;
}

quint64 UFemMatrixCalculationContext::calculatingThreadCount() const
{
    return sumOverCalculators(&UFemWFMatrixCalculator::calculatingThreadCount);
}

quint64 UFemMatrixCalculationContext::progressTotalLength() const
{
    std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
    if (matrixCalculatorArray_.empty())
        return UFemNotFound;
    quint64 sum = 0;
    quint64 known = 0;
    for (const auto& calculator : matrixCalculatorArray_) {
        const quint64 length = calculator->progressTotalLength();
        if (length == UFemNotFound)
            break;
        sum += length;
        ++known;
    }
    if (known == matrixCalculatorArray_.size())
        return sum;
    if (known == 0)
        return UFemNotFound;
    // The sets still without a total are taken to be like those that have one.
    return quint64(
        std::llround(double(sum) * double(matrixCalculatorArray_.size()) / double(known)));
}

quint64 UFemMatrixCalculationContext::currentProgress() const
{
    return sumOverCalculators(&UFemWFMatrixCalculator::currentProgress);
}

quint64 UFemMatrixCalculationContext::computingCount() const
{
    return sumOverCalculators(&UFemWFMatrixCalculator::computingCount);
}

quint64 UFemMatrixCalculationContext::progressUnitFlotingOperations()
{
    return UFemWFMatrixCalculator::progressUnitFlotingOperations();
}

// ---- names and numbers --------------------------------------------------------------------------

const UFemMatrixCalculationContext::_UFemMatrixCalculationCaseInfoRecord&
UFemMatrixCalculationContext::caseInfoRecord(quint64 caseNo) const
{
    if (caseNo >= matrixCalculationCaseInfoRecordTable_.size())
        URaiseRangeException();
    return matrixCalculationCaseInfoRecordTable_[caseNo];
}

quint64 UFemMatrixCalculationContext::nodeNoWithNodeNameString(const QString& nodeNameString) const
{
    const auto found = nodeNoOfName_.find(nodeNameString);
    return found != nodeNoOfName_.end() ? found->second : UFemNotFound;
}

quint64 UFemMatrixCalculationContext::nodeNoWithNodeCardName(const UFemCardName& nodeName) const
{
    const auto found = nodeNoOfCardName_.find(&nodeName);
    if (found != nodeNoOfCardName_.end())
        return found->second;
    return nodeNoWithNodeNameString(nodeName.cardNameString());
}

QString UFemMatrixCalculationContext::nodeNameStringWithNodeNo(quint64 nodeNo) const
{
    if (nodeNo >= quint64(nodeNameStrings_.size()))
        URaiseRangeException();
    return nodeNameStrings_[qsizetype(nodeNo)];
}

QString UFemMatrixCalculationContext::caseNameStringWithCaseNo(quint64 caseNo) const
{
    if (caseNo >= quint64(caseNameStrings_.size()))
        URaiseRangeException();
    return caseNameStrings_[qsizetype(caseNo)];
}

quint64 UFemMatrixCalculationContext::caseNoWithCaseNameString(const QString& caseNameString) const
{
    const auto found = caseNoOfName_.find(caseNameString);
    return found != caseNoOfName_.end() ? found->second : UFemNotFound;
}

quint64 UFemMatrixCalculationContext::caseIndexWithCaseNo(
    quint64 caseNo, quint64 calculationIndex) const
{
    const _UFemMatrixCalculationCaseInfoRecord& record = caseInfoRecord(caseNo);
    if (record.calculationIndex != calculationIndex)
        UFemRaiseProgramError(
            QStringLiteral("The case of aCaseNo isn't belong to the calculation index."));
    return record.caseIndex;
}

quint64 UFemMatrixCalculationContext::caseNoWithCaseIndex(
    quint64 caseIndex, quint64 calculationIndex) const
{
    if (calculationIndex >= matrixCalculatorInfoRecordTable_.size())
        URaiseRangeException();
    const auto& caseNos = matrixCalculatorInfoRecordTable_[calculationIndex].caseNoIndexSet;
    if (caseIndex >= caseNos.size())
        UFemRaiseProgramError(
            QStringLiteral("CaseIndex is over the case count for the calculation index."));
    return caseNos[caseIndex];
}

quint64 UFemMatrixCalculationContext::caseIndexWithCaseNameString(
    const QString& caseNameString, quint64 calculationIndex) const
{
    // Cards name cases of other sets too; those are not this calculator's.
    const quint64 caseNo = caseNoWithCaseNameString(caseNameString);
    if (caseNo == UFemNotFound || caseInfoRecord(caseNo).calculationIndex != calculationIndex)
        return UFemNotFound;
    return caseInfoRecord(caseNo).caseIndex;
}

QString UFemMatrixCalculationContext::caseNameStringWithCaseIndex(
    quint64 caseIndex, quint64 calculationIndex) const
{
    return caseNameStringWithCaseNo(caseNoWithCaseIndex(caseIndex, calculationIndex));
}

void UFemMatrixCalculationContext::getNodeLocation(double* location, quint64 nodeNo) const
{
    if (nodeNo >= nodeLocations_.size())
        URaiseRangeException();
    for (int d = 0; d < 3; ++d)
        location[d] = nodeLocations_[nodeNo][d];
}

bool UFemMatrixCalculationContext::getNodeOrderingMainPathTransitNodeNoTable(
    std::vector<quint64>* table, const QVariantList& mainPathTransitNodeNameStringArray,
    UErrorPtr* error) const
{
    const auto fail = [&](const QString& text) {
        UFemSetError(error, UFemUnexpectedError_withDescription(text));
        return false;
    };
    std::vector<quint64> nodeNos;
    nodeNos.reserve(size_t(mainPathTransitNodeNameStringArray.size()));
    for (const QVariant& element : mainPathTransitNodeNameStringArray) {
        if (element.typeId() != QMetaType::QString) {
            if (nodeNos.empty())
                return fail(ULocalizedString(
                    "DIVIDER in NodeOrderingHint is on the head of the node name list."));
            if (nodeNos.back() == UFemNotFound)
                return fail(ULocalizedString(
                    "DIVIDERs in NodeOrderingHint's node list are continuous two or more."));
            nodeNos.push_back(UFemNotFound);
            continue;
        }
        const quint64 nodeNo = nodeNoWithNodeNameString(element.toString());
        if (nodeNo == UFemNotFound)
            return fail(ULocalizedFormattedString(
                "A Node Name ( %@ ) in NodeOrderingHint's node list is not exist.",
                element.toString()));
        nodeNos.push_back(nodeNo);
    }
    if (!nodeNos.empty() && nodeNos.back() == UFemNotFound)
        return fail(ULocalizedString("NodeOrderingHint's node list ends with DIVIDER."));
    *table = std::move(nodeNos);
    return true;
}
