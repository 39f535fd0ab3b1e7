#include "calculation/ordering/UFemNodeOrderingMainPath.h"

#include "calculation/ordering/UFemNodeOrderingAxisPath.h"
#include "calculation/ordering/UFemNodeOrderingTransitPath.h"
#include "foundation/UFemNotFound.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>

namespace {

constexpr size_t kSampleStartCount = 8;
// Weight of the position along the path against the distance from it in a bucket's sort key.
constexpr double kPathDirectionWeight = 4.0;
// The path direction for a bucket is taken over a stretch of path this many times as long as its
// farthest node is from the path.
constexpr double kDirectionReach = 2.0;

// Unit vector from the path entry before `index` to the one after it; the node itself stands in at
// either end of the path and next to a divider.
void pathDirection(const UFemNodeOrderingGraph& graph,
    const std::vector<UFemOrderingIndex>& mainPath, size_t index, double direction[3])
{
    const UFemOrderingIndex node = mainPath[index];
    UFemOrderingIndex previous = index > 0 ? mainPath[index - 1] : UFemOrderingNone;
    UFemOrderingIndex next = index + 1 < mainPath.size() ? mainPath[index + 1] : UFemOrderingNone;
    if (previous == UFemOrderingNone)
        previous = node;
    if (next == UFemOrderingNone)
        next = node;
    const double* from = graph.location(previous);
    const double* to = graph.location(next);
    double length = 0.0;
    for (int k = 0; k < 3; ++k) {
        direction[k] = to[k] - from[k];
        length += direction[k] * direction[k];
    }
    length = std::sqrt(length);
    for (int k = 0; k < 3; ++k)
        direction[k] = length > 0.0 ? direction[k] / length : 0.0;
}

struct OrderingKey {
    double key;
    size_t pathIndex;
    quint64 node;
};

// Distance along one group's path from its first entry, per path entry.
std::vector<double> pathArcLengths(const UFemNodeOrderingGraph& graph,
    const std::vector<UFemOrderingIndex>& mainPath, size_t first, size_t end)
{
    std::vector<double> arc(end - first, 0.0);
    for (size_t m = first + 1; m < end; ++m)
        arc[m - first] = arc[m - first - 1] + graph.distance(mainPath[m - 1], mainPath[m]);
    return arc;
}

// The path direction seen from nodes up to `reach` away: the unit chord between the path entries
// `reach` before and after entry m (at least its neighbours), so that the jagged steps of a path
// through an irregular mesh do not tilt the direction far from the path. Falls back to the local
// direction where the chord has no length.
void smoothedPathDirection(const UFemNodeOrderingGraph& graph,
    const std::vector<UFemOrderingIndex>& mainPath, size_t first, const std::vector<double>& arc,
    size_t m, double reach, double direction[3])
{
    const size_t local = m - first;
    const auto from = std::lower_bound(arc.begin(), arc.begin() + local, arc[local] - reach);
    const auto to = std::upper_bound(arc.begin() + local, arc.end(), arc[local] + reach);
    const size_t a = std::min<size_t>(from - arc.begin(), local > 0 ? local - 1 : 0);
    const size_t b = std::max<size_t>((to - arc.begin()) - 1, std::min(local + 1, arc.size() - 1));
    const double* p = graph.location(mainPath[first + a]);
    const double* q = graph.location(mainPath[first + b]);
    double length = 0.0;
    for (int k = 0; k < 3; ++k) {
        direction[k] = q[k] - p[k];
        length += direction[k] * direction[k];
    }
    length = std::sqrt(length);
    if (length > 0.0 && std::isfinite(length)) {
        for (int k = 0; k < 3; ++k)
            direction[k] /= length;
    } else {
        pathDirection(graph, mainPath, m, direction);
    }
}

// Sorts the nodes of one group (the buckets of path entries first .. end) by the bucket key
// measured along the path: potential + 4 x (arc length of the nearest path entry + position along
// the path direction relative to that entry). Within one bucket this is the bucket key plus a
// constant (the direction taken over a longer stretch of path); across buckets it keeps nodes at
// the same place along the path together, which sorting bucket by bucket does not where the
// buckets of nodes far from the path fan out into wedges (irregular meshes, the block graph).
void sortGroup(const UFemNodePotentialTable& table, const UFemNodeOrderingGraph& graph,
    const std::vector<UFemOrderingIndex>& mainPath, size_t first, size_t end,
    UFemBucketOrder bucketOrder, const std::vector<quint64>& bucketStart, quint64* ordered,
    std::vector<OrderingKey>& keys)
{
    const std::vector<double> arc = pathArcLengths(graph, mainPath, first, end);
    keys.clear();
    for (size_t m = first; m < end; ++m) {
        if (bucketStart[m] == bucketStart[m + 1])
            continue;
        double reach = 0.0;
        for (quint64 k = bucketStart[m]; k < bucketStart[m + 1]; ++k)
            reach = std::max(reach, table.potential(UFemOrderingIndex(ordered[k])));
        double direction[3];
        smoothedPathDirection(graph, mainPath, first, arc, m, kDirectionReach * reach, direction);
        const double* origin = graph.location(mainPath[m]);
        for (quint64 k = bucketStart[m]; k < bucketStart[m + 1]; ++k) {
            const double* p = graph.location(UFemOrderingIndex(ordered[k]));
            double along = arc[m - first];
            for (int d = 0; d < 3; ++d)
                along += (p[d] - origin[d]) * direction[d];
            double key
                = table.potential(UFemOrderingIndex(ordered[k])) + kPathDirectionWeight * along;
            if (!std::isfinite(key))
                key = std::numeric_limits<double>::infinity();
            keys.push_back({ key, m, ordered[k] });
        }
    }
    // Equal keys keep path order, then ascending node numbers, so the order is the same on every
    // run.
    if (bucketOrder == UFemBucketOrder::WholeBuckets) {
        std::sort(keys.begin(), keys.end(), [](const OrderingKey& a, const OrderingKey& b) {
            return std::tie(a.pathIndex, a.key, a.node) < std::tie(b.pathIndex, b.key, b.node);
        });
    } else {
        std::sort(keys.begin(), keys.end(), [](const OrderingKey& a, const OrderingKey& b) {
            return std::tie(a.key, a.pathIndex, a.node) < std::tie(b.key, b.pathIndex, b.node);
        });
    }
    for (size_t k = 0; k < keys.size(); ++k)
        ordered[bucketStart[first] + k] = keys[k].node;
}

} // namespace

