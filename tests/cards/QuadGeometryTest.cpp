#include "QuadTestElement.h"

#include <gtest/gtest.h>

using namespace quadtest;

namespace {

constexpr double tolerance = 1e-9;

void expectAxis(const double (*frame)[3], int axis, double x, double y, double z)
{
    EXPECT_NEAR(frame[0][axis], x, tolerance);
    EXPECT_NEAR(frame[1][axis], y, tolerance);
    EXPECT_NEAR(frame[2][axis], z, tolerance);
}

void shapeFunctionsAt(double* N, double (*dN)[3], double xi, double eta)
{
    const double point[3] = { xi, eta, 0.0 };
    UFemQuad4cGetCubicShapeFunctions(N, dN, point);
}

} // namespace

TEST(QuadGeometry, ShapeFunctionsInterpolateTheGridAndSumToOne)
{
    double N[UFemQuad4cGridPointCount];
    double dN[UFemQuad4cGridPointCount][3];
    for (int p = 0; p < UFemQuad4cGridPointCount; ++p) {
        UFemQuad4cGetCubicShapeFunctions(N, dN, UFemQuad4cNaturalPointTable[p]);
        for (int k = 0; k < UFemQuad4cGridPointCount; ++k)
            EXPECT_NEAR(N[k], k == p ? 1.0 : 0.0, 1e-14) << "point " << p << " function " << k;
    }
    for (double xi : { -0.9, -0.2, 0.35, 0.77 })
        for (double eta : { -0.6, 0.1, 0.95 }) {
            shapeFunctionsAt(N, dN, xi, eta);
            double sum = 0.0;
            double slopeXi = 0.0;
            double slopeEta = 0.0;
            for (int k = 0; k < UFemQuad4cGridPointCount; ++k) {
                sum += N[k];
                slopeXi += dN[k][0];
                slopeEta += dN[k][1];
                EXPECT_EQ(dN[k][2], 0.0);
            }
            EXPECT_NEAR(sum, 1.0, 1e-14);
            EXPECT_NEAR(slopeXi, 0.0, 1e-13);
            EXPECT_NEAR(slopeEta, 0.0, 1e-13);
        }
}

TEST(QuadGeometry, DerivativesAreTheSlopesOfTheShapeFunctions)
{
    const double h = 1e-6;
    double N[UFemQuad4cGridPointCount];
    double dN[UFemQuad4cGridPointCount][3];
    double Nplus[UFemQuad4cGridPointCount];
    double Nminus[UFemQuad4cGridPointCount];
    double unused[UFemQuad4cGridPointCount][3];
    const double xi = 0.3;
    const double eta = -0.45;
    shapeFunctionsAt(N, dN, xi, eta);
    shapeFunctionsAt(Nplus, unused, xi + h, eta);
    shapeFunctionsAt(Nminus, unused, xi - h, eta);
    for (int k = 0; k < UFemQuad4cGridPointCount; ++k)
        EXPECT_NEAR(dN[k][0], (Nplus[k] - Nminus[k]) / (2 * h), 1e-8) << k;
    shapeFunctionsAt(Nplus, unused, xi, eta + h);
    shapeFunctionsAt(Nminus, unused, xi, eta - h);
    for (int k = 0; k < UFemQuad4cGridPointCount; ++k)
        EXPECT_NEAR(dN[k][1], (Nplus[k] - Nminus[k]) / (2 * h), 1e-8) << k;
}

TEST(QuadGeometry, UnitSquarePositionsAndFrames)
{
    const auto info = makeElementInfo(unitSquare, 1.0, 0.0, 0.1);
    EXPECT_NEAR(info.referenceVector[0], 1.0, tolerance);
    EXPECT_NEAR(info.referenceVector[1], 0.0, tolerance);
    EXPECT_NEAR(info.referenceVector[2], 0.0, tolerance);
    EXPECT_NEAR(info.pointPositions[5][0], 2.0 / 3.0, tolerance);
    EXPECT_NEAR(info.pointPositions[5][1], 0.0, tolerance);
    EXPECT_NEAR(info.pointPositions[14][0], 2.0 / 3.0, tolerance);
    EXPECT_NEAR(info.pointPositions[14][1], 2.0 / 3.0, tolerance);
    EXPECT_NEAR(info.pointPositions[19][1], 0.5, tolerance);
    for (int p : { 0, 1, 2, 3, 12, 13, 14, 15 }) {
        SCOPED_TRACE(p);
        expectAxis(info.localFrames[p], 0, 1.0, 0.0, 0.0);
        expectAxis(info.localFrames[p], 1, 0.0, 1.0, 0.0);
        expectAxis(info.localFrames[p], 2, 0.0, 0.0, 1.0);
    }
    // Edge 3 runs from Node 3 to Node 4, against x.
    expectAxis(info.localFrames[9], 0, -1.0, 0.0, 0.0);
    expectAxis(info.localFrames[9], 1, 0.0, -1.0, 0.0);
    expectAxis(info.localFrames[9], 2, 0.0, 0.0, 1.0);
    // Edge 2 runs along y, edge 4 against it.
    expectAxis(info.localFrames[6], 0, 0.0, 1.0, 0.0);
    expectAxis(info.localFrames[6], 1, -1.0, 0.0, 0.0);
    expectAxis(info.localFrames[19], 0, 0.0, -1.0, 0.0);
    EXPECT_TRUE(UFemQuad4cHasRegularFrames(info));
}

