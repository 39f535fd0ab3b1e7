// Set-up of one restraint set: names to numbers, assembly, and the restraints.

#include "calculation/solver/UFemWFMatrixCalculator.h"

#include "cardmodel/card/UFemCardName.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/strings/UFormattedString.h"

#include <QDateTime>

#include <chrono>
#include <cmath>

namespace {

[[noreturn]] void raiseUnexpected()
{
    UFemRaiseProgramError(QStringLiteral("Unexpected error occurred."));
}

} // namespace

double UFemWFMatrixCalculator::secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

UFemWFMatrixCalculator::UFemWFMatrixCalculator(
    UFemWFMatrixCalculatorDelegate* delegate, quint64 nodeCount)
    : delegate_(delegate)
    , nodeCount_(nodeCount)
{
    calculationLogString_.reserve(256);
}

UFemWFMatrixCalculator::UFemWFMatrixCalculator(const UFemWFMatrixCalculator& other)
    : UFemMatrixCalculator()
    , UFemWFMatrixCalculationDelegate()
    , UFemNodeOrdererDelegate()
    , delegate_(other.delegate_)
    , calculationIndex_(other.calculationIndex_)
    , nodeCount_(other.nodeCount_)
    , caseCount_(other.caseCount_)
    , caseNoIndexSet_(other.caseNoIndexSet_)
    , nodeMatrices_(other.nodeMatrices_ ? std::make_unique<UFemWFNodeMatrices>(*other.nodeMatrices_)
                                        : nullptr)
    , restraintObjectList_(other.restraintObjectList_)
    , mainPathTransitNodeNoTable_(other.mainPathTransitNodeNoTable_)
    , threadCount_(other.threadCount_)
    , memoryLimit_(other.memoryLimit_)
    , pagePolicy_(other.pagePolicy_)
    , calculationLogString_(other.calculationLogString())
{
}

UFemWFMatrixCalculator::~UFemWFMatrixCalculator() = default;

std::unique_ptr<UFemWFMatrixCalculator> UFemWFMatrixCalculator::copy() const
{
    // Every restraint set starts from the assembled stiffness alone.
    if (task_ || (nodeMatrices_ && nodeMatrices_->forceMatrix()->rowMatrixTable)
        || !restraintObjectList_.isEmpty())
        UFemRaiseProgramError(QStringLiteral("A calculator is copied after its loads came in."));
    return std::unique_ptr<UFemWFMatrixCalculator>(new UFemWFMatrixCalculator(*this));
}

UFemWFNodeMatrices& UFemWFMatrixCalculator::requireNodeMatrices() const
{
    if (!nodeMatrices_)
        raiseUnexpected();
    return *nodeMatrices_;
}

bool UFemWFMatrixCalculator::setupTo_1_SetStiffnessMatrix(UErrorPtr*)
{
    nodeMatrices_ = std::make_unique<UFemWFNodeMatrices>(nodeCount_, pagePolicy_);
    nodeMatrices_->setupNodeStiffnessMatrix();
    return true;
}

void UFemWFMatrixCalculator::setCaseNoIndexSet(const std::vector<quint64>& caseNoIndexSet)
{
    caseNoIndexSet_ = caseNoIndexSet;
    caseCount_ = caseNoIndexSet_.size();
    requireNodeMatrices().setCaseCount(caseCount_);
}

bool UFemWFMatrixCalculator::setupTo_2_SetForceMatrix(UErrorPtr*)
{
    requireNodeMatrices().setupNodeForceMatrix();
    return true;
}

bool UFemWFMatrixCalculator::setupTo_3_SetRestraint(UErrorPtr*)
{
    restraintObjectList_ = UFemRestraintObjectList();
    return true;
}

bool UFemWFMatrixCalculator::setNodeOrderingMainPathTransitNodeNoTable(
    const quint64* table, quint64 count, UErrorPtr*)
{
    mainPathTransitNodeNoTable_.assign(table, table + count);
    return true;
}

