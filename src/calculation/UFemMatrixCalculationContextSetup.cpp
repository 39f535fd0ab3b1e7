// The set-up of a calculation: numbers, one assembly, one calculator per restraint set.

#include "calculation/UFemMatrixCalculationContext.h"

#include "calculation/UFemElementStiffnessAssembly.h"
#include "calculation/UFemWFCalculationExceptionError.h"
#include "calculation/results/UFemResultFileContents.h"
#include "calculation/results/UFemVersionString.h"
#include "calculation/solver/UFemWFMatrixCalculator.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/Node.h"
#include "cards/elements/UFemElementStiffnessSource.h"
#include "cards/loads/Case.h"
#include "cards/loads/UFemForceSource.h"
#include "cards/loads/UFemRestraintSource.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/threads/UThreadCountPreference.h"

namespace {

constexpr double unitForceFactor = 1.0;

QString cardNameStringOf(const UFemCard& card)
{
    const UFemCardName* name = card.cardName();
    return name ? name->cardNameString() : QString();
}

} // namespace

quint64 UFemMatrixCalculationContext::calculationThreadCount() const
{
    return threadCount_ ? threadCount_ : UThreadCountPreference::calculationTaskThreadCount();
}

bool UFemMatrixCalculationContext::setupToRunCalculation(UErrorPtr* error)
{
    // Memory running out while the stiffness is assembled is an error, never a crash.
    UErrorPtr failure;
    if (UFemWFRunCalculationStep(&failure, [&] { return setupNamesAndCalculators(&failure); }))
        return true;
    UFemSetError(error, failure);
    return false;
}

bool UFemMatrixCalculationContext::setupNamesAndCalculators(UErrorPtr* error)
{
    UFemDataController& controller = *dataController_;
    calculationStartDate_ = QDateTime::currentDateTime();
    calculationInfoString_ = UFormattedString("Calculation Date: %@\nVantrel Version: %@\n",
        calculationStartDate_.toString(Qt::ISODate),
        UFemVersionStringWithVersionNumber(UFemResultFileDataVersionNumber));
    const UFemCardArray& nodeCards = controller.nodeCardArray();
    nodeCount_ = nodeCards.count();
    nodeNameStrings_.clear();
    nodeNameStrings_.reserve(qsizetype(nodeCount_));
    // A context set up again must not keep the names (or name objects) of the model before.
    nodeNoOfName_.clear();
    nodeNoOfName_.reserve(nodeCount_);
    nodeNoOfCardName_.clear();
    nodeNoOfCardName_.reserve(nodeCount_);
    nodeLocations_.assign(nodeCount_, {});
    for (quint64 nodeNo = 0; nodeNo < nodeCount_; ++nodeNo) {
        const UFemCard& card = *nodeCards.objectAtIndex(nodeNo);
        nodeNameStrings_.append(cardNameStringOf(card));
        nodeNoOfName_.insert_or_assign(nodeNameStrings_.back(), nodeNo);
        if (const UFemCardName* name = card.cardName())
            nodeNoOfCardName_.insert_or_assign(name, nodeNo);
        if (const auto* node = dynamic_cast<const Node*>(&card))
            node->getNodeLocation(nodeLocations_[nodeNo].data());
    }
    const UFemCardArray& caseCards = controller.caseCardArray();
    caseCount_ = caseCards.count();
    caseNameStrings_.clear();
    caseNoOfName_.clear();
    caseCards_.clear();
    for (quint64 caseNo = 0; caseNo < caseCount_; ++caseNo) {
        caseCards_.push_back(caseCards.objectAtIndex(caseNo).get());
        caseNameStrings_.append(cardNameStringOf(*caseCards_.back()));
        caseNoOfName_.insert_or_assign(caseNameStrings_.back(), caseNo);
    }
    return buildMatrixCalculatorArray(error);
}

bool UFemMatrixCalculationContext::buildMatrixCalculatorArray(UErrorPtr* error)
{
    auto assembled = std::make_unique<UFemWFMatrixCalculator>(this, nodeCount_);
    assembled->setCalculationPagePolicy(pagePolicy_);
    if (!assembled->setupTo_1_SetStiffnessMatrix(error) || !putStiffness(*assembled, error))
        return false;
    groupCasesByRestraintSet();
    const quint64 setCount = matrixCalculatorInfoRecordTable_.size();
    // Every copy is taken before a load enters the assembled calculator.
    Calculators calculators;
    for (quint64 index = 0; index + 1 < setCount; ++index)
        calculators.push_back(assembled->copy());
    if (setCount > 0)
        calculators.push_back(std::move(assembled));
    for (quint64 index = 0; index < setCount; ++index)
        if (!completeCalculator(*calculators[index], index, error))
            return false;
    std::lock_guard<std::mutex> lock(matrixCalculatorLock_);
    matrixCalculatorArray_ = std::move(calculators);
    solutionFiguresArray_.assign(setCount, {});
    // Requests made during the set-up reach the new calculators too.
    for (const auto& calculator : matrixCalculatorArray_) {
        if (quitCalculationRequested_)
            calculator->quitCalculation();
        else if (pauseCalculationRequested_)
            calculator->pauseCalculationWithFlag(true);
    }
    matrixCalculatorCondition_.notify_all();
    return true;
}

