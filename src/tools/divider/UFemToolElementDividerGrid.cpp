// The dividing node generator: regular grids of named points on an edge, a face or a brick.
// A point on an edge or face gets its name from the names of that edge's or face's corners in a
// canonical order, so every element sharing the edge or face names the point alike.

#include "tools/divider/UFemToolElementDivider.h"

#include "foundation/errors/UFemErrorsOther.h"

#include <vector>

namespace {

using NodeLocation = UFemToolElementDivider::NodeLocation;

constexpr quint64 QuadCorners = 4;
constexpr quint64 HexaCorners = 8;

bool fail(UErrorPtr* error, UErrorPtr made)
{
    UFemSetError(error, std::move(made));
    return false;
}

[[nodiscard]] bool failSameNames(UErrorPtr* error)
{
    return fail(error,
        UFemUnexpectedError_withDescription(
            QStringLiteral("The name of two nodes are same in an element.")));
}

int digitsOf(quint64 value)
{
    int digits = 1;
    for (; value >= 10; value /= 10)
        ++digits;
    return digits;
}

quint64 powerOfTen(int exponent)
{
    quint64 power = 1;
    for (int n = 0; n < exponent; ++n)
        power *= 10;
    return power;
}

QString padded(quint64 value, int width)
{
    return QString::number(value).rightJustified(width, QLatin1Char('0'));
}

// The suffix of a grid point: "_", N in w digits and the point's index in `width` digits.
QString pointSuffix(quint64 numberOfDivide, int w, quint64 index, int width)
{
    return QLatin1Char('_') + padded(numberOfDivide, w) + padded(index, width);
}

// The corner with the smallest name; among equal names the highest-numbered one.
quint64 smallestNamedCorner(std::span<const QString> names)
{
    quint64 smallest = 0;
    for (quint64 n = 1; n < names.size(); ++n) {
        if (!(names[smallest] < names[n]))
            smallest = n;
    }
    return smallest;
}

QString joinedNames(std::span<const QString> names, std::span<const quint64> order)
{
    QString joined;
    for (quint64 corner : order) {
        if (!joined.isEmpty())
            joined += QLatin1Char('_');
        joined += names[corner];
    }
    return joined;
}

void blend(
    NodeLocation& location, std::span<const NodeLocation> corners, std::span<const double> weights)
{
    location = { 0.0, 0.0, 0.0 };
    for (quint64 n = 0; n < corners.size(); ++n) {
        for (int axis = 0; axis < 3; ++axis)
            location[axis] += weights[n] * corners[n][axis];
    }
}

struct Grid {
    std::span<QString> names;
    std::span<NodeLocation> locations;
    quint64 numberOfDivide;
    qint32 namingOption;
    int w;
};

[[nodiscard]] bool generateLine(const Grid& grid, const QString& name0, const QString& name1,
    const NodeLocation& p0, const NodeLocation& p1, UErrorPtr* error)
{
    const quint64 n = grid.numberOfDivide;
    grid.names[0] = name0;
    grid.locations[0] = p0;
    grid.names[n] = name1;
    grid.locations[n] = p1;
    for (quint64 t = 1; t < n; ++t) {
        const double f = double(t) / double(n);
        for (int axis = 0; axis < 3; ++axis)
            grid.locations[t][axis] = (1.0 - f) * p0[axis] + f * p1[axis];
    }
    if (grid.namingOption != 0)
        return true;
    if (name0 == name1)
        return failSameNames(error);
    const bool isForward = name0 < name1;
    const QString base
        = isForward ? name0 + QLatin1Char('_') + name1 : name1 + QLatin1Char('_') + name0;
    for (quint64 t = 1; t < n; ++t)
        grid.names[t] = base + pointSuffix(n, grid.w, isForward ? t : n - t, grid.w);
    return true;
}

// Generates the line from corner a to corner b into scratch and copies its inner points to
// `index(t)` of the grid.
template <typename Index>
[[nodiscard]] bool fillSideLine(const Grid& grid, std::span<const QString> names,
    std::span<const NodeLocation> corners, quint64 a, quint64 b, Index index, UErrorPtr* error)
{
    const quint64 n = grid.numberOfDivide;
    std::vector<QString> lineNames(n + 1);
    std::vector<NodeLocation> lineLocations(n + 1);
    const Grid line { lineNames, lineLocations, n, grid.namingOption, grid.w };
    if (!generateLine(line, names[a], names[b], corners[a], corners[b], error))
        return false;
    for (quint64 t = 1; t < n; ++t) {
        grid.names[index(t)] = std::move(lineNames[t]);
        grid.locations[index(t)] = lineLocations[t];
    }
    return true;
}

// Quad corners in (row, column) units of N: P0 (0,0), P1 (0,N), P2 (N,N), P3 (N,0).
constexpr quint64 QuadCornerRow[QuadCorners] = { 0, 0, 1, 1 };
constexpr quint64 QuadCornerColumn[QuadCorners] = { 0, 1, 1, 0 };

quint64 stepsFrom(quint64 cornerUnit, quint64 coordinate, quint64 n)
{
    return cornerUnit == 0 ? coordinate : n - coordinate;
}

[[nodiscard]] bool generateQuad(const Grid& grid, std::span<const QString> names,
    std::span<const NodeLocation> corners, UErrorPtr* error)
{
    const quint64 n = grid.numberOfDivide;
    const quint64 row = n + 1;
    const auto rowSpan = [&grid, row](quint64 i) {
        return Grid { grid.names.subspan(i * row, row), grid.locations.subspan(i * row, row),
            grid.numberOfDivide, grid.namingOption, grid.w };
    };
    if (!generateLine(rowSpan(0), names[0], names[1], corners[0], corners[1], error)
        || !generateLine(rowSpan(n), names[3], names[2], corners[3], corners[2], error)
        || !fillSideLine(
            grid, names, corners, 1, 2, [row, n](quint64 t) { return t * row + n; }, error)
        || !fillSideLine(
            grid, names, corners, 0, 3, [row](quint64 t) { return t * row; }, error))
        return false;

    const quint64 c0 = smallestNamedCorner(names);
    const quint64 previous = (c0 + QuadCorners - 1) % QuadCorners;
    const quint64 next = (c0 + 1) % QuadCorners;
    const quint64 c1 = names[previous] < names[next] ? previous : next;
    const quint64 c3 = c1 == previous ? next : previous;
    const quint64 order[QuadCorners] = { c0, c1, (c0 + 2) % QuadCorners, c3 };
    const QString base = joinedNames(names, order);
    // c1 lies from c0 along the rows or along the columns; c3 along the other.
    const bool c1AlongColumns = QuadCornerRow[c1] == QuadCornerRow[c0];
    const quint64 bWeight = powerOfTen(grid.w);
    for (quint64 i = 1; i < n; ++i) {
        for (quint64 j = 1; j < n; ++j) {
            const double s = double(i) / double(n);
            const double r = double(j) / double(n);
            const double weights[QuadCorners]
                = { (1 - s) * (1 - r), (1 - s) * r, s * r, s * (1 - r) };
            blend(grid.locations[i * row + j], corners, weights);
            if (grid.namingOption != 0)
                continue;
            const quint64 alongRows = stepsFrom(QuadCornerRow[c0], i, n);
            const quint64 alongColumns = stepsFrom(QuadCornerColumn[c0], j, n);
            const quint64 a = c1AlongColumns ? alongColumns : alongRows;
            const quint64 b = c1AlongColumns ? alongRows : alongColumns;
            grid.names[i * row + j] = base + pointSuffix(n, grid.w, a + bWeight * b, 2 * grid.w);
        }
    }
    return true;
}

// Hexa corners as bits of (layer, row, column): P0 000, P1 001, P2 011, P3 010, P4 100, P5 101,
// P6 111, P7 110.
constexpr quint64 LayerBit = 4;
constexpr quint64 RowBit = 2;
constexpr quint64 HexaCornerBits[HexaCorners] = { 0, 1, 3, 2, 4, 5, 7, 6 };
constexpr quint64 HexaNeighbourTriples[HexaCorners][3] = { { 1, 3, 4 }, { 2, 0, 5 }, { 3, 1, 6 },
    { 0, 2, 7 }, { 7, 5, 0 }, { 4, 6, 1 }, { 5, 7, 2 }, { 6, 4, 3 } };

quint64 hexaCornerWithBits(quint64 bits)
{
    for (quint64 n = 0; n < HexaCorners; ++n) {
        if (HexaCornerBits[n] == bits)
            return n;
    }
    return 0;
}

// The canonical corner order c0..c7 of a brick from its corner names.
std::array<quint64, HexaCorners> hexaCanonicalOrder(std::span<const QString> names)
{
    const quint64 c0 = smallestNamedCorner(names);
    const quint64* triple = HexaNeighbourTriples[c0];
    quint64 winner = names[triple[0]] < names[triple[1]] ? 0 : 1;
    if (!(names[triple[winner]] < names[triple[2]]))
        winner = 2;
    const quint64 e1 = HexaCornerBits[triple[winner]] ^ HexaCornerBits[c0];
    const quint64 e2 = HexaCornerBits[triple[(winner + 1) % 3]] ^ HexaCornerBits[c0];
    const quint64 e3 = HexaCornerBits[triple[(winner + 2) % 3]] ^ HexaCornerBits[c0];
    const quint64 bits = HexaCornerBits[c0];
    const quint64 offsets[HexaCorners] = { 0, e1, e1 | e2, e2, e3, e1 | e3, e1 | e2 | e3, e2 | e3 };
    std::array<quint64, HexaCorners> order {};
    for (quint64 n = 0; n < HexaCorners; ++n)
        order[n] = hexaCornerWithBits(bits ^ offsets[n]);
    return order;
}

quint64 stepsAlong(quint64 axisBit, quint64 cornerBits, const quint64 point[3], quint64 n)
{
    const int axis = axisBit == LayerBit ? 0 : (axisBit == RowBit ? 1 : 2);
    return stepsFrom(cornerBits & axisBit, point[axis], n);
}

struct HexaFace {
    quint64 corners[QuadCorners];
};

[[nodiscard]] bool generateHexa(const Grid& grid, std::span<const QString> names,
    std::span<const NodeLocation> corners, UErrorPtr* error)
{
    const quint64 n = grid.numberOfDivide;
    const quint64 row = n + 1;
    const quint64 layer = row * row;
    const auto index
        = [row, layer](quint64 k, quint64 i, quint64 j) { return k * layer + i * row + j; };
    std::vector<QString> faceNames(layer);
    std::vector<NodeLocation> faceLocations(layer);
    const Grid face { faceNames, faceLocations, n, grid.namingOption, grid.w };
    // Generates the face of the four corners and copies the points passing `take` to `to`.
    const auto fillFace = [&](const HexaFace& corner, auto take, auto to) {
        QString faceCornerNames[QuadCorners];
        NodeLocation faceCorners[QuadCorners];
        for (quint64 c = 0; c < QuadCorners; ++c) {
            faceCornerNames[c] = names[corner.corners[c]];
            faceCorners[c] = corners[corner.corners[c]];
        }
        std::fill(faceNames.begin(), faceNames.end(), QString());
        if (!generateQuad(face, faceCornerNames, faceCorners, error))
            return false;
        for (quint64 r = 0; r <= n; ++r) {
            for (quint64 c = 0; c <= n; ++c) {
                if (take(r, c)) {
                    grid.names[to(r, c)] = std::move(faceNames[r * row + c]);
                    grid.locations[to(r, c)] = faceLocations[r * row + c];
                }
            }
        }
        return true;
    };
    const auto all = [](quint64, quint64) { return true; };
    const auto innerRows = [n](quint64 r, quint64) { return r > 0 && r < n; };
    const auto innerBoth = [n](quint64 r, quint64 c) { return r > 0 && r < n && c > 0 && c < n; };
    if (!fillFace({ { 0, 1, 2, 3 } }, all, [&](quint64 r, quint64 c) { return index(0, r, c); })
        || !fillFace({ { 4, 5, 6, 7 } }, all, [&](quint64 r, quint64 c) { return index(n, r, c); })
        || !fillFace(
            { { 0, 1, 5, 4 } }, innerRows, [&](quint64 r, quint64 c) { return index(r, 0, c); })
        || !fillFace(
            { { 3, 2, 6, 7 } }, innerRows, [&](quint64 r, quint64 c) { return index(r, n, c); })
        || !fillFace(
            { { 0, 3, 7, 4 } }, innerBoth, [&](quint64 r, quint64 c) { return index(r, c, 0); })
        || !fillFace(
            { { 1, 2, 6, 5 } }, innerBoth, [&](quint64 r, quint64 c) { return index(r, c, n); }))
        return false;

    const std::array<quint64, HexaCorners> order = hexaCanonicalOrder(names);
    const QString base = joinedNames(names, order);
    const quint64 c0Bits = HexaCornerBits[order[0]];
    const quint64 axisA = HexaCornerBits[order[1]] ^ c0Bits;
    const quint64 axisB = HexaCornerBits[order[3]] ^ c0Bits;
    const quint64 axisC = HexaCornerBits[order[4]] ^ c0Bits;
    const quint64 bWeight = powerOfTen(grid.w);
    const quint64 cWeight = bWeight * bWeight;
    for (quint64 k = 1; k < n; ++k) {
        for (quint64 i = 1; i < n; ++i) {
            for (quint64 j = 1; j < n; ++j) {
                const double s = double(k) / double(n);
                const double t = double(i) / double(n);
                const double r = double(j) / double(n);
                const double weights[HexaCorners] = { (1 - s) * (1 - t) * (1 - r),
                    (1 - s) * (1 - t) * r, (1 - s) * t * r, (1 - s) * t * (1 - r),
                    s * (1 - t) * (1 - r), s * (1 - t) * r, s * t * r, s * t * (1 - r) };
                blend(grid.locations[index(k, i, j)], corners, weights);
                if (grid.namingOption != 0)
                    continue;
                const quint64 point[3] = { k, i, j };
                const quint64 code = stepsAlong(axisA, c0Bits, point, n)
                    + bWeight * stepsAlong(axisB, c0Bits, point, n)
                    + cWeight * stepsAlong(axisC, c0Bits, point, n);
                grid.names[index(k, i, j)] = base + pointSuffix(n, grid.w, code, 3 * grid.w);
            }
        }
    }
    return true;
}

quint64 numberOfCorners(ElementDividerObjectType objectType)
{
    switch (objectType) {
    case UFemToolElementDividerLine2ObjectType:
        return 2;
    case UFemToolElementDividerQuad4ObjectType:
        return QuadCorners;
    case UFemToolElementDividerHexa8ObjectType:
        return HexaCorners;
    default:
        return 0;
    }
}

} // namespace