quint64 UFemWFMatrixCalculator::nodeNoOf(const UFemCardName& nodeName) const
{
    // The pre-run check has made sure every name a card uses is a node of the calculation.
    const quint64 nodeNo = delegate_->nodeNoWithNodeCardName(nodeName);
    if (nodeNo >= nodeCount_)
        UFemRaiseProgramError(QStringLiteral("A Node Name ( %1 ) isn't in the calculation.")
                                  .arg(nodeName.cardNameString()));
    return nodeNo;
}

QString UFemWFMatrixCalculator::nodeNameStringWithNodeNo(quint64 nodeNo) const
{
    return delegate_->nodeNameStringWithNodeNo(nodeNo);
}

// ---- card operations ----------------------------------------------------------------------------

void UFemWFMatrixCalculator::addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1,
    quint64 rotation1, const UFemCardName& nodeName2, quint64 rotation2)
{
    requireNodeMatrices().addStiffnessMatrix(
        matrix, nodeNoOf(nodeName1), rotation1, nodeNoOf(nodeName2), rotation2);
}

void UFemWFMatrixCalculator::addStiffnessBlock(
    const double* matrix, quint64 nodeNo1, quint64 rotation1, quint64 nodeNo2, quint64 rotation2)
{
    requireNodeMatrices().addStiffnessMatrix(matrix, nodeNo1, rotation1, nodeNo2, rotation2);
}

void UFemWFMatrixCalculator::addForceMatrix(const double* matrix, const UFemCardName& nodeName,
    quint64 rotation, const UFemCardName& caseName)
{
    const quint64 caseIndex
        = delegate_->caseIndexWithCaseNameString(caseName.cardNameString(), calculationIndex_);
    if (caseIndex >= caseCount_)
        UFemRaiseProgramError(
            QStringLiteral("The case of aCaseNo isn't belong to the calculation index."));
    const quint64 nodeNo = nodeNoOf(nodeName);
    requireNodeMatrices().addForceMatrix(matrix, nodeNo, rotation, caseIndex);
    noteNonFiniteInput(matrix, 3, nodeNo, rotation, caseName.cardNameString());
}

void UFemWFMatrixCalculator::addFixDisplacementRestraintWithNodeName(
    const UFemCardName& nodeName, quint64 rotation, quint64 direction)
{
    restraintObjectList_.addFixedDisplacement(nodeNoOf(nodeName), rotation, direction);
}

void UFemWFMatrixCalculator::addForceDisplacementRestraintWithDisplacementValue(
    double displacementValue, const UFemCardName& nodeName, quint64 rotation, quint64 direction)
{
    const quint64 nodeNo = nodeNoOf(nodeName);
    restraintObjectList_.addForcedDisplacement(nodeNo, rotation, direction, displacementValue);
    if (!std::isfinite(displacementValue) && !nonFiniteInput_)
        nonFiniteInput_ = NonFiniteInput { nodeNo, 3 * rotation + direction, QString() };
}

void UFemWFMatrixCalculator::addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(
    quint64 numberOfRestraintEquationComponent,
    const _UFemRestraintEquationTableComponent* restraintEquationTablePtr,
    const UFemCardName& nodeName, quint64 rotation, quint64 direction)
{
    std::vector<_UFemRestraintEquationTableComponent_nodeNo> table;
    table.reserve(numberOfRestraintEquationComponent);
    for (quint64 k = 0; k < numberOfRestraintEquationComponent; ++k) {
        const _UFemRestraintEquationTableComponent& term = restraintEquationTablePtr[k];
        if (!term.nodeName)
            raiseUnexpected();
        table.push_back({ nodeNoOf(*term.nodeName), quint64(quint8(term.rotation)), term.direction,
            term.factor });
    }
    restraintObjectList_.addRestraintEquation(
        nodeNoOf(nodeName), rotation, direction, table.data(), table.size());
}

// ---- restraints ---------------------------------------------------------------------------------

void UFemWFMatrixCalculator::noteNonFiniteInput(
    const double* values, quint64 count, quint64 nodeNo, quint64 rotation, const QString& caseName)
{
    for (quint64 d = 0; d < count && !nonFiniteInput_; ++d) {
        if (!std::isfinite(values[d]))
            nonFiniteInput_ = NonFiniteInput { nodeNo, 3 * rotation + d, caseName };
    }
}

