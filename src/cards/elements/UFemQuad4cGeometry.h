#pragma once

#include "cards/properties/UFemMaterialPropertySource.h"

// The geometry of the four-node shell: a 4 x 4 bicubic grid in natural coordinates (xi, eta) on
// [-1, 1]^2 with zeta through the thickness, the local frames of its points and the shell
// elasticity matrix. Pure functions on caller-owned fixed-size records, callable from any thread.

inline constexpr int UFemQuad4cNodeCount = 4;
inline constexpr int UFemQuad4cGridPointCount = 16;
inline constexpr int UFemQuad4cPointCount = 20;
// Corners 0-3, edge points 4-11, interior points 12-15, edge middles 16-19.
inline constexpr int UFemQuad4cFirstEdgePoint = 4;
inline constexpr int UFemQuad4cFirstInteriorPoint = 12;
inline constexpr int UFemQuad4cFirstEdgeMiddlePoint = 16;

// (xi, eta, zeta) of the 20 points, zeta 0.
extern const double UFemQuad4cNaturalPointTable[UFemQuad4cPointCount][3];

struct UFemQuad4cElementMatrixWholeElementInfo {
    _UFemMaterialProperty materialProperty;
    double thickness = 0.0;
    double pointPositions[UFemQuad4cPointCount][3] = {};
    double referenceVector[3] = {};
    // Per point, frame[i][j] = component i of axis e(j+1).
    double localFrames[UFemQuad4cPointCount][3][3] = {};
};

struct UFemQuad4cPointInfo {
    double naturalPoint[3] = {};
    double N[UFemQuad4cGridPointCount] = {};
    double dN[UFemQuad4cGridPointCount][3] = {};
    double J[3][3] = {};
    double Jinv[3][3] = {};
    double detJ = 0.0;
    double frame[3][3] = {};
};

void UFemQuad4cGetCubicShapeFunctions(double* N, double (*dN)[3], const double* naturalPoint);

// The frame from the surface tangents at the point; `naturalPoint` and `N` are not used.
void UFemQuad4cComputeLocalFrame(double (*frame)[3], const double (*gridPointPositions)[3],
    const double* naturalPoint, const double* N, const double (*dN)[3],
    const double* referenceVector);

void UFemQuad4cComputePointInfo(UFemQuad4cPointInfo* pointInfo,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* naturalPoint);

// Point positions, reference vector and frames from the four node locations (three doubles
// each, Node 1 first); the material and thickness are left as they are.
void UFemQuad4cFillElementGeometry(
    UFemQuad4cElementMatrixWholeElementInfo* elementInfo, const double (*nodeLocations)[3]);

// The diagonals Node 1 to Node 3 and Node 2 to Node 4 and their cross product, whose direction
// is the element's normal.
void UFemQuad4cGetDiagonals(
    double* d13, double* d24, double* normal, const double (*nodeLocations)[3]);

// False when a frame is not finite or turns against the element's diagonal normal, as for
// coincident nodes or a folded quadrilateral.
bool UFemQuad4cHasRegularFrames(const UFemQuad4cElementMatrixWholeElementInfo& elementInfo);

// The 6 x 6 matrix (row-major) for the components 11, 22, 33, 23, 31, 12 of a local frame.
void UFemShellMakeElasticityMatrix(double* D, const _UFemMaterialProperty& materialProperty);
