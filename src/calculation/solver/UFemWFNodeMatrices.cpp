#include "calculation/solver/UFemWFNodeMatrices.h"

#include "calculation/solver/UFemWFNodeMatrix.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"
#include "foundation/strings/UFormattedString.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

bool isInitialised(const _USparseMatrix& matrix)
{
    return matrix.rowMatrixTable != nullptr;
}

} // namespace

UFemWFNodeMatrices::UFemWFNodeMatrices(quint64 nodeCount, UMemoryPagePolicy pagePolicy)
    : nodeCount_(nodeCount)
    , pageAdvice_(UMemoryPageAdviceOfPolicy(pagePolicy))
{
}

UFemWFNodeMatrices::UFemWFNodeMatrices(const UFemWFNodeMatrices& other)
    : nodeCount_(other.nodeCount_)
    , pageAdvice_(other.pageAdvice_)
    , caseCount_(other.caseCount_)
    , nodeDOFStateTable_(other.nodeDOFStateTable_)
    , stiffnessMatrixMaxValue_(other.stiffnessMatrixMaxValue_)
    , stiffnessMatrixMaxValueNodeDOFIndex_(other.stiffnessMatrixMaxValueNodeDOFIndex_)
    , stiffnessMatrixMinValue_(other.stiffnessMatrixMinValue_)
    , stiffnessMatrixMinValueNodeDOFIndex_(other.stiffnessMatrixMinValueNodeDOFIndex_)
    , displacementMatrixNodeNoTable_(other.displacementMatrixNodeNoTable_)
    , displacementMatrixNodeNoCount_(other.displacementMatrixNodeNoCount_)
    , displacementMatrixNodeIndexTable_(other.displacementMatrixNodeIndexTable_)
    , displacementMatrixValueTable_(other.displacementMatrixValueTable_)
{
    if (isInitialised(other.stiffnessMatrix_))
        USparseMatrixCopy(&stiffnessMatrix_, &other.stiffnessMatrix_);
    if (isInitialised(other.forceMatrix_))
        USparseMatrixCopy(&forceMatrix_, &other.forceMatrix_);
}

UFemWFNodeMatrices::~UFemWFNodeMatrices()
{
    finish();
}

void UFemWFNodeMatrices::finish()
{
    std::vector<_UFemNode3DOFState>().swap(nodeDOFStateTable_);
    USparseMatrixDestroy(&stiffnessMatrix_);
    USparseMatrixDestroy(&forceMatrix_);
    std::vector<quint64>().swap(displacementMatrixNodeNoTable_);
    std::vector<quint64>().swap(displacementMatrixNodeIndexTable_);
    std::vector<double>().swap(displacementMatrixValueTable_);
    displacementMatrixNodeNoCount_ = 0;
    nodeCount_ = 0;
    caseCount_ = 0;
}

void UFemWFNodeMatrices::setupNodeStiffnessMatrix()
{
    USparseMatrixDestroy(&stiffnessMatrix_);
    UFemWFSetupNodeStiffnessMatrix(&stiffnessMatrix_, nodeCount_);
    USparseMatrixSetPageAdvice(&stiffnessMatrix_, pageAdvice_);
}

void UFemWFNodeMatrices::addStiffnessMatrix(
    const double* matrix, quint64 nodeNo1, quint64 rotation1, quint64 nodeNo2, quint64 rotation2)
{
    requireNode(nodeNo1, rotation1);
    requireNode(nodeNo2, rotation2);
    if (!isInitialised(stiffnessMatrix_))
        UFemRaiseProgramError(QStringLiteral("Unexpected error occurred."));
    UFemWFAddStiffnessBlock(&stiffnessMatrix_, matrix, nodeNo1, rotation1, nodeNo2, rotation2);
}

void UFemWFNodeMatrices::setupNodeForceMatrix()
{
    USparseMatrixDestroy(&forceMatrix_);
    UFemWFSetupNodeForceMatrix(&forceMatrix_, nodeCount_, caseCount_);
    USparseMatrixSetPageAdvice(&forceMatrix_, pageAdvice_);
}

void UFemWFNodeMatrices::addForceMatrix(
    const double* matrix, quint64 nodeNo, quint64 rotation, quint64 caseIndex)
{
    requireNode(nodeNo, rotation);
    if (!isInitialised(forceMatrix_) || caseIndex >= caseCount_)
        UFemRaiseProgramError(QStringLiteral("Unexpected error occurred."));
    UFemWFAddForceVector(&forceMatrix_, matrix, nodeNo, rotation, caseIndex);
}

