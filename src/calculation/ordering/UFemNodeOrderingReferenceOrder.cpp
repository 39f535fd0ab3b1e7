#include "calculation/ordering/UFemNodeOrderingReferenceOrder.h"

#include "calculation/ordering/UFemNodeOrderingAxisPath.h"
#include "calculation/ordering/UFemNodeOrderingMainPath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

// Cells per axis of the curve: 21 bits for each of three axes fill a 64-bit key.
constexpr int kCurveBits = 21;
constexpr double kCurveCellCount = double((quint64(1) << kCurveBits) - 1);

bool hasFiniteLocation(const double* location)
{
    return std::isfinite(location[0]) && std::isfinite(location[1]) && std::isfinite(location[2]);
}

// A box holding at least this many times as many nodes along its length as across is swept plane
// by plane along its length.
constexpr double kSweepAspectRatio = 2.0;

struct CurveFrame {
    std::array<double, 3> origin { 0.0, 0.0, 0.0 };
    std::array<int, 3> axes { 0, 1, 2 }; // by decreasing extent
    double scale = 0.0; // cells per unit length
    // Slender box: the order sweeps along the longest axis (coordinates only, no curve), so that
    // the blocks pair up cross-sections instead of following the curve's cubes across them.
    bool sweeps = false;
};

CurveFrame curveFrame(const UFemNodeOrderingGraph& graph, const std::vector<quint64>& nodes)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    std::array<double, 3> low { kInfinity, kInfinity, kInfinity };
    std::array<double, 3> high { -kInfinity, -kInfinity, -kInfinity };
    for (quint64 node : nodes) {
        const double* p = graph.location(UFemOrderingIndex(node));
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], p[k]);
            high[k] = std::max(high[k], p[k]);
        }
    }
    CurveFrame frame;
    if (nodes.empty())
        return frame;
    frame.origin = low;
    std::stable_sort(frame.axes.begin(), frame.axes.end(),
        [&](int a, int b) { return high[a] - low[a] > high[b] - low[b]; });
    const double extent = high[frame.axes[0]] - low[frame.axes[0]];
    frame.scale = extent > 0.0 && std::isfinite(extent) ? kCurveCellCount / extent : 0.0;
    std::array<double, 3> nodesAlong {};
    for (int k = 0; k < 3; ++k) {
        std::array<double, 3> direction {};
        direction[k] = 1.0;
        const double spacing = UFemMeanConnectionSpan(graph, nodes, direction);
        nodesAlong[k] = spacing > 0.0 ? (high[k] - low[k]) / spacing : 0.0;
    }
    const int length = frame.axes[0];
    frame.sweeps = frame.scale > 0.0
        && nodesAlong[length] >= kSweepAspectRatio * nodesAlong[frame.axes[1]]
        && nodesAlong[length] >= kSweepAspectRatio * nodesAlong[frame.axes[2]];
    return frame;
}

quint64 curveKey(const CurveFrame& frame, const double* location)
{
    if (frame.sweeps)
        return 0;
    std::array<quint64, 3> cell {};
    for (int k = 0; k < 3; ++k) {
        const int axis = frame.axes[k];
        const double scaled = (location[axis] - frame.origin[axis]) * frame.scale;
        cell[k] = quint64(std::clamp(scaled, 0.0, kCurveCellCount));
    }
    quint64 key = 0;
    for (int bit = kCurveBits - 1; bit >= 0; --bit) {
        for (int k = 0; k < 3; ++k)
            key = (key << 1) | ((cell[k] >> bit) & 1);
    }
    return key;
}

} // namespace

std::vector<quint64> UFemMakeNodeOrderingReferenceOrder(const UFemNodeOrderingGraph& graph)
{
    std::vector<quint64> placed;
    for (UFemOrderingIndex node = 0; node < graph.nodeCount(); ++node) {
        if (graph.degree(node) > 0 && hasFiniteLocation(graph.location(node)))
            placed.push_back(node);
    }
    const CurveFrame frame = curveFrame(graph, placed);
    auto before = [&](const std::pair<quint64, quint64>& a, const std::pair<quint64, quint64>& b) {
        if (a.first != b.first)
            return a.first < b.first;
        const double* p = graph.location(UFemOrderingIndex(a.second));
        const double* q = graph.location(UFemOrderingIndex(b.second));
        for (int axis : frame.axes) {
            if (p[axis] != q[axis])
                return p[axis] < q[axis];
        }
        return a.second < b.second;
    };
    // Part by part, so that the parts keep the order of their lowest node numbers.
    const UFemNodeGroupTable groups = UFemFindConnectedNodeGroups(graph);
    std::vector<quint64> order;
    order.reserve(groups.nodes.size());
    std::vector<std::pair<quint64, quint64>> keyed;
    std::vector<quint64> unplaced;
    for (size_t g = 0; g < groups.count(); ++g) {
        keyed.clear();
        unplaced.clear();
        for (UFemOrderingIndex node : groups.group(g)) {
            if (hasFiniteLocation(graph.location(node)))
                keyed.emplace_back(curveKey(frame, graph.location(node)), node);
            else
                unplaced.push_back(node);
        }
        std::sort(keyed.begin(), keyed.end(), before);
        for (const auto& entry : keyed)
            order.push_back(entry.second);
        order.insert(order.end(), unplaced.begin(), unplaced.end());
    }
    return order;
}
