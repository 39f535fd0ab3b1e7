#include "calculation/ordering/UFemNodeBlockDivider.h"
#include "calculation/ordering/UFemNodeOrderer.h"
#include "calculation/ordering/UFemNodeOrderingReferenceOrder.h"
#include "foundation/errors/UException.h"

#include "NodeOrderingMeshes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <random>
#include <set>

using nodeordering::Mesh;

namespace {

// Nodes on the x axis at the given positions; `edges` are pairs of node numbers.
Mesh lineMesh(const std::vector<double>& x, const std::vector<std::pair<quint64, quint64>>& edges,
    std::vector<quint64> degrees = {})
{
    Mesh mesh;
    mesh.nodeCount = x.size();
    for (double value : x)
        mesh.locations.insert(mesh.locations.end(), { value, 0.0, 0.0 });
    mesh.degrees = degrees.empty() ? std::vector<quint64>(x.size(), 1) : degrees;
    std::vector<std::vector<quint64>> rows(x.size());
    for (auto [a, b] : edges) {
        rows[a].push_back(b);
        rows[b].push_back(a);
    }
    mesh.rowOffsets.assign(1, 0);
    for (auto& row : rows) {
        std::sort(row.begin(), row.end());
        mesh.columns.insert(mesh.columns.end(), row.begin(), row.end());
        mesh.rowOffsets.push_back(mesh.columns.size());
    }
    return mesh;
}

std::unique_ptr<UFemNodeOrderer> makeOrderer(const Mesh& mesh, bool twoLevel)
{
    auto orderer = std::make_unique<UFemNodeOrderer>(
        nullptr, mesh.nodeCount, mesh.degrees.data(), mesh.locations.data(), twoLevel);
    orderer->setNodeConnections(mesh.rowOffsets, mesh.columns);
    return orderer;
}

std::vector<quint64> orderedNodes(const UFemNodeOrderer& orderer)
{
    std::vector<quint64> nodes;
    for (quint64 node : orderer.orderedNodeNoTable()) {
        if (node != UFemNotFound)
            nodes.push_back(node);
    }
    return nodes;
}

// Every node of degree above 0 in exactly one block, no other node in any, no block above the
// limit.
void expectValidBlocks(const Mesh& mesh, const std::vector<quint64>& blocks, quint64 limit)
{
    ASSERT_EQ(blocks.size() % limit, 0u);
    std::vector<int> seen(mesh.nodeCount, 0);
    for (size_t block = 0; block < blocks.size() / limit; ++block) {
        quint64 degreeSum = 0;
        for (quint64 place = 0; place < limit; ++place) {
            const quint64 node = blocks[block * limit + place];
            if (node == UFemNotFound)
                continue;
            ASSERT_LT(node, mesh.nodeCount);
            ++seen[node];
            degreeSum += mesh.degrees[node];
        }
        EXPECT_LE(degreeSum, limit) << "block " << block;
        EXPECT_GT(degreeSum, 0u) << "block " << block;
    }
    for (quint64 node = 0; node < mesh.nodeCount; ++node)
        EXPECT_EQ(seen[node], mesh.degrees[node] > 0 ? 1 : 0) << "node " << node;
}

// The same mesh with node n numbered newNumber[n].
Mesh renumberedMesh(const Mesh& mesh, const std::vector<quint64>& newNumber)
{
    Mesh result;
    result.nodeCount = mesh.nodeCount;
    result.locations.resize(mesh.locations.size());
    result.degrees.resize(mesh.nodeCount);
    std::vector<std::vector<quint64>> rows(mesh.nodeCount);
    for (quint64 node = 0; node < mesh.nodeCount; ++node) {
        const quint64 to = newNumber[node];
        for (int k = 0; k < 3; ++k)
            result.locations[3 * to + k] = mesh.locations[3 * node + k];
        result.degrees[to] = mesh.degrees[node];
        for (quint64 other : mesh.row(node))
            rows[to].push_back(newNumber[other]);
    }
    result.rowOffsets.assign(1, 0);
    for (auto& row : rows) {
        std::sort(row.begin(), row.end());
        result.columns.insert(result.columns.end(), row.begin(), row.end());
        result.rowOffsets.push_back(result.columns.size());
    }
    return result;
}

UFemNodeOrderingGraph meshGraph(const Mesh& mesh)
{
    UFemNodeOrderingGraph graph(mesh.locations, mesh.degrees);
    for (quint64 node = 0; node < mesh.nodeCount; ++node) {
        if (mesh.degrees[node] > 0)
            graph.addConnections(UFemOrderingIndex(node), mesh.row(node));
    }
    graph.finishConnections();
    return graph;
}

QString programErrorReason(const std::function<void()>& action)
{
    try {
        action();
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), QStringLiteral("Program Error."));
        return exception.reason();
    }
    return QString();
}

} // namespace

