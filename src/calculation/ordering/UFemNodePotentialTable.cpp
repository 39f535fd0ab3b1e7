#include "calculation/ordering/UFemNodePotentialTable.h"

#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <algorithm>
#include <limits>

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

UFemNodePotentialTable::UFemNodePotentialTable(UFemNodeOrderingGraph& graph)
    : graph_(graph)
    , labels_(graph.nodeCount(), UFemOrderingNone)
    , potentials_(graph.nodeCount(), kInfinity)
    , inNextWave_(graph.nodeCount(), 0)
{
    graph.makeEdgeLengths();
}

void UFemNodePotentialTable::reset()
{
    for (UFemOrderingIndex node : touched_) {
        labels_[node] = UFemOrderingNone;
        potentials_[node] = kInfinity;
    }
    touched_.clear();
}

void UFemNodePotentialTable::setStart(UFemOrderingIndex node, UFemOrderingIndex label)
{
    if (potentials_[node] == kInfinity)
        touched_.push_back(node);
    labels_[node] = label;
    potentials_[node] = 0.0;
}

bool UFemNodePotentialTable::updateNodePotential(const std::vector<UFemOrderingIndex>& initialNodes,
    UFemNodePotentialLabelMode mode, UFemOrderingIndex target, UErrorPtr* error)
{
    for (UFemOrderingIndex node : initialNodes) {
        if (graph_.degree(node) == 0) {
            UFemSetError(error,
                UFemUnexpectedError_withDescription(
                    QStringLiteral("An initial node for updating potential is invalid.")));
            return false;
        }
    }
    wave_ = initialNodes;
    while (!wave_.empty()) {
        double smallestSet = kInfinity;
        relaxWave(mode, &smallestSet);
        std::sort(nextWave_.begin(), nextWave_.end());
        for (UFemOrderingIndex node : nextWave_)
            inNextWave_[node] = 0;
        wave_.swap(nextWave_);
        nextWave_.clear();
        if (target != UFemOrderingNone && smallestSet > potentials_[target])
            break;
    }
    wave_.clear();
    return true;
}

void UFemNodePotentialTable::relaxWave(UFemNodePotentialLabelMode mode, double* smallestSet)
{
    const bool propagate = mode == UFemNodePotentialLabelMode::Propagate;
    for (UFemOrderingIndex i : wave_) {
        const double base = potentials_[i];
        const UFemOrderingIndex givenLabel = propagate ? labels_[i] : i;
        const auto neighbours = graph_.neighbours(i);
        const double* lengths = graph_.edgeLengths(i);
        for (size_t k = 0; k < neighbours.size(); ++k) {
            const UFemOrderingIndex j = neighbours[k];
            if (!(potentials_[j] > base))
                continue;
            const double candidate = base + lengths[k];
            if (!(potentials_[j] > candidate))
                continue;
            if (potentials_[j] == kInfinity)
                touched_.push_back(j);
            potentials_[j] = candidate;
            labels_[j] = givenLabel;
            if (!inNextWave_[j]) {
                inNextWave_[j] = 1;
                nextWave_.push_back(j);
            }
            *smallestSet = std::min(*smallestSet, candidate);
        }
    }
}

double UFemNodePotentialTable::findFarthestNode(UFemOrderingIndex start, UFemOrderingIndex target,
    bool reverse, std::vector<UFemOrderingIndex>* path, UErrorPtr* error)
{
    path->clear();
    reset();
    setStart(start, start);
    if (!updateNodePotential({ start }, UFemNodePotentialLabelMode::Predecessor, target, error))
        return -1.0;
    double length = -1.0;
    if (target == UFemOrderingNone) {
        // Strictly larger replaces, so the lowest node number wins a tie.
        for (UFemOrderingIndex node : touched_) {
            const double value = potentials_[node];
            if (graph_.degree(node) == 0 || !(value < kInfinity))
                continue;
            if (value > length || (value == length && node < target)) {
                length = value;
                target = node;
            }
        }
        if (target == UFemOrderingNone)
            return -1.0;
    } else {
        length = potentials_[target];
        if (!(length < kInfinity))
            return -1.0;
    }
    for (UFemOrderingIndex node = target;; node = labels_[node]) {
        path->push_back(node);
        if (node == start)
            break;
        if (path->size() > touched_.size())
            UFemRaiseProgramError(QStringLiteral("Broken predecessor chain."));
    }
    if (!reverse)
        std::reverse(path->begin(), path->end());
    return length;
}
