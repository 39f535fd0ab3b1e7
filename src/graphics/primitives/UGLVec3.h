#pragma once

#include <cmath>

// A point or direction of the primitives' geometry, in object coordinates.
struct UGLVec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    static UGLVec3 at(const double* p) { return { p[0], p[1], p[2] }; }
    void store(double* p) const
    {
        p[0] = x;
        p[1] = y;
        p[2] = z;
    }

    friend UGLVec3 operator+(UGLVec3 a, UGLVec3 b) { return { a.x + b.x, a.y + b.y, a.z + b.z }; }
    friend UGLVec3 operator-(UGLVec3 a, UGLVec3 b) { return { a.x - b.x, a.y - b.y, a.z - b.z }; }
    friend UGLVec3 operator-(UGLVec3 a) { return { -a.x, -a.y, -a.z }; }
    friend UGLVec3 operator*(double s, UGLVec3 a) { return { s * a.x, s * a.y, s * a.z }; }
    friend bool operator==(UGLVec3, UGLVec3) = default;
};

inline double UGLDot(UGLVec3 a, UGLVec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline UGLVec3 UGLCross(UGLVec3 a, UGLVec3 b)
{
    return { a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x };
}

inline double UGLLength(UGLVec3 a)
{
    return std::sqrt(UGLDot(a, a));
}

// `a` scaled to `newLength`; callers pass a non-zero vector.
inline UGLVec3 UGLWithLength(UGLVec3 a, double newLength)
{
    return (newLength / UGLLength(a)) * a;
}

// A zero vector stays zero rather than becoming NaN, so a degenerate face still gets a normal.
inline UGLVec3 UGLNormalized(UGLVec3 a)
{
    const double length = UGLLength(a);
    return length > 0.0 ? (1.0 / length) * a : a;
}