TEST(NodeOrdererPath, ChainRunsFromOneEndToTheOther)
{
    // Positions 0..4 hold nodes 3, 0, 4, 1, 2. The sweep from node 0 ends at node 2; the sweep
    // back from there ends at node 3, so the path runs from 3 to 2.
    const Mesh mesh = lineMesh({ 1, 3, 4, 0, 2 }, { { 3, 0 }, { 0, 4 }, { 4, 1 }, { 1, 2 } });
    auto orderer = makeOrderer(mesh, false);
    UErrorPtr error;
    ASSERT_TRUE(orderer->executeNodeOrdering(&error));
    EXPECT_EQ(orderedNodes(*orderer), (std::vector<quint64> { 3, 0, 4, 1, 2 }));
    std::vector<quint64> table(mesh.nodeCount);
    EXPECT_EQ(
        orderer->getOrderedNodeNoTable(table.data(), &error), 6u); // five path nodes and a divider

    // A long chain with scrambled numbers, ordered on two levels: the order runs from one end to
    // the other; a block of the first division may reach back a few nodes along the chain, never
    // farther than its own size.
    const int length = 200;
    std::vector<double> x(length);
    std::vector<std::pair<quint64, quint64>> edges;
    std::vector<quint64> nodeAt(length);
    for (int k = 0; k < length; ++k)
        nodeAt[k] = (quint64(k) * 73) % length; // 73 is prime to 200
    for (int k = 0; k < length; ++k)
        x[nodeAt[k]] = k;
    for (int k = 0; k + 1 < length; ++k)
        edges.emplace_back(nodeAt[k], nodeAt[k + 1]);
    const Mesh chain = lineMesh(x, edges);
    auto twoLevel = makeOrderer(chain, true);
    ASSERT_TRUE(twoLevel->executeNodeOrdering(&error));
    const auto nodes = orderedNodes(*twoLevel);
    ASSERT_EQ(nodes.size(), size_t(length));
    const double direction = x[nodes.back()] > x[nodes.front()] ? 1.0 : -1.0;
    EXPECT_LT(std::min(x[nodes.front()], length - 1 - x[nodes.front()]), 8.0);
    double reached = x[nodes.front()] * direction;
    for (quint64 node : nodes) {
        EXPECT_GT(x[node] * direction, reached - 8.0)
            << "node " << node << " goes back along the chain";
        reached = std::max(reached, x[node] * direction);
    }
    std::vector<quint64> blocks;
    twoLevel->getOrderedNodeBlockNodeNoTable(&blocks, 4, &error);
    expectValidBlocks(chain, blocks, 4);
}

TEST(NodeOrdererPath, FarNodeTakesItsPlaceAlongThePath)
{
    // Nodes 0 .. 10 form a chain along x, the main path; node 11 at (7.2, 3) hangs from node 5, its
    // nearest path node. Measured along the path its key is 3.72 + 4 x 7.2 = 32.5, between those of
    // nodes 8 (32) and 9 (36), so it follows node 8, not node 5.
    std::vector<double> x { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 7.2 };
    std::vector<std::pair<quint64, quint64>> edges { { 5, 11 } };
    for (quint64 k = 0; k < 10; ++k)
        edges.emplace_back(k, k + 1);
    Mesh mesh = lineMesh(x, edges);
    mesh.locations[3 * 11 + 1] = 3.0;
    auto orderer = makeOrderer(mesh, false);
    UErrorPtr error;
    ASSERT_TRUE(orderer->executeNodeOrdering(&error));
    EXPECT_EQ(
        orderedNodes(*orderer), (std::vector<quint64> { 0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 9, 10 }));
}

