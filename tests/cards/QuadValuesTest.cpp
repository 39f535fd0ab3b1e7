#include "QuadTestElement.h"

#include "cards/elements/UFemQuad4cValues.h"

#include <gtest/gtest.h>

using namespace quadtest;

namespace {

constexpr double E = 1000.0;
constexpr double nu = 0.3;
constexpr double t = 0.1;

struct OutputValues {
    double strain[UFemQuad4cOutputPointCount][6];
    double stress[UFemQuad4cOutputPointCount][6];
};

OutputValues plateValues(const NodalVector& u)
{
    const auto info = makeElementInfo(plate, E, nu, t);
    OutputValues values;
    UFemQuad4cGetStrainTable(&values.strain[0][0], UFemQuad4cOutputPointTable,
        UFemQuad4cOutputPointCount, info, u.data());
    double D[36];
    UFemShellMakeElasticityMatrix(D, info.materialProperty);
    for (int p = 0; p < UFemQuad4cOutputPointCount; ++p)
        UFemQuad4cStressFromStrain(values.stress[p], values.strain[p], D);
    return values;
}

void expectVector(const double* actual, std::array<double, 6> expected, double tolerance)
{
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "component " << i;
}

// Solves A x = b (dense, n x n) by elimination with partial pivoting.
std::vector<double> solve(std::vector<double> A, std::vector<double> b)
{
    const int n = static_cast<int>(b.size());
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        for (int r = k + 1; r < n; ++r)
            if (std::abs(A[r * n + k]) > std::abs(A[pivot * n + k]))
                pivot = r;
        for (int c = 0; c < n; ++c)
            std::swap(A[k * n + c], A[pivot * n + c]);
        std::swap(b[k], b[pivot]);
        for (int r = k + 1; r < n; ++r) {
            const double factor = A[r * n + k] / A[k * n + k];
            for (int c = k; c < n; ++c)
                A[r * n + c] -= factor * A[k * n + c];
            b[r] -= factor * b[k];
        }
    }
    std::vector<double> x(n);
    for (int i = n - 1; i >= 0; --i) {
        double sum = b[i];
        for (int j = i + 1; j < n; ++j)
            sum -= A[i * n + j] * x[j];
        x[i] = sum / A[i * n + i];
    }
    return x;
}

} // namespace

TEST(QuadValues, OutputPointsRunCornerByCornerFaceOneFirst)
{
    for (int corner = 0; corner < 4; ++corner)
        for (int face = 0; face < 2; ++face) {
            const double* point = UFemQuad4cOutputPointTable[2 * corner + face];
            EXPECT_EQ(point[0], UFemQuad4cNaturalPointTable[corner][0]);
            EXPECT_EQ(point[1], UFemQuad4cNaturalPointTable[corner][1]);
            EXPECT_EQ(point[2], face == 0 ? -1.0 : 1.0);
        }
}

TEST(QuadValues, UniformStretchGivesEqualFacesAndNoMoments)
{
    const OutputValues values = plateValues(nodalField(plate, [](const std::array<double, 3>& X) {
        return std::array<double, 6> { 0.001 * X[0], -0.0003 * X[1], 0.0, 0.0, 0.0, 0.0 };
    }));
    for (int p = 0; p < UFemQuad4cOutputPointCount; ++p) {
        SCOPED_TRACE(p);
        expectVector(values.strain[p], { 0.001, -0.0003, 0.0, 0.0, 0.0, 0.0 }, 1e-12);
        expectVector(values.stress[p], { 1.0, 0.0, 0.0, 0.0, 0.0, 0.0 }, 1e-9);
    }
    for (int corner = 0; corner < 4; ++corner) {
        double force[UFemQuad4cShellForceCount];
        UFemQuad4cShellForce(force, values.stress[2 * corner], values.stress[2 * corner + 1], t);
        EXPECT_NEAR(force[0], 0.1, 1e-9);
        for (int i = 1; i < UFemQuad4cShellForceCount; ++i)
            EXPECT_NEAR(force[i], 0.0, 1e-9) << i;
        EXPECT_NEAR(UFemQuad4cVonMisesStress(values.stress[2 * corner]),
            UFemQuad4cVonMisesStress(values.stress[2 * corner + 1]), 1e-12);
    }
}

