#include "calculation/UFemNodeOrderingMainPath.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr size_t kSampleStartCount = 8;
// Weight of the position along the path against the distance from it in a bucket's sort key.
constexpr double kPathDirectionWeight = 4.0;
constexpr quint64 kNoNode64 = ~quint64(0);

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

void sortBucket(const UFemNodePotentialTable& table, const UFemNodeOrderingGraph& graph,
    const double direction[3], quint64* first, quint64* last,
    std::vector<std::pair<double, quint64>>& keys)
{
    keys.clear();
    for (quint64* it = first; it != last; ++it) {
        const double* p = graph.location(UFemOrderingIndex(*it));
        const double along = p[0] * direction[0] + p[1] * direction[1] + p[2] * direction[2];
        keys.emplace_back(
            table.potential(UFemOrderingIndex(*it)) + kPathDirectionWeight * along, *it);
    }
    // Equal keys keep ascending node numbers, so the order is the same on every run.
    std::sort(keys.begin(), keys.end());
    for (size_t k = 0; k < keys.size(); ++k)
        first[k] = keys[k].second;
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
    UFemOrderingIndex stamp, std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error)
{
    if (group.size() < 3) {
        mainPath->insert(mainPath->end(), group.begin(), group.end());
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
    return true;
}

bool UFemBuildNodeOrderingMainPath(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, const UFemNodeGroupTable& groups,
    std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error)
{
    mainPath->clear();
    std::vector<UFemOrderingIndex> usedStamp(graph.nodeCount(), UFemOrderingNone);
    for (size_t g = 0; g < groups.count(); ++g) {
        if (!UFemAppendGroupMainPath(
                table, graph, groups.group(g), usedStamp, UFemOrderingIndex(g), mainPath, error))
            return false;
    }
    return true;
}

bool UFemOrderNodesByPotential(UFemNodePotentialTable& table, const UFemNodeOrderingGraph& graph,
    const std::vector<UFemOrderingIndex>& mainPath, std::vector<quint64>* ordered, UErrorPtr* error)
{
    const UFemOrderingIndex n = graph.nodeCount();
    ordered->assign(n, kNoNode64);
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

    std::vector<std::pair<double, quint64>> keys;
    for (size_t m = 0; m < mainPath.size(); ++m) {
        if (bucketStart[m + 1] - bucketStart[m] < 2)
            continue;
        double direction[3];
        pathDirection(graph, mainPath, m, direction);
        sortBucket(table, graph, direction, ordered->data() + bucketStart[m],
            ordered->data() + bucketStart[m + 1], keys);
    }
    return true;
}
