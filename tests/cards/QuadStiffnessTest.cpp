#include "QuadTestElement.h"

#include "cardmodel/card/UFemCardName.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace quadtest;

namespace {

constexpr int n24 = UFemQuad4cNodalDOFCount;

// The rank by elimination with full pivoting; pivots below `relative` x the largest entry count
// as zero.
int rankOf(Stiffness K, int size, double relative)
{
    const double limit = relative * largestMagnitude(K);
    std::vector<bool> rowUsed(size, false);
    std::vector<bool> columnUsed(size, false);
    int rank = 0;
    for (int step = 0; step < size; ++step) {
        int pr = -1;
        int pc = -1;
        double best = limit;
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c)
                if (!rowUsed[r] && !columnUsed[c] && std::abs(K[r * size + c]) > best) {
                    best = std::abs(K[r * size + c]);
                    pr = r;
                    pc = c;
                }
        if (pr < 0)
            break;
        ++rank;
        rowUsed[pr] = true;
        columnUsed[pc] = true;
        for (int r = 0; r < size; ++r) {
            if (rowUsed[r])
                continue;
            const double factor = K[r * size + pc] / K[pr * size + pc];
            for (int c = 0; c < size; ++c)
                K[r * size + c] -= factor * K[pr * size + c];
        }
    }
    return rank;
}

void expectSymmetric(const Stiffness& K)
{
    const double limit = 1e-12 * largestMagnitude(K);
    for (int i = 0; i < n24; ++i)
        for (int j = 0; j < i; ++j)
            EXPECT_NEAR(K[i * n24 + j], K[j * n24 + i], limit) << i << "," << j;
}

// Translations t + w x (X - X0), rotations w.
NodalVector rigidMotion(
    const NodeLocations& nodes, const std::array<double, 3>& t, const std::array<double, 3>& w)
{
    return nodalField(nodes, [&](const std::array<double, 3>& X) {
        const double r[3] = { X[0] - 0.3, X[1] + 0.7, X[2] - 0.2 };
        double u[3];
        UFemQuad4cCross(u, w.data(), r);
        return std::array<double, 6> { t[0] + u[0], t[1] + u[1], t[2] + u[2], w[0], w[1], w[2] };
    });
}

// The largest force under each rigid motion, relative to the largest stiffness entry.
std::vector<double> rigidMotionForces(const NodeLocations& nodes, const Stiffness& K)
{
    const std::array<double, 3> motions[][2] = { { { 1.0, 0.0, 0.0 }, { 0.0, 0.0, 0.0 } },
        { { 0.0, 1.0, 0.0 }, { 0.0, 0.0, 0.0 } }, { { 0.0, 0.0, 1.0 }, { 0.0, 0.0, 0.0 } },
        { { 0.0, 0.0, 0.0 }, { 0.0, 0.0, 1.0 } }, { { 0.2, -0.4, 0.9 }, { 0.36, -0.48, 0.8 } } };
    std::vector<double> forces;
    for (const auto& motion : motions) {
        const NodalVector f = multiply(K, rigidMotion(nodes, motion[0], motion[1]));
        double largest = 0.0;
        for (double value : f)
            largest = std::max(largest, std::abs(value));
        forces.push_back(largest / largestMagnitude(K));
    }
    return forces;
}

} // namespace

TEST(QuadStiffness, PlateStretchGivesTheMembraneForces)
{
    const Stiffness K = makeStiffness(makeElementInfo(plate, 1000.0, 0.3, 0.1));
    expectSymmetric(K);
    EXPECT_EQ(rankOf(K, n24, 1e-10), 18);
    const NodalVector f = multiply(K, nodalField(plate, [](const std::array<double, 3>& X) {
        return std::array<double, 6> { 0.001 * X[0], -0.0003 * X[1], 0.0, 0.0, 0.0, 0.0 };
    }));
    // sigma_x = E/(1 - nu^2)(eps_x + nu eps_y) = 1, shared by the two nodes of an edge of 1.5.
    const double Fx[4] = { -0.075, 0.075, 0.075, -0.075 };
    for (int n = 0; n < 4; ++n) {
        EXPECT_NEAR(f[6 * n], Fx[n], 1e-9) << "node " << n + 1;
        EXPECT_NEAR(f[6 * n + 1], 0.0, 1e-9) << "node " << n + 1;
        EXPECT_NEAR(f[6 * n + 2], 0.0, 1e-9) << "node " << n + 1;
    }
}

