#include "cards/elements/UFemQuad4cGeometry.h"

#include "cards/elements/UFemQuad4cVector.h"

#include <cmath>
#include <cstring>

namespace {

constexpr double third = 1.0 / 3.0;
// 5/12: the transverse shear modulus with the shear factor 5/6.
constexpr double transverseShearFactor = 0.4166666666666667;

// The one-dimensional Lagrange cubic (1 to 4) on the nodes -1, -1/3, 1/3, 1 at s, and its slope.
double lagrange(int which, double s)
{
    switch (which) {
    case 1:
        return -1.0 / 16.0 * (1.0 - s) * (1.0 - 9.0 * s * s);
    case 2:
        return 9.0 / 16.0 * (1.0 - 3.0 * s) * (1.0 - s * s);
    case 3:
        return 9.0 / 16.0 * (1.0 + 3.0 * s) * (1.0 - s * s);
    default:
        return -1.0 / 16.0 * (1.0 + s) * (1.0 - 9.0 * s * s);
    }
}

double lagrangeSlope(int which, double s)
{
    switch (which) {
    case 1:
        return -1.0 / 16.0 * (27.0 * s * s - 18.0 * s - 1.0);
    case 2:
        return 9.0 / 16.0 * (9.0 * s * s - 2.0 * s - 3.0);
    case 3:
        return 9.0 / 16.0 * (-9.0 * s * s - 2.0 * s + 3.0);
    default:
        return -1.0 / 16.0 * (-27.0 * s * s - 18.0 * s + 1.0);
    }
}

// The cubics (in xi, in eta) of each grid point.
constexpr int gridLagrangeIndexes[UFemQuad4cGridPointCount][2]
    = { { 1, 1 }, { 4, 1 }, { 4, 4 }, { 1, 4 }, { 2, 1 }, { 3, 1 }, { 4, 2 }, { 4, 3 }, { 3, 4 },
          { 2, 4 }, { 1, 3 }, { 1, 2 }, { 2, 2 }, { 3, 2 }, { 3, 3 }, { 2, 3 } };

enum class FrameReference { element, tangentXi, tangentEta, minusTangentXi, minusTangentEta };

FrameReference frameReferenceOfPoint(int point)
{
    switch (point) {
    case 4:
    case 5:
    case 16:
        return FrameReference::tangentXi;
    case 6:
    case 7:
    case 17:
        return FrameReference::tangentEta;
    case 8:
    case 9:
    case 18:
        return FrameReference::minusTangentXi;
    case 10:
    case 11:
    case 19:
        return FrameReference::minusTangentEta;
    default:
        return FrameReference::element;
    }
}

// Sum over the grid of dN_k/d(natural `direction`) X_k.
void tangent(
    double* out, const double (*gridPointPositions)[3], const double (*dN)[3], int direction)
{
    out[0] = out[1] = out[2] = 0.0;
    for (int k = 0; k < UFemQuad4cGridPointCount; ++k)
        for (int i = 0; i < 3; ++i)
            out[i] += dN[k][direction] * gridPointPositions[k][i];
}

void fillFrameReference(double* reference, FrameReference kind,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double (*dN)[3])
{
    if (kind == FrameReference::element) {
        std::memcpy(reference, elementInfo.referenceVector, sizeof(double) * 3);
        return;
    }
    const bool alongXi
        = kind == FrameReference::tangentXi || kind == FrameReference::minusTangentXi;
    tangent(reference, elementInfo.pointPositions, dN, alongXi ? 0 : 1);
    if (kind == FrameReference::minusTangentXi || kind == FrameReference::minusTangentEta)
        UFemQuad4cScale(reference, reference, -1.0);
}

double determinant(const double (*J)[3])
{
    return J[0][0] * J[1][1] * J[2][2] + J[0][1] * J[1][2] * J[2][0] + J[0][2] * J[1][0] * J[2][1]
        - J[0][0] * J[1][2] * J[2][1] - J[0][1] * J[1][0] * J[2][2] - J[0][2] * J[1][1] * J[2][0];
}

void invert(double (*Jinv)[3], const double (*J)[3], double det)
{
    Jinv[0][0] = (J[1][1] * J[2][2] - J[1][2] * J[2][1]) / det;
    Jinv[0][1] = (J[0][2] * J[2][1] - J[0][1] * J[2][2]) / det;
    Jinv[0][2] = (J[0][1] * J[1][2] - J[0][2] * J[1][1]) / det;
    Jinv[1][0] = (J[1][2] * J[2][0] - J[1][0] * J[2][2]) / det;
    Jinv[1][1] = (J[0][0] * J[2][2] - J[0][2] * J[2][0]) / det;
    Jinv[1][2] = (J[0][2] * J[1][0] - J[0][0] * J[1][2]) / det;
    Jinv[2][0] = (J[1][0] * J[2][1] - J[1][1] * J[2][0]) / det;
    Jinv[2][1] = (J[0][1] * J[2][0] - J[0][0] * J[2][1]) / det;
    Jinv[2][2] = (J[0][0] * J[1][1] - J[0][1] * J[1][0]) / det;
}

} // namespace

