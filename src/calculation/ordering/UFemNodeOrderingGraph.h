#pragma once

#include <QtGlobal>

#include <span>
#include <vector>

// Node numbers inside the orderer. 32 bits halve the adjacency of a million-node solid
// (26 neighbours per node) against 64-bit numbers, and the sweeps are bound by memory traffic.
using UFemOrderingIndex = quint32;
inline constexpr UFemOrderingIndex UFemOrderingNone = ~UFemOrderingIndex(0);
// Leaves room for main-path indexes (nodes plus one divider per group) below UFemOrderingNone.
inline constexpr quint64 UFemOrderingMaxNodeCount = 0x7FFFFFFF;

// The nodes of one orderer: locations, degrees and the connection relation in compressed rows.
// Each row is ascending, without the node itself and without nodes of degree 0.
class UFemNodeOrderingGraph {
public:
    UFemNodeOrderingGraph() = default;
    UFemNodeOrderingGraph(std::vector<double> locations, std::vector<quint64> degrees);

    UFemOrderingIndex nodeCount() const { return UFemOrderingIndex(degrees_.size()); }
    quint64 degree(UFemOrderingIndex node) const { return degrees_[node]; }
    const std::vector<quint64>& degrees() const { return degrees_; }
    const double* location(UFemOrderingIndex node) const { return &locations_[3 * size_t(node)]; }
    std::span<const UFemOrderingIndex> neighbours(UFemOrderingIndex node) const
    {
        return { adjacency_.data() + offsets_[node], adjacency_.data() + offsets_[node + 1] };
    }
    double distance(UFemOrderingIndex a, UFemOrderingIndex b) const;
    // Length of each connection, beside the rows; made on first use.
    const double* edgeLengths(UFemOrderingIndex node) const
    {
        return edgeLengths_.data() + offsets_[node];
    }
    void makeEdgeLengths();

    // Adds connections of one node; they take effect at the next finishConnections().
    void addConnections(UFemOrderingIndex node, std::span<const quint64> connected);
    void addConnections(UFemOrderingIndex node, std::span<const UFemOrderingIndex> connected);
    // Merges the pending connections into the rows (sorted, unique, self and degree-0 nodes
    // removed).
    void finishConnections();

private:
    struct Batch {
        UFemOrderingIndex node;
        quint64 begin;
        quint64 end;
    };

    std::vector<double> locations_;
    std::vector<quint64> degrees_;
    std::vector<quint64> offsets_;
    std::vector<UFemOrderingIndex> adjacency_;
    std::vector<double> edgeLengths_;
    std::vector<Batch> batches_;
    std::vector<UFemOrderingIndex> pendingConnected_;
};