TEST(QuadStiffness, PlateBendingGivesTheNodalMoments)
{
    const Stiffness K = makeStiffness(makeElementInfo(plate, 1000.0, 0.3, 0.1));
    const NodalVector f = multiply(K, nodalField(plate, [](const std::array<double, 3>& X) {
        return bendingField(X, 0.01, 0.0, 0.0);
    }));
    const double plateStiffness = 1000.0 * 0.001 / (12.0 * (1.0 - 0.09));
    const double moment = plateStiffness * 0.01; // per unit length
    const double My = moment * 1.5 / 2.0;
    const double Mx = 0.3 * moment * 2.0 / 2.0;
    ASSERT_NEAR(My, 0.000686813, 1e-9);
    ASSERT_NEAR(Mx, 0.000274725, 1e-9);
    const double signMy[4] = { 1.0, -1.0, -1.0, 1.0 };
    const double signMx[4] = { -1.0, -1.0, 1.0, 1.0 };
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE(n + 1);
        EXPECT_NEAR(f[6 * n + 4], signMy[n] * My, 1e-9);
        EXPECT_NEAR(f[6 * n + 3], signMx[n] * Mx, 1e-9);
        EXPECT_NEAR(f[6 * n + 2], 0.0, 1e-9);
        EXPECT_NEAR(f[6 * n + 5], 0.0, 1e-12);
    }
}

TEST(QuadStiffness, DrillingTermOnTheNormalRotation)
{
    const Stiffness plateK = makeStiffness(makeElementInfo(plate, 1000.0, 0.3, 0.1));
    EXPECT_NEAR(plateK[5 * n24 + 5], 3.0, 1e-9);
    const Stiffness unitK = makeStiffness(makeElementInfo(unitSquare, 1.0, 0.3, 1.0));
    EXPECT_NEAR(unitK[17 * n24 + 17], 0.01, 1e-12);
    // The normal rotation of one node meets only the drilling terms: the other rotations and
    // the out-of-plane translations see nothing.
    for (int i = 0; i < n24; ++i) {
        const int component = i % 6;
        if (component == 2 || component == 3 || component == 4 || (component == 5 && i != 5)) {
            EXPECT_EQ(plateK[i * n24 + 5], 0.0) << i;
        }
    }
    EXPECT_NE(plateK[0 * n24 + 5], 0.0);
}

TEST(QuadStiffness, FlatElementsAreSymmetricAndRigidBodyFree)
{
    const NodeLocations skew
        = { { { 0.1, -0.2, 0.0 }, { 2.3, 0.1, 0.0 }, { 2.0, 1.9, 0.0 }, { -0.3, 1.4, 0.0 } } };
    // The same shape turned out of the xy plane.
    NodeLocations tilted;
    for (int n = 0; n < 4; ++n)
        tilted[n] = { skew[n][0], 0.6 * skew[n][1], 0.8 * skew[n][1] + 0.3 };
    for (const NodeLocations& nodes : { plate, skew, tilted }) {
        const Stiffness K = makeStiffness(makeElementInfo(nodes, 210000.0, 0.3, 0.05));
        expectSymmetric(K);
        for (double force : rigidMotionForces(nodes, K))
            EXPECT_LT(force, 1e-12);
        EXPECT_EQ(rankOf(K, n24, 1e-10), 18);
    }
}

// A warped element must not feel a rigid motion either: the normal turning along its surface is
// part of the Jacobian.
TEST(QuadStiffness, WarpedElementIsSymmetricAndFreeOfRigidMotion)
{
    for (double warp : { 0.3, 0.03, -0.5 }) {
        NodeLocations warped = plate;
        warped[2][2] = warp;
        const Stiffness K = makeStiffness(makeElementInfo(warped, 210000.0, 0.3, 0.05));
        expectSymmetric(K);
        for (double force : rigidMotionForces(warped, K))
            EXPECT_LT(force, 1e-12) << "warp " << warp;
        EXPECT_EQ(rankOf(K, n24, 1e-10), 18) << "warp " << warp;
    }
}

