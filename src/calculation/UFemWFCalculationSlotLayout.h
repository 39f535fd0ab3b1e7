#pragma once

#include "calculation/ordering/UFemNodeOrderer.h"
#include "calculation/solver/UFemWFNodeMatrices.h"
#include "calculation/solver/UFemWFPageLayout.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <vector>

// Where the DOF triples of one restraint set stand in the paged equations. The nodes are ordered
// and cut into node blocks of degree at most 4; each node block gives 4 slots, filled with the
// translation triple (when it has a Valid direction) and then the rotation triple of each of its
// nodes, the rest empty. Slot s lies on page s / 16, block (s / 4) mod 4, triple position s mod 4.
class UFemWFCalculationSlotLayout {
public:
    // Orders the nodes of the matrices, whose restraints and DOF states are complete.
    // `nodeLocationTable`: x, y, z per node. `mainPathTransitNodeNoTable` may be empty.
    [[nodiscard]] bool executeNodeOrdering(const UFemWFNodeMatrices& matrices,
        const double* nodeLocationTable, const std::vector<quint64>& mainPathTransitNodeNoTable,
        UFemNodeOrdererDelegate* delegate, UErrorPtr* error);

    quint64 orderedNodeBlockCount() const { return orderedNodeBlockCount_; }
    quint64 slotCount() const { return orderedNodeBlockCount_ * UFemWFSlotsPerNodeBlock; }
    quint64 pageCount() const { return UFemWFPageLayout::pageCount(slotCount()); }
    // Per slot, its triple index or UFemNotFound.
    const std::vector<quint64>& orderedCombNodeNoTableByCalc() const
    {
        return orderedCombNodeNoTableByCalc_;
    }
    // Per triple (2 x nodeCount), its slot or UFemNotFound when it is not solved.
    const std::vector<quint64>& orderedNodeIndexTableByBuild() const
    {
        return orderedNodeIndexTableByBuild_;
    }
    quint64 slotOfTriple(quint64 tripleIndex) const
    {
        return orderedNodeIndexTableByBuild_[tripleIndex];
    }
    const QString& orderingWarningString() const { return orderingWarningString_; }

private:
    static std::vector<quint64> nodeDegreeCountTable(const UFemWFNodeMatrices& matrices);
    static void setNodeConnections(UFemNodeOrderer& orderer, const UFemWFNodeMatrices& matrices,
        const std::vector<quint64>& degrees);
    void fillSlots(const UFemWFNodeMatrices& matrices, const std::vector<quint64>& nodeBlockTable,
        quint64 blockCount);

    quint64 orderedNodeBlockCount_ = 0;
    std::vector<quint64> orderedCombNodeNoTableByCalc_;
    std::vector<quint64> orderedNodeIndexTableByBuild_;
    QString orderingWarningString_;
};