TEST(NodeOrdererPath, SeparateGroupsSmallGroupsAndNodesWithoutDegree)
{
    // Group A: chain 5-1-7 (holds node 1); group B: chain 0-3-6-2 (holds node 0, the lowest);
    // node 4 has degree but no connection; node 8 has no degree; nodes 9 and 10 form a pair.
    const Mesh mesh = lineMesh({ 10, 13, 12, 11, 20, 0, 12, 2, 30, 41, 40 },
        { { 0, 3 }, { 3, 6 }, { 6, 2 }, { 5, 1 }, { 1, 7 }, { 10, 9 } },
        { 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1 });
    auto orderer = makeOrderer(mesh, false);
    UErrorPtr error;
    ASSERT_TRUE(orderer->executeNodeOrdering(&error));
    // Groups in order of their lowest node: B (0), A (1), {4}, {9, 10}. The pair's path is lower
    // node first. B from node 0: farthest is 2; back from 2 the path is 0-3-6-2, farthest first: 0,
    // 3, 6, 2. A from node 1: farthest is 5 (distance 2 over 1 to 7); back from 5: path 7, 1, 5.
    EXPECT_EQ(orderedNodes(*orderer), (std::vector<quint64> { 0, 3, 6, 2, 7, 1, 5, 4, 9, 10 }));
    EXPECT_EQ(orderer->orderedNodeNoTable().size(), mesh.nodeCount);
    EXPECT_EQ(orderer->orderedNodeNoTable().back(), UFemNotFound);
    std::vector<quint64> table(mesh.nodeCount);
    EXPECT_EQ(
        orderer->getOrderedNodeNoTable(table.data(), &error), 14u); // 10 path nodes, 4 dividers

    auto twoLevel = makeOrderer(mesh, true);
    ASSERT_TRUE(twoLevel->executeNodeOrdering(&error));
    const auto nodes = orderedNodes(*twoLevel);
    ASSERT_EQ(nodes.size(), 10u);
    // All of the group with the lowest node number comes first.
    EXPECT_EQ(
        std::set<quint64>(nodes.begin(), nodes.begin() + 4), (std::set<quint64> { 0, 2, 3, 6 }));
    EXPECT_EQ(twoLevel->orderedNodeCount(), 0u);
    std::vector<quint64> blocks;
    twoLevel->getOrderedNodeBlockNodeNoTable(&blocks, 4, &error);
    expectValidBlocks(mesh, blocks, 4);
}

TEST(NodeOrdererPath, EqualKeysKeepNodeNumberOrder)
{
    // Path 0-1-2 along x; nodes 3 and 4 hang symmetrically off node 1 at equal distance, equal
    // keys.
    Mesh mesh = lineMesh({ 0, 1, 2, 1, 1 }, { { 0, 1 }, { 1, 2 }, { 1, 3 }, { 1, 4 } });
    mesh.locations[3 * 3 + 1] = 1.0;
    mesh.locations[3 * 4 + 1] = -1.0;
    auto orderer = makeOrderer(mesh, false);
    UErrorPtr error;
    ASSERT_TRUE(orderer->executeNodeOrdering(&error));
    // Both hang off path node 1 at distance 1 and at the same place along the path.
    const auto nodes = orderedNodes(*orderer);
    ASSERT_EQ(nodes.size(), 5u);
    const auto at3 = std::find(nodes.begin(), nodes.end(), 3);
    const auto at4 = std::find(nodes.begin(), nodes.end(), 4);
    EXPECT_EQ(at4 - at3, 1);
}

