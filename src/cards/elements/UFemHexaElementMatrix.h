#pragma once

#include "cards/properties/UFemMaterialPropertySource.h"

#include <QtGlobal>

// The mathematics of the 8-node trilinear isoparametric solid. Nodes 1 to 4 form the face
// zeta = -1 and nodes 5 to 8 the face zeta = +1, each in the same turning order. Degrees of
// freedom are node-major (ux1, uy1, uz1, ux2, ... uz8); strain and stress components are x, y, z,
// yz, zx, xy in global axes, shear strains engineering. Every routine works in the caller's
// fixed-size arrays and keeps no state, so the calculation and the 3-D view's workers call them
// at once.

constexpr quint64 UFemHexaNodeCount = 8;
constexpr quint64 UFemHexaElementDOFCount = 24;
constexpr quint64 UFemHexaStiffnessEntryCount = UFemHexaElementDOFCount * UFemHexaElementDOFCount;

// Natural coordinates (xi, eta, zeta) of nodes 1 to 8; also the points at which the card values
// are evaluated.
extern const double UFemHexaNodeNaturalCoordinateTable[8][3];

// What the element's matrices are made of: its material and the locations of nodes 1 to 8.
struct __UFemHexaElementMatrixWholeElementInfo {
    _UFemMaterialProperty materialProperty;
    double nodeLocationTable[8][3] = {};
};

// Shape functions of one point, their derivatives by the natural coordinates (per node: by xi,
// eta, zeta), the Jacobian J[r][c] = d(global c) / d(natural r) and its inverse.
struct _UFemHexaShapeFunctionInfo {
    double naturalPoint[3];
    double shapeFunction[8];
    double naturalDerivative[8][3];
    double jacobian[3][3];
    double inverseJacobian[3][3];
};

// Fills the record at the natural point and returns det J. A zero determinant gives a non-finite
// inverse; the caller tests what it computes from it.
double UFemHexaComputeShapeFunctionInfo(_UFemHexaShapeFunctionInfo* info,
    const double naturalPoint[3], const double nodeLocationTable[8][3]);

// The 6 x 6 isotropic elasticity matrix of E and nu.
void UFemHexaMakeElasticityMatrix(
    double elasticityMatrix[6][6], double youngsModulus, double poissonsRatio);

// The 24 x 24 stiffness, row-major, integrated with 2 x 2 x 2 Gauss-Legendre points. Both
// triangles are written and are exactly equal.
void UFemHexaMakeElementStiffnessMatrix(
    double stiffnessMatrix[576], const __UFemHexaElementMatrixWholeElementInfo& info);

// The volume, the sum of det J x weight over the same points; negative for a mirrored node order.
double UFemHexaVolume(const double nodeLocationTable[8][3]);

// Strains B u at `numberOfPoint` natural points (3 doubles each), 6 values per point.
void UFemHexaMakeStrainTable(double* strainTable, const double* naturalPointTable,
    quint64 numberOfPoint, const double nodeLocationTable[8][3], const double displacement[24]);

// Stresses D B u at the natural points, 6 values per point.
void UFemHexaMakeStressTable(double* stressTable, const double* naturalPointTable,
    quint64 numberOfPoint, const __UFemHexaElementMatrixWholeElementInfo& info,
    const double displacement[24]);

// The von Mises stress of a stress vector.
double UFemHexaVonMisesStress(const double stress[6]);
