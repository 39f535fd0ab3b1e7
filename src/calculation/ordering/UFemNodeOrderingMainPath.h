#pragma once

#include "calculation/ordering/UFemNodePotentialTable.h"

#include <span>
#include <vector>

// The connected parts of the nodes of degree above 0, in ascending order of their smallest node;
// the nodes of each part ascending.
struct UFemNodeGroupTable {
    std::vector<quint64> offsets; // group g holds nodes[offsets[g] .. offsets[g + 1])
    std::vector<UFemOrderingIndex> nodes;

    size_t count() const { return offsets.size() - 1; }
    std::span<const UFemOrderingIndex> group(size_t g) const
    {
        return { nodes.data() + offsets[g], nodes.data() + offsets[g + 1] };
    }
};

UFemNodeGroupTable UFemFindConnectedNodeGroups(const UFemNodeOrderingGraph& graph);

// The double sweep over one group of at least 3 nodes: the longest of the shortest paths found from
// up to 8 sample starts, farthest end first. `usedStamp` (one entry per node) marks sweep ends with
// `stamp`. Returns the path length, -1.0 when none was found.
double UFemFindFarthestNodePair(UFemNodePotentialTable& table, const UFemNodeOrderingGraph& graph,
    std::span<const UFemOrderingIndex> group, std::vector<UFemOrderingIndex>& usedStamp,
    UFemOrderingIndex stamp, std::vector<UFemOrderingIndex>* path, UErrorPtr* error);

// Appends one group's path and a divider (UFemOrderingNone): a group of 1 or 2 nodes in ascending
// order, a slender or flat one of more than 8 nodes the path through transit nodes along its
// longest principal axis, another its double-sweep path (nothing when none is found).
[[nodiscard]] bool UFemAppendGroupMainPath(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group,
    std::vector<UFemOrderingIndex>& usedStamp, UFemOrderingIndex stamp,
    std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error);

// Every group's path followed by one divider (UFemOrderingNone).
[[nodiscard]] bool UFemBuildNodeOrderingMainPath(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, const UFemNodeGroupTable& groups,
    std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error);

// Orders the nodes along the main path into `ordered` (node count entries, all ones after the
// ordered nodes): nearest path node first, then along the local path direction.
[[nodiscard]] bool UFemOrderNodesByPotential(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, const std::vector<UFemOrderingIndex>& mainPath,
    std::vector<quint64>* ordered, UErrorPtr* error);