TEST(NodeOrdererBlocks, BlockDegreesAndTakeOver)
{
    // A chain 0-1-2-3-4-5 with degrees 2, 1, 2, 2, 1, 1: node 2 does not fit beside 0 and 1.
    const Mesh chain = lineMesh({ 0, 1, 2, 3, 4, 5 },
        { { 0, 1 }, { 1, 2 }, { 2, 3 }, { 3, 4 }, { 4, 5 } }, { 2, 1, 2, 2, 1, 1 });
    auto orderer = makeOrderer(chain, false);
    UErrorPtr error;
    ASSERT_TRUE(orderer->executeNodeOrdering(&error));
    EXPECT_EQ(orderedNodes(*orderer), (std::vector<quint64> { 0, 1, 2, 3, 4, 5 }));
    std::vector<quint64> blocks;
    ASSERT_EQ(orderer->getOrderedNodeBlockNodeNoTable(&blocks, 4, &error), 3u);
    EXPECT_EQ(blocks,
        (std::vector<quint64> { 0, 1, UFemNotFound, UFemNotFound, 2, 3, UFemNotFound, UFemNotFound,
            4, 5, UFemNotFound, UFemNotFound }));

    // Take-over: block {0, 1, 2, 3} fills while expanding 0; block {4, 5} runs out and takes 3
    // over, which its old block replaces with 6 (a neighbour of its member 2).
    const Mesh star = lineMesh(
        { 0, 1, 2, 3, 4, 5, 6 }, { { 0, 1 }, { 0, 2 }, { 0, 3 }, { 3, 4 }, { 4, 5 }, { 2, 6 } });
    UFemNodeOrderingGraph graph(star.locations, star.degrees);
    for (quint64 node = 0; node < star.nodeCount; ++node)
        graph.addConnections(UFemOrderingIndex(node), star.row(node));
    graph.finishConnections();
    UFemNodeBlockDivider divider(graph, {}, star.degrees, 4);
    ASSERT_EQ(divider.divide(), 2u);
    EXPECT_EQ(
        divider.blockNodeNoTable(), (std::vector<quint64> { 0, 1, 2, 6, 4, 5, 3, UFemNotFound }));
    EXPECT_EQ(divider.nodeIndexPositionTable()[3], 6u);
    EXPECT_EQ(divider.nodeIndexPositionTable()[6], 3u);

    // Without a neighbour to replace it, node 3 stays: three blocks.
    const Mesh noSpare = lineMesh(
        { 0, 1, 2, 3, 4, 5, 6 }, { { 0, 1 }, { 0, 2 }, { 0, 3 }, { 3, 4 }, { 4, 5 }, { 5, 6 } });
    UFemNodeOrderingGraph graph2(noSpare.locations, noSpare.degrees);
    for (quint64 node = 0; node < noSpare.nodeCount; ++node)
        graph2.addConnections(UFemOrderingIndex(node), noSpare.row(node));
    graph2.finishConnections();
    UFemNodeBlockDivider divider2(graph2, {}, noSpare.degrees, 4);
    ASSERT_EQ(divider2.divide(), 2u);
    EXPECT_EQ(
        divider2.blockNodeNoTable(), (std::vector<quint64> { 0, 1, 2, 3, 4, 5, 6, UFemNotFound }));
}

TEST(NodeOrdererBlocks, EveryNodeOnceWithinItsLimit)
{
    // Shell and solid grids, perturbed and shuffled, plus nodes without degree and a loose pair.
    for (int variant = 0; variant < 4; ++variant) {
        const bool shell = variant % 2 == 0;
        Mesh mesh = shell ? nodeordering::makeGridMesh(23, 17, 1, 0.3, variant >= 2, 7)
                          : nodeordering::makeGridMesh(9, 7, 6, 0.3, variant >= 2, 7);
        // Mixed degrees: some shell nodes without rotations, some solid nodes with them.
        for (quint64 node = 0; node < mesh.nodeCount; node += 3)
            mesh.degrees[node] = shell ? 1 : 2;
        // Some nodes take no part: their connections must not pull them into blocks.
        for (quint64 node = 5; node < mesh.nodeCount; node += 29)
            mesh.degrees[node] = 0;
        Mesh filtered = mesh;
        filtered.columns.clear();
        filtered.rowOffsets.assign(1, 0);
        for (quint64 node = 0; node < mesh.nodeCount; ++node) {
            if (mesh.degrees[node] > 0) {
                for (quint64 other : mesh.row(node))
                    filtered.columns.push_back(other); // still names nodes of degree 0
            }
            filtered.rowOffsets.push_back(filtered.columns.size());
        }
        for (quint64 limit : { 4u, 5u, 8u }) {
            auto orderer = makeOrderer(filtered, true);
            UErrorPtr error;
            ASSERT_TRUE(orderer->executeNodeOrdering(&error));
            std::vector<quint64> blocks;
            orderer->getOrderedNodeBlockNodeNoTable(&blocks, limit, &error);
            SCOPED_TRACE(testing::Message() << "variant " << variant << " limit " << limit);
            expectValidBlocks(mesh, blocks, limit);
        }
    }
}

TEST(NodeOrdererBlocks, NonFiniteLocationsStillPlaceEveryNode)
{
    Mesh mesh = nodeordering::makeGridMesh(6, 5, 1, 0.0, true, 3);
    mesh.locations[3 * 4] = std::numeric_limits<double>::quiet_NaN();
    mesh.locations[3 * 9 + 1] = std::numeric_limits<double>::infinity();
    for (bool twoLevel : { false, true }) {
        auto orderer = makeOrderer(mesh, twoLevel);
        UErrorPtr error;
        ASSERT_TRUE(orderer->executeNodeOrdering(&error));
        std::vector<quint64> blocks;
        orderer->getOrderedNodeBlockNodeNoTable(&blocks, 4, &error);
        expectValidBlocks(mesh, blocks, 4);
    }
}

