#pragma once

#include "calculation/ordering/UFemNodeOrderingGraph.h"
#include "calculation/ordering/UFemNodeOrderingTransitPath.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <memory>
#include <span>
#include <vector>

// What an orderer asks of its owner: the name of a node, for warnings.
class UFemNodeOrdererDelegate {
public:
    virtual ~UFemNodeOrdererDelegate() = default;
    virtual QString nodeNameStringWithNodeNo(quint64 nodeNo) const = 0;
};

// Puts the nodes of one calculation in the order in which their degrees of freedom enter the paged
// factorisation, following the geometry along a main path through each connected part, and cuts
// that order into node blocks of bounded degree (one 12 x 12 matrix block each).
//
// Node numbers are 0 .. nodeCount - 1; all ones marks an empty entry in every table handed out.
class UFemNodeOrderer : public UFemNodeOrdererDelegate {
public:
    // Places of a block of the first division of a two-level ordering.
    static constexpr quint64 NodeBlockPlaceCount = 8;

    // `nodeDegreeCountTable`: per node, the number of its DOF triples in the solution (0, 1 or 2);
    // null gives every node degree 1. `nodeLocationTable`: x, y, z per node, copied.
    UFemNodeOrderer(UFemNodeOrdererDelegate* delegate, quint64 nodeCount,
        const quint64* nodeDegreeCountTable, const double* nodeLocationTable,
        bool doesBlockNodeOrdering);
    UFemNodeOrderer(const UFemNodeOrderer& other);
    UFemNodeOrderer& operator=(const UFemNodeOrderer&) = delete;
    ~UFemNodeOrderer() override;

    // Adds connected nodes of one node (the node itself is ignored). The relation must be
    // symmetric.
    void setNodeConnectionWithNodeNo(
        quint64 nodeNo, std::span<const quint64> connectedNodeNoIndexSet);
    // All connections at once in compressed rows: row n is connectedNodeNos[rowOffsets[n] ..
    // rowOffsets[n + 1]).
    void setNodeConnections(
        std::span<const quint64> rowOffsets, std::span<const quint64> connectedNodeNos);

    // Stores a copy of the transit node table (all ones divides runs); count 0 clears it. The main
    // path of each group named in it runs through its transit nodes in the given order.
    [[nodiscard]] bool setNodeOrderingMainPathTransitNodeNoTable(
        const quint64* table, quint64 count, UErrorPtr* error);

    [[nodiscard]] bool executeNodeOrdering(UErrorPtr* error);

    // Divides the ordered nodes into blocks whose degrees add up to at most nodeBlockDegreeCount;
    // `table` receives blockCount x nodeBlockDegreeCount node numbers. Returns blockCount.
    quint64 getOrderedNodeBlockNodeNoTable(
        std::vector<quint64>* table, quint64 nodeBlockDegreeCount, UErrorPtr* error);
    // Copies nodeCount entries of the ordered table; returns orderedNodeCount.
    quint64 getOrderedNodeNoTable(quint64* table, UErrorPtr* error) const;

    QString nodeNameStringWithNodeNo(quint64 nodeNo) const override;
    void appendWarningString(const QString& text);
    const QString& warningString() const { return warningString_; }

    quint64 nodeCount() const { return graph_.nodeCount(); }
    bool doesBlockNodeOrdering() const { return doesBlockNodeOrdering_; }
    // Main-path entries (dividers included) of a one-level ordering; 0 after a two-level one.
    quint64 orderedNodeCount() const { return orderedNodeCount_; }
    const std::vector<quint64>& orderedNodeNoTable() const { return orderedNodeNoTable_; }
    quint64 nodeBlockCount() const { return nodeBlockCount_; }
    const std::vector<quint64>& nodeBlockNodeNoListTable() const
    {
        return nodeBlockNodeNoListTable_;
    }
    const std::vector<quint64>& nodeBlockNodeIndexPositionTable() const
    {
        return nodeBlockNodeIndexPositionTable_;
    }
    const std::vector<quint64>& mainPathTransitNodeNoTable() const
    {
        return mainPathTransitNodeNoTable_;
    }

private:
    // The block orderer: one node per block at the block's centroid.
    UFemNodeOrderer(UFemNodeOrdererDelegate* delegate, UFemNodeOrderingGraph graph);

    [[nodiscard]] bool executeOrderingNodeRecordTable(UErrorPtr* error);
    [[nodiscard]] bool executeBlockNodeOrdering(
        const UFemTransitRunTable& transitRuns, UErrorPtr* error);
    UFemTransitRunTable parseTransitNodeTable();
    UFemTransitRunTable blockTransitRuns(const UFemTransitRunTable& nodeRuns) const;
    [[nodiscard]] bool divideIntoNodeBlockNodeNoListTable(UErrorPtr* error);
    [[nodiscard]] bool buildNodeBlockOrdererFromNodeBlockNodeNoListTable(UErrorPtr* error);
    [[nodiscard]] bool getOrderedNodeNoTableFromNodeBlockOrderer(UErrorPtr* error);

    UFemNodeOrdererDelegate* delegate_;
    UFemNodeOrderingGraph graph_;
    std::vector<quint64> mainPathTransitNodeNoTable_;
    UFemTransitRunTable transitRuns_;
    // Reference order of the first block division (the divider makes its inverse).
    std::vector<quint64> referenceOrderedNodeNoTable_;
    std::vector<quint64> orderedNodeNoTable_;
    quint64 orderedNodeCount_ = 0;
    QString warningString_;
    bool doesBlockNodeOrdering_;
    bool hasExecuted_ = false;
    quint64 nodeBlockCount_ = 0;
    std::vector<quint64> nodeBlockNodeNoListTable_;
    std::vector<quint64> nodeBlockNodeIndexPositionTable_;
    std::unique_ptr<UFemNodeOrderer> nodeBlockOrderer_;
};