const double UFemQuad4cNaturalPointTable[UFemQuad4cPointCount][3] = { { -1.0, -1.0, 0.0 },
    { 1.0, -1.0, 0.0 }, { 1.0, 1.0, 0.0 }, { -1.0, 1.0, 0.0 }, { -third, -1.0, 0.0 },
    { third, -1.0, 0.0 }, { 1.0, -third, 0.0 }, { 1.0, third, 0.0 }, { third, 1.0, 0.0 },
    { -third, 1.0, 0.0 }, { -1.0, third, 0.0 }, { -1.0, -third, 0.0 }, { -third, -third, 0.0 },
    { third, -third, 0.0 }, { third, third, 0.0 }, { -third, third, 0.0 }, { 0.0, -1.0, 0.0 },
    { 1.0, 0.0, 0.0 }, { 0.0, 1.0, 0.0 }, { -1.0, 0.0, 0.0 } };

void UFemQuad4cGetCubicShapeFunctions(double* N, double (*dN)[3], const double* naturalPoint)
{
    const double xi = naturalPoint[0];
    const double eta = naturalPoint[1];
    for (int k = 0; k < UFemQuad4cGridPointCount; ++k) {
        const int a = gridLagrangeIndexes[k][0];
        const int b = gridLagrangeIndexes[k][1];
        const double la = lagrange(a, xi);
        const double lb = lagrange(b, eta);
        N[k] = la * lb;
        dN[k][0] = lagrangeSlope(a, xi) * lb;
        dN[k][1] = la * lagrangeSlope(b, eta);
        dN[k][2] = 0.0;
    }
}

void UFemQuad4cComputeLocalFrame(double (*frame)[3], const double (*gridPointPositions)[3],
    const double* /*naturalPoint*/, const double* /*N*/, const double (*dN)[3],
    const double* referenceVector)
{
    double g1[3];
    double g2[3];
    tangent(g1, gridPointPositions, dN, 0);
    tangent(g2, gridPointPositions, dN, 1);
    double e1[3];
    double e2[3];
    double e3[3];
    UFemQuad4cCross(e3, g1, g2);
    UFemQuad4cScale(e3, e3, 1.0 / UFemQuad4cLength(e3));
    UFemQuad4cCross(e2, e3, referenceVector);
    UFemQuad4cScale(e2, e2, 1.0 / UFemQuad4cLength(e2));
    UFemQuad4cCross(e1, e2, e3);
    for (int i = 0; i < 3; ++i) {
        frame[i][0] = e1[i];
        frame[i][1] = e2[i];
        frame[i][2] = e3[i];
    }
}

void UFemQuad4cComputePointInfo(UFemQuad4cPointInfo* pointInfo,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* naturalPoint)
{
    std::memcpy(pointInfo->naturalPoint, naturalPoint, sizeof(double) * 3);
    UFemQuad4cGetCubicShapeFunctions(pointInfo->N, pointInfo->dN, naturalPoint);
    double(*J)[3] = pointInfo->J;
    tangent(J[0], elementInfo.pointPositions, pointInfo->dN, 0);
    tangent(J[1], elementInfo.pointPositions, pointInfo->dN, 1);
    const double halfThickness = elementInfo.thickness / 2.0;
    J[2][0] = J[2][1] = J[2][2] = 0.0;
    // The normal turns along a warped surface; leaving that out of the in-plane rows would make
    // a rigid rotation of a warped element strain it.
    const double normalOffset = halfThickness * naturalPoint[2];
    for (int k = 0; k < UFemQuad4cGridPointCount; ++k) {
        for (int i = 0; i < 3; ++i) {
            const double normal = elementInfo.localFrames[k][i][2];
            J[0][i] += normalOffset * pointInfo->dN[k][0] * normal;
            J[1][i] += normalOffset * pointInfo->dN[k][1] * normal;
            J[2][i] += halfThickness * pointInfo->N[k] * normal;
        }
    }
    pointInfo->detJ = determinant(J);
    invert(pointInfo->Jinv, J, pointInfo->detJ);
    UFemQuad4cComputeLocalFrame(pointInfo->frame, elementInfo.pointPositions, naturalPoint,
        pointInfo->N, pointInfo->dN, elementInfo.referenceVector);
}

