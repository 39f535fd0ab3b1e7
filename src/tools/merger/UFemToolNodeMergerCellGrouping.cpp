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
        for (int axis = 0; axis < 3; ++axis)
            cellCounts_[axis] = numberAxis(locations, points, axis, distance);
        std::vector<std::pair<Cell, quint64>> byCell;
        byCell.reserve(points.size());
        for (quint64 point : points)
            byCell.emplace_back(cells_[point], point);
        std::ranges::sort(byCell);
        members_.reserve(byCell.size());
        for (const auto& [cell, point] : byCell)
            members_.push_back(point);
        const double cellCount
            = double(cellCounts_[0] + 2) * double(cellCounts_[1] + 2) * double(cellCounts_[2] + 2);
        isDense_ = cellCount <= DenseCellsPerPoint * double(points.size()) + DenseCellsAlways;
        if (isDense_)
            denseRanges_.assign(std::size_t(cellCount), { 0, 0 });
        for (quint64 begin = 0; begin < byCell.size();) {
            quint64 end = begin + 1;
            while (end < byCell.size() && byCell[end].first == byCell[begin].first)
                ++end;
            if (isDense_)
                denseRanges_[denseIndex(byCell[begin].first)] = { begin, end };
            else
                ranges_.emplace(byCell[begin].first, std::pair { begin, end });
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
                    const auto [begin, end] = rangeOf(cell);
                    for (quint64 k = begin; k < end; ++k)
                        visit(members_[k]);
                }
            }
        }
    }

private:
    // Cells are looked up in a table of every cell while it is at most this many per point.
    static constexpr double DenseCellsPerPoint = 8.0;
    static constexpr double DenseCellsAlways = 4096.0;

    // Numbers the cells of one axis from 1; answers how many there are.
    quint64 numberAxis(std::span<const Location> locations, const std::vector<quint64>& points,
        int axis, double distance)
    {
        std::vector<std::pair<double, quint64>> order;
        order.reserve(points.size());
        for (quint64 point : points)
            order.emplace_back(locations[point][axis], point);
        std::ranges::sort(order);
        quint64 cell = 1;
        double cellStart = order.empty() ? 0.0 : order.front().first;
        for (const auto& [coordinate, point] : order) {
            if (coordinate - cellStart > distance) {
                ++cell;
                cellStart = coordinate;
            }
            cells_[point][axis] = cell;
        }
        return cell;
    }

    // Cells run from 0 to count + 1 on each axis, the outer ones empty.
    std::size_t denseIndex(const Cell& cell) const
    {
        return std::size_t(
            (cell[0] * (cellCounts_[1] + 2) + cell[1]) * (cellCounts_[2] + 2) + cell[2]);
    }

    std::pair<quint64, quint64> rangeOf(const Cell& cell) const
    {
        if (isDense_)
            return denseRanges_[denseIndex(cell)];
        const auto found = ranges_.find(cell);
        return found == ranges_.end() ? std::pair<quint64, quint64> { 0, 0 } : found->second;
    }

    std::vector<Cell> cells_;
    std::array<quint64, 3> cellCounts_ {};
    // The points ordered by cell, and each cell's run of them.
    std::vector<quint64> members_;
    bool isDense_ = false;
    std::vector<std::pair<quint64, quint64>> denseRanges_;
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