TEST(QuadValues, PureBendingGivesOppositeFacesAndTheMoments)
{
    const OutputValues values = plateValues(nodalField(
        plate, [](const std::array<double, 3>& X) { return bendingField(X, 0.01, 0.0, 0.0); }));
    expectVector(values.strain[0], { 0.0005, 0.0, 0.0, 0.0, 0.0, 0.0 }, 1e-9);
    expectVector(values.strain[1], { -0.0005, 0.0, 0.0, 0.0, 0.0, 0.0 }, 1e-9);
    // E/(1 - nu^2) x 0.0005 and nu times that.
    const double sx = E / (1.0 - nu * nu) * 0.0005;
    ASSERT_NEAR(sx, 0.549451, 1e-6);
    ASSERT_NEAR(nu * sx, 0.164835, 1e-6);
    for (int corner = 0; corner < 4; ++corner) {
        SCOPED_TRACE(corner);
        expectVector(values.stress[2 * corner], { sx, nu * sx, 0.0, 0.0, 0.0, 0.0 }, 1e-9);
        expectVector(values.stress[2 * corner + 1], { -sx, -nu * sx, 0.0, 0.0, 0.0, 0.0 }, 1e-9);
        double force[UFemQuad4cShellForceCount];
        UFemQuad4cShellForce(force, values.stress[2 * corner], values.stress[2 * corner + 1], t);
        const double expected[UFemQuad4cShellForceCount]
            = { 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -0.000274725, -0.000915751, 0.0 };
        for (int i = 0; i < UFemQuad4cShellForceCount; ++i)
            EXPECT_NEAR(force[i], expected[i], 1e-9) << i;
        EXPECT_NEAR(UFemQuad4cVonMisesStress(values.stress[2 * corner]), 0.4883623, 1e-7);
        EXPECT_NEAR(UFemQuad4cVonMisesStress(values.stress[2 * corner + 1]), 0.4883623, 1e-7);
    }
}

TEST(QuadValues, VonMisesOfShearAndThreeAxes)
{
    const double pureShear[6] = { 0.0, 0.0, 0.0, 0.0, 0.0, 2.0 };
    EXPECT_NEAR(UFemQuad4cVonMisesStress(pureShear), 2.0 * std::sqrt(3.0), 1e-12);
    const double general[6] = { 3.0, -1.0, 2.0, 0.5, -0.25, 1.0 };
    // sqrt(((4^2 + 3^2 + 1^2) + 6 (0.25 + 0.0625 + 1)) / 2)
    EXPECT_NEAR(UFemQuad4cVonMisesStress(general), std::sqrt((26.0 + 7.875) / 2.0), 1e-12);
}

TEST(QuadValues, StripNodeForcesBalanceTheLoad)
{
    // Two elements along x, nodes 0, 1, 2 at y = 0 and 3, 4, 5 at y = 1; nodes 0 and 3 fixed,
    // a load on nodes 2 and 5.
    const std::array<double, 3> locations[6] = { { 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.1 },
        { 2.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, { 1.0, 1.0, 0.1 }, { 2.0, 1.0, 0.0 } };
    const int elements[2][4] = { { 0, 1, 4, 3 }, { 1, 2, 5, 4 } };
    const double load[6] = { 1.5, -0.7, 0.4, 0.02, -0.03, 0.01 };
    std::vector<Stiffness> stiffness;
    const int free = 24; // nodes 1, 2, 4, 5
    auto freeIndex = [](int node) { return node == 1 ? 0 : node == 2 ? 1 : node == 4 ? 2 : 3; };
    std::vector<double> A(free * free, 0.0);
    std::vector<double> b(free, 0.0);
    for (const auto& element : elements) {
        NodeLocations nodes;
        for (int n = 0; n < 4; ++n)
            nodes[n] = locations[element[n]];
        stiffness.push_back(makeStiffness(makeElementInfo(nodes, E, nu, t)));
        for (int m = 0; m < 4; ++m)
            for (int n = 0; n < 4; ++n) {
                if (element[m] % 3 == 0 || element[n] % 3 == 0)
                    continue;
                for (int i = 0; i < 6; ++i)
                    for (int j = 0; j < 6; ++j)
                        A[(6 * freeIndex(element[m]) + i) * free + 6 * freeIndex(element[n]) + j]
                            += stiffness.back()[(6 * m + i) * 24 + 6 * n + j];
            }
    }
    for (int i = 0; i < 6; ++i) {
        b[6 * freeIndex(2) + i] = load[i];
        b[6 * freeIndex(5) + i] = load[i];
    }
    const std::vector<double> x = solve(A, b);
    double sum[6] = {};
    for (int e = 0; e < 2; ++e) {
        NodalVector u {};
        for (int n = 0; n < 4; ++n)
            if (elements[e][n] % 3 != 0)
                for (int i = 0; i < 6; ++i)
                    u[6 * n + i] = x[6 * freeIndex(elements[e][n]) + i];
        const NodalVector f = multiply(stiffness[e], u);
        for (int n = 0; n < 4; ++n)
            if (elements[e][n] == 2 || elements[e][n] == 5) {
                for (int i = 0; i < 6; ++i)
                    EXPECT_NEAR(f[6 * n + i], load[i], 1e-9) << "node " << elements[e][n];
            }
        // At the fixed end the node forces take up the whole load.
        for (int n = 0; n < 4; ++n)
            if (elements[e][n] % 3 == 0)
                for (int i = 0; i < 3; ++i)
                    sum[i] += f[6 * n + i];
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(sum[i], -2.0 * load[i], 1e-9) << i;
}
