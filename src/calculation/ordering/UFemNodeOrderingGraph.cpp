#include "calculation/ordering/UFemNodeOrderingGraph.h"

#include "foundation/errors/UException.h"

#include <algorithm>
#include <cmath>

UFemNodeOrderingGraph::UFemNodeOrderingGraph(
    std::vector<double> locations, std::vector<quint64> degrees)
    : locations_(std::move(locations))
    , degrees_(std::move(degrees))
    , offsets_(degrees_.size() + 1, 0)
{
}

double UFemNodeOrderingGraph::distance(UFemOrderingIndex a, UFemOrderingIndex b) const
{
    const double* p = location(a);
    const double* q = location(b);
    const double dx = q[0] - p[0];
    const double dy = q[1] - p[1];
    const double dz = q[2] - p[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void UFemNodeOrderingGraph::addConnections(
    UFemOrderingIndex node, std::span<const quint64> connected)
{
    const quint64 begin = pendingConnected_.size();
    for (quint64 other : connected) {
        if (other >= nodeCount())
            UFemRaiseProgramError(QStringLiteral("Out of range."));
        pendingConnected_.push_back(UFemOrderingIndex(other));
    }
    batches_.push_back({ node, begin, pendingConnected_.size() });
}

void UFemNodeOrderingGraph::addConnections(
    UFemOrderingIndex node, std::span<const UFemOrderingIndex> connected)
{
    const quint64 begin = pendingConnected_.size();
    for (UFemOrderingIndex other : connected) {
        if (other >= nodeCount())
            UFemRaiseProgramError(QStringLiteral("Out of range."));
    }
    pendingConnected_.insert(pendingConnected_.end(), connected.begin(), connected.end());
    batches_.push_back({ node, begin, pendingConnected_.size() });
}

void UFemNodeOrderingGraph::finishConnections()
{
    if (batches_.empty())
        return;
    const size_t n = nodeCount();
    std::vector<quint64> offsets(n + 1, 0);
    for (size_t node = 0; node < n; ++node)
        offsets[node + 1] = offsets_[node + 1] - offsets_[node];
    for (const Batch& batch : batches_)
        offsets[batch.node + 1] += batch.end - batch.begin;
    for (size_t node = 0; node < n; ++node)
        offsets[node + 1] += offsets[node];

    std::vector<UFemOrderingIndex> merged(offsets[n]);
    std::vector<quint64> fill(offsets.begin(), offsets.end() - 1);
    for (size_t node = 0; node < n; ++node) {
        for (quint64 k = offsets_[node]; k < offsets_[node + 1]; ++k)
            merged[fill[node]++] = adjacency_[k];
    }
    for (const Batch& batch : batches_) {
        for (quint64 k = batch.begin; k < batch.end; ++k)
            merged[fill[batch.node]++] = pendingConnected_[k];
    }
    batches_.clear();
    pendingConnected_.clear();
    pendingConnected_.shrink_to_fit();

    // Compact in place: each row sorted and unique, without itself and without degree-0 nodes.
    const bool hasIdleNodes = std::find(degrees_.begin(), degrees_.end(), 0) != degrees_.end();
    quint64 write = 0;
    for (size_t node = 0; node < n; ++node) {
        auto first = merged.begin() + qint64(offsets[node]);
        auto last = merged.begin() + qint64(offsets[node + 1]);
        if (!std::is_sorted(first, last))
            std::sort(first, last);
        offsets[node] = write;
        UFemOrderingIndex previous = UFemOrderingNone;
        for (auto it = first; it != last; ++it) {
            const UFemOrderingIndex other = *it;
            if (other == previous || other == node || (hasIdleNodes && degrees_[other] == 0))
                continue;
            previous = other;
            merged[write++] = other;
        }
    }
    offsets[n] = write;
    merged.resize(write);
    merged.shrink_to_fit();
    offsets_ = std::move(offsets);
    adjacency_ = std::move(merged);
    edgeLengths_.clear();
}

void UFemNodeOrderingGraph::makeEdgeLengths()
{
    if (edgeLengths_.size() == adjacency_.size())
        return;
    edgeLengths_.resize(adjacency_.size());
    for (UFemOrderingIndex node = 0; node < nodeCount(); ++node) {
        for (quint64 k = offsets_[node]; k < offsets_[node + 1]; ++k)
            edgeLengths_[k] = distance(node, adjacency_[k]);
    }
}
