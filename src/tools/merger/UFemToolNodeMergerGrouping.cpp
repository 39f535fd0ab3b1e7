// Grouping the nodes that share a location without comparing every pair: ranges of more than a
// few nodes are sorted and cut where their coordinates leave a gap, on the axes of largest extent
// first; only small ranges are compared pairwise, and a large range that no gap cuts is grouped
// through cells.

#include "tools/merger/UFemToolNodeMerger.h"

#include "cardmodel/card/UFemNodeCard.h"
#include "foundation/errors/UFemErrorsNodeMerger.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "tools/merger/UFemToolNodeMergerCellGrouping.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <new>

namespace {

constexpr quint64 LeafRangeSize = 10;
constexpr quint64 NamedMembersInError = 3;
constexpr double SplitExtentFactor = 2.0;
constexpr double ResplitSpanFactor = 3.0;
constexpr quint64 Joined = std::numeric_limits<quint64>::max();

// One selected node while grouping; `node` (its index among the nodes) is Joined once the node
// belongs to a group.
struct Record {
    quint64 selectionIndex;
    quint64 node;
    std::array<double, 3> location;
};

// Orders NaN after every number, so that sorting stays well defined.
bool isBefore(double a, double b)
{
    return std::isnan(b) ? !std::isnan(a) : a < b;
}

class Grouping {
public:
    Grouping(const UFemCardVector& nodes, double distance)
        : nodes_(nodes)
        , distance_(distance)
    {
    }

