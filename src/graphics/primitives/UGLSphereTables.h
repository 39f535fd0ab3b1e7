#pragma once

#include "graphics/drawingbuffer/UGLDrawingTypes.h"

#include <array>

// The unit-sphere tables of the balls. Built once, on the first use or by
// UGLInitializeSphereTables, whichever comes first, and read-only afterwards, so that drawing
// threads read them without locks.
const std::array<double, 12 * 3>& UGLIcosahedronVertexTable();
// The 12 icosahedron vertices and its 30 edge midpoints pushed out to unit length, by latitude.
const std::array<double, 42 * 3>& UGLIcosphere42VertexTable();
// 20 triangles, counterclockwise seen from outside.
const std::array<quint64, 60>& UGLIcosahedronIndexTable();
// 80 triangles, each icosahedron triangle cut in four, in rows from the north pole.
const std::array<quint64, 240>& UGLIcosphere42IndexTable();
// A triangle cut 10 x 10, vertices numbered row by row from the first corner; the first 3 L^2
// entries triangulate the L x L cut.
const std::array<quint64, 300>& UGLSubdividedTriangleIndexTable();

inline constexpr quint64 UGLSubdividedTriangleMaximumLevel = 10;

// Builds every table; call once at start-up, before any drawing thread starts.
void UGLInitializeSphereTables();
void UGLInitializeIcosahedronVertexTable();

// Every circle primitive stays within this many segments, so that one write, a coloured cap
// outline being the largest, fits an empty buffer block.
inline constexpr quint64 UGLMaximumCircleSegmentCount = 400;
// The fewest segments of a drawn circle.
inline constexpr quint64 UGLMinimumCircleSegmentCount = 6;

// Chords of a circle of that diameter (image points) whose sagitta stays within the quality's
// tolerance in device pixels; 0 for qualities that draw no circles.
quint64 UGLCircleSegmentCount(
    UGLImageQuality imageQuality, double diameterInPixels, double imageResolutionPer72);