// A load or forced displacement that is not a number would end as NaN displacements.
bool UFemWFMatrixCalculator::checkNonFiniteInput(UErrorPtr* error) const
{
    if (!nonFiniteInput_)
        return true;
    const NonFiniteInput& input = *nonFiniteInput_;
    const QString description = input.caseName.isEmpty()
        ? ULocalizedFormattedString("A non-finite value found in Forced Displacement.")
        : ULocalizedFormattedString(
            "A non-finite value found in Force Matrix of Case '%@'.", input.caseName);
    UFemSetError(error,
        UFemCalculationFailedWhileSetupError_withDescription(description,
            ULocalizedFormattedString("Check the values of loads and restraints of the DOF."),
            nodeNameStringWithNodeNo(input.nodeNo), input.direction6));
    return false;
}

// Taken before the forced columns leave K, after the equations have moved their stiffness.
void UFemWFMatrixCalculator::noteUnstiffenedForcedDisplacement(
    const std::vector<_UFemForceDisplacementRestraintTableComponent_nodeNo>& forced)
{
    const UFemWFNodeMatrices& matrices = requireNodeMatrices();
    for (const auto& component : forced) {
        if (component.value != 0.0
            && matrices.stiffnessDiagonal(component.nodeNo, component.rotation, component.direction)
                == 0.0) {
            unstiffenedForcedDisplacement_ = UFemWFDOFOfCase { component.nodeNo,
                3 * component.rotation + component.direction, 0 };
            return;
        }
    }
}

bool UFemWFMatrixCalculator::failOnDOF(const char* description, const char* recoverySuggestion,
    const UFemWFDOFOfCase& dof, UErrorPtr* error) const
{
    const QString caseName = dof.caseIndex < caseCount_
        ? delegate_->caseNameStringWithCaseIndex(dof.caseIndex, calculationIndex_)
        : QString();
    UFemSetError(error,
        UFemCalculationFailedWhileSetupError_withDescription(
            ULocalizedFormattedString(description, caseName),
            ULocalizedFormattedString(recoverySuggestion), nodeNameStringWithNodeNo(dof.nodeNo),
            dof.direction6));
    return false;
}

// Loads nothing carries would be dropped silently, and loads the restraints made infinite would
// end as NaN displacements.
bool UFemWFMatrixCalculator::checkLoadsToSolve(UErrorPtr* error) const
{
    const char* unstiffened = "Check that an element stiffens the DOF in that direction, or "
                              "restrain it.";
    if (unstiffenedForcedDisplacement_)
        return failOnDOF("A forced displacement found on a DOF which no element stiffens in "
                         "Case '%@'.",
            unstiffened, *unstiffenedForcedDisplacement_, error);
    const UFemWFNodeMatrices& matrices = requireNodeMatrices();
    if (const auto dof = matrices.firstNonFiniteLoad())
        return failOnDOF("A non-finite value found in Force Matrix of Case '%@' after applying "
                         "restraints.",
            "Check the values of loads and forced displacements: they are too large for the "
            "stiffness.",
            *dof, error);
    if (const auto dof = matrices.firstUnstiffenedLoad())
        return failOnDOF("A load found on a DOF which no element stiffens in Case '%@'.",
            unstiffened, *dof, error);
    return true;
}

bool UFemWFMatrixCalculator::checkDisplacements(UErrorPtr* error) const
{
    if (const auto dof = requireNodeMatrices().firstNonFiniteDisplacement())
        return failOnDOF("A non-finite value found in Displacement of Case '%@'.",
            "Check the values of stiffness and loads: they are too far apart in size.", *dof,
            error);
    return true;
}