void UFemQuad4cFillElementGeometry(
    UFemQuad4cElementMatrixWholeElementInfo* elementInfo, const double (*nodeLocations)[3])
{
    for (int p = 0; p < UFemQuad4cPointCount; ++p) {
        const double xi = UFemQuad4cNaturalPointTable[p][0];
        const double eta = UFemQuad4cNaturalPointTable[p][1];
        const double weights[UFemQuad4cNodeCount] = { (1.0 - xi) * (1.0 - eta),
            (1.0 + xi) * (1.0 - eta), (1.0 + xi) * (1.0 + eta), (1.0 - xi) * (1.0 + eta) };
        for (int i = 0; i < 3; ++i) {
            if (p < UFemQuad4cNodeCount) {
                elementInfo->pointPositions[p][i] = nodeLocations[p][i];
                continue;
            }
            double sum = 0.0;
            for (int n = 0; n < UFemQuad4cNodeCount; ++n)
                sum += weights[n] * nodeLocations[n][i];
            elementInfo->pointPositions[p][i] = 0.25 * sum;
        }
    }
    for (int i = 0; i < 3; ++i)
        elementInfo->referenceVector[i] = (nodeLocations[1][i] + nodeLocations[2][i]) / 2.0
            - (nodeLocations[0][i] + nodeLocations[3][i]) / 2.0;
    for (int p = 0; p < UFemQuad4cPointCount; ++p) {
        double N[UFemQuad4cGridPointCount];
        double dN[UFemQuad4cGridPointCount][3];
        UFemQuad4cGetCubicShapeFunctions(N, dN, UFemQuad4cNaturalPointTable[p]);
        double reference[3];
        fillFrameReference(reference, frameReferenceOfPoint(p), *elementInfo, dN);
        UFemQuad4cComputeLocalFrame(elementInfo->localFrames[p], elementInfo->pointPositions,
            UFemQuad4cNaturalPointTable[p], N, dN, reference);
    }
}

void UFemQuad4cGetDiagonals(
    double* d13, double* d24, double* normal, const double (*nodeLocations)[3])
{
    for (int i = 0; i < 3; ++i) {
        d13[i] = nodeLocations[2][i] - nodeLocations[0][i];
        d24[i] = nodeLocations[3][i] - nodeLocations[1][i];
    }
    UFemQuad4cCross(normal, d13, d24);
}

bool UFemQuad4cHasRegularFrames(const UFemQuad4cElementMatrixWholeElementInfo& elementInfo)
{
    double d13[3];
    double d24[3];
    double normal[3];
    UFemQuad4cGetDiagonals(d13, d24, normal, elementInfo.pointPositions);
    for (int p = 0; p < UFemQuad4cPointCount; ++p) {
        const double(*frame)[3] = elementInfo.localFrames[p];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                if (!std::isfinite(frame[i][j]))
                    return false;
        const double e3[3] = { frame[0][2], frame[1][2], frame[2][2] };
        if (!(UFemQuad4cDot(e3, normal) > 0.0))
            return false;
    }
    return true;
}

void UFemShellMakeElasticityMatrix(double* D, const _UFemMaterialProperty& materialProperty)
{
    const double E = materialProperty.youngsModulus;
    const double nu = materialProperty.poissonsRatio;
    std::memset(D, 0, sizeof(double) * 36);
    D[0 * 6 + 0] = D[1 * 6 + 1] = E / (1.0 - nu * nu);
    D[0 * 6 + 1] = D[1 * 6 + 0] = E * nu / (1.0 - nu * nu);
    D[3 * 6 + 3] = D[4 * 6 + 4] = E * transverseShearFactor / (1.0 + nu);
    D[5 * 6 + 5] = E * 0.5 / (1.0 + nu);
}
