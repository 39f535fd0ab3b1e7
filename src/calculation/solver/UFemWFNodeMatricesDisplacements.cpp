// The displacement table: laid out from the solution, then given the restrained values.

#include "calculation/solver/UFemWFNodeMatrices.h"

#include "calculation/UFemWFMatrixCalculationContext.h"
#include "calculation/solver/UFemWFNodeMatrix.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <limits>
#include <new>

namespace {

[[noreturn]] void raiseUnexpected()
{
    UFemRaiseProgramError(QStringLiteral("Unexpected error occurred."));
}

} // namespace

void UFemWFNodeMatrices::finalizeMatrixCalculation(
    const quint64* slotTableByTriple, const double* X_MatrixTable)
{
    if (nodeDOFStateTable_.size() != 2 * nodeCount_)
        raiseUnexpected();
    try {
        displacementMatrixNodeNoTable_.clear();
        displacementMatrixNodeIndexTable_.assign(2 * nodeCount_, UFemNotFound);
        for (quint64 t = 0; t < 2 * nodeCount_; ++t) {
            if (nodeDOFStateTable_[t].hasValidOrRestrainedDOF()) {
                displacementMatrixNodeIndexTable_[t] = displacementMatrixNodeNoTable_.size();
                displacementMatrixNodeNoTable_.push_back(t);
            }
        }
        displacementMatrixValueTable_.assign(
            displacementMatrixNodeNoTable_.size() * caseCount_ * 3, 0.0);
    } catch (const std::bad_alloc&) {
        UFemRaiseMemoryAllocationFailed();
    }
    for (quint64 row = 0; row < displacementMatrixNodeNoTable_.size(); ++row)
        fillDisplacementRow(
            row, displacementMatrixNodeNoTable_[row], slotTableByTriple, X_MatrixTable);
    displacementMatrixNodeNoCount_ = displacementMatrixNodeNoTable_.size();
}

void UFemWFNodeMatrices::fillDisplacementRow(
    quint64 row, quint64 tripleIndex, const quint64* slotTableByTriple, const double* X_MatrixTable)
{
    const _UFemNode3DOFState states = nodeDOFStateTable_[tripleIndex];
    double* values = displacementMatrixValueTable_.data() + row * caseCount_ * 3;
    const quint64 slot = slotTableByTriple ? slotTableByTriple[tripleIndex] : UFemNotFound;
    // Every triple with a Valid direction was solved; reading 0.0 for it would hide a lost triple.
    if (states.hasValidDOF() && (slot == UFemNotFound || (caseCount_ > 0 && !X_MatrixTable)))
        raiseUnexpected();
    const quint64 caseBlocks = UFemWFNodeForceCaseBlockCount(caseCount_);
    for (quint64 c = 0; c < caseCount_; ++c) {
        const double* x = slot == UFemNotFound
            ? nullptr
            : X_MatrixTable + UFemWFXMatrixEntryIndex(slot, c, caseBlocks);
        for (quint64 d = 0; d < 3; ++d) {
            double value = x ? x[UFemWFCasesPerBlock * d] : 0.0;
            if (states.state[d] == UFemNodeDOFStateRestrained)
                value = std::numeric_limits<double>::quiet_NaN();
            else if (states.state[d] == UFemNodeDOFStateZeroStiffness)
                value = 0.0;
            values[3 * c + d] = value;
        }
    }
}

double* UFemWFNodeMatrices::displacementRowForWriteBack(quint64 nodeNo, quint64 rotation)
{
    requireNode(nodeNo, rotation);
    if (displacementMatrixNodeIndexTable_.size() != 2 * nodeCount_)
        raiseUnexpected();
    const quint64 row = displacementMatrixNodeIndexTable_[2 * nodeNo + rotation];
    if (row == UFemNotFound)
        raiseUnexpected();
    return displacementMatrixValueTable_.data() + row * caseCount_ * 3;
}

void UFemWFNodeMatrices::
    applyForceDisplacementRestraint_toDisplacementMatrix_WithForcedDisplacementRestraintTable(
        const _UFemForceDisplacementRestraintTableComponent_nodeNo* table, quint64 count)
{
    for (quint64 i = 0; i < count; ++i) {
        const auto& component = table[i];
        requireDOF(component.nodeNo, component.rotation, component.direction);
        double* values = displacementRowForWriteBack(component.nodeNo, component.rotation);
        for (quint64 c = 0; c < caseCount_; ++c)
            values[3 * c + component.direction] = component.value;
    }
}

void UFemWFNodeMatrices::applyFixDisplacementRestraint_toDisplacementMatrix_WithNodeNo(
    quint64 nodeNo, quint64 rotation, quint64 direction)
{
    requireDOF(nodeNo, rotation, direction);
    double* values = displacementRowForWriteBack(nodeNo, rotation);
    for (quint64 c = 0; c < caseCount_; ++c)
        values[3 * c + direction] = 0.0;
}

void UFemWFNodeMatrices::applyRestraintEquationRestraint_toDisplacementMatrix_WithNodeNo(
    quint64 nodeNo, quint64 rotation, quint64 direction,
    const _UFemRestraintEquationTableComponent_nodeNo* table, quint64 count)
{
    requireDOF(nodeNo, rotation, direction);
    for (quint64 k = 0; k < count; ++k)
        requireDOF(table[k].nodeNo, table[k].rotation, table[k].direction);
    double* values = displacementRowForWriteBack(nodeNo, rotation);
    for (quint64 c = 0; c < caseCount_; ++c)
        values[3 * c + direction] = 0.0;
    for (quint64 k = 0; k < count; ++k) {
        const auto& term = table[k];
        const quint64 termRow = displacementMatrixNodeIndexTable_[2 * term.nodeNo + term.rotation];
        if (termRow == UFemNotFound)
            continue;
        const double* termValues = displacementMatrixValueTable_.data() + termRow * caseCount_ * 3;
        for (quint64 c = 0; c < caseCount_; ++c)
            values[3 * c + direction] += term.factor * termValues[3 * c + term.direction];
    }
}

quint64 UFemWFNodeMatrices::getDisplacementMatrixValueTable(const double** valueTable,
    const quint64** nodeNoTable, const _UFemNode3DOFState** nodeDOFStateTable) const
{
    const quint64 count = displacementMatrixNodeNoCount_;
    *valueTable = count ? displacementMatrixValueTable_.data() : nullptr;
    *nodeNoTable = count ? displacementMatrixNodeNoTable_.data() : nullptr;
    *nodeDOFStateTable = count ? nodeDOFStateTable_.data() : nullptr;
    return count;
}

quint64 UFemWFNodeMatrices::displacementMatrixRowOfTriple(quint64 tripleIndex) const
{
    if (tripleIndex >= displacementMatrixNodeIndexTable_.size())
        return UFemNotFound;
    return displacementMatrixNodeIndexTable_[tripleIndex];
}