TEST(NodeOrdererBlocks, CopyOrdersLikeTheOriginal)
{
    const Mesh mesh = nodeordering::makeGridMesh(12, 10, 1, 0.2, true, 5);
    auto orderer = makeOrderer(mesh, true);
    UFemNodeOrderer copyBefore(*orderer);
    UErrorPtr error;
    ASSERT_TRUE(orderer->executeNodeOrdering(&error));
    UFemNodeOrderer copyAfter(*orderer);
    ASSERT_TRUE(copyBefore.executeNodeOrdering(&error));
    EXPECT_EQ(copyBefore.orderedNodeNoTable(), orderer->orderedNodeNoTable());
    EXPECT_EQ(copyAfter.orderedNodeNoTable(), orderer->orderedNodeNoTable());
    std::vector<quint64> a, b;
    orderer->getOrderedNodeBlockNodeNoTable(&a, 4, &error);
    copyAfter.getOrderedNodeBlockNodeNoTable(&b, 4, &error);
    EXPECT_EQ(a, b);
}

TEST(NodeOrdererErrors, ProgramErrorsAndMissingResult)
{
    const double location[3] = { 0, 0, 0 };
    EXPECT_EQ(programErrorReason([&] { UFemNodeOrderer(nullptr, 0, nullptr, location, true); }),
        QStringLiteral("nodeCount == 0."));
    const Mesh mesh = lineMesh({ 0, 1, 2 }, { { 0, 1 } }, { 1, 1, 0 });
    auto orderer = makeOrderer(mesh, true);
    const quint64 connected[] = { 0 };
    EXPECT_EQ(programErrorReason([&] { orderer->setNodeConnectionWithNodeNo(2, connected); }),
        QStringLiteral("The node's degreeCount is 0."));

    UErrorPtr error;
    std::vector<quint64> table(3);
    EXPECT_EQ(orderer->getOrderedNodeNoTable(table.data(), &error), 0u);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Unexpected error occurred. No ordered node result."));
    std::vector<quint64> blocks;
    error.reset();
    EXPECT_EQ(orderer->getOrderedNodeBlockNodeNoTable(&blocks, 4, &error), 0u);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 81004);
    EXPECT_EQ(programErrorReason([&] { orderer->getOrderedNodeNoTable(table.data(), nullptr); }),
        QStringLiteral("Error Responder Error"));

    // A node whose degree exceeds the block limit, or a connection outside the nodes.
    const Mesh heavy = lineMesh({ 0, 1 }, { { 0, 1 } }, { 3, 1 });
    auto heavyOrderer = makeOrderer(heavy, false);
    ASSERT_TRUE(heavyOrderer->executeNodeOrdering(&error));
    EXPECT_EQ(programErrorReason(
                  [&] { heavyOrderer->getOrderedNodeBlockNodeNoTable(&blocks, 2, &error); }),
        QStringLiteral("Out of range."));
    const quint64 outside[] = { 3 };
    EXPECT_EQ(programErrorReason([&] { heavyOrderer->setNodeConnectionWithNodeNo(0, outside); }),
        QStringLiteral("Out of range."));

    // Nothing takes part: no block, no error.
    const Mesh idle = lineMesh({ 0, 1 }, {}, { 0, 0 });
    for (bool twoLevel : { false, true }) {
        auto empty = makeOrderer(idle, twoLevel);
        error.reset();
        EXPECT_TRUE(empty->executeNodeOrdering(&error));
        EXPECT_EQ(empty->getOrderedNodeBlockNodeNoTable(&blocks, 4, &error), 0u);
        EXPECT_FALSE(error);
    }
}

// The first block division seeds its blocks along a curve through the geometry, so the numbering
// only decides between nodes with equal ordering keys, which a regular grid has many of.
constexpr double kRandomNumberingEnvelopeBound = 1.10;

