#include "calculation/UFemNodeOrderer.h"
#include "calculation/UFemNodeOrderingMainPath.h"
#include "calculation/UFemNodePotentialTable.h"

#include "NodeOrderingMeshes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// 0 (0,0) - 1 (1,0) - 2 (2,0) - 4 (3,0), and 0 - 3 (1,1) - 2; node 5 takes no part.
UFemNodeOrderingGraph smallGraph()
{
    UFemNodeOrderingGraph graph({ 0, 0, 0, 1, 0, 0, 2, 0, 0, 1, 1, 0, 3, 0, 0, 9, 9, 0 }, { 1, 1, 1, 1, 1, 0 });
    const std::vector<std::vector<quint64>> rows = { { 1, 3 }, { 0, 2 }, { 1, 3, 4 }, { 0, 2 }, { 2 } };
    for (quint64 node = 0; node < rows.size(); ++node)
        graph.addConnections(UFemOrderingIndex(node), rows[node]);
    graph.finishConnections();
    return graph;
}

} // namespace

TEST(NodeOrdererSweep, ShortestPathsLabelsAndFarthestNode)
{
    const UFemNodeOrderingGraph graph = smallGraph();
    UFemNodePotentialTable table(graph);
    std::vector<UFemOrderingIndex> path;
    UErrorPtr error;
    EXPECT_DOUBLE_EQ(table.findFarthestNode(0, UFemOrderingNone, false, &path, &error), 3.0);
    EXPECT_EQ(path, (std::vector<UFemOrderingIndex>{ 0, 1, 2, 4 }));
    EXPECT_DOUBLE_EQ(table.potential(3), std::sqrt(2.0));
    EXPECT_EQ(table.potential(5), std::numeric_limits<double>::infinity());
    EXPECT_DOUBLE_EQ(table.findFarthestNode(4, 3, true, &path, &error), 1.0 + std::sqrt(2.0));
    EXPECT_EQ(path, (std::vector<UFemOrderingIndex>{ 3, 2, 4 }));

    // Two starts with their own labels: each node takes the label of its nearest start.
    table.reset();
    table.setStart(0, 7);
    table.setStart(4, 9);
    ASSERT_TRUE(table.updateNodePotential({ 0, 4 }, UFemNodePotentialLabelMode::Propagate, UFemOrderingNone, &error));
    EXPECT_EQ(table.label(1), 7u);
    EXPECT_EQ(table.label(2), 9u);
    EXPECT_EQ(table.label(3), 7u);
    EXPECT_EQ(table.label(5), UFemOrderingNone);
    EXPECT_EQ(table.touchedNodes().size(), 5u);

    // A start without degree.
    table.reset();
    table.setStart(5, 5);
    EXPECT_FALSE(table.updateNodePotential({ 5 }, UFemNodePotentialLabelMode::Propagate, UFemOrderingNone, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Unexpected error occurred. An initial node for updating potential is invalid."));
}

TEST(NodeOrdererSweep, GroupsAndMainPathDividers)
{
    const UFemNodeOrderingGraph graph = smallGraph();
    const UFemNodeGroupTable groups = UFemFindConnectedNodeGroups(graph);
    ASSERT_EQ(groups.count(), 1u);
    EXPECT_EQ(std::vector<UFemOrderingIndex>(groups.group(0).begin(), groups.group(0).end()),
        (std::vector<UFemOrderingIndex>{ 0, 1, 2, 3, 4 }));
    UFemNodePotentialTable table(graph);
    std::vector<UFemOrderingIndex> mainPath;
    UErrorPtr error;
    ASSERT_TRUE(UFemBuildNodeOrderingMainPath(table, graph, groups, &mainPath, &error));
    // From sample 0 the farthest node is 4; back from 4 the farthest is 0: path 0 .. 4, 0 first.
    EXPECT_EQ(mainPath, (std::vector<UFemOrderingIndex>{ 0, 1, 2, 4, UFemOrderingNone }));
    std::vector<quint64> ordered;
    ASSERT_TRUE(UFemOrderNodesByPotential(table, graph, mainPath, &ordered, &error));
    // Node 3 is as near to path node 0 as to 2 (sqrt 2): the wave from node 0 reaches it first.
    EXPECT_EQ(ordered, (std::vector<quint64>{ 0, 3, 1, 2, 4, ~quint64(0) }));
}

TEST(NodeOrdererSweep, ConnectionsGivenPieceByPiece)
{
    // The same grid given as compressed rows and node by node in two halves with the node itself
    // and repeats mixed in: the same order.
    const nodeordering::Mesh mesh = nodeordering::makeGridMesh(9, 8, 1, 0.2, true, 11);
    UFemNodeOrderer whole(nullptr, mesh.nodeCount, mesh.degrees.data(), mesh.locations.data(), true);
    whole.setNodeConnections(mesh.rowOffsets, mesh.columns);
    UFemNodeOrderer pieces(nullptr, mesh.nodeCount, mesh.degrees.data(), mesh.locations.data(), true);
    for (quint64 node = mesh.nodeCount; node-- > 0;) {
        const auto row = mesh.row(node);
        std::vector<quint64> first(row.begin(), row.begin() + row.size() / 2);
        std::vector<quint64> second(row.begin() + row.size() / 3, row.end());
        second.push_back(node);
        pieces.setNodeConnectionWithNodeNo(node, second);
        pieces.setNodeConnectionWithNodeNo(node, first);
    }
    UErrorPtr error;
    ASSERT_TRUE(whole.executeNodeOrdering(&error));
    ASSERT_TRUE(pieces.executeNodeOrdering(&error));
    EXPECT_EQ(whole.orderedNodeNoTable(), pieces.orderedNodeNoTable());
    EXPECT_EQ(whole.nodeBlockNodeNoListTable(), pieces.nodeBlockNodeNoListTable());
}
