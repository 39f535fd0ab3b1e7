#include "calculation/UFemWFCalculationSlotLayout.h"

#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"

#include <algorithm>

std::vector<quint64> UFemWFCalculationSlotLayout::nodeDegreeCountTable(
    const UFemWFNodeMatrices& matrices)
{
    const _UFemNode3DOFState* states = matrices.nodeDOFStateTable();
    std::vector<quint64> degrees(matrices.nodeCount(), 0);
    for (quint64 n = 0; n < matrices.nodeCount(); ++n)
        degrees[n]
            = quint64(states[2 * n].hasValidDOF()) + quint64(states[2 * n + 1].hasValidDOF());
    return degrees;
}

void UFemWFCalculationSlotLayout::setNodeConnections(UFemNodeOrderer& orderer,
    const UFemWFNodeMatrices& matrices, const std::vector<quint64>& degrees)
{
    std::vector<quint64> scratch;
    for (quint64 n = 0; n < matrices.nodeCount(); ++n) {
        if (degrees[n] == 0)
            continue;
        const USparseMatrixIndexSet& columns
            = USparseMatrixRowColumnIndexSet(matrices.stiffnessMatrix(), n);
        const auto isOut = [&](quint64 c) { return degrees[c] == 0; };
        if (std::none_of(columns.begin(), columns.end(), isOut)) {
            orderer.setNodeConnectionWithNodeNo(n, columns);
            continue;
        }
        scratch.clear();
        std::remove_copy_if(columns.begin(), columns.end(), std::back_inserter(scratch), isOut);
        orderer.setNodeConnectionWithNodeNo(n, scratch);
    }
}

bool UFemWFCalculationSlotLayout::executeNodeOrdering(const UFemWFNodeMatrices& matrices,
    const double* nodeLocationTable, const std::vector<quint64>& mainPathTransitNodeNoTable,
    UFemNodeOrdererDelegate* delegate, UErrorPtr* error)
{
    orderedNodeBlockCount_ = 0;
    orderedCombNodeNoTableByCalc_.clear();
    orderedNodeIndexTableByBuild_.assign(2 * matrices.nodeCount(), UFemNotFound);
    const std::vector<quint64> degrees = nodeDegreeCountTable(matrices);
    if (std::all_of(degrees.begin(), degrees.end(), [](quint64 d) { return d == 0; }))
        return true; // nothing to solve
    UFemNodeOrderer orderer(
        delegate, matrices.nodeCount(), degrees.data(), nodeLocationTable, true);
    setNodeConnections(orderer, matrices, degrees);
    if (!mainPathTransitNodeNoTable.empty()
        && !orderer.setNodeOrderingMainPathTransitNodeNoTable(
            mainPathTransitNodeNoTable.data(), mainPathTransitNodeNoTable.size(), error))
        return false;
    std::vector<quint64> nodeBlockTable;
    UErrorPtr failure;
    if (!orderer.executeNodeOrdering(error))
        return false;
    const quint64 blockCount = orderer.getOrderedNodeBlockNodeNoTable(
        &nodeBlockTable, UFemWFSlotsPerNodeBlock, &failure);
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    orderingWarningString_ = orderer.warningString();
    fillSlots(matrices, nodeBlockTable, blockCount);
    return true;
}

void UFemWFCalculationSlotLayout::fillSlots(const UFemWFNodeMatrices& matrices,
    const std::vector<quint64>& nodeBlockTable, quint64 blockCount)
{
    const _UFemNode3DOFState* states = matrices.nodeDOFStateTable();
    orderedCombNodeNoTableByCalc_.assign(blockCount * UFemWFSlotsPerNodeBlock, UFemNotFound);
    for (quint64 b = 0; b < blockCount; ++b) {
        quint64 slot = b * UFemWFSlotsPerNodeBlock;
        for (quint64 place = 0; place < UFemWFSlotsPerNodeBlock; ++place) {
            const quint64 node = nodeBlockTable[b * UFemWFSlotsPerNodeBlock + place];
            if (node == UFemNotFound)
                continue;
            for (quint64 rotation = 0; rotation < 2; ++rotation) {
                if (!states[2 * node + rotation].hasValidDOF())
                    continue;
                if (slot == (b + 1) * UFemWFSlotsPerNodeBlock)
                    UFemRaiseProgramError(
                        QStringLiteral("A node block holds more than 4 triples."));
                orderedCombNodeNoTableByCalc_[slot++] = 2 * node + rotation;
            }
        }
    }
    orderedNodeBlockCount_ = blockCount;
    for (quint64 s = 0; s < orderedCombNodeNoTableByCalc_.size(); ++s) {
        if (orderedCombNodeNoTableByCalc_[s] != UFemNotFound)
            orderedNodeIndexTableByBuild_[orderedCombNodeNoTableByCalc_[s]] = s;
    }
}
