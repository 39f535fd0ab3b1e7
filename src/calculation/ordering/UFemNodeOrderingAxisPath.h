#pragma once

#include "calculation/ordering/UFemNodeOrderingGraph.h"

#include <span>
#include <vector>

// Transit nodes for the main path of a slender or plate-like group: the nodes nearest to evenly
// spaced points on the longest principal axis of the group's node locations, from one end to the
// other. Empty when the group has no dominant axis (then the double sweep lays its path).
std::vector<UFemOrderingIndex> UFemAxisTransitNodes(
    const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group);
