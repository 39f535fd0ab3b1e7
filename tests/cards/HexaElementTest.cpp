#include "ElementTestSupport.h"

#include "cards/elements/UFemElementMatrixAddition.h"
#include "cards/elements/UFemHexaElementMatrix.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

using namespace ElementTestSupport;

namespace {

constexpr std::size_t HexaDOFs = UFemHexaElementDOFCount;

__UFemHexaElementMatrixWholeElementInfo elementInfo(
    const double (&nodes)[8][3], double youngsModulus, double poissonsRatio)
{
    __UFemHexaElementMatrixWholeElementInfo info;
    info.materialProperty = { youngsModulus, poissonsRatio, 0.0 };
    std::memcpy(info.nodeLocationTable, nodes, sizeof(info.nodeLocationTable));
    return info;
}

// A single distorted element, nodes 1-4 fixed; the reference values agree with an established
// solver's full-integration 8-node brick to 7 digits.
constexpr double distortedNodes[8][3] = { { 0, 0, 0 }, { 2, 0.1, 0 }, { 2.3, 1.2, 0.2 },
    { -0.2, 1, 0.1 }, { 0.1, -0.1, 1.5 }, { 1.9, 0.2, 1.3 }, { 2.1, 1.3, 1.7 }, { 0, 1.1, 1.4 } };

std::vector<double> solveDistortedElement(const double* k)
{
    std::vector<std::size_t> free;
    for (std::size_t dof = 12; dof < HexaDOFs; ++dof)
        free.push_back(dof);
    std::vector<double> load(12, 0.0);
    load[1] = 80.0; // node 5, y
    load[6] = 100.0; // node 7, x
    load[8] = -250.0; // node 7, z
    const std::vector<double> stiffness(k, k + UFemHexaStiffnessEntryCount);
    const std::vector<double> solved = solveDense(submatrix(stiffness, HexaDOFs, free, free), load);
    std::vector<double> u(HexaDOFs, 0.0);
    std::copy(solved.begin(), solved.end(), u.begin() + 12);
    return u;
}

void expectRelative(const double* actual, const double* expected, std::size_t count,
    double tolerance, const char* what)
{
    for (std::size_t i = 0; i < count; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance * std::abs(expected[i])) << what << " " << i;
}

} // namespace

TEST(HexaElement, UnitCubeVolumeAndMirroredNodeOrder)
{
    double cube[8][3];
    for (int node = 0; node < 8; ++node)
        for (int axis = 0; axis < 3; ++axis)
            cube[node][axis] = 0.5 * (UFemHexaNodeNaturalCoordinateTable[node][axis] + 1.0);
    EXPECT_NEAR(UFemHexaVolume(cube), 1.0, 1e-15);

    _UFemHexaShapeFunctionInfo info;
    const double centre[3] = { 0.2, -0.4, 0.7 };
    EXPECT_NEAR(UFemHexaComputeShapeFunctionInfo(&info, centre, cube), 0.125, 1e-16);
    double shapeSum = 0.0;
    for (double value : info.shapeFunction)
        shapeSum += value;
    EXPECT_NEAR(shapeSum, 1.0, 1e-15);

    // Exchanging the two faces numbers the nodes left-handed.
    double mirrored[8][3];
    for (int node = 0; node < 8; ++node)
        std::memcpy(mirrored[node], cube[(node + 4) % 8], sizeof(mirrored[node]));
    EXPECT_NEAR(UFemHexaVolume(mirrored), -1.0, 1e-15);

    EXPECT_NEAR(UFemHexaVolume(distortedNodes), 3.1939166667, 1e-9);
}

TEST(HexaElement, DistortedElementFixtureDisplacementsAndStresses)
{
    const auto info = elementInfo(distortedNodes, 210000.0, 0.3);
    std::vector<double> k(UFemHexaStiffnessEntryCount);
    UFemHexaMakeElementStiffnessMatrix(k.data(), info);
    const std::vector<double> u = solveDistortedElement(k.data());
    const double expected[12]
        = { 8.651143e-4, 4.809271e-3, 2.102558e-3, 5.231429e-4, 1.173188e-4, 9.810840e-5,
              5.534799e-3, 1.593280e-3, -5.905226e-3, 1.586106e-3, 3.329797e-3, 9.783648e-4 };
    expectRelative(u.data() + 12, expected, 12, 2e-6, "displacement");

    // The first integration point (-,-,-), the reference's component order reordered to x, y, z,
    // yz, zx, xy.
    const double gauss = 0.5773502692;
    const double firstPoint[3] = { -gauss, -gauss, -gauss };
    double stress[6];
    UFemHexaMakeStressTable(stress, firstPoint, 1, info, u.data());
    const double expectedStress[6]
        = { 62.56813, -14.15419, 194.6565, 162.9106, 42.37524, -10.11820 };
    expectRelative(stress, expectedStress, 6, 2e-6, "gauss point stress");

    // The corner values, evaluated at the nodes themselves.
    double cornerStress[48];
    UFemHexaMakeStressTable(
        cornerStress, &UFemHexaNodeNaturalCoordinateTable[0][0], 8, info, u.data());
    const double node7Stress[6] = { -34.1968, -8.63367, -855.840, -220.468, 102.209, 159.700 };
    expectRelative(cornerStress + 6 * 6, node7Stress, 6, 5e-6, "node 7 stress");
    EXPECT_NEAR(UFemHexaVonMisesStress(cornerStress + 6 * 6),
        std::sqrt(0.5
            * ((-34.1968 + 8.63367) * (-34.1968 + 8.63367)
                + (-8.63367 + 855.840) * (-8.63367 + 855.840)
                + (-855.840 + 34.1968) * (-855.840 + 34.1968)
                + 6 * (220.468 * 220.468 + 102.209 * 102.209 + 159.700 * 159.700))),
        1e-3);

    // The node forces balance the loads at the free nodes.
    double nodeForce[48];
    UFemMakeElementNodeForceTable(nodeForce, k.data(), u.data(), 8);
    const double loads[4][3] = { { 0, 80, 0 }, { 0, 0, 0 }, { 100, 0, -250 }, { 0, 0, 0 } };
    for (int node = 4; node < 8; ++node) {
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_NEAR(nodeForce[6 * node + axis], loads[node - 4][axis], 1e-9);
            EXPECT_EQ(nodeForce[6 * node + 3 + axis], 0.0);
        }
    }
}

