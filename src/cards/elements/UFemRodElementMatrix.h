#pragma once

// The mathematics of the two-node axial bar: a straight member carrying axial force only, with the
// three translations of each node (Node 1 x, y, z, then Node 2 x, y, z, global axes). Strains and
// stresses are in rod axes, x along the rod. Pure functions over the caller's arrays.

// Distance between the two node locations.
double UFemRodLength(const double location1[3], const double location2[3]);

// The 6 x 6 stiffness, row-major: [B, -B; -B, B] with B = (E A / L) c c^T, c the unit direction
// from Node 1 to Node 2. A zero length gives non-finite terms; the caller tests for them.
void UFemRodMakeElementStiffnessMatrix(double stiffnessMatrix[36], const double location1[3],
    const double location2[3], double youngsModulus, double sectionArea);

// The axial strain of node translations u1, u2: the extension along the rod over its length.
double UFemRodAxialStrain(const double location1[3], const double location2[3],
    const double displacement1[3], const double displacement2[3]);

// Strain vector (x, y, z, yz, zx, xy) in rod axes: the axial strain and the two lateral ones.
void UFemRodMakeStrainVector(double strain[6], double axialStrain, double poissonsRatio);

// Stress vector in rod axes: the axial stress alone.
void UFemRodMakeStressVector(double stress[6], double axialStrain, double youngsModulus);