bool UFemMatrixCalculationContext::putStiffness(
    UFemWFMatrixCalculator& calculator, UErrorPtr* error)
{
    const UFemCardArray& elements = dataController_->elementCardArray();
    auto putElement
        = [&elements](quint64 elementNo, UFemMatrixCalculator& target, UErrorPtr* elementError) {
              const UFemCard& card = *elements.objectAtIndex(elementNo);
              const auto* source = dynamic_cast<const UFemElementStiffnessSource*>(&card);
              if (source == nullptr) {
                  UFemSetError(elementError,
                      UFemUnexpectedError_withDescription(ULocalizedFormattedString(
                          "The element card ( %@ ) has no stiffness.", cardNameStringOf(card))));
                  return false;
              }
              return source->putElementStiffnessMatrixToMatrixCalculator(target, elementError);
          };
    return UFemPutElementStiffnessInOrder(
        elements.count(), calculationThreadCount(), putElement, calculator, error);
}

void UFemMatrixCalculationContext::groupCasesByRestraintSet()
{
    matrixCalculationCaseInfoRecordTable_.assign(caseCount_, {});
    matrixCalculatorInfoRecordTable_.clear();
    std::unordered_map<QString, quint64> calculationIndexOfRestraintName;
    for (quint64 caseNo = 0; caseNo < caseCount_; ++caseNo) {
        const auto* caseCard = dynamic_cast<const Case*>(caseCards_[caseNo]);
        const UFemCardName* restraintName = caseCard ? caseCard->restraintCardName() : nullptr;
        const QString key = restraintName ? restraintName->cardNameString() : QString();
        const auto [found, isNew] = calculationIndexOfRestraintName.try_emplace(
            key, matrixCalculatorInfoRecordTable_.size());
        if (isNew)
            matrixCalculatorInfoRecordTable_.push_back({ restraintName, {} });
        const quint64 index = found->second;
        auto& caseNos = matrixCalculatorInfoRecordTable_[index].caseNoIndexSet;
        caseNos.push_back(caseNo);
        matrixCalculationCaseInfoRecordTable_[caseNo] = { index, caseNos.size() - 1 };
    }
}

bool UFemMatrixCalculationContext::completeCalculator(
    UFemWFMatrixCalculator& calculator, quint64 calculationIndex, UErrorPtr* error)
{
    const _UFemMatrixCalculationCalculatorInfoRecord& record
        = matrixCalculatorInfoRecordTable_[calculationIndex];
    calculator.setCalculationIndex(calculationIndex);
    calculator.setCaseNoIndexSet(record.caseNoIndexSet);
    calculator.setCalculationThreadCount(threadCount_);
    calculator.setCalculationMemoryLimit(memoryLimit_);
    if (!calculator.setupTo_2_SetForceMatrix(error))
        return false;
    for (const quint64 caseNo : record.caseNoIndexSet)
        if (!putForces(calculator, caseNo, error))
            return false;
    if (!calculator.setupTo_3_SetRestraint(error))
        return false;
    if (!putRestraints(calculator, record.restraintCardName, error))
        return false;
    return calculator.setupTo_4_RunMatrixCalculation(error);
}

bool UFemMatrixCalculationContext::putForces(
    UFemWFMatrixCalculator& calculator, quint64 caseNo, UErrorPtr* error)
{
    const auto* caseCard = dynamic_cast<const Case*>(caseCards_[caseNo]);
    const UFemCardName* forceName = caseCard ? caseCard->forceCardName() : nullptr;
    const std::vector<UFemCard*> forceCards
        = forceName ? forceName->cardArray() : std::vector<UFemCard*>();
    if (forceCards.empty()) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(ULocalizedString("No Force Card for a Case.")));
        return false;
    }
    for (const UFemCard* card : forceCards) {
        const auto* source = dynamic_cast<const UFemForceSource*>(card);
        if (source == nullptr) {
            UFemSetError(error,
                UFemUnexpectedError_withDescription(ULocalizedString("No Force Card for a Case.")));
            return false;
        }
        if (!source->putForceMatrixToMatrixCalculator(
                calculator, unitForceFactor, *caseCard->cardName(), error))
            return false;
    }
    return true;
}

bool UFemMatrixCalculationContext::putRestraints(
    UFemWFMatrixCalculator& calculator, const UFemCardName* restraintName, UErrorPtr* error)
{
    const std::vector<UFemCard*> restraintCards
        = restraintName ? restraintName->cardArray() : std::vector<UFemCard*>();
    const auto noRestraint = [&] {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(ULocalizedString("No Restraint Card for a Case.")));
        return false;
    };
    if (restraintCards.empty())
        return noRestraint();
    for (const UFemCard* card : restraintCards) {
        const auto* source = dynamic_cast<const UFemRestraintSource*>(card);
        if (source == nullptr)
            return noRestraint();
        if (!source->putRestraintToMatrixCalculator(calculator, error))
            return false;
    }
    return true;
}