UFemNodeGroupTable UFemFindConnectedNodeGroups(const UFemNodeOrderingGraph& graph)
{
    const UFemOrderingIndex n = graph.nodeCount();
    std::vector<UFemOrderingIndex> groupOf(n, UFemOrderingNone);
    std::vector<quint64> sizes;
    std::vector<UFemOrderingIndex> queue;
    for (UFemOrderingIndex start = 0; start < n; ++start) {
        if (graph.degree(start) == 0 || groupOf[start] != UFemOrderingNone)
            continue;
        const auto group = UFemOrderingIndex(sizes.size());
        queue.assign(1, start);
        groupOf[start] = group;
        for (size_t head = 0; head < queue.size(); ++head) {
            for (UFemOrderingIndex other : graph.neighbours(queue[head])) {
                if (groupOf[other] == UFemOrderingNone) {
                    groupOf[other] = group;
                    queue.push_back(other);
                }
            }
        }
        sizes.push_back(queue.size());
    }
    UFemNodeGroupTable groups;
    groups.offsets.assign(sizes.size() + 1, 0);
    for (size_t g = 0; g < sizes.size(); ++g)
        groups.offsets[g + 1] = groups.offsets[g] + sizes[g];
    groups.nodes.resize(groups.offsets.back());
    std::vector<quint64> fill(groups.offsets.begin(), groups.offsets.end() - 1);
    for (UFemOrderingIndex node = 0; node < n; ++node) {
        if (groupOf[node] != UFemOrderingNone)
            groups.nodes[fill[groupOf[node]]++] = node;
    }
    return groups;
}

double UFemFindFarthestNodePair(UFemNodePotentialTable& table, const UFemNodeOrderingGraph& graph,
    std::span<const UFemOrderingIndex> group, std::vector<UFemOrderingIndex>& usedStamp,
    UFemOrderingIndex stamp, std::vector<UFemOrderingIndex>* path, UErrorPtr* error)
{
    (void)graph;
    std::vector<UFemOrderingIndex> samples;
    if (group.size() > kSampleStartCount) {
        for (size_t k = 0; k < kSampleStartCount; ++k)
            samples.push_back(group[k * group.size() / kSampleStartCount]);
    } else {
        samples.assign(group.begin(), group.end());
    }
    double best = -1.0;
    path->clear();
    std::vector<UFemOrderingIndex> sweep;
    for (UFemOrderingIndex sample : samples) {
        if (usedStamp[sample] == stamp)
            continue;
        usedStamp[sample] = stamp;
        if (table.findFarthestNode(sample, UFemOrderingNone, false, &sweep, error) < 0.0) {
            if (error && *error)
                return -1.0;
            continue;
        }
        const UFemOrderingIndex farthest = sweep.back();
        if (usedStamp[farthest] == stamp)
            continue;
        usedStamp[farthest] = stamp;
        const double length
            = table.findFarthestNode(farthest, UFemOrderingNone, true, &sweep, error);
        if (length < 0.0 && error && *error)
            return -1.0;
        if (length > best) {
            best = length;
            path->swap(sweep);
        }
    }
    return best;
}