TEST(NodeOrdererEnvelope, RandomNumberingAgainstRowByRow)
{
    struct Case {
        const char* name;
        int nx, ny, nz;
    };
    for (const Case& grid :
        { Case { "shell 40 x 40", 40, 40, 1 }, Case { "solid 20 x 20 x 20", 20, 20, 20 } }) {
        const Mesh rows = nodeordering::makeGridMesh(grid.nx, grid.ny, grid.nz, 0.0, false);
        const auto rowEnvelope
            = nodeordering::pageEnvelope(rows, nodeordering::orderWithNodeOrderer(rows));
        const auto rcmEnvelope = nodeordering::pageEnvelope(
            rows, nodeordering::blocksOfOrder(rows, nodeordering::reverseCuthillMcKee(rows)));
        // Row by row stays within a small factor of reverse Cuthill-McKee on the same blocks.
        EXPECT_LE(double(rowEnvelope.envelope), 1.4 * double(rcmEnvelope.envelope)) << grid.name;
        for (unsigned seed : { 1u, 2u, 3u, 4u, 5u }) {
            const Mesh shuffled
                = nodeordering::makeGridMesh(grid.nx, grid.ny, grid.nz, 0.0, true, seed);
            const auto blocks = nodeordering::orderWithNodeOrderer(shuffled);
            expectValidBlocks(shuffled, blocks, 4);
            const auto envelope = nodeordering::pageEnvelope(shuffled, blocks);
            EXPECT_LE(envelope.pages, rowEnvelope.pages + rowEnvelope.pages / 50) << grid.name;
            EXPECT_LE(double(envelope.envelope),
                kRandomNumberingEnvelopeBound * double(rowEnvelope.envelope))
                << grid.name << " seed " << seed << ": " << envelope.envelope << " vs "
                << rowEnvelope.envelope;
            EXPECT_GE(double(envelope.envelope),
                double(rowEnvelope.envelope) / kRandomNumberingEnvelopeBound)
                << grid.name << " seed " << seed;
        }
    }
}

// Perturbed grids have no equal keys: renumbering the nodes renumbers the blocks and nothing else.
TEST(NodeOrdererEnvelope, RenumberedPerturbedGridGivesTheSameBlocks)
{
    for (int nz : { 1, 8 }) {
        const int side = nz == 1 ? 30 : 8;
        const Mesh mesh = nodeordering::makeGridMesh(side, side, nz, 0.3, false, 7);
        std::vector<quint64> newNumber(mesh.nodeCount);
        std::iota(newNumber.begin(), newNumber.end(), 0);
        std::shuffle(newNumber.begin(), newNumber.end(), std::mt19937_64(13));
        const Mesh renumbered = renumberedMesh(mesh, newNumber);
        const auto blocks = nodeordering::orderWithNodeOrderer(mesh);
        const auto renumberedBlocks = nodeordering::orderWithNodeOrderer(renumbered);
        ASSERT_EQ(blocks.size(), renumberedBlocks.size());
        for (size_t k = 0; k < blocks.size(); ++k)
            EXPECT_EQ(blocks[k] == UFemNotFound ? UFemNotFound : newNumber[blocks[k]],
                renumberedBlocks[k])
                << "nz " << nz << " place " << k;
    }
}

TEST(NodeOrdererEnvelope, ReferenceOrderFollowsTheGeometry)
{
    // A chain of four nodes 1 apart along y, numbered against the geometry, and node 5 without a
    // finite location hanging from node 0; node 4 has no degree. A second part (nodes 6, 7) lies
    // nearer the origin but holds higher node numbers, so it comes second.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Mesh chain = lineMesh({ 0, 0, 0, 0, 0, nan, 0, 0 },
        { { 2, 1 }, { 1, 3 }, { 3, 0 }, { 0, 5 }, { 6, 7 } }, { 1, 1, 1, 1, 0, 1, 1, 1 });
    Mesh mesh = chain;
    const double y[] = { 3, 1, 0, 2, 0, 0, -1, -2 };
    for (quint64 node = 0; node < mesh.nodeCount; ++node)
        mesh.locations[3 * node + 1] = y[node];
    EXPECT_EQ(UFemMakeNodeOrderingReferenceOrder(meshGraph(mesh)),
        (std::vector<quint64> { 2, 1, 3, 0, 5, 7, 6 }));

    // A perturbed grid: renumbering gives the same nodes in the same order.
    const Mesh grid = nodeordering::makeGridMesh(12, 9, 5, 0.3, false, 3);
    std::vector<quint64> newNumber(grid.nodeCount);
    std::iota(newNumber.begin(), newNumber.end(), 0);
    std::shuffle(newNumber.begin(), newNumber.end(), std::mt19937_64(5));
    const auto order = UFemMakeNodeOrderingReferenceOrder(meshGraph(grid));
    const auto renumberedOrder
        = UFemMakeNodeOrderingReferenceOrder(meshGraph(renumberedMesh(grid, newNumber)));
    ASSERT_EQ(order.size(), grid.nodeCount);
    ASSERT_EQ(renumberedOrder.size(), grid.nodeCount);
    for (size_t k = 0; k < order.size(); ++k)
        EXPECT_EQ(newNumber[order[k]], renumberedOrder[k]) << "position " << k;
}
