#pragma once

#include <QString>

// Model texts of regular meshes for benchmarks and examples. Every model has one material, one
// property, a support named "Fix", a load named "Load" and the case "Tip" on them; the cantilever
// and the plate state their analytic deflection in a comment line.

// A cantilever of nx x ny x nz Hexa elements, 10 long (x) with a 1 x 1 section, fixed at x = 0 and
// loaded at the far end by a total force of -100 in z, shared equally by the end's nodes.
QString hexaCantileverModelText(int nx, int ny, int nz);
// The same cantilever as an input deck of a reference solver (ccx): the same node numbers,
// locations and element connectivity as C3D8 elements, the same fixed end and tip load, one
// linear static step solved by SPOOLES, the tip nodes' displacements printed.
QString hexaCantileverCcxDeck(int nx, int ny, int nz);
// A 1 x 1 strip of a wide plate in nx x ny Quad elements, 0.05 thick, clamped along x = 0, the
// cut edges y = 0 and 1 held about x, and loaded at x = 1 by a total force of -10 in z, shared
// equally by the edge's nodes.
QString quadPlateModelText(int nx, int ny);
// A braced lattice of nx x ny x nz nodes (spacing 1) of Rod elements: edges along x, y and z and
// one diagonal in each face; the base (z = 0) fixed, a total force of 1000 in x on the top.
QString rodLatticeModelText(int nx, int ny, int nz);
