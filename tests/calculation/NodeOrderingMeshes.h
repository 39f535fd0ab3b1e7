#pragma once

// Grid meshes, a reverse Cuthill-McKee reference ordering and the page envelope of a node block
// layout; shared by the node orderer tests and its benchmark.

#include "calculation/ordering/UFemNodeBlockDivider.h"
#include "calculation/ordering/UFemNodeOrderer.h"
#include "foundation/UFemNotFound.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <random>
#include <vector>

namespace nodeordering {

// Slots (DOF triples) per node block and per page of the factor.
constexpr quint64 kSlotsPerBlock = 4;
constexpr quint64 kSlotsPerPage = 16;

struct Mesh {
    quint64 nodeCount = 0;
    std::vector<double> locations;
    std::vector<quint64> degrees;
    std::vector<quint64> rowOffsets;
    std::vector<quint64> columns;

    std::span<const quint64> row(quint64 node) const
    {
        return { columns.data() + rowOffsets[node], columns.data() + rowOffsets[node + 1] };
    }
};

// A grid of nx x ny x nz nodes (nz == 1: a shell of quads, degree 2; else hexahedra, degree 1),
// each node connected to every node it shares an element with. `perturbation` moves every node by
// up to that fraction of the spacing; `shuffle` numbers the nodes at random.
inline Mesh makeGridMesh(
    int nx, int ny, int nz, double perturbation, bool shuffle, unsigned seed = 1)
{
    Mesh mesh;
    const quint64 n = quint64(nx) * ny * nz;
    mesh.nodeCount = n;
    std::mt19937_64 random(seed);
    std::vector<quint64> number(n);
    std::iota(number.begin(), number.end(), 0);
    if (shuffle)
        std::shuffle(number.begin(), number.end(), random);
    std::uniform_real_distribution<double> offset(-perturbation, perturbation);
    auto id = [&](int i, int j, int k) { return (quint64(k) * ny + j) * nx + i; };
    mesh.locations.assign(3 * n, 0.0);
    mesh.degrees.assign(n, nz == 1 ? 2 : 1);
    std::vector<std::vector<quint64>> rows(n);
    for (int k = 0; k < nz; ++k) {
        for (int j = 0; j < ny; ++j) {
            for (int i = 0; i < nx; ++i) {
                const quint64 node = number[id(i, j, k)];
                const std::array<int, 3> index { i, j, k };
                for (int d = 0; d < 3; ++d)
                    mesh.locations[3 * node + d]
                        = index[d] + (d < 2 || nz > 1 ? offset(random) : 0.0);
                for (int dk = -1; dk <= 1; ++dk)
                    for (int dj = -1; dj <= 1; ++dj)
                        for (int di = -1; di <= 1; ++di) {
                            const int a = i + di, b = j + dj, c = k + dk;
                            if ((di | dj | dk) == 0 || a < 0 || b < 0 || c < 0 || a >= nx || b >= ny
                                || c >= nz)
                                continue;
                            rows[node].push_back(number[id(a, b, c)]);
                        }
            }
        }
    }
    mesh.rowOffsets.assign(n + 1, 0);
    for (quint64 node = 0; node < n; ++node) {
        std::sort(rows[node].begin(), rows[node].end());
        mesh.rowOffsets[node + 1] = mesh.rowOffsets[node] + rows[node].size();
        mesh.columns.insert(mesh.columns.end(), rows[node].begin(), rows[node].end());
    }
    return mesh;
}

// Final node blocks of the two-level geometric ordering (block degree 4).
inline std::vector<quint64> orderWithNodeOrderer(const Mesh& mesh)
{
    UFemNodeOrderer orderer(
        nullptr, mesh.nodeCount, mesh.degrees.data(), mesh.locations.data(), true);
    orderer.setNodeConnections(mesh.rowOffsets, mesh.columns);
    UErrorPtr error;
    std::vector<quint64> blocks;
    if (orderer.executeNodeOrdering(&error))
        orderer.getOrderedNodeBlockNodeNoTable(&blocks, kSlotsPerBlock, &error);
    return blocks;
}

// Reverse Cuthill-McKee: per connected part, breadth first from a pseudo-peripheral node with
// neighbours by ascending degree, the whole order reversed.
inline std::vector<quint64> reverseCuthillMcKee(const Mesh& mesh)
{
    const quint64 n = mesh.nodeCount;
    std::vector<quint64> order;
    order.reserve(n);
    std::vector<quint64> level(n, UFemNotFound);
    std::vector<char> placed(n, 0);
    std::vector<quint64> queue;
    auto degreeOf = [&](quint64 node) { return mesh.rowOffsets[node + 1] - mesh.rowOffsets[node]; };
    auto farthestLevel = [&](quint64 start, std::vector<quint64>* visited) {
        visited->assign(1, start);
        level[start] = 0;
        for (size_t head = 0; head < visited->size(); ++head) {
            for (quint64 other : mesh.row((*visited)[head])) {
                if (level[other] == UFemNotFound) {
                    level[other] = level[(*visited)[head]] + 1;
                    visited->push_back(other);
                }
            }
        }
        const quint64 depth = level[visited->back()];
        quint64 best = visited->back();
        for (quint64 node : *visited) {
            if (level[node] == depth && degreeOf(node) < degreeOf(best))
                best = node;
        }
        for (quint64 node : *visited)
            level[node] = UFemNotFound;
        return std::pair<quint64, quint64>(depth, best);
    };
    std::vector<quint64> neighbours;
    for (quint64 seed = 0; seed < n; ++seed) {
        if (placed[seed] || mesh.degrees[seed] == 0)
            continue;
        quint64 start = seed;
        auto [depth, candidate] = farthestLevel(start, &queue);
        for (;;) {
            auto [nextDepth, nextCandidate] = farthestLevel(candidate, &queue);
            if (nextDepth <= depth)
                break;
            start = candidate;
            depth = nextDepth;
            candidate = nextCandidate;
        }
        const size_t first = order.size();
        order.push_back(start);
        placed[start] = 1;
        for (size_t head = first; head < order.size(); ++head) {
            neighbours.clear();
            for (quint64 other : mesh.row(order[head])) {
                if (!placed[other] && mesh.degrees[other] > 0)
                    neighbours.push_back(other);
            }
            std::sort(neighbours.begin(), neighbours.end(), [&](quint64 a, quint64 b) {
                return degreeOf(a) != degreeOf(b) ? degreeOf(a) < degreeOf(b) : a < b;
            });
            for (quint64 other : neighbours) {
                placed[other] = 1;
                order.push_back(other);
            }
        }
    }
    std::reverse(order.begin(), order.end());
    return order;
}

// Final node blocks of a given node order, cut by the same division the orderer uses.
inline std::vector<quint64> blocksOfOrder(const Mesh& mesh, const std::vector<quint64>& order)
{
    UFemNodeOrderingGraph graph(mesh.locations, mesh.degrees);
    for (quint64 node = 0; node < mesh.nodeCount; ++node) {
        if (mesh.degrees[node] > 0)
            graph.addConnections(UFemOrderingIndex(node), mesh.row(node));
    }
    graph.finishConnections();
    UFemNodeBlockDivider divider(graph, order, mesh.degrees, kSlotsPerBlock);
    divider.divide();
    return divider.blockNodeNoTable();
}

// Page envelope of the factor: page row i spans the pages firstColumn(i) .. i, where firstColumn(i)
// is the lowest page of any node connected to a node of page i. Block b fills pages' slots
// 4b .. 4b + 3, so it lies in page b / 4.
struct Envelope {
    quint64 pages = 0;
    quint64 envelope = 0; // sum of page row widths (in pages)
    double squareSum = 0; // sum of squared widths: the factorisation work
};

inline Envelope pageEnvelope(const Mesh& mesh, const std::vector<quint64>& blocks)
{
    const quint64 blocksPerPage = kSlotsPerPage / kSlotsPerBlock;
    std::vector<quint64> pageOf(mesh.nodeCount, UFemNotFound);
    const quint64 blockCount = blocks.size() / kSlotsPerBlock;
    for (quint64 k = 0; k < blocks.size(); ++k) {
        if (blocks[k] != UFemNotFound)
            pageOf[blocks[k]] = k / kSlotsPerBlock / blocksPerPage;
    }
    Envelope result;
    result.pages = (blockCount + blocksPerPage - 1) / blocksPerPage;
    std::vector<quint64> firstColumn(result.pages);
    for (quint64 page = 0; page < result.pages; ++page)
        firstColumn[page] = page;
    for (quint64 node = 0; node < mesh.nodeCount; ++node) {
        if (pageOf[node] == UFemNotFound)
            continue;
        for (quint64 other : mesh.row(node)) {
            if (pageOf[other] != UFemNotFound)
                firstColumn[pageOf[node]] = std::min(firstColumn[pageOf[node]], pageOf[other]);
        }
    }
    for (quint64 page = 0; page < result.pages; ++page) {
        const quint64 width = page + 1 - firstColumn[page];
        result.envelope += width;
        result.squareSum += double(width) * double(width);
    }
    return result;
}

// Mean width of the DOF rows of the factor's variable band (row index - first column + 1, in
// DOFs), with the DOFs numbered slot by slot in block order; padding slots hold no DOF rows.
inline double meanDofEnvelope(const Mesh& mesh, const std::vector<quint64>& blocks)
{
    std::vector<quint64> slotOf(mesh.nodeCount, UFemNotFound);
    for (quint64 k = 0; k < blocks.size(); ++k) {
        if (blocks[k] != UFemNotFound)
            slotOf[blocks[k]] = k;
    }
    double widthSum = 0.0;
    quint64 rows = 0;
    for (quint64 node = 0; node < mesh.nodeCount; ++node) {
        if (slotOf[node] == UFemNotFound)
            continue;
        quint64 first = slotOf[node];
        for (quint64 other : mesh.row(node)) {
            if (slotOf[other] != UFemNotFound)
                first = std::min(first, slotOf[other]);
        }
        for (quint64 d = 0; d < 3 * mesh.degrees[node]; ++d) {
            widthSum += double(3 * (slotOf[node] - first) + d + 1);
            ++rows;
        }
    }
    return rows > 0 ? widthSum / double(rows) : 0.0;
}

} // namespace nodeordering
