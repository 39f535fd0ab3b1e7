#include "calculation/ordering/UFemNodeOrderer.h"
#include "calculation/ordering/UFemNodeOrderingMainPath.h"

#include "NodeOrderingMeshes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// The first level gathers 8 nodes into a block, which takes two cross-sections of the bar.
constexpr double kSectionOrderEnvelopeBound = 1.2;

UFemNodeOrderingGraph meshGraph(const nodeordering::Mesh& mesh)
{
    UFemNodeOrderingGraph graph(mesh.locations, mesh.degrees);
    for (quint64 node = 0; node < mesh.nodeCount; ++node)
        graph.addConnections(UFemOrderingIndex(node), mesh.row(node));
    graph.finishConnections();
    return graph;
}

// Position of each node in the final block order.
std::vector<quint64> slotsOf(const nodeordering::Mesh& mesh, const std::vector<quint64>& blocks)
{
    std::vector<quint64> slot(mesh.nodeCount, UFemNotFound);
    for (quint64 k = 0; k < blocks.size(); ++k) {
        if (blocks[k] != UFemNotFound)
            slot[blocks[k]] = k;
    }
    return slot;
}

} // namespace

// A slender bar of 40 x 4 x 4 hexahedra.
constexpr int kBarLength = 41, kBarSide = 5;

// Its main path runs along its length near the axis, from one end face to the other; the double
// sweep would run from corner to corner.
TEST(TransitNodes, MainPathOfASlenderBarRunsAlongItsAxis)
{
    const nodeordering::Mesh bar
        = nodeordering::makeGridMesh(kBarLength, kBarSide, kBarSide, 0.0, true, 3);
    UFemNodeOrderingGraph graph = meshGraph(bar);
    const UFemNodeGroupTable groups = UFemFindConnectedNodeGroups(graph);
    ASSERT_EQ(groups.count(), 1u);
    UFemNodePotentialTable table(graph);
    std::vector<UFemOrderingIndex> mainPath;
    UErrorPtr error;
    ASSERT_TRUE(UFemBuildNodeOrderingMainPath(table, graph, groups, &mainPath, &error));
    ASSERT_GE(mainPath.size(), size_t(kBarLength + 1));
    ASSERT_EQ(mainPath.back(), UFemOrderingNone);
    mainPath.pop_back();
    EXPECT_EQ(bar.locations[3 * mainPath.front()], 0.0);
    EXPECT_EQ(bar.locations[3 * mainPath.back()], double(kBarLength - 1));
    const double centre = (kBarSide - 1) / 2.0;
    for (UFemOrderingIndex node : mainPath) {
        EXPECT_LE(std::abs(bar.locations[3 * node + 1] - centre), 1.0) << "node " << node;
        EXPECT_LE(std::abs(bar.locations[3 * node + 2] - centre), 1.0) << "node " << node;
    }
}

// The order moves through the bar cross-section by cross-section, and its band stays within a
// small factor of that of the plain cross-section by cross-section numbering cut by the same
// block division.
TEST(TransitNodes, SlenderBarIsOrderedAlongItsLength)
{
    for (bool shuffled : { false, true }) {
        const nodeordering::Mesh bar
            = nodeordering::makeGridMesh(kBarLength, kBarSide, kBarSide, 0.0, shuffled, 3);
        const auto blocks = nodeordering::orderWithNodeOrderer(bar);
        const std::vector<quint64> slot = slotsOf(bar, blocks);
        std::vector<double> meanSlot(kBarLength, 0.0);
        std::vector<std::pair<double, quint64>> alongLength;
        for (quint64 node = 0; node < bar.nodeCount; ++node) {
            meanSlot[int(std::lround(bar.locations[3 * node]))] += double(slot[node]);
            alongLength.emplace_back(bar.locations[3 * node], node);
        }
        const double sign = meanSlot.back() > meanSlot.front() ? 1.0 : -1.0;
        for (int x = 1; x < kBarLength; ++x)
            EXPECT_GT(sign * (meanSlot[x] - meanSlot[x - 1]), 0.0) << "x " << x;

        std::sort(alongLength.begin(), alongLength.end());
        std::vector<quint64> sections;
        for (const auto& entry : alongLength)
            sections.push_back(entry.second);
        const double sectionEnvelope
            = nodeordering::meanDofEnvelope(bar, nodeordering::blocksOfOrder(bar, sections));
        const double mean = nodeordering::meanDofEnvelope(bar, blocks);
        EXPECT_LE(mean, kSectionOrderEnvelopeBound * sectionEnvelope) << "shuffled " << shuffled;
        EXPECT_GE(mean, 3.0 * kBarSide * kBarSide) << "shuffled " << shuffled;
    }
}
