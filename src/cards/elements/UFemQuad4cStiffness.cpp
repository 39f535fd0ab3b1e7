#include "cards/elements/UFemQuad4cStiffness.h"

#include "cardmodel/card/UFemMatrixCalculator.h"
#include "cards/elements/UFemIntegrationRule.h"
#include "cards/elements/UFemQuad4cVector.h"

#include <cstring>

namespace {

constexpr int nodal = UFemQuad4cNodalDOFCount;
constexpr int grid = UFemQuad4cGridDOFCount;
constexpr int strains = UFemQuad4cStrainCount;
constexpr int pointDOFs = 6;
constexpr int interiorDOFs = grid - nodal;
constexpr double twoThirds = 2.0 / 3.0;
constexpr double oneThird = 1.0 / 3.0;
constexpr double nearestCornerWeight = 0.4444444444444444;
constexpr double neighbourCornerWeight = 0.22222222222222224;
constexpr double oppositeCornerWeight = 0.11111111111111113;
constexpr double shearParameterFactor = 2.4;
constexpr double drillingFactor = 0.01;

// Local degree of freedom indexes of a non-corner grid point.
constexpr int u1 = 0;
constexpr int u2 = 1;
constexpr int w = 2;
constexpr int theta1 = 3;
constexpr int theta2 = 4;

struct Edge {
    int startNode;
    int endNode;
    int pointNearStart;
    int pointNearEnd;
    int middlePoint;
};

constexpr Edge edges[UFemQuad4cNodeCount]
    = { { 0, 1, 4, 5, 16 }, { 1, 2, 6, 7, 17 }, { 2, 3, 8, 9, 18 }, { 3, 0, 10, 11, 19 } };

void frameAxis(double* axis, const double (*frame)[3], int which)
{
    for (int i = 0; i < 3; ++i)
        axis[i] = frame[i][which];
}

// Adds factor x vector into the translation (rotation 0) or rotation columns of a node.
void addToNodeColumns(double* row, int node, int rotation, const double* vector, double factor)
{
    for (int i = 0; i < 3; ++i)
        row[pointDOFs * node + 3 * rotation + i] += factor * vector[i];
}

// c[r][j]: value r of (w_a, theta2_a, w_b, theta2_b) = sum of c[r][j] x end value j of
// (w_s, theta2_s, w_f, theta2_f), for a shear-deformable beam of three equal segments.
void solveEdgeBeam(double (*c)[4], double L, double Phi)
{
    const double L2 = L * L;
    const double diagonal = (18.0 * Phi + 8.0) * L2;
    const double coupling = (2.0 - 9.0 * Phi) * L2;
    double S[4][8] = { { 12.0, 0.0, -6.0, -L, -6.0, L, 0.0, 0.0 },
        { 0.0, diagonal, 18.0 * L, coupling, -18.0 * L, coupling, 0.0, 0.0 },
        { -6.0, L, 12.0, 0.0, 0.0, 0.0, -6.0, -L },
        { -18.0 * L, coupling, 0.0, diagonal, 0.0, 0.0, 18.0 * L, coupling } };
    for (int k = 0; k < 4; ++k)
        for (int i = k + 1; i < 4; ++i) {
            const double factor = S[i][k] / S[k][k];
            for (int j = 0; j < 8; ++j)
                S[i][j] -= factor * S[k][j];
        }
    for (int k = 3; k > 0; --k)
        for (int i = k - 1; i >= 0; --i) {
            const double factor = S[i][k] / S[k][k];
            for (int j = 4; j < 8; ++j)
                S[i][j] -= factor * S[k][j];
        }
    for (int r = 0; r < 4; ++r)
        for (int j = 0; j < 4; ++j)
            c[r][j] = -S[r][4 + j] / S[r][r];
}

void fillEdgeRows(
    double* T, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const Edge& edge)
{
    const double(*X)[3] = elementInfo.pointPositions;
    double along[3];
    for (int i = 0; i < 3; ++i)
        along[i] = X[edge.endNode][i] - X[edge.startNode][i];
    const double L = UFemQuad4cLength(along);
    const double t = elementInfo.thickness;
    const double Phi = shearParameterFactor * t * t
        / ((1.0 - elementInfo.materialProperty.poissonsRatio) * L * L);
    double c[4][4];
    solveEdgeBeam(c, L, Phi);
    double tau[3];
    frameAxis(tau, elementInfo.localFrames[edge.middlePoint], 0);
    const int points[2] = { edge.pointNearStart, edge.pointNearEnd };
    for (int side = 0; side < 2; ++side) {
        const int p = points[side];
        const double startWeight = side == 0 ? twoThirds : oneThird;
        const double endWeight = side == 0 ? oneThird : twoThirds;
        double e2[3];
        double e3[3];
        frameAxis(e2, elementInfo.localFrames[p], 1);
        frameAxis(e3, elementInfo.localFrames[p], 2);
        double* rows = T + pointDOFs * (p - UFemQuad4cFirstEdgePoint) * nodal;
        auto linear = [&](int local, int rotation, const double* axis) {
            addToNodeColumns(rows + local * nodal, edge.startNode, rotation, axis, startWeight);
            addToNodeColumns(rows + local * nodal, edge.endNode, rotation, axis, endWeight);
        };
        linear(u1, 0, tau);
        linear(u2, 0, e2);
        linear(theta1, 1, tau);
        const int beamRows[2] = { w, theta2 };
        for (int b = 0; b < 2; ++b) {
            const double* coefficients = c[2 * side + b];
            double* row = rows + beamRows[b] * nodal;
            addToNodeColumns(row, edge.startNode, 0, e3, coefficients[0]);
            addToNodeColumns(row, edge.startNode, 1, e2, coefficients[1]);
            addToNodeColumns(row, edge.endNode, 0, e3, coefficients[2]);
            addToNodeColumns(row, edge.endNode, 1, e2, coefficients[3]);
        }
    }
}

// The six strains of one displacement mode of grid point k: translation U and thickness
// direction V (the rotation crossed with the point's normal).
void modeStrains(double* strain, const UFemQuad4cPointInfo& pointInfo, int k, const double* U,
    const double* V, double halfThickness)
{
    const double zeta = pointInfo.naturalPoint[2];
    double G[3][3];
    for (int a = 0; a < 3; ++a) {
        const double atZeta = U[a] + zeta * halfThickness * V[a];
        G[a][0] = pointInfo.dN[k][0] * atZeta;
        G[a][1] = pointInfo.dN[k][1] * atZeta;
        G[a][2] = pointInfo.N[k] * halfThickness * V[a];
    }
    double H[3][3];
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b)
            H[a][b] = pointInfo.Jinv[b][0] * G[a][0] + pointInfo.Jinv[b][1] * G[a][1]
                + pointInfo.Jinv[b][2] * G[a][2];
    const double(*F)[3] = pointInfo.frame;
    double HF[3][3];
    for (int a = 0; a < 3; ++a)
        for (int m = 0; m < 3; ++m)
            HF[a][m] = H[a][0] * F[0][m] + H[a][1] * F[1][m] + H[a][2] * F[2][m];
    double Lg[3][3];
    for (int l = 0; l < 3; ++l)
        for (int m = 0; m < 3; ++m)
            Lg[l][m] = F[0][l] * HF[0][m] + F[1][l] * HF[1][m] + F[2][l] * HF[2][m];
    strain[0] = Lg[0][0];
    strain[1] = Lg[1][1];
    strain[2] = 0.0;
    strain[3] = Lg[1][2] + Lg[2][1];
    strain[4] = Lg[2][0] + Lg[0][2];
    strain[5] = Lg[0][1] + Lg[1][0];
}

