#pragma once

#include <cmath>

// Three-component vector arithmetic on plain arrays, as the camera stores its frames.
namespace UGLVector3 {

inline double dot(const double a[3], const double b[3])
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline double length(const double a[3])
{
    return std::sqrt(dot(a, a));
}

// `result` may alias neither argument.
inline void cross(double result[3], const double a[3], const double b[3])
{
    result[0] = a[1] * b[2] - a[2] * b[1];
    result[1] = a[2] * b[0] - a[0] * b[2];
    result[2] = a[0] * b[1] - a[1] * b[0];
}

inline void scale(double a[3], double factor)
{
    a[0] *= factor;
    a[1] *= factor;
    a[2] *= factor;
}

inline void copy(double result[3], const double a[3])
{
    result[0] = a[0];
    result[1] = a[1];
    result[2] = a[2];
}

// Scales `a` to `newLength`; callers pass non-zero vectors.
inline void setLength(double a[3], double newLength)
{
    scale(a, newLength / length(a));
}

} // namespace UGLVector3