quint64 UFemToolElementDivider::numberOfGridPoints(
    ElementDividerObjectType objectType, quint64 numberOfDivide)
{
    const quint64 side = numberOfDivide + 1;
    switch (objectType) {
    case UFemToolElementDividerLine2ObjectType:
        return side;
    case UFemToolElementDividerQuad4ObjectType:
        return side * side;
    case UFemToolElementDividerHexa8ObjectType:
        return side * side * side;
    default:
        return 0;
    }
}

bool UFemToolElementDivider::getDividingNode(std::span<QString> nodeNameStringTable,
    std::span<NodeLocation> nodeLocationTable, ElementDividerObjectType objectType,
    std::span<const QString> originalNodeNameStringTable,
    std::span<const NodeLocation> originalNodeLocationTable, quint64 numberOfDivide,
    qint32 namingOption, UErrorPtr* error)
{
    std::fill(nodeNameStringTable.begin(), nodeNameStringTable.end(), QString());
    std::fill(nodeLocationTable.begin(), nodeLocationTable.end(), NodeLocation {});
    if (numberOfDivide == 0)
        return fail(error,
            UFemFewChanceError_withDescription(
                QStringLiteral("aNumOfDivide is less than 1."), QString()));
    if (numberOfDivide > maximumNumberOfDivide)
        return fail(error,
            UFemFewChanceError_withDescription(
                QStringLiteral("aNumOfDivide is too big."), QString()));
    if (objectType == UFemToolElementDividerTria3ObjectType)
        return fail(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("UFemToolElementDividerTria3ObjectType is not implemented yet.")));
    if (objectType == UFemToolElementDividerTetra4ObjectType)
        return fail(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("UFemToolElementDividerTetra4ObjectType is not implemented yet.")));
    const quint64 corners = numberOfCorners(objectType);
    if (corners == 0)
        return fail(error,
            UFemUnexpectedError_withDescription(
                QStringLiteral("Unexpected ElementDividerObjectType : %1")
                    .arg(quint32(objectType))));
    const quint64 points = numberOfGridPoints(objectType, numberOfDivide);
    if (nodeNameStringTable.size() != points || nodeLocationTable.size() != points
        || originalNodeNameStringTable.size() != corners
        || originalNodeLocationTable.size() != corners)
        UFemRaiseProgramError(QStringLiteral("The dividing node tables do not fit the grid."));

    const Grid grid { nodeNameStringTable, nodeLocationTable, numberOfDivide, namingOption,
        digitsOf(numberOfDivide) };
    switch (objectType) {
    case UFemToolElementDividerLine2ObjectType:
        return generateLine(grid, originalNodeNameStringTable[0], originalNodeNameStringTable[1],
            originalNodeLocationTable[0], originalNodeLocationTable[1], error);
    case UFemToolElementDividerQuad4ObjectType:
        return generateQuad(grid, originalNodeNameStringTable, originalNodeLocationTable, error);
    default:
        return generateHexa(grid, originalNodeNameStringTable, originalNodeLocationTable, error);
    }
}