// S (6 x 6): the strains of grid point k's six degrees of freedom (nodal ones for corners, local
// ones otherwise), column by column.
void gridPointStrains(double (*S)[pointDOFs],
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo,
    const UFemQuad4cPointInfo& pointInfo, int k)
{
    const double(*frame)[3] = elementInfo.localFrames[k];
    double axes[3][3];
    for (int j = 0; j < 3; ++j)
        frameAxis(axes[j], frame, j);
    const double zero[3] = { 0.0, 0.0, 0.0 };
    const double halfThickness = elementInfo.thickness / 2.0;
    for (int d = 0; d < pointDOFs; ++d) {
        double unit[3] = { 0.0, 0.0, 0.0 };
        const double* direction = unit;
        if (k < UFemQuad4cNodeCount)
            unit[d % 3] = 1.0;
        else
            direction = axes[d % 3];
        double V[3] = { 0.0, 0.0, 0.0 };
        if (d >= 3)
            UFemQuad4cCross(V, direction, axes[2]);
        double strain[strains];
        modeStrains(strain, pointInfo, k, d < 3 ? direction : zero, V, halfThickness);
        for (int r = 0; r < strains; ++r)
            S[r][d] = strain[r];
    }
}

// K (n x n) += factor x B^T D B for B (6 x n).
void addWeightedProduct(double* K, int n, const double* B, const double* D, double factor)
{
    double DB[strains * grid];
    for (int r = 0; r < strains; ++r)
        for (int j = 0; j < n; ++j) {
            double sum = 0.0;
            for (int s = 0; s < strains; ++s)
                sum += D[r * strains + s] * B[s * n + j];
            DB[r * n + j] = sum;
        }
    for (int i = 0; i < n; ++i)
        for (int r = 0; r < strains; ++r) {
            const double b = factor * B[r * n + i];
            if (b == 0.0)
                continue;
            for (int j = 0; j < n; ++j)
                K[i * n + j] += b * DB[r * n + j];
        }
}

