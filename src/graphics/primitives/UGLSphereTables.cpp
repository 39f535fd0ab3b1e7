#include "graphics/primitives/UGLSphereTables.h"

#include "graphics/primitives/UGLVec3.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

namespace {

struct SphereTables {
    std::array<double, 12 * 3> icosahedronVertexTable {};
    std::array<double, 42 * 3> icosphere42VertexTable {};
    std::array<quint64, 240> icosphere42IndexTable {};
    std::array<quint64, 300> subdividedTriangleIndexTable {};
};

constexpr std::array<quint64, 60> icosahedronIndexTable { 0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5, 0, 5,
    1, 2, 1, 6, 3, 2, 7, 4, 3, 8, 5, 4, 9, 1, 5, 10, 6, 7, 2, 7, 8, 3, 8, 9, 4, 9, 10, 5, 10, 6, 1,
    7, 6, 11, 8, 7, 11, 9, 8, 11, 10, 9, 11, 6, 10, 11 };

// Icosahedron vertices (equal pair) and edge midpoints of the 42-vertex table, in its order.
constexpr std::array<std::pair<int, int>, 42> icosphere42Sources { { { 0, 0 }, { 0, 1 }, { 0, 2 },
    { 0, 3 }, { 0, 4 }, { 0, 5 }, { 1, 1 }, { 1, 2 }, { 2, 2 }, { 2, 3 }, { 3, 3 }, { 3, 4 },
    { 4, 4 }, { 4, 5 }, { 5, 5 }, { 5, 1 }, { 1, 6 }, { 6, 2 }, { 2, 7 }, { 7, 3 }, { 3, 8 },
    { 8, 4 }, { 4, 9 }, { 9, 5 }, { 5, 10 }, { 10, 1 }, { 6, 6 }, { 6, 7 }, { 7, 7 }, { 7, 8 },
    { 8, 8 }, { 8, 9 }, { 9, 9 }, { 9, 10 }, { 10, 10 }, { 10, 6 }, { 6, 11 }, { 7, 11 }, { 8, 11 },
    { 9, 11 }, { 10, 11 }, { 11, 11 } } };

// First vertex of each latitude row of the 42-vertex table, and the end.
constexpr std::array<quint64, 8> icosphere42RowStarts { 0, 1, 6, 16, 26, 36, 41, 42 };

void fillIcosahedronVertexTable(std::array<double, 36>& table)
{
    const double s = 1.0 / std::sqrt(5.0);
    const double c = 2.0 / std::sqrt(5.0);
    const auto put = [&](int vertex, UGLVec3 p) { p.store(table.data() + 3 * vertex); };
    const auto ring = [&](double azimuthDegrees, double z) {
        const double a = azimuthDegrees * std::numbers::pi / 180.0;
        return UGLVec3 { c * std::cos(a), c * std::sin(a), z };
    };
    put(0, { 0, 0, 1 });
    for (int k = 0; k < 5; ++k) {
        put(1 + k, ring(-90.0 + 72.0 * k, s));
        put(6 + k, ring(-54.0 + 72.0 * k, -s));
    }
    put(11, { 0, 0, -1 });
}

void fillIcosphere42VertexTable(SphereTables& tables)
{
    for (std::size_t vertex = 0; vertex < icosphere42Sources.size(); ++vertex) {
        const auto [i, j] = icosphere42Sources[vertex];
        const UGLVec3 a = UGLVec3::at(tables.icosahedronVertexTable.data() + 3 * i);
        const UGLVec3 b = UGLVec3::at(tables.icosahedronVertexTable.data() + 3 * j);
        UGLNormalized(a + b).store(tables.icosphere42VertexTable.data() + 3 * vertex);
    }
}

quint64 icosphere42Vertex(int i, int j)
{
    const auto found = std::find_if(icosphere42Sources.begin(), icosphere42Sources.end(),
        [&](auto pair) { return pair == std::pair(i, j) || pair == std::pair(j, i); });
    return quint64(found - icosphere42Sources.begin());
}

int latitudeRow(quint64 vertex)
{
    return int(std::upper_bound(icosphere42RowStarts.begin(), icosphere42RowStarts.end(), vertex)
               - icosphere42RowStarts.begin())
        - 1;
}

// Rows from the north pole; within a row the triangles with two vertices in the upper latitude
// row first; then by azimuth from -90 degrees (exclusive) on.
auto triangleOrderKey(const quint64* triangle, const std::array<double, 126>& vertices)
{
    int upperRow = 7;
    for (int k = 0; k < 3; ++k)
        upperRow = std::min(upperRow, latitudeRow(triangle[k]));
    int upperCount = 0;
    UGLVec3 centroid;
    for (int k = 0; k < 3; ++k) {
        upperCount += latitudeRow(triangle[k]) == upperRow ? 1 : 0;
        centroid = centroid + UGLVec3::at(vertices.data() + 3 * triangle[k]);
    }
    double azimuth = std::atan2(centroid.y, centroid.x) * 180.0 / std::numbers::pi;
    if (azimuth <= -90.0 + 1e-6)
        azimuth += 360.0;
    return std::tuple(upperRow, -upperCount, azimuth);
}

void fillIcosphere42IndexTable(SphereTables& tables)
{
    std::array<std::array<quint64, 3>, 80> triangles {};
    for (int face = 0; face < 20; ++face) {
        const int a = int(icosahedronIndexTable[3 * face]);
        const int b = int(icosahedronIndexTable[3 * face + 1]);
        const int c = int(icosahedronIndexTable[3 * face + 2]);
        const quint64 va = icosphere42Vertex(a, a), vb = icosphere42Vertex(b, b),
                      vc = icosphere42Vertex(c, c);
        const quint64 ab = icosphere42Vertex(a, b), bc = icosphere42Vertex(b, c),
                      ca = icosphere42Vertex(c, a);
        triangles[4 * face] = { va, ab, ca };
        triangles[4 * face + 1] = { ab, vb, bc };
        triangles[4 * face + 2] = { ca, bc, vc };
        triangles[4 * face + 3] = { ca, ab, bc };
    }
    std::sort(triangles.begin(), triangles.end(), [&](const auto& left, const auto& right) {
        return triangleOrderKey(left.data(), tables.icosphere42VertexTable)
            < triangleOrderKey(right.data(), tables.icosphere42VertexTable);
    });
    for (std::size_t t = 0; t < triangles.size(); ++t)
        std::copy(
            triangles[t].begin(), triangles[t].end(), tables.icosphere42IndexTable.begin() + 3 * t);
}

void fillSubdividedTriangleIndexTable(std::array<quint64, 300>& table)
{
    std::size_t entry = 0;
    const auto push = [&](quint64 a, quint64 b, quint64 c) {
        table[entry++] = a;
        table[entry++] = b;
        table[entry++] = c;
    };
    for (quint64 r = 0; r < UGLSubdividedTriangleMaximumLevel; ++r) {
        const quint64 s = r * (r + 1) / 2;
        const quint64 t = (r + 1) * (r + 2) / 2;
        push(s, t, t + 1);
        for (quint64 j = 1; j <= r; ++j) {
            push(s + j, s + j - 1, t + j);
            push(s + j, t + j, t + j + 1);
        }
    }
}

const SphereTables& sphereTables()
{
    static const SphereTables tables = [] {
        SphereTables made;
        fillIcosahedronVertexTable(made.icosahedronVertexTable);
        fillIcosphere42VertexTable(made);
        fillIcosphere42IndexTable(made);
        fillSubdividedTriangleIndexTable(made.subdividedTriangleIndexTable);
        return made;
    }();
    return tables;
}

} // namespace

