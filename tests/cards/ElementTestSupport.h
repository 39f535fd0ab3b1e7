#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// Helpers of the element tests: a small dense solve of an assembled stiffness, and the measures
// the tests compare against.
namespace ElementTestSupport {

// Solves A x = b (n x n, row-major) by Gaussian elimination with partial pivoting.
inline std::vector<double> solveDense(std::vector<double> a, std::vector<double> b)
{
    const std::size_t n = b.size();
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        for (std::size_t i = k + 1; i < n; ++i)
            if (std::abs(a[i * n + k]) > std::abs(a[pivot * n + k]))
                pivot = i;
        for (std::size_t j = 0; j < n; ++j)
            std::swap(a[k * n + j], a[pivot * n + j]);
        std::swap(b[k], b[pivot]);
        for (std::size_t i = k + 1; i < n; ++i) {
            const double factor = a[i * n + k] / a[k * n + k];
            for (std::size_t j = k; j < n; ++j)
                a[i * n + j] -= factor * a[k * n + j];
            b[i] -= factor * b[k];
        }
    }
    std::vector<double> x(n);
    for (std::size_t k = n; k-- > 0;) {
        double sum = b[k];
        for (std::size_t j = k + 1; j < n; ++j)
            sum -= a[k * n + j] * x[j];
        x[k] = sum / a[k * n + k];
    }
    return x;
}

// The rows `rows` and columns `columns` of a square matrix of `size` rows.
inline std::vector<double> submatrix(const std::vector<double>& matrix, std::size_t size,
    const std::vector<std::size_t>& rows, const std::vector<std::size_t>& columns)
{
    std::vector<double> part;
    part.reserve(rows.size() * columns.size());
    for (std::size_t row : rows)
        for (std::size_t column : columns)
            part.push_back(matrix[row * size + column]);
    return part;
}

inline double largestMagnitude(const double* values, std::size_t count)
{
    double largest = 0.0;
    for (std::size_t i = 0; i < count; ++i)
        largest = std::max(largest, std::abs(values[i]));
    return largest;
}

// The largest |K[r][c] - K[c][r]|.
inline double asymmetry(const double* matrix, std::size_t size)
{
    double largest = 0.0;
    for (std::size_t r = 0; r < size; ++r)
        for (std::size_t c = 0; c < r; ++c)
            largest = std::max(largest, std::abs(matrix[r * size + c] - matrix[c * size + r]));
    return largest;
}

// The largest |(K u)_r| of a square matrix.
inline double largestProduct(const double* matrix, const std::vector<double>& u)
{
    const std::size_t size = u.size();
    double largest = 0.0;
    for (std::size_t r = 0; r < size; ++r) {
        double sum = 0.0;
        for (std::size_t c = 0; c < size; ++c)
            sum += matrix[r * size + c] * u[c];
        largest = std::max(largest, std::abs(sum));
    }
    return largest;
}

// Displacements of a rigid motion at `points` (3 doubles each): a translation plus an
// infinitesimal rotation about a general axis through a general point.
inline std::vector<double> rigidMotion(const double* points, std::size_t count, bool rotate)
{
    const double translation[3] = { 0.3, -0.7, 0.45 };
    const double rotation[3] = { 0.2, -0.55, 0.8 };
    const double centre[3] = { 1.3, -0.4, 2.1 };
    std::vector<double> u(3 * count);
    for (std::size_t p = 0; p < count; ++p) {
        const double r[3] = { points[3 * p] - centre[0], points[3 * p + 1] - centre[1],
            points[3 * p + 2] - centre[2] };
        const double turned[3] = { rotation[1] * r[2] - rotation[2] * r[1],
            rotation[2] * r[0] - rotation[0] * r[2], rotation[0] * r[1] - rotation[1] * r[0] };
        for (int axis = 0; axis < 3; ++axis)
            u[3 * p + axis] = rotate ? turned[axis] : translation[axis];
    }
    return u;
}

} // namespace ElementTestSupport