bool UFemAppendGroupMainPath(UFemNodePotentialTable& table, const UFemNodeOrderingGraph& graph,
    std::span<const UFemOrderingIndex> group, std::vector<UFemOrderingIndex>& usedStamp,
    UFemOrderingIndex stamp, std::vector<UFemOrderingIndex>* mainPath,
    std::vector<UFemBucketOrder>* bucketOrders, UErrorPtr* error)
{
    UFemBucketOrder bucketOrder = UFemBucketOrder::AlongPath;
    if (group.size() < 3) {
        mainPath->insert(mainPath->end(), group.begin(), group.end());
    } else if (const auto transit = group.size() > kSampleStartCount
                   ? UFemAxisTransitNodes(graph, group)
                   : std::vector<UFemOrderingIndex> {};
               !transit.empty()) {
        // Along the axis the buckets become cross-sections; a double sweep would run corner to
        // corner and slant them across several. A small group's sweep tries every start.
        if (!UFemAppendTransitPath(table, transit, usedStamp, stamp, mainPath, error))
            return false;
        bucketOrder = UFemBucketOrder::WholeBuckets;
    } else {
        UErrorPtr sweepError;
        std::vector<UFemOrderingIndex> path;
        const double length
            = UFemFindFarthestNodePair(table, graph, group, usedStamp, stamp, &path, &sweepError);
        if (sweepError) {
            UFemSetError(error, sweepError);
            return false;
        }
        if (length >= 0.0)
            mainPath->insert(mainPath->end(), path.begin(), path.end());
    }
    mainPath->push_back(UFemOrderingNone);
    if (bucketOrders)
        bucketOrders->push_back(bucketOrder);
    return true;
}

bool UFemBuildNodeOrderingMainPath(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, const UFemNodeGroupTable& groups,
    std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error,
    std::vector<UFemBucketOrder>* bucketOrders)
{
    mainPath->clear();
    if (bucketOrders)
        bucketOrders->clear();
    std::vector<UFemOrderingIndex> usedStamp(graph.nodeCount(), UFemOrderingNone);
    for (size_t g = 0; g < groups.count(); ++g) {
        if (!UFemAppendGroupMainPath(table, graph, groups.group(g), usedStamp, UFemOrderingIndex(g),
                mainPath, bucketOrders, error))
            return false;
    }
    return true;
}

bool UFemOrderNodesByPotential(UFemNodePotentialTable& table, const UFemNodeOrderingGraph& graph,
    const std::vector<UFemOrderingIndex>& mainPath, std::vector<quint64>* ordered, UErrorPtr* error,
    std::span<const UFemBucketOrder> bucketOrders)
{
    const UFemOrderingIndex n = graph.nodeCount();
    ordered->assign(n, UFemNotFound);
    table.reset();
    std::vector<UFemOrderingIndex> pathNodes;
    for (size_t m = 0; m < mainPath.size(); ++m) {
        if (mainPath[m] != UFemOrderingNone) {
            table.setStart(mainPath[m], UFemOrderingIndex(m));
            pathNodes.push_back(mainPath[m]);
        }
    }
    std::sort(pathNodes.begin(), pathNodes.end());
    if (!table.updateNodePotential(
            pathNodes, UFemNodePotentialLabelMode::Propagate, UFemOrderingNone, error))
        return false;

    // Buckets in path order, each in ascending node order (a counting sort over the labels).
    std::vector<quint64> bucketStart(mainPath.size() + 1, 0);
    for (UFemOrderingIndex node : table.touchedNodes())
        ++bucketStart[table.label(node) + 1];
    for (size_t m = 0; m < mainPath.size(); ++m)
        bucketStart[m + 1] += bucketStart[m];
    std::vector<quint64> fill(bucketStart.begin(), bucketStart.end() - 1);
    quint64 placed = bucketStart.back();
    for (UFemOrderingIndex node = 0; node < n; ++node) {
        if (table.label(node) != UFemOrderingNone)
            (*ordered)[fill[table.label(node)]++] = node;
    }
    // Nodes with degree that the sweep could not reach (non-finite locations) still need a place.
    for (UFemOrderingIndex node = 0; node < n; ++node) {
        if (graph.degree(node) > 0 && table.label(node) == UFemOrderingNone)
            (*ordered)[placed++] = node;
    }

    std::vector<OrderingKey> keys;
    size_t groupFirst = 0;
    size_t group = 0;
    for (size_t m = 0; m <= mainPath.size(); ++m) {
        if (m < mainPath.size() && mainPath[m] != UFemOrderingNone)
            continue;
        const UFemBucketOrder bucketOrder
            = group < bucketOrders.size() ? bucketOrders[group] : UFemBucketOrder::AlongPath;
        if (m > groupFirst && bucketStart[m] - bucketStart[groupFirst] > 1)
            sortGroup(table, graph, mainPath, groupFirst, m, bucketOrder, bucketStart,
                ordered->data(), keys);
        groupFirst = m + 1;
        ++group;
    }
    return true;
}