// Calls `visit` with B and det J x weight at each point of the rule (-4, -4, -2) in index order.
template <typename Visit>
void forEachIntegrationPoint(
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* T, Visit visit)
{
    const quint64 count = UFemIntegrationPointCount(3, UFemQuad4cIntegralNumberInPlane,
        UFemQuad4cIntegralNumberInPlane, UFemQuad4cIntegralNumberThrough);
    for (quint64 index = 0; index < count; ++index) {
        double weight = 0.0;
        double naturalPoint[3];
        UFemGaussIntegrationPoints(&weight, naturalPoint, 3, UFemQuad4cIntegralNumberInPlane,
            UFemQuad4cIntegralNumberInPlane, UFemQuad4cIntegralNumberThrough, index);
        UFemQuad4cPointInfo pointInfo;
        UFemQuad4cComputePointInfo(&pointInfo, elementInfo, naturalPoint);
        double B[strains * grid];
        UFemQuad4cMakePointStrainMatrix(B, elementInfo, T, pointInfo);
        visit(B, pointInfo.detJ * weight);
    }
}

bool isCondensed(int interiorIndex)
{
    const int local = interiorIndex % pointDOFs;
    return local == w || local == theta1 || local == theta2;
}

void interpolateInteriorTranslations(
    double* M, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo)
{
    for (int q = 0; q < UFemQuad4cNodeCount; ++q) {
        const int point = UFemQuad4cFirstInteriorPoint + q;
        double weights[UFemQuad4cNodeCount];
        weights[q] = nearestCornerWeight;
        weights[(q + 1) % 4] = neighbourCornerWeight;
        weights[(q + 3) % 4] = neighbourCornerWeight;
        weights[(q + 2) % 4] = oppositeCornerWeight;
        for (int axis = 0; axis < 2; ++axis) {
            double direction[3];
            frameAxis(direction, elementInfo.localFrames[point], axis);
            double* row = M + (pointDOFs * q + axis) * nodal;
            for (int c = 0; c < UFemQuad4cNodeCount; ++c)
                addToNodeColumns(row, c, 0, direction, weights[c]);
        }
    }
}

} // namespace

void UFemQuad4cMakeGridTransformationMatrix(
    double* T, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo)
{
    std::memset(T, 0, sizeof(double) * grid * nodal);
    for (const Edge& edge : edges)
        fillEdgeRows(T, elementInfo, edge);
}

void UFemQuad4cMakePointStrainMatrix(double* B,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* T,
    const UFemQuad4cPointInfo& pointInfo)
{
    std::memset(B, 0, sizeof(double) * strains * grid);
    for (int k = 0; k < UFemQuad4cGridPointCount; ++k) {
        double S[strains][pointDOFs];
        gridPointStrains(S, elementInfo, pointInfo, k);
        if (k < UFemQuad4cNodeCount || k >= UFemQuad4cFirstInteriorPoint) {
            const int first = k < UFemQuad4cNodeCount
                ? pointDOFs * k
                : nodal + pointDOFs * (k - UFemQuad4cFirstInteriorPoint);
            for (int r = 0; r < strains; ++r)
                for (int d = 0; d < pointDOFs; ++d)
                    B[r * grid + first + d] = S[r][d];
            continue;
        }
        const double* rows = T + pointDOFs * (k - UFemQuad4cFirstEdgePoint) * nodal;
        for (int r = 0; r < strains; ++r)
            for (int l = 0; l < pointDOFs; ++l) {
                if (S[r][l] == 0.0)
                    continue;
                for (int j = 0; j < nodal; ++j)
                    B[r * grid + j] += S[r][l] * rows[l * nodal + j];
            }
    }
}

