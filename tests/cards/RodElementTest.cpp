#include "ElementTestSupport.h"

#include "cards/elements/UFemElementMatrixAddition.h"
#include "cards/elements/UFemRodElementMatrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace ElementTestSupport;

namespace {

constexpr std::size_t RodDOFs = 6;

} // namespace

TEST(RodElement, BarAlongXStiffnessStrainStressAndNodeForces)
{
    const double x1[3] = { 0, 0, 0 };
    const double x2[3] = { 2, 0, 0 };
    double k[36];
    UFemRodMakeElementStiffnessMatrix(k, x1, x2, 200.0, 3.0);
    for (std::size_t r = 0; r < RodDOFs; ++r) {
        for (std::size_t c = 0; c < RodDOFs; ++c) {
            const double expected
                = (r == 0 || r == 3) && (c == 0 || c == 3) ? (r == c ? 300.0 : -300.0) : 0.0;
            EXPECT_DOUBLE_EQ(k[r * RodDOFs + c], expected) << r << "," << c;
        }
    }
    EXPECT_EQ(UFemRodLength(x1, x2), 2.0);

    const double u1[3] = { 0, 0, 0 };
    const double u2[3] = { 0.01, 0, 0 };
    const double strain = UFemRodAxialStrain(x1, x2, u1, u2);
    EXPECT_DOUBLE_EQ(strain, 0.005);
    double strainVector[6];
    UFemRodMakeStrainVector(strainVector, strain, 0.3);
    const double expectedStrain[6] = { 0.005, -0.0015, -0.0015, 0, 0, 0 };
    for (int i = 0; i < 6; ++i)
        EXPECT_DOUBLE_EQ(strainVector[i], expectedStrain[i]) << i;
    double stress[6];
    UFemRodMakeStressVector(stress, strain, 200.0);
    EXPECT_DOUBLE_EQ(stress[0], 1.0);
    for (int i = 1; i < 6; ++i)
        EXPECT_EQ(stress[i], 0.0);
    EXPECT_DOUBLE_EQ(3.0 * stress[0], 3.0); // RodForce = A sigma

    const double u[6] = { 0, 0, 0, 0.01, 0, 0 };
    double nodeForce[12];
    UFemMakeElementNodeForceTable(nodeForce, k, u, 2);
    const double expectedForce[12] = { -3, 0, 0, 0, 0, 0, 3, 0, 0, 0, 0, 0 };
    for (int i = 0; i < 12; ++i)
        EXPECT_NEAR(nodeForce[i], expectedForce[i], 1e-12) << i;

    // A sideways displacement does not stretch the bar; shortening gives a negative strain.
    const double sideways[3] = { 0, 0.02, -0.01 };
    EXPECT_EQ(UFemRodAxialStrain(x1, x2, u1, sideways), 0.0);
    const double shortened[3] = { -0.01, 0, 0 };
    EXPECT_DOUBLE_EQ(UFemRodAxialStrain(x1, x2, u1, shortened), -0.005);
}

// Three rods meeting at N4 from the fixed N1, N2, N3, loaded at N4. The reference displacement
// and axial stresses agree with an established solver's 2-node truss to 7 digits.
TEST(RodElement, TripodOfThreeRodsSolvedThroughTheAssembledStiffness)
{
    const double nodes[4][3] = { { 0, 0, 0 }, { 4, 0, 0 }, { 0, 3, 0 }, { 1, 1, 2.5 } };
    const int rods[3][2] = { { 0, 3 }, { 1, 3 }, { 2, 3 } };
    const double youngsModulus = 200000.0;
    const double area = 10.0;
    constexpr std::size_t Size = 12;
    std::vector<double> assembled(Size * Size, 0.0);
    for (const auto& rod : rods) {
        double k[36];
        UFemRodMakeElementStiffnessMatrix(k, nodes[rod[0]], nodes[rod[1]], youngsModulus, area);
        for (std::size_t r = 0; r < RodDOFs; ++r)
            for (std::size_t c = 0; c < RodDOFs; ++c)
                assembled[(3 * rod[r / 3] + r % 3) * Size + 3 * rod[c / 3] + c % 3]
                    += k[r * RodDOFs + c];
    }
    const std::vector<std::size_t> free = { 9, 10, 11 };
    const std::vector<double> u4
        = solveDense(submatrix(assembled, Size, free, free), { 1000.0, -500.0, -2000.0 });
    const double expectedU4[3] = { 2.944194e-3, -3.584526e-4, -2.219112e-3 };
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(u4[axis], expectedU4[axis], 2e-6 * std::abs(expectedU4[axis])) << axis;

    const double fixed[3] = { 0, 0, 0 };
    const double expectedStress[3] = { -71.80703, -181.40080, -33.54102 };
    double loadCarried[3] = { 0, 0, 0 };
    for (int rod = 0; rod < 3; ++rod) {
        const double* x1 = nodes[rods[rod][0]];
        const double* x2 = nodes[rods[rod][1]];
        double stress[6];
        UFemRodMakeStressVector(
            stress, UFemRodAxialStrain(x1, x2, fixed, u4.data()), youngsModulus);
        EXPECT_NEAR(stress[0], expectedStress[rod], 2e-6 * std::abs(expectedStress[rod])) << rod;

        double k[36];
        UFemRodMakeElementStiffnessMatrix(k, x1, x2, youngsModulus, area);
        const double u[6] = { 0, 0, 0, u4[0], u4[1], u4[2] };
        double nodeForce[12];
        UFemMakeElementNodeForceTable(nodeForce, k, u, 2);
        // The force at N4 is the axial force along the rod, from N1 towards N4.
        const double length = UFemRodLength(x1, x2);
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(nodeForce[6 + axis], area * stress[0] * (x2[axis] - x1[axis]) / length,
                1e-9 * area * std::abs(stress[0]));
            loadCarried[axis] += nodeForce[6 + axis];
        }
    }
    const double load[3] = { 1000.0, -500.0, -2000.0 };
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(loadCarried[axis], load[axis], 1e-9);
}

TEST(RodElement, StiffnessIsSymmetricAndFreeOfRigidBodyEnergy)
{
    const double points[6] = { 0.3, -1.2, 0.7, 2.9, 0.4, -1.6 };
    double k[36];
    UFemRodMakeElementStiffnessMatrix(k, points, points + 3, 210000.0, 0.37);
    const double largest = largestMagnitude(k, 36);
    EXPECT_GT(largest, 0.0);
    EXPECT_LE(asymmetry(k, RodDOFs), 1e-12 * largest);
    for (bool rotate : { false, true }) {
        const std::vector<double> u = rigidMotion(points, 2, rotate);
        EXPECT_LE(largestProduct(k, u), 1e-12 * largest * largestMagnitude(u.data(), u.size()))
            << rotate;
    }
    // A stretch is not free: the test above would notice a stiffness of zero.
    const std::vector<double> stretch = { 0, 0, 0, 2.6, 1.6, -2.3 };
    EXPECT_GT(largestProduct(k, stretch), 1e-3 * largest);
}

TEST(RodElement, ZeroLengthGivesAStiffnessTheFiniteCheckRefuses)
{
    const double x[3] = { 1, 2, 3 };
    double k[36];
    UFemRodMakeElementStiffnessMatrix(k, x, x, 200.0, 3.0);
    EXPECT_FALSE(UFemIsEveryEntryFinite(k, 36));
    const double y[3] = { 1, 2, 4 };
    UFemRodMakeElementStiffnessMatrix(k, x, y, 200.0, 3.0);
    EXPECT_TRUE(UFemIsEveryEntryFinite(k, 36));
}
