#include "calculation/ordering/UFemNodeOrderer.h"
#include "calculation/ordering/UFemNodeOrderingMainPath.h"

#include "NodeOrderingMeshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

// The band of the final blocks may exceed one cross-section's DOFs by half.
constexpr double kSectionEnvelopeBound = 1.5;

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

// Its main path runs straight along its length, one node per cross-section from one end face to the
// other; the double sweep would run from corner to corner.
TEST(TransitNodes, MainPathOfASlenderBarRunsAlongItsLength)
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
    ASSERT_EQ(mainPath.size(), size_t(kBarLength + 1));
    ASSERT_EQ(mainPath.back(), UFemOrderingNone);
    const double first = bar.locations[3 * mainPath.front()];
    const double step = first == 0.0 ? 1.0 : -1.0;
    for (int k = 0; k < kBarLength; ++k) {
        const quint32 node = mainPath[k];
        EXPECT_EQ(bar.locations[3 * node], first + step * k) << "entry " << k;
        EXPECT_EQ(bar.locations[3 * node + 1], bar.locations[3 * mainPath[0] + 1]);
        EXPECT_EQ(bar.locations[3 * node + 2], bar.locations[3 * mainPath[0] + 2]);
    }
}

// The order moves through the bar cross-section by cross-section, and the mean band of the final
// blocks stays within half a cross-section of the DOFs of one cross-section.
TEST(TransitNodes, SlenderBarIsOrderedAlongItsLength)
{
    for (bool shuffled : { false, true }) {
        const nodeordering::Mesh bar
            = nodeordering::makeGridMesh(kBarLength, kBarSide, kBarSide, 0.0, shuffled, 3);
        const auto blocks = nodeordering::orderWithNodeOrderer(bar);
        const std::vector<quint64> slot = slotsOf(bar, blocks);
        std::vector<double> meanSlot(kBarLength, 0.0);
        for (quint64 node = 0; node < bar.nodeCount; ++node)
            meanSlot[int(std::lround(bar.locations[3 * node]))] += double(slot[node]);
        const double sign = meanSlot.back() > meanSlot.front() ? 1.0 : -1.0;
        for (int x = 1; x < kBarLength; ++x)
            EXPECT_GT(sign * (meanSlot[x] - meanSlot[x - 1]), 0.0) << "x " << x;

        const double sectionDofs = 3.0 * kBarSide * kBarSide;
        const double mean = nodeordering::meanDofEnvelope(bar, blocks);
        EXPECT_LE(mean, kSectionEnvelopeBound * sectionDofs) << "shuffled " << shuffled;
        EXPECT_GE(mean, sectionDofs) << "shuffled " << shuffled;
    }
}

// The first division gathers each block of the bar inside one cross-section, also when the
// nodes are moved off the grid; a block spanning two would interleave them in the node order.
TEST(TransitNodes, FirstBlocksOfASlenderBarLieInOneCrossSection)
{
    for (double perturbation : { 0.0, 0.2 }) {
        const nodeordering::Mesh bar
            = nodeordering::makeGridMesh(kBarLength, kBarSide, kBarSide, perturbation, true, 5);
        UFemNodeOrderer orderer(
            nullptr, bar.nodeCount, bar.degrees.data(), bar.locations.data(), true);
        orderer.setNodeConnections(bar.rowOffsets, bar.columns);
        UErrorPtr error;
        ASSERT_TRUE(orderer.executeNodeOrdering(&error));
        const auto& table = orderer.nodeBlockNodeNoListTable();
        ASSERT_EQ(table.size(), orderer.nodeBlockCount() * UFemNodeOrderer::NodeBlockPlaceCount);
        quint64 placed = 0;
        for (quint64 block = 0; block < orderer.nodeBlockCount(); ++block) {
            std::set<long> sections;
            for (quint64 place = 0; place < UFemNodeOrderer::NodeBlockPlaceCount; ++place) {
                const quint64 node = table[block * UFemNodeOrderer::NodeBlockPlaceCount + place];
                if (node == UFemNotFound)
                    continue;
                sections.insert(std::lround(bar.locations[3 * node]));
                ++placed;
            }
            EXPECT_EQ(sections.size(), 1u) << "block " << block << " perturbation " << perturbation;
        }
        EXPECT_EQ(placed, bar.nodeCount);
    }
}
