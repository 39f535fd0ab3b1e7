#pragma once

#include "calculation/ordering/UFemNodeOrderingMainPath.h"

#include <QString>

#include <functional>
#include <vector>

// Runs of transit nodes through which the main path is laid, parsed from a table in which all ones
// divides runs.
using UFemTransitRunTable = std::vector<std::vector<UFemOrderingIndex>>;

// Parses the table: dividers at the start or in a row are dropped, a node without degree is
// replaced by the nearest node with degree (or dropped when there is none); each case warns through
// `warn`.
UFemTransitRunTable UFemParseTransitNodeTable(const UFemNodeOrderingGraph& graph,
    const std::vector<quint64>& table, const std::function<QString(quint64)>& nodeName,
    const std::function<void(const QString&)>& warn);

// Appends the path through the transit nodes of one group: shortest paths from each to the next,
// nodes already on the path (marked `stamp` in `onPathStamp`) skipped.
[[nodiscard]] bool UFemAppendTransitPath(UFemNodePotentialTable& table,
    const std::vector<UFemOrderingIndex>& transit, std::vector<UFemOrderingIndex>& onPathStamp,
    UFemOrderingIndex stamp, std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error);

// The main path when transit runs are given: the groups that the runs name come first, in the
// order they are named, the others follow in ascending order. A named group's path runs through
// its transit nodes by shortest paths, nodes already on the path skipped; the others get their
// path as UFemAppendGroupMainPath lays it. `bucketOrders`, when given, receives one entry per
// group in path order.
[[nodiscard]] bool UFemBuildNodeOrderingMainPathWithTransitNodes(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, const UFemNodeGroupTable& groups,
    const UFemTransitRunTable& runs, std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error,
    std::vector<UFemBucketOrder>* bucketOrders = nullptr);