void UFemQuad4cIntegrateGridStiffnessMatrix(double* K48,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* D, const double* T)
{
    std::memset(K48, 0, sizeof(double) * grid * grid);
    forEachIntegrationPoint(elementInfo, T,
        [&](const double* B, double factor) { addWeightedProduct(K48, grid, B, D, factor); });
}

void UFemQuad4cReduceGridMatrix(
    double* M, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo, const double* K48)
{
    std::memset(M, 0, sizeof(double) * interiorDOFs * nodal);
    double W[interiorDOFs * grid];
    std::memcpy(W, K48 + nodal * grid, sizeof(W));
    interpolateInteriorTranslations(M, elementInfo);
    for (int i = 0; i < interiorDOFs; ++i) {
        if (!isCondensed(i))
            continue;
        double* row = W + i * grid;
        for (int q = 0; q < UFemQuad4cNodeCount; ++q)
            for (int axis = 0; axis < 2; ++axis) {
                const double factor = row[nodal + pointDOFs * q + axis];
                if (factor == 0.0)
                    continue;
                const double* source = M + (pointDOFs * q + axis) * nodal;
                for (int j = 0; j < nodal; ++j)
                    row[j] += factor * source[j];
            }
    }
    for (int k = 0; k < interiorDOFs; ++k) {
        if (!isCondensed(k))
            continue;
        const double* pivotRow = W + k * grid;
        for (int i = k + 1; i < interiorDOFs; ++i) {
            if (!isCondensed(i))
                continue;
            double* row = W + i * grid;
            const double factor = row[nodal + k] / pivotRow[nodal + k];
            for (int j = k + 1; j < interiorDOFs; ++j)
                if (isCondensed(j))
                    row[nodal + j] -= factor * pivotRow[nodal + j];
            for (int j = 0; j < nodal; ++j)
                row[j] -= factor * pivotRow[j];
        }
    }
    for (int k = interiorDOFs - 1; k >= 0; --k) {
        if (!isCondensed(k))
            continue;
        const double* pivotRow = W + k * grid;
        for (int i = k - 1; i >= 0; --i) {
            if (!isCondensed(i))
                continue;
            double* row = W + i * grid;
            const double factor = row[nodal + k] / pivotRow[nodal + k];
            for (int j = 0; j < nodal; ++j)
                row[j] -= factor * pivotRow[j];
        }
    }
    for (int i = 0; i < interiorDOFs; ++i) {
        if (!isCondensed(i))
            continue;
        const double scale = -1.0 / W[i * grid + nodal + i];
        for (int j = 0; j < nodal; ++j)
            M[i * nodal + j] = W[i * grid + j] * scale;
    }
}

void UFemQuad4cCondenseStrainMatrix(double* Bc, const double* B, const double* M)
{
    for (int r = 0; r < strains; ++r) {
        const double* row = B + r * grid;
        double* out = Bc + r * nodal;
        std::memcpy(out, row, sizeof(double) * nodal);
        for (int i = 0; i < interiorDOFs; ++i) {
            const double factor = row[nodal + i];
            if (factor == 0.0)
                continue;
            for (int j = 0; j < nodal; ++j)
                out[j] += factor * M[i * nodal + j];
        }
    }
}

