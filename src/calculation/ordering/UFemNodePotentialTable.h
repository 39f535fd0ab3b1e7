#pragma once

#include "calculation/ordering/UFemNodeOrderingGraph.h"
#include "foundation/errors/UError.h"

#include <vector>

// How a sweep labels the nodes it reaches.
enum class UFemNodePotentialLabelMode {
    Propagate, // a reached node takes the label of the node it was reached from
    Predecessor, // a reached node takes the number of the node it was reached from
};

// The work table shared by every sweep of one ordering: a label and a potential per node.
// Only the entries a sweep touched are reset, so a sweep costs what it reaches, not the node count.
class UFemNodePotentialTable {
public:
    explicit UFemNodePotentialTable(UFemNodeOrderingGraph& graph);

    UFemOrderingIndex label(UFemOrderingIndex node) const { return labels_[node]; }
    double potential(UFemOrderingIndex node) const { return potentials_[node]; }
    // The nodes whose potential is finite, in the order they were reached.
    const std::vector<UFemOrderingIndex>& touchedNodes() const { return touched_; }

    // Every entry back to (no label, +infinity).
    void reset();
    // An initial node: potential 0 with the given label.
    void setStart(UFemOrderingIndex node, UFemOrderingIndex label);

    // Spreads the potential from the initial nodes (ascending, already set by setStart) wave by
    // wave. With a target, stops once a wave sets nothing below the target's potential.
    [[nodiscard]] bool updateNodePotential(const std::vector<UFemOrderingIndex>& initialNodes,
        UFemNodePotentialLabelMode mode, UFemOrderingIndex target, UErrorPtr* error);

    // Shortest path from start (to target, or to the farthest node reached); the path goes to
    // `path` start first, or target first when `reverse`. Returns the path length, -1.0 when none.
    double findFarthestNode(UFemOrderingIndex start, UFemOrderingIndex target, bool reverse,
        std::vector<UFemOrderingIndex>* path, UErrorPtr* error);

private:
    void relaxWave(UFemNodePotentialLabelMode mode, double* smallestSet);

    const UFemNodeOrderingGraph& graph_;
    std::vector<UFemOrderingIndex> labels_;
    std::vector<double> potentials_;
    std::vector<UFemOrderingIndex> touched_;
    std::vector<UFemOrderingIndex> wave_;
    std::vector<UFemOrderingIndex> nextWave_;
    std::vector<quint8> inNextWave_;
};