TEST(HexaElement, StiffnessIsSymmetricAndFreeOfRigidBodyEnergy)
{
    const auto info = elementInfo(distortedNodes, 210000.0, 0.3);
    std::vector<double> k(UFemHexaStiffnessEntryCount);
    UFemHexaMakeElementStiffnessMatrix(k.data(), info);
    const double largest = largestMagnitude(k.data(), k.size());
    EXPECT_LE(asymmetry(k.data(), HexaDOFs), 1e-12 * largest);
    for (bool rotate : { false, true }) {
        const std::vector<double> u = rigidMotion(&distortedNodes[0][0], 8, rotate);
        EXPECT_LE(
            largestProduct(k.data(), u), 1e-12 * largest * largestMagnitude(u.data(), u.size()))
            << rotate;
        double strain[48];
        UFemHexaMakeStrainTable(
            strain, &UFemHexaNodeNaturalCoordinateTable[0][0], 8, distortedNodes, u.data());
        EXPECT_LE(largestMagnitude(strain, 48), 1e-14) << rotate;
    }
}

// Five irregular elements between the planes z = 0 and z = 0.1, the plan of the classic
// five-element membrane patch with the inner nodes moved between the two planes. The outer eight
// nodes are forced to a linear field of constant plane stress (plus a rigid rotation); the inner
// eight, free of load, must follow the field, and every corner must give the constant stress.
TEST(HexaElement, ConstantStrainPatchOfFiveIrregularElements)
{
    const double plan[8][2] = { { 0, 0 }, { 0.24, 0 }, { 0.24, 0.12 }, { 0, 0.12 }, { 0.04, 0.02 },
        { 0.18, 0.03 }, { 0.16, 0.08 }, { 0.08, 0.08 } };
    const double topShift[2] = { 0.012, -0.007 };
    const double thickness = 0.1;
    constexpr std::size_t NodeCount = 16;
    double nodes[NodeCount][3];
    for (std::size_t node = 0; node < NodeCount; ++node) {
        const bool top = node >= 8;
        const bool inner = node % 8 >= 4;
        for (int axis = 0; axis < 2; ++axis)
            nodes[node][axis] = plan[node % 8][axis] + (top && inner ? topShift[axis] : 0.0);
        nodes[node][2] = top ? thickness : 0.0;
    }
    const int quads[5][4]
        = { { 0, 1, 5, 4 }, { 1, 2, 6, 5 }, { 2, 3, 7, 6 }, { 3, 0, 4, 7 }, { 4, 5, 6, 7 } };

    const double youngsModulus = 1.0e6;
    const double poissonsRatio = 0.25;
    const double exx = 1e-3, eyy = 1e-3, gxy = 1e-3;
    const double ezz = -poissonsRatio / (1.0 - poissonsRatio) * (exx + eyy);
    const double rotation[3] = { 2e-4, -1e-4, 3e-4 };
    auto field = [&](const double* x, double* u) {
        u[0] = exx * x[0] + 0.5 * gxy * x[1] + rotation[1] * x[2] - rotation[2] * x[1];
        u[1] = eyy * x[1] + 0.5 * gxy * x[0] + rotation[2] * x[0] - rotation[0] * x[2];
        u[2] = ezz * x[2] + rotation[0] * x[1] - rotation[1] * x[0];
    };

    constexpr std::size_t Size = 3 * NodeCount;
    std::vector<double> assembled(Size * Size, 0.0);
    std::vector<__UFemHexaElementMatrixWholeElementInfo> elements;
    std::vector<std::array<std::size_t, 8>> connections;
    for (const auto& quad : quads) {
        std::array<std::size_t, 8> connection;
        for (int corner = 0; corner < 4; ++corner) {
            connection[corner] = std::size_t(quad[corner]);
            connection[corner + 4] = std::size_t(quad[corner]) + 8;
        }
        __UFemHexaElementMatrixWholeElementInfo info;
        info.materialProperty = { youngsModulus, poissonsRatio, 0.0 };
        for (int corner = 0; corner < 8; ++corner)
            std::memcpy(
                info.nodeLocationTable[corner], nodes[connection[corner]], 3 * sizeof(double));
        EXPECT_GT(UFemHexaVolume(info.nodeLocationTable), 0.0);
        std::vector<double> k(UFemHexaStiffnessEntryCount);
        UFemHexaMakeElementStiffnessMatrix(k.data(), info);
        for (std::size_t r = 0; r < HexaDOFs; ++r)
            for (std::size_t c = 0; c < HexaDOFs; ++c)
                assembled[(3 * connection[r / 3] + r % 3) * Size + 3 * connection[c / 3] + c % 3]
                    += k[r * HexaDOFs + c];
        elements.push_back(info);
        connections.push_back(connection);
    }

    std::vector<double> exact(Size);
    for (std::size_t node = 0; node < NodeCount; ++node)
        field(nodes[node], &exact[3 * node]);
    std::vector<std::size_t> free, forced;
    for (std::size_t dof = 0; dof < Size; ++dof)
        (dof / 3 % 8 >= 4 ? free : forced).push_back(dof);
    std::vector<double> rightSide(free.size(), 0.0);
    for (std::size_t i = 0; i < free.size(); ++i)
        for (std::size_t p : forced)
            rightSide[i] -= assembled[free[i] * Size + p] * exact[p];
    const std::vector<double> solved
        = solveDense(submatrix(assembled, Size, free, free), rightSide);
    const double scale = largestMagnitude(exact.data(), exact.size());
    std::vector<double> u = exact;
    for (std::size_t i = 0; i < free.size(); ++i) {
        EXPECT_NEAR(solved[i], exact[free[i]], 1e-10 * scale) << free[i];
        u[free[i]] = solved[i];
    }

    const double planeModulus = youngsModulus / (1.0 - poissonsRatio * poissonsRatio);
    const double expectedStress[6]
        = { planeModulus * (exx + poissonsRatio * eyy), planeModulus * (eyy + poissonsRatio * exx),
              0.0, 0.0, 0.0, 0.5 * youngsModulus / (1.0 + poissonsRatio) * gxy };
    const double stressScale = largestMagnitude(expectedStress, 6);
    for (std::size_t element = 0; element < elements.size(); ++element) {
        double elementU[24];
        for (int corner = 0; corner < 8; ++corner)
            for (int axis = 0; axis < 3; ++axis)
                elementU[3 * corner + axis] = u[3 * connections[element][corner] + axis];
        double stress[48];
        UFemHexaMakeStressTable(
            stress, &UFemHexaNodeNaturalCoordinateTable[0][0], 8, elements[element], elementU);
        for (int value = 0; value < 48; ++value)
            EXPECT_NEAR(stress[value], expectedStress[value % 6], 1e-10 * stressScale)
                << element << " " << value;
    }
}

