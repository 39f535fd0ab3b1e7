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

// How the nodes of one group are sorted along its path. A path through transit nodes keeps its
// buckets whole and in path order (they are cross-sections, and nodes of the next one would
// interleave with the far corners of this one); the double sweep's buckets fan out into wedges,
// so its nodes are sorted by one key measured along the path across the buckets.
enum class UFemBucketOrder : quint8 { WholeBuckets, AlongPath };

// The double sweep over one group of at least 3 nodes: the longest of the shortest paths found from
// up to 8 sample starts, farthest end first. `usedStamp` (one entry per node) marks sweep ends with
// `stamp`. Returns the path length, -1.0 when none was found.
double UFemFindFarthestNodePair(UFemNodePotentialTable& table, const UFemNodeOrderingGraph& graph,
    std::span<const UFemOrderingIndex> group, std::vector<UFemOrderingIndex>& usedStamp,
    UFemOrderingIndex stamp, std::vector<UFemOrderingIndex>* path, UErrorPtr* error);

// Appends one group's path and a divider (UFemOrderingNone): a group of 1 or 2 nodes in ascending
// order, a slender or flat one of more than 8 nodes the path through transit nodes along its
// longest principal axis, another its double-sweep path (nothing when none is found).
// `bucketOrders`, when given, receives the group's bucket order.
[[nodiscard]] bool UFemAppendGroupMainPath(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group,
    std::vector<UFemOrderingIndex>& usedStamp, UFemOrderingIndex stamp,
    std::vector<UFemOrderingIndex>* mainPath, std::vector<UFemBucketOrder>* bucketOrders,
    UErrorPtr* error);

// Every group's path followed by one divider (UFemOrderingNone); `bucketOrders`, when given,
// receives one entry per group in path order.
[[nodiscard]] bool UFemBuildNodeOrderingMainPath(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, const UFemNodeGroupTable& groups,
    std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error,
    std::vector<UFemBucketOrder>* bucketOrders = nullptr);

// Orders the nodes along the main path into `ordered` (node count entries, all ones after the
// ordered nodes): nearest path node first, then along the local path direction. `bucketOrders`
// holds one entry per group of the path; without them every group is sorted along its path.
[[nodiscard]] bool UFemOrderNodesByPotential(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, const std::vector<UFemOrderingIndex>& mainPath,
    std::vector<quint64>* ordered, UErrorPtr* error,
    std::span<const UFemBucketOrder> bucketOrders = {});
