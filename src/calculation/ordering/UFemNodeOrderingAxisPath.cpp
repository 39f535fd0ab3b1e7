#include "calculation/ordering/UFemNodeOrderingAxisPath.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

using Vector3 = std::array<double, 3>;
using Matrix3 = std::array<Vector3, 3>;

// An axis dominates when the group holds at least this many times as many nodes along it as along
// the second principal axis.
constexpr double kDominantAxisRatio = 2.0;
// Transit points are about one cross-section width apart, at most this many.
constexpr double kMaxTransitPointCount = 64.0;
constexpr int kJacobiSweepCount = 32;

bool isFinite(const double* p)
{
    return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
}

double dot(const Vector3& a, const double* b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Eigenvectors of a symmetric 3 x 3 matrix by cyclic Jacobi rotations, as the columns of the
// returned matrix ([row][column]); `values` receives the eigenvalues.
Matrix3 eigenvectors(Matrix3 a, Vector3* values)
{
    Matrix3 v {};
    for (int k = 0; k < 3; ++k)
        v[k][k] = 1.0;
    for (int sweep = 0; sweep < kJacobiSweepCount; ++sweep) {
        const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        if (off == 0.0)
            break;
        for (int p = 0; p < 2; ++p) {
            for (int q = p + 1; q < 3; ++q) {
                if (a[p][q] == 0.0)
                    continue;
                const double theta = (a[q][q] - a[p][p]) / (2.0 * a[p][q]);
                const double t = (theta >= 0.0 ? 1.0 : -1.0)
                    / (std::abs(theta) + std::sqrt(theta * theta + 1.0));
                const double c = 1.0 / std::sqrt(t * t + 1.0);
                const double s = t * c;
                for (int k = 0; k < 3; ++k) {
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 3; ++k) {
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 3; ++k) {
                    const double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
        }
    }
    *values = { a[0][0], a[1][1], a[2][2] };
    return v;
}

struct AxisExtent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    double length() const { return high - low; }
};

AxisExtent extentAlong(const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group,
    const Vector3& axis)
{
    AxisExtent extent;
    for (UFemOrderingIndex node : group) {
        if (!isFinite(graph.location(node)))
            continue;
        const double t = dot(axis, graph.location(node));
        extent.low = std::min(extent.low, t);
        extent.high = std::max(extent.high, t);
    }
    return extent;
}

// The two principal axes of largest spread, the first signed so that its largest component is
// positive (the same path whatever the node numbering).
bool principalAxes(const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group,
    Vector3* centre, Vector3* first, Vector3* second)
{
    Vector3 mean {};
    double count = 0.0;
    for (UFemOrderingIndex node : group) {
        const double* p = graph.location(node);
        if (!isFinite(p))
            continue;
        for (int k = 0; k < 3; ++k)
            mean[k] += p[k];
        count += 1.0;
    }
    if (count < 2.0)
        return false;
    for (double& m : mean)
        m /= count;
    Matrix3 covariance {};
    for (UFemOrderingIndex node : group) {
        const double* p = graph.location(node);
        if (!isFinite(p))
            continue;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                covariance[i][j] += (p[i] - mean[i]) * (p[j] - mean[j]);
    }
    Vector3 values;
    const Matrix3 vectors = eigenvectors(covariance, &values);
    std::array<int, 3> order { 0, 1, 2 };
    std::stable_sort(
        order.begin(), order.end(), [&](int a, int b) { return values[a] > values[b]; });
    for (int k = 0; k < 3; ++k) {
        (*first)[k] = vectors[k][order[0]];
        (*second)[k] = vectors[k][order[1]];
    }
    int largest = 0;
    for (int k = 1; k < 3; ++k) {
        if (std::abs((*first)[k]) > std::abs((*first)[largest]))
            largest = k;
    }
    if ((*first)[largest] < 0.0) {
        for (double& component : *first)
            component = -component;
    }
    *centre = mean;
    return true;
}

// The offset from the axis through the centre to the parallel line through the node farthest from
// it; of nodes equally far (to rounding), the one whose location is least in x, then y, then z, so
// that the line does not depend on the node numbering.
Vector3 edgeOffset(const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group,
    const Vector3& centre, const Vector3& axis)
{
    constexpr double kEqualDistance = 1e-9;
    auto offsetOf = [&](const double* p) {
        Vector3 offset;
        double along = 0.0;
        for (int k = 0; k < 3; ++k)
            along += (p[k] - centre[k]) * axis[k];
        for (int k = 0; k < 3; ++k)
            offset[k] = p[k] - centre[k] - along * axis[k];
        return offset;
    };
    auto squared = [](const Vector3& v) { return v[0] * v[0] + v[1] * v[1] + v[2] * v[2]; };
    double farthest = 0.0;
    for (UFemOrderingIndex node : group) {
        if (isFinite(graph.location(node)))
            farthest = std::max(farthest, squared(offsetOf(graph.location(node))));
    }
    const double* chosen = nullptr;
    for (UFemOrderingIndex node : group) {
        const double* p = graph.location(node);
        if (!isFinite(p) || squared(offsetOf(p)) < farthest * (1.0 - kEqualDistance))
            continue;
        if (!chosen || std::lexicographical_compare(p, p + 3, chosen, chosen + 3))
            chosen = p;
    }
    return chosen ? offsetOf(chosen) : Vector3 {};
}

} // namespace

bool UFemDominantAxis(const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group,
    UFemDominantAxisFrame* frame)
{
    Vector3 across;
    if (!principalAxes(graph, group, &frame->centre, &frame->axis, &across))
        return false;
    const AxisExtent along = extentAlong(graph, group, frame->axis);
    const double spacingAlong = UFemMeanConnectionSpan(graph, group, frame->axis);
    const double spacingAcross = UFemMeanConnectionSpan(graph, group, across);
    if (!(along.length() > 0.0) || !(spacingAlong > 0.0))
        return false;
    // Nodes along each axis: a fine mesh across a long thin box can still be compact.
    frame->nodesAlong = along.length() / spacingAlong;
    frame->nodesAcross
        = spacingAcross > 0.0 ? extentAlong(graph, group, across).length() / spacingAcross : 0.0;
    frame->low = along.low;
    frame->length = along.length();
    return frame->nodesAlong >= kDominantAxisRatio * frame->nodesAcross;
}

std::vector<UFemOrderingIndex> UFemAxisTransitNodes(
    const UFemNodeOrderingGraph& graph, std::span<const UFemOrderingIndex> group)
{
    UFemDominantAxisFrame frame;
    if (!UFemDominantAxis(graph, group, &frame))
        return {};
    const Vector3& axis = frame.axis;
    // Along an edge the buckets are ordered outward from one side of each cross-section, which the
    // final division follows more closely than rings around the centre.
    Vector3 lineOrigin = frame.centre;
    const Vector3 offset = edgeOffset(graph, group, frame.centre, axis);
    for (int k = 0; k < 3; ++k)
        lineOrigin[k] += offset[k];
    const double intervals = frame.nodesAcross > 0.0
        ? std::clamp(std::round(frame.nodesAlong / frame.nodesAcross), 1.0, kMaxTransitPointCount)
        : kMaxTransitPointCount;
    const auto pointCount = size_t(intervals) + 1;
    const double originAlong = dot(axis, lineOrigin.data());
    std::vector<UFemOrderingIndex> nearest(pointCount, UFemOrderingNone);
    std::vector<double> nearestDistance(pointCount, std::numeric_limits<double>::infinity());
    for (size_t k = 0; k < pointCount; ++k) {
        const double t = frame.low + frame.length * double(k) / intervals;
        Vector3 point;
        for (int d = 0; d < 3; ++d)
            point[d] = lineOrigin[d] + (t - originAlong) * axis[d];
        for (UFemOrderingIndex node : group) {
            const double* p = graph.location(node);
            double distance = 0.0;
            for (int d = 0; d < 3; ++d)
                distance += (p[d] - point[d]) * (p[d] - point[d]);
            // Strictly nearer replaces: the lowest node number wins a tie (the group ascends).
            if (distance < nearestDistance[k]) {
                nearestDistance[k] = distance;
                nearest[k] = node;
            }
        }
    }
    nearest.erase(std::unique(nearest.begin(), nearest.end()), nearest.end());
    nearest.erase(std::remove(nearest.begin(), nearest.end(), UFemOrderingNone), nearest.end());
    return nearest.size() >= 2 ? nearest : std::vector<UFemOrderingIndex> {};
}
