#pragma once

#include <QtGlobal>

#include <array>
#include <optional>
#include <span>
#include <vector>

// The node merger's pairwise grouping for a range that cutting at gaps cannot shrink (a regular
// mesh whose spacing is within the distance), in time linear in its size. The same groups as
// comparing every pair: points taken in order, each still free point starting a group of the later
// free points within the distance of it on every axis (inclusive).
//
// Each axis is cut into cells about as wide as the distance (by division, or where the rounding
// of a division could matter, a new cell where a coordinate passes the cell's first by more than
// the distance), so that points within the distance lie in the same or neighbouring cells and the
// points of one cell are (nearly) all within it. A point's cell is all but emptied by the group it
// starts, so each cell is searched from a bounded number of its 27 neighbours' points.
class UFemToolNodeMergerCellGrouping {
public:
    using Location = std::array<double, 3>;

    struct Outcome {
        // Members by position in `locations`, ascending; groups ordered by their first member.
        std::vector<std::vector<quint64>> groups;
        // When a group would pass `maximumMembers`: its first three members, the grouping stopped.
        std::optional<std::array<quint64, 3>> overMaximum;
    };

    // `distance` must be finite and `maximumMembers` at least 2; a point with a coordinate that is
    // not finite joins no group.
    static Outcome group(
        std::span<const Location> locations, double distance, quint64 maximumMembers);
};