TEST(QuadGeometry, PointInfoJacobianOfTheUnitSquare)
{
    const auto info = makeElementInfo(unitSquare, 1.0, 0.0, 0.1);
    UFemQuad4cPointInfo pointInfo;
    const double point[3] = { 0.0, 0.0, 0.5 };
    UFemQuad4cComputePointInfo(&pointInfo, info, point);
    const double J[3] = { 0.5, 0.5, 0.05 };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR(pointInfo.J[i][j], i == j ? J[i] : 0.0, tolerance);
            EXPECT_NEAR(pointInfo.Jinv[i][j], i == j ? 1.0 / J[i] : 0.0, tolerance);
        }
    EXPECT_NEAR(pointInfo.detJ, 0.0125, tolerance);
    EXPECT_EQ(pointInfo.naturalPoint[2], 0.5);
    expectAxis(pointInfo.frame, 0, 1.0, 0.0, 0.0);
    expectAxis(pointInfo.frame, 2, 0.0, 0.0, 1.0);
}

TEST(QuadGeometry, FramesOfASkewElementFollowTheReferenceVector)
{
    // Node 2 lifted: e1 is the projection of r onto the tangent plane, e3 the normal.
    const NodeLocations skew
        = { { { 0.0, 0.0, 0.0 }, { 2.0, 0.5, 0.3 }, { 2.2, 2.0, 0.0 }, { -0.1, 1.7, 0.0 } } };
    const auto info = makeElementInfo(skew, 1.0, 0.0, 0.1);
    UFemQuad4cPointInfo pointInfo;
    const double point[3] = { 0.2, -0.4, 0.0 };
    UFemQuad4cComputePointInfo(&pointInfo, info, point);
    double e[3][3];
    for (int a = 0; a < 3; ++a)
        for (int i = 0; i < 3; ++i)
            e[a][i] = pointInfo.frame[i][a];
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            EXPECT_NEAR(UFemQuad4cDot(e[a], e[b]), a == b ? 1.0 : 0.0, 1e-12);
    // Rows 0 and 1 of J are the tangents; both lie in the plane of e1 and e2.
    EXPECT_NEAR(UFemQuad4cDot(pointInfo.J[0], e[2]), 0.0, 1e-12);
    EXPECT_NEAR(UFemQuad4cDot(pointInfo.J[1], e[2]), 0.0, 1e-12);
    EXPECT_NEAR(UFemQuad4cDot(info.referenceVector, e[1]), 0.0, 1e-12);
    EXPECT_GT(UFemQuad4cDot(info.referenceVector, e[0]), 0.0);
    double normal[3];
    UFemQuad4cCross(normal, pointInfo.J[0], pointInfo.J[1]);
    EXPECT_GT(UFemQuad4cDot(normal, e[2]), 0.0);
    EXPECT_GT(pointInfo.detJ, 0.0);
}

TEST(QuadGeometry, ShellElasticityMatrix)
{
    double D[36];
    UFemShellMakeElasticityMatrix(D, { 1.0, 0.0, 0.5 });
    const double diagonal[6] = { 1.0, 1.0, 0.0, 0.4166666666666667, 0.4166666666666667, 0.5 };
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            EXPECT_EQ(D[i * 6 + j], i == j ? diagonal[i] : 0.0) << i << "," << j;
    UFemShellMakeElasticityMatrix(D, { 1000.0, 0.3, 1000.0 / 2.6 });
    EXPECT_NEAR(D[0], 1000.0 / 0.91, 1e-9);
    EXPECT_NEAR(D[1], 300.0 / 0.91, 1e-9);
    EXPECT_NEAR(D[6], 300.0 / 0.91, 1e-9);
    EXPECT_NEAR(D[3 * 6 + 3], 1000.0 * 5.0 / 12.0 / 1.3, 1e-9);
    EXPECT_NEAR(D[5 * 6 + 5], 1000.0 / 2.6, 1e-9);
    EXPECT_EQ(D[2 * 6 + 2], 0.0);
}

TEST(QuadGeometry, DegenerateAndFoldedElementsHaveIrregularFrames)
{
    NodeLocations collapsed = unitSquare;
    collapsed[3] = collapsed[2];
    EXPECT_FALSE(UFemQuad4cHasRegularFrames(makeElementInfo(collapsed, 1.0, 0.0, 0.1)));
    NodeLocations folded = unitSquare;
    std::swap(folded[2], folded[3]); // a bow tie
    EXPECT_FALSE(UFemQuad4cHasRegularFrames(makeElementInfo(folded, 1.0, 0.0, 0.1)));
    NodeLocations dart = unitSquare;
    dart[2] = { 0.2, 0.2, 0.0 }; // Node 3 inside the triangle of the others
    EXPECT_FALSE(UFemQuad4cHasRegularFrames(makeElementInfo(dart, 1.0, 0.0, 0.1)));
    NodeLocations warped = unitSquare;
    warped[2][2] = 0.2;
    EXPECT_TRUE(UFemQuad4cHasRegularFrames(makeElementInfo(warped, 1.0, 0.0, 0.1)));
}
