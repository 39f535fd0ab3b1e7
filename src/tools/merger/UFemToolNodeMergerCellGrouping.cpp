#include "tools/merger/UFemToolNodeMergerCellGrouping.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace {

using Location = UFemToolNodeMergerCellGrouping::Location;
// Cell numbers per axis, from 1 so that every cell has a lower neighbour number.
using Cell = std::array<quint64, 3>;

struct CellHash {
    std::size_t operator()(const Cell& cell) const noexcept
    {
        constexpr quint64 mixX = 0x9E3779B97F4A7C15ULL;
        constexpr quint64 mixY = 0xC2B2AE3D27D4EB4FULL;
        constexpr quint64 mixZ = 0x165667B19E3779F9ULL;
        const quint64 mixed = cell[0] * mixX ^ cell[1] * mixY ^ cell[2] * mixZ;
        return std::size_t(mixed ^ (mixed >> 29));
    }
};

bool isFinite(const Location& location)
{
    return std::ranges::all_of(location, [](double value) { return std::isfinite(value); });
}

// The pairwise leaf's test, to the rounding.
bool isWithinDistance(const Location& a, const Location& b, double distance)
{
    for (int axis = 0; axis < 3; ++axis) {
        if (!(std::abs(a[axis] - b[axis]) <= distance))
            return false;
    }
    return true;
}

class CellTable {
public:
    CellTable(
        std::span<const Location> locations, const std::vector<quint64>& points, double distance)
        : cells_(locations.size())
    {
        std::vector<quint64> order = points;
        for (int axis = 0; axis < 3; ++axis)
            numberAxis(locations, order, axis, distance);
        members_ = points;
        std::ranges::sort(members_, [this](quint64 a, quint64 b) { return cells_[a] < cells_[b]; });
        ranges_.reserve(members_.size());
        for (quint64 begin = 0; begin < members_.size();) {
            quint64 end = begin + 1;
            while (end < members_.size() && cells_[members_[end]] == cells_[members_[begin]])
                ++end;
            ranges_.emplace(cells_[members_[begin]], std::pair { begin, end });
            begin = end;
        }
    }

    // Calls `visit` with every point of the point's cell and of the 26 around it.
    template <typename Visit> void forEachNeighbour(quint64 point, Visit visit) const
    {
        const Cell& centre = cells_[point];
        Cell cell {};
        for (cell[0] = centre[0] - 1; cell[0] <= centre[0] + 1; ++cell[0]) {
            for (cell[1] = centre[1] - 1; cell[1] <= centre[1] + 1; ++cell[1]) {
                for (cell[2] = centre[2] - 1; cell[2] <= centre[2] + 1; ++cell[2]) {
                    const auto found = ranges_.find(cell);
                    if (found == ranges_.end())
                        continue;
                    for (quint64 k = found->second.first; k < found->second.second; ++k)
                        visit(members_[k]);
                }
            }
        }
    }

private:
    void numberAxis(
        std::span<const Location> locations, std::vector<quint64>& order, int axis, double distance)
    {
        std::ranges::sort(
            order, [&](quint64 a, quint64 b) { return locations[a][axis] < locations[b][axis]; });
        quint64 cell = 1;
        double cellStart = order.empty() ? 0.0 : locations[order.front()][axis];
        for (quint64 point : order) {
            const double coordinate = locations[point][axis];
            if (coordinate - cellStart > distance) {
                ++cell;
                cellStart = coordinate;
            }
            cells_[point][axis] = cell;
        }
    }

    std::vector<Cell> cells_;
    // The points ordered by cell, and each cell's run of them.
    std::vector<quint64> members_;
    std::unordered_map<Cell, std::pair<quint64, quint64>, CellHash> ranges_;
};

} // namespace

UFemToolNodeMergerCellGrouping::Outcome UFemToolNodeMergerCellGrouping::group(
    std::span<const Location> locations, double distance, quint64 maximumMembers)
{
    std::vector<quint64> points;
    points.reserve(locations.size());
    for (quint64 p = 0; p < locations.size(); ++p) {
        if (isFinite(locations[p]))
            points.push_back(p);
    }
    const CellTable table(locations, points, distance);
    std::vector<char> joined(locations.size(), 0);
    Outcome outcome;
    std::vector<quint64> partners;
    for (quint64 first : points) {
        if (joined[first])
            continue;
        joined[first] = 1;
        partners.clear();
        table.forEachNeighbour(first, [&](quint64 point) {
            if (!joined[point] && isWithinDistance(locations[first], locations[point], distance))
                partners.push_back(point);
        });
        if (partners.empty())
            continue;
        std::ranges::sort(partners);
        if (partners.size() + 1 > maximumMembers) {
            outcome.overMaximum = { first, partners[0], partners[1] };
            return outcome;
        }
        std::vector<quint64>& members = outcome.groups.emplace_back();
        members.reserve(partners.size() + 1);
        members.push_back(first);
        for (quint64 partner : partners) {
            members.push_back(partner);
            joined[partner] = 1;
        }
    }
    return outcome;
}