void UFemWFNodeMatrices::buildNodeDOFStateTable()
{
    try {
        _UFemNode3DOFState allValid;
        allValid.setInteger(UFemNode3DOFStateAllValid);
        nodeDOFStateTable_.assign(2 * nodeCount_, allValid);
    } catch (const std::bad_alloc&) {
        UFemRaiseMemoryAllocationFailed();
    }
}

const _UFemNode3DOFState* UFemWFNodeMatrices::nodeDOFStateTable() const
{
    return nodeDOFStateTable_.empty() ? nullptr : nodeDOFStateTable_.data();
}

bool UFemWFNodeMatrices::updateNodeDOFStateTableAndCalculationMatrixInfo(
    const UFemWFNodeNameLookup& nodeNameStringWithNodeNo, UErrorPtr* error)
{
    double maxValue = 0.0;
    double minValue = std::numeric_limits<double>::infinity();
    quint64 maxIndex = UFemNotFound;
    quint64 minIndex = UFemNotFound;
    for (quint64 n = 0; n < nodeCount_; ++n) {
        double** page = USparseMatrixPageAt(&stiffnessMatrix_, n, n);
        for (quint64 r = 0; r < 2; ++r) {
            _UFemNode3DOFState& triple = nodeDOFStateTable_[2 * n + r];
            const double* block = page ? page[UFemWFNodeStiffnessBlockIndex(r, r)] : nullptr;
            for (quint64 d = 0; d < 3; ++d) {
                if (triple.state[d] != UFemNodeDOFStateValid)
                    continue;
                const double k = block ? block[4 * d] : 0.0;
                if (k == 0.0) {
                    triple.state[d] = UFemNodeDOFStateZeroStiffness;
                    continue;
                }
                // A non-finite diagonal would reach the solver as a silent NaN result.
                if (k < 0.0 || !std::isfinite(k)) {
                    const char* description = k < 0.0
                        ? "A negative value found on the principal diagonal of Stiffness Matrix."
                        : "A non-finite value found on the principal diagonal of Stiffness Matrix.";
                    UFemSetError(error,
                        UFemCalculationFailedWhileSetupError_withDescription(
                            ULocalizedFormattedString(description),
                            ULocalizedFormattedString("Check model carefully, especially whether "
                                                      "restraints are applied correctly, etc. "
                                                      "The reason of error can be different from "
                                                      "the DOF which is negative value."),
                            nodeNameStringWithNodeNo(n), 3 * r + d));
                    return false;
                }
                const quint64 dofIndex = 6 * n + 3 * r + d;
                if (k > maxValue) {
                    maxValue = k;
                    maxIndex = dofIndex;
                }
                if (k < minValue) {
                    minValue = k;
                    minIndex = dofIndex;
                }
            }
        }
    }
    if (maxIndex != UFemNotFound) {
        stiffnessMatrixMaxValue_ = maxValue;
        stiffnessMatrixMaxValueNodeDOFIndex_ = maxIndex;
        stiffnessMatrixMinValue_ = minValue;
        stiffnessMatrixMinValueNodeDOFIndex_ = minIndex;
    }
    return true;
}

quint8& UFemWFNodeMatrices::stateByte(quint64 nodeNo, quint64 rotation, quint64 direction)
{
    return nodeDOFStateTable_[2 * nodeNo + rotation].state[direction];
}

void UFemWFNodeMatrices::requireNode(quint64 nodeNo, quint64 rotation) const
{
    if (nodeNo >= nodeCount_ || rotation > 1)
        UFemRaiseProgramError(QStringLiteral("Unexpected error occurred."));
}

void UFemWFNodeMatrices::requireDOF(quint64 nodeNo, quint64 rotation, quint64 direction) const
{
    requireNode(nodeNo, rotation);
    if (direction > 2 || nodeDOFStateTable_.size() != 2 * nodeCount_)
        UFemRaiseProgramError(QStringLiteral("Unexpected error occurred."));
}

quint64 UFemWFNodeMatrices::caseBlockCount() const
{
    return UFemWFNodeForceCaseBlockCount(caseCount_);
}

quint64 UFemWFNodeMatrices::casesInBlock(quint64 caseBlock) const
{
    const quint64 first = caseBlock * UFemWFNodeForceCasesPerBlock;
    return std::min(UFemWFNodeForceCasesPerBlock, caseCount_ - first);
}
