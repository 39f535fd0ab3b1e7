#include "calculation/ordering/UFemNodeOrderingGatherGraph.h"

#include "calculation/ordering/UFemNodeOrderingAxisPath.h"
#include "calculation/ordering/UFemNodeOrderingMainPath.h"

#include <cmath>

namespace {

// Largest cosine between a kept connection and the axis.
constexpr double kAcrossCosine = 0.5;
// A part this small gathers into one block whatever its shape.
constexpr size_t kSmallGroupSize = 8;

bool runsAcross(const double* p, const double* q, const std::array<double, 3>& axis)
{
    double along = 0.0;
    double squared = 0.0;
    for (int k = 0; k < 3; ++k) {
        along += (q[k] - p[k]) * axis[k];
        squared += (q[k] - p[k]) * (q[k] - p[k]);
    }
    return std::abs(along) <= kAcrossCosine * std::sqrt(squared);
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
        for (UFemOrderingIndex node : groups.group(g)) {
            kept.clear();
            for (UFemOrderingIndex other : graph.neighbours(node)) {
                if (!slender || runsAcross(graph.location(node), graph.location(other), frame.axis))
                    kept.push_back(other);
            }
            if (!kept.empty())
                gather.addConnections(node, std::span<const UFemOrderingIndex>(kept));
        }
    }
    gather.finishConnections();
    return gather;
}