TEST(QuadStiffness, ConstantCurvaturePatchIsExact)
{
    // Four distorted elements around one free node; the boundary nodes follow the field.
    const std::array<double, 3> locations[9] = { { 0.0, 0.0, 0.0 }, { 1.1, 0.0, 0.0 },
        { 2.0, 0.0, 0.0 }, { 0.0, 0.9, 0.0 }, { 0.8, 1.2, 0.0 }, { 2.0, 1.1, 0.0 },
        { 0.0, 2.0, 0.0 }, { 0.9, 2.0, 0.0 }, { 2.0, 2.0, 0.0 } };
    const int elements[4][4] = { { 0, 1, 4, 3 }, { 1, 2, 5, 4 }, { 4, 5, 8, 7 }, { 3, 4, 7, 6 } };
    const int center = 4;
    auto field = [](const std::array<double, 3>& X) { return bendingField(X, 0.02, -0.01, 0.03); };
    double Kcc[6][6] = {};
    double rhs[6] = {};
    for (const auto& element : elements) {
        NodeLocations nodes;
        for (int n = 0; n < 4; ++n)
            nodes[n] = locations[element[n]];
        const Stiffness K = makeStiffness(makeElementInfo(nodes, 1000.0, 0.25, 0.05));
        const int local = static_cast<int>(std::find(element, element + 4, center) - element);
        const NodalVector u = nodalField(nodes, field);
        for (int i = 0; i < 6; ++i)
            for (int n = 0; n < 4; ++n)
                for (int j = 0; j < 6; ++j) {
                    const double k = K[(6 * local + i) * n24 + 6 * n + j];
                    if (n == local)
                        Kcc[i][j] += k;
                    else
                        rhs[i] -= k * u[6 * n + j];
                }
    }
    // Gaussian elimination on the 6 x 6 system of the free node.
    for (int k = 0; k < 6; ++k)
        for (int i = k + 1; i < 6; ++i) {
            const double factor = Kcc[i][k] / Kcc[k][k];
            for (int j = k; j < 6; ++j)
                Kcc[i][j] -= factor * Kcc[k][j];
            rhs[i] -= factor * rhs[k];
        }
    double solution[6];
    for (int i = 5; i >= 0; --i) {
        double sum = rhs[i];
        for (int j = i + 1; j < 6; ++j)
            sum -= Kcc[i][j] * solution[j];
        solution[i] = sum / Kcc[i][i];
    }
    const auto exact = field(locations[center]);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(solution[i], exact[i], 1e-11) << "component " << i;
}

TEST(QuadStiffness, SixtyFourBlocksPutInOrder)
{
    const Stiffness K = makeStiffness(makeElementInfo(plate, 1000.0, 0.3, 0.1));
    std::vector<std::unique_ptr<UFemCardName>> names;
    const UFemCardName* nodeNames[4];
    for (int n = 0; n < 4; ++n) {
        names.push_back(std::make_unique<UFemCardName>(nullptr));
        names.back()->_setCardNameString(QStringLiteral("N%1").arg(n + 1));
        nodeNames[n] = names.back().get();
    }
    RecordingMatrixCalculator calculator;
    UFemQuad4cPutElementStiffnessBlocks(calculator, K.data(), nodeNames);
    ASSERT_EQ(calculator.puts.size(), 64u);
    int call = 0;
    for (int i = 0; i < 4; ++i)
        for (quint64 a = 0; a < 2; ++a)
            for (int j = 0; j < 4; ++j)
                for (quint64 b = 0; b < 2; ++b) {
                    const RecordedPut& put = calculator.puts[call++];
                    SCOPED_TRACE(call);
                    EXPECT_EQ(put.nodeName1, QStringLiteral("N%1").arg(i + 1));
                    EXPECT_EQ(put.rotation1, a);
                    EXPECT_EQ(put.nodeName2, QStringLiteral("N%1").arg(j + 1));
                    EXPECT_EQ(put.rotation2, b);
                    for (int r = 0; r < 3; ++r)
                        for (int c = 0; c < 3; ++c)
                            EXPECT_EQ(put.block[3 * r + c],
                                K[(6 * i + 3 * a + r) * n24 + 6 * j + 3 * b + c]);
                }
    // Node 1's rotation block carries the drilling diagonal in its last entry.
    EXPECT_NEAR(calculator.puts[9].block[8], 3.0, 1e-9);
}

TEST(QuadStiffness, DegenerateInputGivesNonFiniteEntries)
{
    NodeLocations collapsed = plate;
    collapsed[3] = collapsed[2];
    const Stiffness zeroThickness = makeStiffness(makeElementInfo(plate, 1000.0, 0.3, 0.0));
    const Stiffness coincident = makeStiffness(makeElementInfo(collapsed, 1000.0, 0.3, 0.1));
    for (const Stiffness* K : { &zeroThickness, &coincident })
        EXPECT_TRUE(std::any_of(K->begin(), K->end(), [](double v) { return !std::isfinite(v); }));
}
