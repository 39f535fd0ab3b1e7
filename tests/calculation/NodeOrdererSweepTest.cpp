#include "calculation/ordering/UFemNodeOrderer.h"
#include "calculation/ordering/UFemNodeOrderingMainPath.h"
#include "calculation/ordering/UFemNodePotentialTable.h"

#include "NodeOrderingMeshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

namespace {

// 0 (0,0) - 1 (1,0) - 2 (2,0) - 4 (3,0), and 0 - 3 (1,1) - 2; node 5 takes no part.
UFemNodeOrderingGraph smallGraph()
{
    UFemNodeOrderingGraph graph(
        { 0, 0, 0, 1, 0, 0, 2, 0, 0, 1, 1, 0, 3, 0, 0, 9, 9, 0 }, { 1, 1, 1, 1, 1, 0 });
    const std::vector<std::vector<quint64>> rows
        = { { 1, 3 }, { 0, 2 }, { 1, 3, 4 }, { 0, 2 }, { 2 } };
    for (quint64 node = 0; node < rows.size(); ++node)
        graph.addConnections(UFemOrderingIndex(node), rows[node]);
    graph.finishConnections();
    return graph;
}

} // namespace

TEST(NodeOrdererSweep, ShortestPathsLabelsAndFarthestNode)
{
    UFemNodeOrderingGraph graph = smallGraph();
    UFemNodePotentialTable table(graph);
    std::vector<UFemOrderingIndex> path;
    UErrorPtr error;
    EXPECT_DOUBLE_EQ(table.findFarthestNode(0, UFemOrderingNone, false, &path, &error), 3.0);
    EXPECT_EQ(path, (std::vector<UFemOrderingIndex> { 0, 1, 2, 4 }));
    EXPECT_DOUBLE_EQ(table.potential(3), std::sqrt(2.0));
    EXPECT_EQ(table.potential(5), std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(table.findFarthestNode(4, 3, true, &path, &error), 1.0 + std::sqrt(2.0));
    EXPECT_EQ(path, (std::vector<UFemOrderingIndex> { 3, 2, 4 }));

    // Two starts with their own labels: each node takes the label of its nearest start.
    table.reset();
    table.setStart(0, 7);
    table.setStart(4, 9);
    ASSERT_TRUE(table.updateNodePotential(
        { 0, 4 }, UFemNodePotentialLabelMode::Propagate, UFemOrderingNone, &error));
    EXPECT_EQ(table.label(1), 7u);
    EXPECT_EQ(table.label(2), 9u);
    EXPECT_EQ(table.label(3), 7u);
    EXPECT_EQ(table.label(5), UFemOrderingNone);
    EXPECT_EQ(table.touchedNodes().size(), 5u);

    // A start without degree.
    table.reset();
    table.setStart(5, 5);
    EXPECT_FALSE(table.updateNodePotential(
        { 5 }, UFemNodePotentialLabelMode::Propagate, UFemOrderingNone, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral(
            "Unexpected error occurred. An initial node for updating potential is invalid."));
}

TEST(NodeOrdererSweep, GroupsAndMainPathDividers)
{
    UFemNodeOrderingGraph graph = smallGraph();
    const UFemNodeGroupTable groups = UFemFindConnectedNodeGroups(graph);
    ASSERT_EQ(groups.count(), 1u);
    EXPECT_EQ(std::vector<UFemOrderingIndex>(groups.group(0).begin(), groups.group(0).end()),
        (std::vector<UFemOrderingIndex> { 0, 1, 2, 3, 4 }));
    UFemNodePotentialTable table(graph);
    std::vector<UFemOrderingIndex> mainPath;
    UErrorPtr error;
    ASSERT_TRUE(UFemBuildNodeOrderingMainPath(table, graph, groups, &mainPath, &error));
    // From sample 0 the farthest node is 4; back from 4 the farthest is 0: path 0 .. 4, 0 first.
    EXPECT_EQ(mainPath, (std::vector<UFemOrderingIndex> { 0, 1, 2, 4, UFemOrderingNone }));
    std::vector<quint64> ordered;
    ASSERT_TRUE(UFemOrderNodesByPotential(table, graph, mainPath, &ordered, &error));
    // Node 3 is as near to path node 0 as to 2 (sqrt 2): the wave from node 0 reaches it first.
    // Measured along the path (direction x) its key is sqrt 2 + 4 x 1, between those of path
    // nodes 1 (4) and 2 (8): it follows node 1, where it lies, not node 0.
    EXPECT_EQ(ordered, (std::vector<quint64> { 0, 1, 3, 2, 4, ~quint64(0) }));
}

TEST(NodeOrdererSweep, ConnectionsGivenNodeByNode)
{
    // The same grid given as compressed rows and node by node in two halves with the node itself
    // and repeats mixed in: the same order.
    const nodeordering::Mesh mesh = nodeordering::makeGridMesh(9, 8, 1, 0.2, true, 11);
    UFemNodeOrderer whole(
        nullptr, mesh.nodeCount, mesh.degrees.data(), mesh.locations.data(), true);
    whole.setNodeConnections(mesh.rowOffsets, mesh.columns);
    UFemNodeOrderer byNode(
        nullptr, mesh.nodeCount, mesh.degrees.data(), mesh.locations.data(), true);
    for (quint64 node = mesh.nodeCount; node-- > 0;) {
        const auto row = mesh.row(node);
        std::vector<quint64> first(row.begin(), row.begin() + row.size() / 2);
        std::vector<quint64> second(row.begin() + row.size() / 3, row.end());
        second.push_back(node);
        byNode.setNodeConnectionWithNodeNo(node, second);
        byNode.setNodeConnectionWithNodeNo(node, first);
    }
    UErrorPtr error;
    ASSERT_TRUE(whole.executeNodeOrdering(&error));
    ASSERT_TRUE(byNode.executeNodeOrdering(&error));
    EXPECT_EQ(whole.orderedNodeNoTable(), byNode.orderedNodeNoTable());
    EXPECT_EQ(whole.nodeBlockNodeNoListTable(), byNode.nodeBlockNodeNoListTable());
}

namespace {

class NamingDelegate : public UFemNodeOrdererDelegate {
public:
    QString nodeNameStringWithNodeNo(quint64 nodeNo) const override
    {
        return QStringLiteral("N%1").arg(nodeNo);
    }
};

// A chain 0 - 1 - 2 - 3 - 4 on the x axis, a pair 5 - 6 beside it; node 7 takes no part.
std::unique_ptr<UFemNodeOrderer> chainAndPair(
    const UFemNodeOrdererDelegate* delegate, bool twoLevel, double x7 = 2.2)
{
    const double locations[]
        = { 0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0, 0, 5, 0, 1, 5, 0, x7, 0, 0 };
    const quint64 degrees[] = { 1, 1, 1, 1, 1, 1, 1, 0 };
    auto orderer = std::make_unique<UFemNodeOrderer>(
        const_cast<UFemNodeOrdererDelegate*>(delegate), 8, degrees, locations, twoLevel);
    const std::vector<std::vector<quint64>> rows
        = { { 1 }, { 0, 2 }, { 1, 3 }, { 2, 4 }, { 3 }, { 6 }, { 5 } };
    for (quint64 node = 0; node < rows.size(); ++node)
        orderer->setNodeConnectionWithNodeNo(node, rows[node]);
    return orderer;
}

std::vector<quint64> orderWithTransit(UFemNodeOrderer& orderer, const std::vector<quint64>& transit)
{
    UErrorPtr error;
    EXPECT_TRUE(
        orderer.setNodeOrderingMainPathTransitNodeNoTable(transit.data(), transit.size(), &error));
    EXPECT_TRUE(orderer.executeNodeOrdering(&error));
    std::vector<quint64> nodes;
    for (quint64 node : orderer.orderedNodeNoTable()) {
        if (node != ~quint64(0))
            nodes.push_back(node);
    }
    return nodes;
}

} // namespace

TEST(NodeOrdererTransit, PathThroughTransitNodesAndGroupOrder)
{
    const NamingDelegate names;
    const quint64 divider = ~quint64(0);
    auto orderer = chainAndPair(&names, false);
    EXPECT_EQ(orderWithTransit(*orderer, {}), (std::vector<quint64> { 0, 1, 2, 3, 4, 5, 6 }));
    // Path 2, 1, 0: nodes 3 and 4 hang off path node 2 and come first, against the path direction.
    EXPECT_EQ(orderWithTransit(*orderer, { 2, 0 }), (std::vector<quint64> { 4, 3, 2, 1, 0, 5, 6 }));
    // Path 2, 1, 0, then 0 to 4 with the nodes already on the path skipped: 2, 1, 0, 3, 4.
    EXPECT_EQ(
        orderWithTransit(*orderer, { 2, 0, 4 }), (std::vector<quint64> { 2, 1, 0, 3, 4, 5, 6 }));
    // A run naming the pair puts its group first; a clear table restores the order.
    EXPECT_EQ(orderWithTransit(*orderer, { 6, divider, 0, 4 }),
        (std::vector<quint64> { 6, 5, 0, 1, 2, 3, 4 }));
    EXPECT_EQ(orderWithTransit(*orderer, {}), (std::vector<quint64> { 0, 1, 2, 3, 4, 5, 6 }));
    EXPECT_TRUE(orderer->warningString().isEmpty());

    auto twoLevel = chainAndPair(&names, true);
    const auto nodes = orderWithTransit(*twoLevel, { 5 });
    ASSERT_EQ(nodes.size(), 7u);
    EXPECT_EQ(std::set<quint64>(nodes.begin(), nodes.begin() + 2), (std::set<quint64> { 5, 6 }));
}

TEST(NodeOrdererTransit, WarningsOfTheTable)
{
    const NamingDelegate names;
    const quint64 divider = ~quint64(0);
    auto orderer = chainAndPair(&names, false);
    // Node 7 has no degree: the nearest node with degree (2 at x = 2 against 7 at x = 2.2) replaces
    // it.
    EXPECT_EQ(orderWithTransit(*orderer, { divider, 7, divider, divider, 0 }),
        (std::vector<quint64> { 4, 3, 2, 1, 0, 5, 6 }));
    EXPECT_EQ(orderer->warningString(),
        QStringLiteral("Node ordering 'Divider' found at the beginning of the node list.\n"
                       "Node 'N7' in node ordering node list doesn't have DOF, so the node is "
                       "replaced with node 'N2'.\n"
                       "Node ordering 'Divider' found continuously in the node list.\n"));

    // Without a finite location no node is near enough: the node is dropped.
    auto lost = chainAndPair(&names, false, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(orderWithTransit(*lost, { 7 }), (std::vector<quint64> { 0, 1, 2, 3, 4, 5, 6 }));
    EXPECT_EQ(lost->warningString(),
        QStringLiteral("Node 'N7' in node ordering node list doesn't have DOF and another node is "
                       "not found to "
                       "replace, so the node is remove.\n"));
}
