#pragma once

#include "cards/elements/UFemQuad4cGeometry.h"

class UFemCardName;
class UFemMatrixCalculator;

// The stiffness of the four-node shell: a degenerated shell on the bicubic grid whose edge points
// follow the nodes through beam functions along each edge and whose interior points are partly
// interpolated and partly condensed out, plus a drilling penalty. Matrices are row-major doubles
// in the caller's storage.

inline constexpr int UFemQuad4cNodalDOFCount = 24; // Node 1..4 x Tx, Ty, Tz, Rx, Ry, Rz
inline constexpr int UFemQuad4cGridDOFCount = 48; // nodal, then interior points 12..15 x 6
inline constexpr int UFemQuad4cStrainCount = 6; // 11, 22, 33, 23, 31, 12
// The integration rule (-4, -4, -2): 4 x 4 Gauss points in the plane, 2 through the thickness.
inline constexpr int UFemQuad4cIntegralNumberInPlane = -4;
inline constexpr int UFemQuad4cIntegralNumberThrough = -2;

// T (48 x 24): the local degrees of freedom of edge points 4..11 from the nodal ones.
void UFemQuad4cMakeGridTransformationMatrix(
    double* T, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo);

// B (6 x 48) at a point.
void UFemQuad4cMakePointStrainMatrix(double* B,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* T,
    const UFemQuad4cPointInfo& pointInfo);

// K48 (48 x 48).
void UFemQuad4cIntegrateGridStiffnessMatrix(double* K48,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* D, const double* T);

// M (24 x 24): the interior local degrees of freedom from the nodal ones.
void UFemQuad4cReduceGridMatrix(
    double* M, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* K48);

// Bc (6 x 24) = B columns 0..23 + (B columns 24..47) x M.
void UFemQuad4cCondenseStrainMatrix(double* Bc, const double* B, const double* M);

// What the element stiffness and the strains share: D, T and M.
struct UFemQuad4cCondensation {
    double D[UFemQuad4cStrainCount * UFemQuad4cStrainCount];
    double T[UFemQuad4cGridDOFCount * UFemQuad4cNodalDOFCount];
    double M[(UFemQuad4cGridDOFCount - UFemQuad4cNodalDOFCount) * UFemQuad4cNodalDOFCount];
};

void UFemQuad4cPrepareCondensation(UFemQuad4cCondensation* condensation,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo);

// Bc (6 x 24) at a point.
void UFemQuad4cMakeCondensedStrainMatrix(double* Bc,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo,
    const UFemQuad4cCondensation& condensation, const UFemQuad4cPointInfo& pointInfo);

struct UFemQuad4cDrillingInfo {
    double youngsModulus = 0.0;
    double thickness = 0.0;
    double nodeLocations[UFemQuad4cNodeCount][3] = {};
};

// Adds the drilling penalty to K (24 x 24).
void UFemQuad4cMakeDrillingStiffness(double* K, const UFemQuad4cDrillingInfo& drillingInfo);

// K (24 x 24) in nodal degrees of freedom, the drilling term included.
void UFemQuad4cMakeElementStiffnessMatrix(
    double* K, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo);

// The 64 3 x 3 blocks of K, by row node, row translation/rotation, column node, column
// translation/rotation.
void UFemQuad4cPutElementStiffnessBlocks(UFemMatrixCalculator& matrixCalculator, const double* K,
    const UFemCardName* const* nodeCardNames);
