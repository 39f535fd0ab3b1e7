#pragma once

#include "calculation/ordering/UFemNodeOrderingGraph.h"

#include <array>
#include <cmath>
#include <span>
#include <vector>

// Mean length of the connections of `nodes` measured along a unit direction: the node spacing in
// that direction, which sets how many nodes a part has along it whatever its shape.
template <typename NodeRange>
double UFemMeanConnectionSpan(const UFemNodeOrderingGraph& graph, const NodeRange& nodes,
    const std::array<double, 3>& direction)
{
    double sum = 0.0;
    double count = 0.0;
    for (auto node : nodes) {
        const double* p = graph.location(UFemOrderingIndex(node));
        for (UFemOrderingIndex other : graph.neighbours(UFemOrderingIndex(node))) {
            const double* q = graph.location(other);
            const double span = std::abs((q[0] - p[0]) * direction[0] + (q[1] - p[1]) * direction[1]
                + (q[2] - p[2]) * direction[2]);
            if (std::isfinite(span)) {
                sum += span;
                count += 1.0;
            }
        }
    }
    return count > 0.0 ? sum / count : 0.0;
}

// The longest principal axis of a group's node locations and the group's extent along it, counted
// in nodes along it and across it.
struct UFemDominantAxisFrame {
    std::array<double, 3> centre {};
    std::array<double, 3> axis {}; // unit, its largest component positive
    double low = 0.0; // least projection of a node on the axis
    double length = 0.0;
    double nodesAlong = 0.0;
    double nodesAcross = 0.0;
};

// Fills `frame` and answers whether the axis dominates: at least twice as many nodes along it as
// along the second principal axis.
bool UFemDominantAxis(const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group,
    UFemDominantAxisFrame* frame);

// Transit nodes for the main path of a slender or plate-like group: the nodes nearest to evenly
// spaced points on an edge line of the group (parallel to the longest principal axis of its node
// locations, through the node farthest from that axis), from one end to the other. Empty when the
// group has no dominant axis, counted in nodes (then the double sweep lays its path).
std::vector<UFemOrderingIndex> UFemAxisTransitNodes(
    const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group);
