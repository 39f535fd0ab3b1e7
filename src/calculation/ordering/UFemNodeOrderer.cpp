#include "calculation/ordering/UFemNodeOrderer.h"

#include "calculation/ordering/UFemNodeBlockDivider.h"
#include "calculation/ordering/UFemNodeOrderingGatherGraph.h"
#include "calculation/ordering/UFemNodeOrderingMainPath.h"
#include "calculation/ordering/UFemNodeOrderingReferenceOrder.h"
#include "calculation/ordering/UFemNodePotentialTable.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <algorithm>

namespace {

constexpr qsizetype kWarningStringCapacity = 256;

// The orderer's own copy of the locations and degrees (degree 1 for every node without a table).
UFemNodeOrderingGraph makeGraph(
    quint64 nodeCount, const quint64* nodeDegreeCountTable, const double* nodeLocationTable)
{
    if (nodeCount == 0)
        UFemRaiseProgramError(QStringLiteral("nodeCount == 0."));
    if (nodeCount > UFemOrderingMaxNodeCount || !nodeLocationTable)
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    std::vector<double> locations(nodeLocationTable, nodeLocationTable + 3 * nodeCount);
    std::vector<quint64> degrees = nodeDegreeCountTable
        ? std::vector<quint64>(nodeDegreeCountTable, nodeDegreeCountTable + nodeCount)
        : std::vector<quint64>(nodeCount, 1);
    return UFemNodeOrderingGraph(std::move(locations), std::move(degrees));
}

} // namespace

UFemNodeOrderer::UFemNodeOrderer(UFemNodeOrdererDelegate* delegate, quint64 nodeCount,
    const quint64* nodeDegreeCountTable, const double* nodeLocationTable,
    bool doesBlockNodeOrdering)
    : delegate_(delegate)
    , graph_(makeGraph(nodeCount, nodeDegreeCountTable, nodeLocationTable))
    , doesBlockNodeOrdering_(doesBlockNodeOrdering)
{
}

UFemNodeOrderer::UFemNodeOrderer(UFemNodeOrdererDelegate* delegate, UFemNodeOrderingGraph graph)
    : delegate_(delegate)
    , graph_(std::move(graph))
    , doesBlockNodeOrdering_(false)
{
}

UFemNodeOrderer::UFemNodeOrderer(const UFemNodeOrderer& other)
    : UFemNodeOrdererDelegate()
    , delegate_(other.delegate_)
    , graph_(other.graph_)
    , mainPathTransitNodeNoTable_(other.mainPathTransitNodeNoTable_)
    , transitRuns_(other.transitRuns_)
    , referenceOrderedNodeNoTable_(other.referenceOrderedNodeNoTable_)
    , orderedNodeNoTable_(other.orderedNodeNoTable_)
    , orderedNodeCount_(other.orderedNodeCount_)
    , warningString_(other.warningString_)
    , doesBlockNodeOrdering_(other.doesBlockNodeOrdering_)
    , hasExecuted_(other.hasExecuted_)
    , nodeBlockCount_(other.nodeBlockCount_)
    , nodeBlockNodeNoListTable_(other.nodeBlockNodeNoListTable_)
    , nodeBlockNodeIndexPositionTable_(other.nodeBlockNodeIndexPositionTable_)
{
    if (other.nodeBlockOrderer_) {
        nodeBlockOrderer_ = std::make_unique<UFemNodeOrderer>(*other.nodeBlockOrderer_);
        nodeBlockOrderer_->delegate_ = this;
    }
}

UFemNodeOrderer::~UFemNodeOrderer() = default;

void UFemNodeOrderer::setNodeConnectionWithNodeNo(
    quint64 nodeNo, std::span<const quint64> connectedNodeNoIndexSet)
{
    if (nodeNo >= nodeCount())
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    if (graph_.degree(UFemOrderingIndex(nodeNo)) == 0)
        UFemRaiseProgramError(QStringLiteral("The node's degreeCount is 0."));
    graph_.addConnections(UFemOrderingIndex(nodeNo), connectedNodeNoIndexSet);
}

void UFemNodeOrderer::setNodeConnections(
    std::span<const quint64> rowOffsets, std::span<const quint64> connectedNodeNos)
{
    if (rowOffsets.size() != nodeCount() + 1 || rowOffsets.back() > connectedNodeNos.size())
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    for (quint64 node = 0; node < nodeCount(); ++node) {
        if (rowOffsets[node] > rowOffsets[node + 1])
            UFemRaiseProgramError(QStringLiteral("Out of range."));
        if (rowOffsets[node] < rowOffsets[node + 1])
            setNodeConnectionWithNodeNo(node,
                connectedNodeNos.subspan(
                    rowOffsets[node], rowOffsets[node + 1] - rowOffsets[node]));
    }
}