bool UFemWFMatrixCalculator::setupTo_4_RunMatrixCalculation(UErrorPtr* error)
{
    if (!checkNonFiniteInput(error) || !applyRestraintToMatrixCalculator(error))
        return false;
    const auto names = [this](quint64 nodeNo) { return nodeNameStringWithNodeNo(nodeNo); };
    if (!requireNodeMatrices().updateNodeDOFStateTableAndCalculationMatrixInfo(names, error))
        return false;
    const auto start = std::chrono::steady_clock::now();
    const bool ordered = executeNodeOrdering(error);
    nodeOrderingTimeInterval_ = secondsSince(start);
    return ordered;
}

bool UFemWFMatrixCalculator::applyRestraintToMatrixCalculator(UErrorPtr* error)
{
    const auto names = [this](quint64 nodeNo) { return nodeNameStringWithNodeNo(nodeNo); };
    if (!restraintObjectList_.arrangeForApplication(names, error))
        return false;
    UFemWFNodeMatrices& matrices = requireNodeMatrices();
    matrices.buildNodeDOFStateTable();
    for (const UFemRestraintObject& object : restraintObjectList_.restraintObjectArray()) {
        const quint64 rotation = quint64(object.rotation);
        if (object.restraintObjectType == UFemRestraintObjectTypeRestraintEquation)
            matrices.applyRestraintEquationRestraintWithNodeNo(object.nodeNo, rotation,
                object.direction, object.restraintEquationTable.data(),
                object.numberOfRestraintEquationComponent());
        else if (object.restraintObjectType == UFemRestraintObjectTypeFixedDisplacement)
            matrices.applyFixDisplacementRestraintWithNodeNo(
                object.nodeNo, rotation, object.direction);
    }
    const auto forced = restraintObjectList_.forcedDisplacementTable();
    noteUnstiffenedForcedDisplacement(forced);
    if (!forced.empty())
        matrices.applyForceDisplacementRestraintWithForceDisplacementRestraintComponentCount(
            forced.size(), forced.data());
    return true;
}

void UFemWFMatrixCalculator::writeRestraintToDisplacementMatrix()
{
    UFemWFNodeMatrices& matrices = requireNodeMatrices();
    const auto forced = restraintObjectList_.forcedDisplacementTable();
    if (!forced.empty())
        matrices
            .applyForceDisplacementRestraint_toDisplacementMatrix_WithForcedDisplacementRestraintTable(
                forced.data(), forced.size());
    // The reverse of the application: an equation is evaluated after those whose dependent DOFs
    // it uses.
    const auto& objects = restraintObjectList_.restraintObjectArray();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        const quint64 rotation = quint64(it->rotation);
        if (it->restraintObjectType == UFemRestraintObjectTypeFixedDisplacement)
            matrices.applyFixDisplacementRestraint_toDisplacementMatrix_WithNodeNo(
                it->nodeNo, rotation, it->direction);
        else if (it->restraintObjectType == UFemRestraintObjectTypeRestraintEquation)
            matrices.applyRestraintEquationRestraint_toDisplacementMatrix_WithNodeNo(it->nodeNo,
                rotation, it->direction, it->restraintEquationTable.data(),
                it->numberOfRestraintEquationComponent());
    }
}

bool UFemWFMatrixCalculator::executeNodeOrdering(UErrorPtr* error)
{
    std::vector<double> locations(3 * nodeCount_);
    for (quint64 n = 0; n < nodeCount_; ++n)
        delegate_->getNodeLocation(&locations[3 * n], n);
    if (!slotLayout_.executeNodeOrdering(
            requireNodeMatrices(), locations.data(), mainPathTransitNodeNoTable_, this, error))
        return false;
    if (!slotLayout_.orderingWarningString().isEmpty())
        appendCalculationLogString(slotLayout_.orderingWarningString());
    return true;
}

// ---- log ----------------------------------------------------------------------------------------

void UFemWFMatrixCalculator::appendCalculationLogString(const QString& text)
{
    const QString date = QDateTime::currentDateTime().toString(Qt::ISODate);
    std::lock_guard<std::mutex> lock(calculationLogStringLock_);
    calculationLogString_ += QStringLiteral("%1 - %2\n").arg(date, text);
}

QString UFemWFMatrixCalculator::calculationLogString() const
{
    std::lock_guard<std::mutex> lock(calculationLogStringLock_);
    return calculationLogString_;
}