TEST(HexaElement, DegenerateElementsGiveAStiffnessTheFiniteCheckRefuses)
{
    auto info = elementInfo(distortedNodes, 210000.0, 0.3);
    std::vector<double> k(UFemHexaStiffnessEntryCount);
    UFemHexaMakeElementStiffnessMatrix(k.data(), info);
    EXPECT_TRUE(UFemIsEveryEntryFinite(k.data(), k.size()));

    // All nodes in one place: det J is zero everywhere.
    for (auto& location : info.nodeLocationTable)
        location[0] = location[1] = location[2] = 1.0;
    UFemHexaMakeElementStiffnessMatrix(k.data(), info);
    EXPECT_FALSE(UFemIsEveryEntryFinite(k.data(), k.size()));
    EXPECT_EQ(UFemHexaVolume(info.nodeLocationTable), 0.0);

    // A NaN coordinate poisons the volume as well.
    info = elementInfo(distortedNodes, 210000.0, 0.3);
    info.nodeLocationTable[3][1] = std::nan("");
    UFemHexaMakeElementStiffnessMatrix(k.data(), info);
    EXPECT_FALSE(UFemIsEveryEntryFinite(k.data(), k.size()));
    EXPECT_TRUE(std::isnan(UFemHexaVolume(info.nodeLocationTable)));
}

// The stiffness made by several threads at once (the first use included) equals one made alone.
TEST(HexaElementThreads, StiffnessFromManyThreadsAtOnce)
{
    const auto info = elementInfo(distortedNodes, 210000.0, 0.3);
    constexpr int ThreadCount = 8;
    std::vector<std::vector<double>> results(
        ThreadCount, std::vector<double>(UFemHexaStiffnessEntryCount));
    std::vector<std::thread> threads;
    for (int t = 0; t < ThreadCount; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round)
                UFemHexaMakeElementStiffnessMatrix(results[t].data(), info);
        });
    for (std::thread& thread : threads)
        thread.join();
    std::vector<double> alone(UFemHexaStiffnessEntryCount);
    UFemHexaMakeElementStiffnessMatrix(alone.data(), info);
    for (const auto& result : results)
        EXPECT_EQ(result, alone);
}