bool UFemNodeOrderer::setNodeOrderingMainPathTransitNodeNoTable(
    const quint64* table, quint64 count, UErrorPtr* error)
{
    (void)error;
    if (count > 0 && !table)
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    for (quint64 k = 0; k < count; ++k) {
        if (table[k] != UFemNotFound && table[k] >= nodeCount())
            UFemRaiseProgramError(QStringLiteral("Out of range."));
    }
    mainPathTransitNodeNoTable_.assign(table, table + count);
    return true;
}

bool UFemNodeOrderer::executeNodeOrdering(UErrorPtr* error)
{
    graph_.finishConnections();
    hasExecuted_ = false;
    orderedNodeNoTable_.clear();
    orderedNodeCount_ = 0;
    const UFemTransitRunTable transitRuns = parseTransitNodeTable();
    bool done = false;
    if (!doesBlockNodeOrdering_) {
        transitRuns_ = transitRuns;
        done = executeOrderingNodeRecordTable(error);
    } else {
        done = executeBlockNodeOrdering(transitRuns, error);
    }
    if (!done) {
        orderedNodeNoTable_.clear();
        orderedNodeCount_ = 0;
    }
    hasExecuted_ = done;
    return done;
}

bool UFemNodeOrderer::executeBlockNodeOrdering(
    const UFemTransitRunTable& transitRuns, UErrorPtr* error)
{
    if (!divideIntoNodeBlockNodeNoListTable(error))
        return false;
    if (nodeBlockCount_ == 0) {
        orderedNodeNoTable_.assign(nodeCount(), UFemNotFound);
        return true;
    }
    if (!buildNodeBlockOrdererFromNodeBlockNodeNoListTable(error))
        return false;
    nodeBlockOrderer_->transitRuns_ = blockTransitRuns(transitRuns);
    return nodeBlockOrderer_->executeOrderingNodeRecordTable(error)
        && getOrderedNodeNoTableFromNodeBlockOrderer(error);
}

bool UFemNodeOrderer::executeOrderingNodeRecordTable(UErrorPtr* error)
{
    const UFemNodeGroupTable groups = UFemFindConnectedNodeGroups(graph_);
    if (groups.count() == 0)
        return true;
    UFemNodePotentialTable table(graph_);
    std::vector<UFemOrderingIndex> mainPath;
    std::vector<UFemBucketOrder> bucketOrders;
    const bool hasPath = transitRuns_.empty()
        ? UFemBuildNodeOrderingMainPath(table, graph_, groups, &mainPath, error, &bucketOrders)
        : UFemBuildNodeOrderingMainPathWithTransitNodes(
            table, graph_, groups, transitRuns_, &mainPath, error, &bucketOrders);
    if (!hasPath)
        return false;
    if (!UFemOrderNodesByPotential(
            table, graph_, mainPath, &orderedNodeNoTable_, error, bucketOrders)) {
        orderedNodeNoTable_.clear();
        return false;
    }
    orderedNodeCount_ = mainPath.size();
    return true;
}

UFemTransitRunTable UFemNodeOrderer::parseTransitNodeTable()
{
    if (mainPathTransitNodeNoTable_.empty())
        return {};
    return UFemParseTransitNodeTable(
        graph_, mainPathTransitNodeNoTable_,
        [this](quint64 node) { return nodeNameStringWithNodeNo(node); },
        [this](const QString& text) { appendWarningString(text); });
}

UFemTransitRunTable UFemNodeOrderer::blockTransitRuns(const UFemTransitRunTable& nodeRuns) const
{
    UFemTransitRunTable blockRuns;
    for (const auto& run : nodeRuns) {
        blockRuns.emplace_back();
        for (UFemOrderingIndex node : run) {
            const auto block
                = UFemOrderingIndex(nodeBlockNodeIndexPositionTable_[node] / NodeBlockPlaceCount);
            if (blockRuns.back().empty() || blockRuns.back().back() != block)
                blockRuns.back().push_back(block);
        }
    }
    return blockRuns;
}

bool UFemNodeOrderer::divideIntoNodeBlockNodeNoListTable(UErrorPtr* error)
{
    (void)error;
    std::vector<quint64> counts(nodeCount());
    for (quint64 node = 0; node < nodeCount(); ++node)
        counts[node] = graph_.degree(UFemOrderingIndex(node)) > 0 ? 1 : 0;
    // Seeded in node-number order, the blocks would follow however the user numbered the nodes.
    referenceOrderedNodeNoTable_ = UFemMakeNodeOrderingReferenceOrder(graph_);
    // Blocks that span two cross-sections would interleave them in the expanded order.
    const UFemNodeOrderingGraph gather = UFemMakeNodeOrderingGatherGraph(graph_);
    UFemNodeBlockDivider divider(gather, referenceOrderedNodeNoTable_, counts, NodeBlockPlaceCount);
    nodeBlockCount_ = divider.divide();
    nodeBlockNodeNoListTable_ = divider.blockNodeNoTable();
    nodeBlockNodeIndexPositionTable_ = divider.nodeIndexPositionTable();
    return true;
}