const std::array<double, 12 * 3>& UGLIcosahedronVertexTable()
{
    return sphereTables().icosahedronVertexTable;
}

const std::array<double, 42 * 3>& UGLIcosphere42VertexTable()
{
    return sphereTables().icosphere42VertexTable;
}

const std::array<quint64, 60>& UGLIcosahedronIndexTable()
{
    return icosahedronIndexTable;
}

const std::array<quint64, 240>& UGLIcosphere42IndexTable()
{
    return sphereTables().icosphere42IndexTable;
}

const std::array<quint64, 300>& UGLSubdividedTriangleIndexTable()
{
    return sphereTables().subdividedTriangleIndexTable;
}

void UGLInitializeSphereTables()
{
    sphereTables();
}

void UGLInitializeIcosahedronVertexTable()
{
    sphereTables();
}

quint64 UGLCircleSegmentCount(
    UGLImageQuality imageQuality, double diameterInPixels, double imageResolutionPer72)
{
    double tolerance = 0.0;
    switch (imageQuality) {
    case 1:
        return UGLMinimumCircleSegmentCount;
    case 2:
        tolerance = 1.0;
        break;
    case 3:
    case 10:
        tolerance = 0.5;
        break;
    case 4:
        tolerance = 0.25;
        break;
    case 5:
        tolerance = 0.125;
        break;
    default:
        return 0;
    }
    const double radius = diameterInPixels * 0.5 * imageResolutionPer72;
    // At or below half the tolerance the arc cosine has no value: the fewest segments serve.
    if (!(radius > 0.5 * tolerance))
        return UGLMinimumCircleSegmentCount;
    const double count = std::numbers::pi / std::acos(1.0 - tolerance / radius);
    if (!(count < double(UGLMaximumCircleSegmentCount)))
        return UGLMaximumCircleSegmentCount;
    const quint64 rounded = quint64(std::lrint(count));
    return rounded <= 5 ? UGLMinimumCircleSegmentCount : rounded;
}
