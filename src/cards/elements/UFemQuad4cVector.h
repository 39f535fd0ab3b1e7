#pragma once

#include <cmath>

// Three-component vector arithmetic on plain arrays for the shell element's inner loops.

inline double UFemQuad4cDot(const double* a, const double* b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline void UFemQuad4cCross(double* out, const double* a, const double* b)
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

inline double UFemQuad4cLength(const double* a)
{
    return std::sqrt(UFemQuad4cDot(a, a));
}

inline void UFemQuad4cScale(double* out, const double* a, double factor)
{
    for (int i = 0; i < 3; ++i)
        out[i] = a[i] * factor;
}