bool UFemNodeOrderer::buildNodeBlockOrdererFromNodeBlockNodeNoListTable(UErrorPtr* error)
{
    (void)error;
    std::vector<double> centroids(3 * nodeBlockCount_, 0.0);
    for (quint64 block = 0; block < nodeBlockCount_; ++block) {
        quint64 members = 0;
        double* centroid = &centroids[3 * block];
        for (quint64 place = 0; place < NodeBlockPlaceCount; ++place) {
            const quint64 node = nodeBlockNodeNoListTable_[block * NodeBlockPlaceCount + place];
            if (node == UFemNotFound)
                continue;
            const double* location = graph_.location(UFemOrderingIndex(node));
            for (int k = 0; k < 3; ++k)
                centroid[k] += location[k];
            ++members;
        }
        for (int k = 0; k < 3; ++k)
            centroid[k] /= double(members);
    }
    UFemNodeOrderingGraph blockGraph(
        std::move(centroids), std::vector<quint64>(nodeBlockCount_, 1));
    std::vector<UFemOrderingIndex> blockOf(nodeCount(), UFemOrderingNone);
    for (quint64 node = 0; node < nodeCount(); ++node) {
        if (nodeBlockNodeIndexPositionTable_[node] != UFemNotFound)
            blockOf[node]
                = UFemOrderingIndex(nodeBlockNodeIndexPositionTable_[node] / NodeBlockPlaceCount);
    }
    std::vector<UFemOrderingIndex> stamp(nodeBlockCount_, UFemOrderingNone);
    std::vector<UFemOrderingIndex> connected;
    for (quint64 block = 0; block < nodeBlockCount_; ++block) {
        connected.clear();
        for (quint64 place = 0; place < NodeBlockPlaceCount; ++place) {
            const quint64 node = nodeBlockNodeNoListTable_[block * NodeBlockPlaceCount + place];
            if (node == UFemNotFound)
                continue;
            for (UFemOrderingIndex other : graph_.neighbours(UFemOrderingIndex(node))) {
                const UFemOrderingIndex otherBlock = blockOf[other];
                if (otherBlock != block && stamp[otherBlock] != block) {
                    stamp[otherBlock] = UFemOrderingIndex(block);
                    connected.push_back(UFemOrderingIndex(otherBlock));
                }
            }
        }
        if (!connected.empty())
            blockGraph.addConnections(
                UFemOrderingIndex(block), std::span<const UFemOrderingIndex>(connected));
    }
    blockGraph.finishConnections();
    nodeBlockOrderer_.reset(new UFemNodeOrderer(this, std::move(blockGraph)));
    return true;
}

bool UFemNodeOrderer::getOrderedNodeNoTableFromNodeBlockOrderer(UErrorPtr* error)
{
    (void)error;
    orderedNodeNoTable_.assign(nodeCount(), UFemNotFound);
    quint64 written = 0;
    for (quint64 block : nodeBlockOrderer_->orderedNodeNoTable_) {
        if (block == UFemNotFound)
            break;
        for (quint64 place = 0; place < NodeBlockPlaceCount; ++place) {
            const quint64 node = nodeBlockNodeNoListTable_[block * NodeBlockPlaceCount + place];
            if (node != UFemNotFound)
                orderedNodeNoTable_[written++] = node;
        }
    }
    orderedNodeCount_ = 0;
    return true;
}

quint64 UFemNodeOrderer::getOrderedNodeBlockNodeNoTable(
    std::vector<quint64>* table, quint64 nodeBlockDegreeCount, UErrorPtr* error)
{
    table->clear();
    if (!hasExecuted_) {
        UFemSetError(
            error, UFemUnexpectedError_withDescription(QStringLiteral("No ordered node result.")));
        return 0;
    }
    const auto& degrees = graph_.degrees();
    if (nodeBlockDegreeCount == 0
        || *std::max_element(degrees.begin(), degrees.end()) > nodeBlockDegreeCount)
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    if (orderedNodeNoTable_.empty())
        return 0;
    UFemNodeBlockDivider divider(graph_, orderedNodeNoTable_, degrees, nodeBlockDegreeCount);
    const quint64 blockCount = divider.divide();
    *table = divider.blockNodeNoTable();
    return blockCount;
}

quint64 UFemNodeOrderer::getOrderedNodeNoTable(quint64* table, UErrorPtr* error) const
{
    if (orderedNodeNoTable_.empty()) {
        UFemSetError(
            error, UFemUnexpectedError_withDescription(QStringLiteral("No ordered node result.")));
        return 0;
    }
    std::copy(orderedNodeNoTable_.begin(), orderedNodeNoTable_.end(), table);
    return orderedNodeCount_;
}

QString UFemNodeOrderer::nodeNameStringWithNodeNo(quint64 nodeNo) const
{
    return delegate_ ? delegate_->nodeNameStringWithNodeNo(nodeNo) : QString::number(nodeNo);
}

void UFemNodeOrderer::appendWarningString(const QString& text)
{
    if (warningString_.isEmpty())
        warningString_.reserve(kWarningStringCapacity);
    warningString_ += text;
    warningString_ += QLatin1Char('\n');
}
