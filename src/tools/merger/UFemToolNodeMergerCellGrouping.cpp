#include "tools/merger/UFemToolNodeMergerCellGrouping.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace {

using Location = UFemToolNodeMergerCellGrouping::Location;
// Cell numbers per axis, from 0. No border of empty cells: around a line it would be nine cells a
// point, and the table of every cell would give way to the slower hashed one.
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
        const double cellCount
            = double(cellCounts_[0]) * double(cellCounts_[1]) * double(cellCounts_[2]);
        if (cellCount <= DenseCellsPerPoint * double(points.size()) + DenseCellsAlways)
            fillDense(points, std::size_t(cellCount));
        else
            fillHashed(points);
    }

    // Calls `visit` with every point of the point's cell and of the (up to) 26 around it.
    template <typename Visit> void forEachNeighbour(quint64 point, Visit visit) const
    {
        const Cell& centre = cells_[point];
        Cell low {};
        Cell high {};
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = centre[axis] == 0 ? 0 : centre[axis] - 1;
            high[axis] = std::min(centre[axis] + 1, cellCounts_[axis] - 1);
        }
        Cell cell {};
        for (cell[0] = low[0]; cell[0] <= high[0]; ++cell[0]) {
            for (cell[1] = low[1]; cell[1] <= high[1]; ++cell[1]) {
                for (cell[2] = low[2]; cell[2] <= high[2]; ++cell[2]) {
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
    // Cells a hair wider than the distance can be numbered by division, without a sort: points
    // within the distance still fall in neighbouring cells while the rounding of the quotients
    // stays far below the widening, that is for fewer than MaximumDividedCells on an axis.
    static constexpr double CellWidening = 1e-6;
    static constexpr double MaximumDividedCells = 1e9;

    // Numbers the cells of one axis from 0; answers how many there are.
    quint64 numberAxis(std::span<const Location> locations, const std::vector<quint64>& points,
        int axis, double distance)
    {
        double low = std::numeric_limits<double>::infinity();
        double high = -low;
        for (quint64 point : points) {
            low = std::min(low, locations[point][axis]);
            high = std::max(high, locations[point][axis]);
        }
        const double width = distance * (1.0 + CellWidening);
        if (distance > 0.0 && (high - low) / width < MaximumDividedCells) {
            for (quint64 point : points)
                cells_[point][axis] = quint64((locations[point][axis] - low) / width);
            return points.empty() ? 1 : 1 + quint64((high - low) / width);
        }
        return numberAxisInOrder(locations, points, axis, distance);
    }

    // A new cell where a coordinate passes the cell's first by more than the distance.
    quint64 numberAxisInOrder(std::span<const Location> locations,
        const std::vector<quint64>& points, int axis, double distance)
    {
        std::vector<std::pair<double, quint64>> order;
        order.reserve(points.size());
        for (quint64 point : points)
            order.emplace_back(locations[point][axis], point);
        std::ranges::sort(order);
        quint64 cell = 0;
        double cellStart = order.empty() ? 0.0 : order.front().first;
        for (const auto& [coordinate, point] : order) {
            if (coordinate - cellStart > distance) {
                ++cell;
                cellStart = coordinate;
            }
            cells_[point][axis] = cell;
        }
        return cell + 1;
    }

    // Members counted into their cells' places: no sort.
    void fillDense(const std::vector<quint64>& points, std::size_t cellCount)
    {
        isDense_ = true;
        denseStarts_.assign(cellCount + 1, 0);
        for (quint64 point : points)
            ++denseStarts_[denseIndex(cells_[point]) + 1];
        std::partial_sum(denseStarts_.begin(), denseStarts_.end(), denseStarts_.begin());
        std::vector<quint64> next(denseStarts_.begin(), denseStarts_.end() - 1);
        members_.resize(points.size());
        for (quint64 point : points)
            members_[next[denseIndex(cells_[point])]++] = point;
    }

    void fillHashed(const std::vector<quint64>& points)
    {
        std::vector<std::pair<Cell, quint64>> byCell;
        byCell.reserve(points.size());
        for (quint64 point : points)
            byCell.emplace_back(cells_[point], point);
        std::ranges::sort(byCell);
        members_.reserve(byCell.size());
        for (const auto& [cell, point] : byCell)
            members_.push_back(point);
        for (quint64 begin = 0; begin < byCell.size();) {
            quint64 end = begin + 1;
            while (end < byCell.size() && byCell[end].first == byCell[begin].first)
                ++end;
            ranges_.emplace(byCell[begin].first, std::pair { begin, end });
            begin = end;
        }
    }

    std::size_t denseIndex(const Cell& cell) const
    {
        return std::size_t((cell[0] * cellCounts_[1] + cell[1]) * cellCounts_[2] + cell[2]);
    }

    std::pair<quint64, quint64> rangeOf(const Cell& cell) const
    {
        if (isDense_) {
            const std::size_t index = denseIndex(cell);
            return { denseStarts_[index], denseStarts_[index + 1] };
        }
        const auto found = ranges_.find(cell);
        return found == ranges_.end() ? std::pair<quint64, quint64> { 0, 0 } : found->second;
    }

    std::vector<Cell> cells_;
    std::array<quint64, 3> cellCounts_ {};
    // The points ordered by cell, and where each cell's run of them starts.
    std::vector<quint64> members_;
    bool isDense_ = false;
    std::vector<quint64> denseStarts_;
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
