#pragma once

#include "cards/elements/UFemQuad4cStiffness.h"

#include <QtGlobal>

// Strains, stresses and shell forces of the four-node shell in the local frames of its points
// (x along the projection of the element's reference vector, z the normal); components x, y, z,
// yz, zx, xy with engineering shear strains. Pure functions, callable from any thread.

inline constexpr int UFemQuad4cOutputPointCount = 8; // per corner face 1 (zeta -1), then face 2
inline constexpr int UFemQuad4cShellForceCount = 9;

extern const double UFemQuad4cOutputPointTable[UFemQuad4cOutputPointCount][3];

// Strains (n x 6) at the natural points for the 24 nodal displacements `u`.
void UFemQuad4cGetStrainTable(double* strainTable, const double (*naturalPoints)[3],
    quint64 numberOfPoint, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo,
    const double* u);

// Stress = D x strain for one point, D the shell elasticity matrix.
void UFemQuad4cStressFromStrain(double* stress, const double* strain, const double* D);

double UFemQuad4cVonMisesStress(const double* stress);

// Fx/l, Fy/l, Fz/l, Fyz/l, Fzx/l, Fxy/l, Mx/l, My/l, Mxy/l of one corner from the stresses of its
// faces 1 and 2. Mx/l comes from the y stresses and My/l from the x ones.
void UFemQuad4cShellForce(
    double* shellForce, const double* stressFace1, const double* stressFace2, double thickness);
