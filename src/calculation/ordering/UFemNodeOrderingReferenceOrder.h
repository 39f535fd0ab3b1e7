#pragma once

#include "calculation/ordering/UFemNodeOrderingGraph.h"

#include <vector>

// A reference order for the first block division that follows the geometry and not the node
// numbers: the connected parts in the order of their lowest node numbers, the nodes of each along
// a Z-order curve through the bounding box of all nodes (one scale for every axis, the longest axis
// deciding first; in a box at least twice as long as wide, by coordinates along its length, then
// across), equal curve positions by coordinates, nodes with non-finite locations last in
// their part. Only nodes of degree above 0 take part. Renumbering the nodes of a part gives the
// same nodes in the same order unless two of them share a location.
std::vector<quint64> UFemMakeNodeOrderingReferenceOrder(const UFemNodeOrderingGraph& graph);
