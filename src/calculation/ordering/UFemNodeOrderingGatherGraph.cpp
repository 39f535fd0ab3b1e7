#include "calculation/ordering/UFemNodeOrderingGatherGraph.h"

#include "calculation/ordering/UFemNodeOrderingAxisPath.h"
#include "calculation/ordering/UFemNodeOrderingMainPath.h"

#include <cmath>

namespace {

// A connection at most 60 degrees from the axis runs along it.
constexpr double kAlongCosine = 0.5;
// A connection runs across the axis when it spans at most half the spacing of the cross-sections.
constexpr double kAcrossSpacingShare = 0.5;
// A part this small gathers into one block whatever its shape.
constexpr size_t kSmallGroupSize = 8;

double spanAlong(const double* p, const double* q, const std::array<double, 3>& axis)
{
    return std::abs((q[0] - p[0]) * axis[0] + (q[1] - p[1]) * axis[1] + (q[2] - p[2]) * axis[2]);
}

// The spacing of the cross-sections: the mean span along the axis of the connections that run
// along it (0 when there are none).
double crossSectionSpacing(const UFemNodeOrderingGraph& graph,
    std::span<const UFemOrderingIndex> group, const std::array<double, 3>& axis)
{
    double sum = 0.0;
    double count = 0.0;
    for (UFemOrderingIndex node : group) {
        for (UFemOrderingIndex other : graph.neighbours(node)) {
            const double span = spanAlong(graph.location(node), graph.location(other), axis);
            if (std::isfinite(span) && span >= kAlongCosine * graph.distance(node, other)) {
                sum += span;
                count += 1.0;
            }
        }
    }
    return count > 0.0 ? sum / count : 0.0;
}

} // namespace

UFemNodeOrderingGraph UFemMakeNodeOrderingGatherGraph(const UFemNodeOrderingGraph& graph)
{
    const size_t n = graph.nodeCount();
    std::vector<double> locations(
        n > 0 ? graph.location(0) : nullptr, n > 0 ? graph.location(0) + 3 * n : nullptr);
    UFemNodeOrderingGraph gather(std::move(locations), graph.degrees());
    const UFemNodeGroupTable groups = UFemFindConnectedNodeGroups(graph);
    std::vector<UFemOrderingIndex> kept;
    for (size_t g = 0; g < groups.count(); ++g) {
        UFemDominantAxisFrame frame;
        const bool slender = groups.group(g).size() > kSmallGroupSize
            && UFemDominantAxis(graph, groups.group(g), &frame);
        const double widest = slender
            ? kAcrossSpacingShare * crossSectionSpacing(graph, groups.group(g), frame.axis)
            : 0.0;
        for (UFemOrderingIndex node : groups.group(g)) {
            kept.clear();
            for (UFemOrderingIndex other : graph.neighbours(node)) {
                if (!slender
                    || spanAlong(graph.location(node), graph.location(other), frame.axis) <= widest)
                    kept.push_back(other);
            }
            if (!kept.empty())
                gather.addConnections(node, std::span<const UFemOrderingIndex>(kept));
        }
    }
    gather.finishConnections();
    return gather;
}
