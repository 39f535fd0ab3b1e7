#include "calculation/ordering/UFemNodeOrderingTransitPath.h"

#include "foundation/strings/UFormattedString.h"

#include <limits>

namespace {

constexpr quint64 kDivider = ~quint64(0);

// The nearest node with degree (lowest number on a tie), or none.
UFemOrderingIndex replacementNode(const UFemNodeOrderingGraph& graph, UFemOrderingIndex node)
{
    UFemOrderingIndex best = UFemOrderingNone;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (UFemOrderingIndex other = 0; other < graph.nodeCount(); ++other) {
        if (graph.degree(other) == 0)
            continue;
        const double distance = graph.distance(node, other);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = other;
        }
    }
    return best;
}

} // namespace

[[nodiscard]] bool UFemAppendTransitPath(UFemNodePotentialTable& table,
    const std::vector<UFemOrderingIndex>& transit, std::vector<UFemOrderingIndex>& onPathStamp,
    UFemOrderingIndex stamp, std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error)
{
    std::vector<UFemOrderingIndex> segment;
    UFemOrderingIndex previous = UFemOrderingNone;
    for (UFemOrderingIndex node : transit) {
        if (onPathStamp[node] == stamp)
            continue;
        if (previous == UFemOrderingNone) {
            segment.assign(1, node);
        } else {
            UErrorPtr sweepError;
            table.findFarthestNode(previous, node, false, &segment, &sweepError);
            if (sweepError) {
                UFemSetError(error, sweepError);
                return false;
            }
        }
        for (UFemOrderingIndex step : segment) {
            if (onPathStamp[step] != stamp) {
                onPathStamp[step] = stamp;
                mainPath->push_back(step);
            }
        }
        previous = node;
    }
    return true;
}

UFemTransitRunTable UFemParseTransitNodeTable(const UFemNodeOrderingGraph& graph,
    const std::vector<quint64>& table, const std::function<QString(quint64)>& nodeName,
    const std::function<void(const QString&)>& warn)
{
    UFemTransitRunTable runs;
    bool afterDivider = false;
    for (size_t k = 0; k < table.size(); ++k) {
        if (table[k] == kDivider) {
            if (k == 0)
                warn(ULocalizedFormattedString(
                    "Node ordering 'Divider' found at the beginning of the node list."));
            else if (afterDivider)
                warn(ULocalizedFormattedString(
                    "Node ordering 'Divider' found continuously in the node list."));
            afterDivider = true;
            continue;
        }
        auto node = UFemOrderingIndex(table[k]);
        if (graph.degree(node) == 0) {
            const UFemOrderingIndex replacement = replacementNode(graph, node);
            if (replacement == UFemOrderingNone) {
                warn(ULocalizedFormattedString(
                    "Node '%@' in node ordering node list doesn't have DOF and another "
                    "node is not found to replace, so the node is remove.",
                    nodeName(node)));
                continue;
            }
            warn(ULocalizedFormattedString("Node '%@' in node ordering node list doesn't have DOF, "
                                           "so the node is replaced with node '%@'.",
                nodeName(node), nodeName(replacement)));
            node = replacement;
        }
        if (runs.empty() || afterDivider)
            runs.emplace_back();
        runs.back().push_back(node);
        afterDivider = false;
    }
    return runs;
}

bool UFemBuildNodeOrderingMainPathWithTransitNodes(UFemNodePotentialTable& table,
    const UFemNodeOrderingGraph& graph, const UFemNodeGroupTable& groups,
    const UFemTransitRunTable& runs, std::vector<UFemOrderingIndex>* mainPath, UErrorPtr* error,
    std::vector<UFemBucketOrder>* bucketOrders)
{
    std::vector<UFemOrderingIndex> groupOf(graph.nodeCount(), UFemOrderingNone);
    for (size_t g = 0; g < groups.count(); ++g) {
        for (UFemOrderingIndex node : groups.group(g))
            groupOf[node] = UFemOrderingIndex(g);
    }
    std::vector<std::vector<UFemOrderingIndex>> transit(groups.count());
    std::vector<UFemOrderingIndex> order;
    for (const auto& run : runs) {
        for (UFemOrderingIndex node : run) {
            const UFemOrderingIndex g = groupOf[node];
            if (transit[g].empty())
                order.push_back(g);
            transit[g].push_back(node);
        }
    }
    for (size_t g = 0; g < groups.count(); ++g) {
        if (transit[g].empty())
            order.push_back(UFemOrderingIndex(g));
    }

    mainPath->clear();
    if (bucketOrders)
        bucketOrders->clear();
    std::vector<UFemOrderingIndex> onPathStamp(graph.nodeCount(), UFemOrderingNone);
    std::vector<UFemOrderingIndex> usedStamp(graph.nodeCount(), UFemOrderingNone);
    for (UFemOrderingIndex g : order) {
        if (transit[g].empty()) {
            if (!UFemAppendGroupMainPath(
                    table, graph, groups.group(g), usedStamp, g, mainPath, bucketOrders, error))
                return false;
            continue;
        }
        if (!UFemAppendTransitPath(table, transit[g], onPathStamp, g, mainPath, error))
            return false;
        mainPath->push_back(UFemOrderingNone);
        if (bucketOrders)
            bucketOrders->push_back(UFemBucketOrder::WholeBuckets);
    }
    return true;
}