void UFemQuad4cMakeDrillingStiffness(double* K, const UFemQuad4cDrillingInfo& drillingInfo)
{
    double d13[3];
    double d24[3];
    double n[3];
    UFemQuad4cGetDiagonals(d13, d24, n, drillingInfo.nodeLocations);
    const double nLength = UFemQuad4cLength(n);
    double e[3];
    UFemQuad4cScale(e, n, 1.0 / nLength);
    const double k
        = drillingFactor * drillingInfo.youngsModulus * drillingInfo.thickness * (nLength / 2.0);
    const double length13 = UFemQuad4cLength(d13);
    const double length24 = UFemQuad4cLength(d24);
    const double S = length13 + length24;
    double a[3];
    double b[3];
    UFemQuad4cCross(a, e, d13);
    UFemQuad4cScale(a, a, 1.0 / length13);
    UFemQuad4cCross(b, e, d24);
    UFemQuad4cScale(b, b, 1.0 / length24);
    double c[UFemQuad4cNodeCount][3];
    UFemQuad4cScale(c[0], a, 1.0 / S);
    UFemQuad4cScale(c[1], b, 1.0 / S);
    UFemQuad4cScale(c[2], a, -1.0 / S);
    UFemQuad4cScale(c[3], b, -1.0 / S);
    auto at = [K](int node1, int rotation1, int node2, int rotation2, int i, int j) -> double& {
        return K[(pointDOFs * node1 + 3 * rotation1 + i) * nodal + pointDOFs * node2 + 3 * rotation2
            + j];
    };
    for (int m = 0; m < UFemQuad4cNodeCount; ++m)
        for (int n2 = 0; n2 < UFemQuad4cNodeCount; ++n2)
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) {
                    at(m, 0, n2, 0, i, j) += 4.0 * k * c[m][i] * c[n2][j];
                    at(m, 1, n2, 0, i, j) += k * e[i] * c[n2][j];
                    at(n2, 0, m, 1, j, i) += k * c[n2][j] * e[i];
                    if (m == n2)
                        at(m, 1, m, 1, i, j) += k * e[i] * e[j];
                }
}

void UFemQuad4cPrepareCondensation(UFemQuad4cCondensation* condensation,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo)
{
    UFemShellMakeElasticityMatrix(condensation->D, elementInfo.materialProperty);
    UFemQuad4cMakeGridTransformationMatrix(condensation->T, elementInfo);
    double K48[grid * grid];
    UFemQuad4cIntegrateGridStiffnessMatrix(K48, elementInfo, condensation->D, condensation->T);
    UFemQuad4cReduceGridMatrix(condensation->M, elementInfo, K48);
}

void UFemQuad4cMakeCondensedStrainMatrix(double* Bc,
    const UFemQuad4cElementMatrixWholeElementInfo& elementInfo,
    const UFemQuad4cCondensation& condensation, const UFemQuad4cPointInfo& pointInfo)
{
    double B[strains * grid];
    UFemQuad4cMakePointStrainMatrix(B, elementInfo, condensation.T, pointInfo);
    UFemQuad4cCondenseStrainMatrix(Bc, B, condensation.M);
}

void UFemQuad4cMakeElementStiffnessMatrix(
    double* K, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo)
{
    UFemQuad4cCondensation condensation;
    UFemQuad4cPrepareCondensation(&condensation, elementInfo);
    std::memset(K, 0, sizeof(double) * nodal * nodal);
    forEachIntegrationPoint(elementInfo, condensation.T, [&](const double* B, double factor) {
        double Bc[strains * nodal];
        UFemQuad4cCondenseStrainMatrix(Bc, B, condensation.M);
        addWeightedProduct(K, nodal, Bc, condensation.D, factor);
    });
    UFemQuad4cDrillingInfo drillingInfo;
    drillingInfo.youngsModulus = elementInfo.materialProperty.youngsModulus;
    drillingInfo.thickness = elementInfo.thickness;
    std::memcpy(
        drillingInfo.nodeLocations, elementInfo.pointPositions, sizeof(drillingInfo.nodeLocations));
    UFemQuad4cMakeDrillingStiffness(K, drillingInfo);
}

void UFemQuad4cPutElementStiffnessBlocks(UFemMatrixCalculator& matrixCalculator, const double* K,
    const UFemCardName* const* nodeCardNames)
{
    for (int i = 0; i < UFemQuad4cNodeCount; ++i)
        for (int a = 0; a < 2; ++a)
            for (int j = 0; j < UFemQuad4cNodeCount; ++j)
                for (int b = 0; b < 2; ++b) {
                    double block[9];
                    for (int r = 0; r < 3; ++r)
                        for (int c = 0; c < 3; ++c)
                            block[3 * r + c] = K[(pointDOFs * i + 3 * a + r) * nodal + pointDOFs * j
                                + 3 * b + c];
                    matrixCalculator.addStiffnessMatrix(
                        block, *nodeCardNames[i], a, *nodeCardNames[j], b);
                }
}