    [[nodiscard]] std::optional<std::vector<UFemToolNodeMerger::NodeGroup>> run(UErrorPtr* error)
    {
        records_.reserve(nodes_.size());
        for (quint64 n = 0; n < nodes_.size(); ++n) {
            Record record { n, n, {} };
            dynamic_cast<const UFemNodeCard&>(*nodes_[n]).getNodeLocation(record.location.data());
            records_.push_back(record);
        }
        const std::vector<int> axes = splitAxes();
        const bool succeeded = axes.empty() ? leaf(0, records_.size(), error)
                                            : split(0, records_.size(), axes, 0, error);
        if (!succeeded)
            return std::nullopt;
        std::sort(groups_.begin(), groups_.end(),
            [](const auto& a, const auto& b) { return a.front() < b.front(); });
        std::vector<UFemToolNodeMerger::NodeGroup> groups;
        groups.reserve(groups_.size());
        for (const std::vector<quint64>& members : groups_) {
            UFemToolNodeMerger::NodeGroup& group = groups.emplace_back();
            for (quint64 member : members)
                group.push_back(nodes_[member]);
        }
        return groups;
    }

private:
    // The axes by extent, largest first (the lower axis first on a tie), up to the first whose
    // extent is below twice the distance.
    std::vector<int> splitAxes() const
    {
        std::array<double, 3> low {}, high {};
        low.fill(std::numeric_limits<double>::infinity());
        high.fill(-std::numeric_limits<double>::infinity());
        for (const Record& record : records_) {
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], record.location[axis]);
                high[axis] = std::max(high[axis], record.location[axis]);
            }
        }
        std::array<double, 3> extent {};
        for (int axis = 0; axis < 3; ++axis)
            extent[axis] = high[axis] >= low[axis] ? high[axis] - low[axis] : 0.0;
        std::vector<int> axes = { 0, 1, 2 };
        std::stable_sort(
            axes.begin(), axes.end(), [&extent](int a, int b) { return extent[a] > extent[b]; });
        const auto cut = std::find_if(axes.begin(), axes.end(),
            [&](int axis) { return !(extent[axis] >= SplitExtentFactor * distance_); });
        axes.erase(cut, axes.end());
        return axes;
    }

    [[nodiscard]] bool split(quint64 start, quint64 count, const std::vector<int>& axes,
        std::size_t position, UErrorPtr* error)
    {
        if (count <= 1)
            return true;
        if (count <= LeafRangeSize)
            return leaf(start, count, error);
        const int axis = axes[position];
        const auto first = records_.begin() + qsizetype(start);
        std::sort(first, first + qsizetype(count), [axis](const Record& a, const Record& b) {
            return isBefore(a.location[axis], b.location[axis]);
        });
        quint64 runStart = start;
        for (quint64 k = start + 1; k <= start + count; ++k) {
            if (k < start + count
                && !(records_[k].location[axis] - records_[k - 1].location[axis] > distance_))
                continue;
            if (!splitRun(runStart, k - runStart, axes, position, error))
                return false;
            runStart = k;
        }
        return true;
    }

    [[nodiscard]] bool splitRun(quint64 start, quint64 count, const std::vector<int>& axes,
        std::size_t position, UErrorPtr* error)
    {
        if (count == 1)
            return true;
        if (count <= LeafRangeSize || position + 1 >= axes.size())
            return leaf(start, count, error);
        const int axis = axes[position];
        const double span
            = records_[start + count - 1].location[axis] - records_[start].location[axis];
        if (position == 0 && span > ResplitSpanFactor * distance_) {
            // A long run is cut on the other axes and then once more on this one.
            std::vector<int> again = axes;
            again.push_back(axis);
            return split(start, count, again, position + 1, error);
        }
        return split(start, count, axes, position + 1, error);
    }

    bool isWithinDistance(const Record& a, const Record& b) const
    {
        for (int axis = 0; axis < 3; ++axis) {
            if (!(std::abs(a.location[axis] - b.location[axis]) <= distance_))
                return false;
        }
        return true;
    }

    [[nodiscard]] bool leaf(quint64 start, quint64 count, UErrorPtr* error)
    {
        const auto first = records_.begin() + qsizetype(start);
        const auto last = first + qsizetype(count);
        std::sort(first, last,
            [](const Record& a, const Record& b) { return a.selectionIndex < b.selectionIndex; });
        if (count > LeafRangeSize && std::isfinite(distance_))
            return cellLeaf(start, count, error);
        for (auto r = first; r != last; ++r) {
            if (r->node == Joined)
                continue;
            std::vector<quint64> group = { r->node };
            for (auto q = r + 1; q != last; ++q) {
                if (q->node == Joined || !isWithinDistance(*r, *q))
                    continue;
                if (group.size() == UFemToolNodeMerger::maximumNodeCountOnSameLocation)
                    return failOverMaximum(group, error);
                group.push_back(q->node);
                q->node = Joined;
            }
            r->node = Joined;
            if (group.size() >= 2)
                groups_.push_back(std::move(group));
        }
        return true;
    }

    // The same groups as the pairwise leaf, without its time growing with the square of the count.
    [[nodiscard]] bool cellLeaf(quint64 start, quint64 count, UErrorPtr* error)
    {
        std::vector<UFemToolNodeMergerCellGrouping::Location> locations;
        locations.reserve(count);
        for (quint64 k = start; k < start + count; ++k)
            locations.push_back(records_[k].location);
        const UFemToolNodeMergerCellGrouping::Outcome outcome
            = UFemToolNodeMergerCellGrouping::group(
                locations, distance_, UFemToolNodeMerger::maximumNodeCountOnSameLocation);
        const auto nodeAt = [&](quint64 position) { return records_[start + position].node; };
        if (outcome.overMaximum) {
            std::vector<quint64> members;
            for (quint64 position : *outcome.overMaximum)
                members.push_back(nodeAt(position));
            return failOverMaximum(members, error);
        }
        for (const std::vector<quint64>& positions : outcome.groups) {
            std::vector<quint64>& group = groups_.emplace_back();
            group.reserve(positions.size());
            for (quint64 position : positions)
                group.push_back(nodeAt(position));
        }
        return true;
    }

    [[nodiscard]] bool failOverMaximum(const std::vector<quint64>& group, UErrorPtr* error) const
    {
        QStringList names;
        for (quint64 k = 0; k < NamedMembersInError; ++k)
            names.append(nodes_[group[k]]->cardNameString().value_or(QString()));
        UFemSetError(error,
            UFemToolNodeMergerNodeCountOnSameLocationOverMaxCountErrorWithMaxCount(
                UFemToolNodeMerger::maximumNodeCountOnSameLocation, distance_, names));
        return false;
    }

    const UFemCardVector& nodes_;
    double distance_;
    std::vector<Record> records_;
    // Members by node index, first member first.
    std::vector<std::vector<quint64>> groups_;
};

} // namespace

std::optional<std::vector<UFemToolNodeMerger::NodeGroup>>
UFemToolNodeMerger::nodeCardListArrayOnSameLocation(
    const UFemCardVector& targetNodeArray, double nodeMergeDistance, UErrorPtr* error)
{
    if (targetNodeArray.size() < 2)
        return std::nullopt;
    try {
        return Grouping(targetNodeArray, nodeMergeDistance).run(error);
    } catch (const std::bad_alloc&) {
        UFemSetError(error, UFemMallocFailedError());
        return std::nullopt;
    }
}
