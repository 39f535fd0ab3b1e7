#include "cards/elements/UFemHexaElementMatrix.h"

#include "cards/elements/UFemIntegrationRule.h"

#include <cmath>

const double UFemHexaNodeNaturalCoordinateTable[8][3]
    = { { -1.0, -1.0, -1.0 }, { 1.0, -1.0, -1.0 }, { 1.0, 1.0, -1.0 }, { -1.0, 1.0, -1.0 },
          { -1.0, -1.0, 1.0 }, { 1.0, -1.0, 1.0 }, { 1.0, 1.0, 1.0 }, { -1.0, 1.0, 1.0 } };

namespace {

constexpr int UFemHexaDimension = 3;
constexpr int UFemHexaGaussRule = -2;
constexpr int UFemHexaGaussPointCount = 8;
constexpr int UFemStressComponentCount = 6;
constexpr double UFemHexaShapeScale = 0.125;

// Shape functions and their natural derivatives at a natural point.
void makeNaturalShape(double shape[8], double derivative[8][3], const double point[3])
{
    for (quint64 node = 0; node < UFemHexaNodeCount; ++node) {
        const double* corner = UFemHexaNodeNaturalCoordinateTable[node];
        const double xiTerm = 1.0 + point[0] * corner[0];
        const double etaTerm = 1.0 + point[1] * corner[1];
        const double zetaTerm = 1.0 + point[2] * corner[2];
        shape[node] = UFemHexaShapeScale * xiTerm * etaTerm * zetaTerm;
        derivative[node][0] = UFemHexaShapeScale * corner[0] * etaTerm * zetaTerm;
        derivative[node][1] = UFemHexaShapeScale * corner[1] * xiTerm * zetaTerm;
        derivative[node][2] = UFemHexaShapeScale * corner[2] * xiTerm * etaTerm;
    }
}

// Weights and natural derivatives at the 2 x 2 x 2 points, the same for every element: made once,
// read by every thread afterwards.
struct GaussPointTable {
    double weight[UFemHexaGaussPointCount];
    double naturalDerivative[UFemHexaGaussPointCount][8][3];
};

const GaussPointTable& gaussPointTable()
{
    static const GaussPointTable table = [] {
        GaussPointTable made {};
        for (int index = 0; index < UFemHexaGaussPointCount; ++index) {
            double point[3];
            double shape[8];
            UFemGaussIntegrationPoints(&made.weight[index], point, UFemHexaDimension,
                UFemHexaGaussRule, UFemHexaGaussRule, UFemHexaGaussRule, quint64(index));
            makeNaturalShape(shape, made.naturalDerivative[index], point);
        }
        return made;
    }();
    return table;
}

// J[r][c] = sum over nodes of d(N)/d(natural r) x (global c); its inverse by the adjugate. Returns
// det J.
double makeJacobian(double jacobian[3][3], double inverse[3][3], const double derivative[8][3],
    const double location[8][3])
{
    for (int r = 0; r < UFemHexaDimension; ++r) {
        for (int c = 0; c < UFemHexaDimension; ++c) {
            double sum = 0.0;
            for (quint64 node = 0; node < UFemHexaNodeCount; ++node)
                sum += derivative[node][r] * location[node][c];
            jacobian[r][c] = sum;
        }
    }
    const double(*j)[3] = jacobian;
    const double determinant = j[0][0] * j[1][1] * j[2][2] + j[0][1] * j[1][2] * j[2][0]
        + j[0][2] * j[1][0] * j[2][1] - j[0][0] * j[1][2] * j[2][1] - j[0][1] * j[1][0] * j[2][2]
        - j[0][2] * j[1][1] * j[2][0];
    const double reciprocal = 1.0 / determinant;
    inverse[0][0] = (j[1][1] * j[2][2] - j[1][2] * j[2][1]) * reciprocal;
    inverse[0][1] = (j[0][2] * j[2][1] - j[0][1] * j[2][2]) * reciprocal;
    inverse[0][2] = (j[0][1] * j[1][2] - j[0][2] * j[1][1]) * reciprocal;
    inverse[1][0] = (j[1][2] * j[2][0] - j[1][0] * j[2][2]) * reciprocal;
    inverse[1][1] = (j[0][0] * j[2][2] - j[0][2] * j[2][0]) * reciprocal;
    inverse[1][2] = (j[0][2] * j[1][0] - j[0][0] * j[1][2]) * reciprocal;
    inverse[2][0] = (j[1][0] * j[2][1] - j[1][1] * j[2][0]) * reciprocal;
    inverse[2][1] = (j[0][1] * j[2][0] - j[0][0] * j[2][1]) * reciprocal;
    inverse[2][2] = (j[0][0] * j[1][1] - j[0][1] * j[1][0]) * reciprocal;
    return determinant;
}

// d(N)/d(global c) = sum over r of Jinv[c][r] d(N)/d(natural r).
void makeGlobalDerivative(
    double global[8][3], const double inverse[3][3], const double derivative[8][3])
{
    for (quint64 node = 0; node < UFemHexaNodeCount; ++node) {
        for (int c = 0; c < UFemHexaDimension; ++c) {
            global[node][c] = inverse[c][0] * derivative[node][0]
                + inverse[c][1] * derivative[node][1] + inverse[c][2] * derivative[node][2];
        }
    }
}

// B^T D B of one point for the node pairs a <= b, written out for the isotropic D (normal,
// lateral and shear terms already scaled by det J x weight), so that the zeros of B cost nothing.
void addPointStiffness(
    double* stiffness, const double global[8][3], double normal, double lateral, double shear)
{
    for (quint64 a = 0; a < UFemHexaNodeCount; ++a) {
        for (quint64 b = a; b < UFemHexaNodeCount; ++b) {
            double product[3][3];
            for (int r = 0; r < UFemHexaDimension; ++r)
                for (int c = 0; c < UFemHexaDimension; ++c)
                    product[r][c] = global[a][r] * global[b][c];
            const double dot = product[0][0] + product[1][1] + product[2][2];
            for (int r = 0; r < UFemHexaDimension; ++r) {
                double* row = stiffness + (3 * a + r) * UFemHexaElementDOFCount + 3 * b;
                for (int c = 0; c < UFemHexaDimension; ++c) {
                    row[c] += r == c ? normal * product[r][r] + shear * (dot - product[r][r])
                                     : lateral * product[r][c] + shear * product[c][r];
                }
            }
        }
    }
}

// Copies the blocks above the diagonal blocks into the ones below.
void mirrorLowerBlocks(double* stiffness)
{
    for (quint64 row = 0; row < UFemHexaElementDOFCount; ++row) {
        for (quint64 column = 0; column < row; ++column) {
            if (row / 3 > column / 3)
                stiffness[row * UFemHexaElementDOFCount + column]
                    = stiffness[column * UFemHexaElementDOFCount + row];
        }
    }
}

// B u at one natural point.
void strainAtPoint(double strain[6], const double naturalPoint[3], const double location[8][3],
    const double displacement[24])
{
    _UFemHexaShapeFunctionInfo info;
    UFemHexaComputeShapeFunctionInfo(&info, naturalPoint, location);
    double global[8][3];
    makeGlobalDerivative(global, info.inverseJacobian, info.naturalDerivative);
    for (int component = 0; component < UFemStressComponentCount; ++component)
        strain[component] = 0.0;
    for (quint64 node = 0; node < UFemHexaNodeCount; ++node) {
        const double* g = global[node];
        const double* u = displacement + 3 * node;
        strain[0] += g[0] * u[0];
        strain[1] += g[1] * u[1];
        strain[2] += g[2] * u[2];
        strain[3] += g[2] * u[1] + g[1] * u[2];
        strain[4] += g[2] * u[0] + g[0] * u[2];
        strain[5] += g[1] * u[0] + g[0] * u[1];
    }
}

} // namespace

double UFemHexaComputeShapeFunctionInfo(_UFemHexaShapeFunctionInfo* info,
    const double naturalPoint[3], const double nodeLocationTable[8][3])
{
    for (int axis = 0; axis < UFemHexaDimension; ++axis)
        info->naturalPoint[axis] = naturalPoint[axis];
    makeNaturalShape(info->shapeFunction, info->naturalDerivative, naturalPoint);
    return makeJacobian(
        info->jacobian, info->inverseJacobian, info->naturalDerivative, nodeLocationTable);
}

void UFemHexaMakeElasticityMatrix(
    double elasticityMatrix[6][6], double youngsModulus, double poissonsRatio)
{
    for (int r = 0; r < UFemStressComponentCount; ++r)
        for (int c = 0; c < UFemStressComponentCount; ++c)
            elasticityMatrix[r][c] = 0.0;
    const double denominator = (1.0 - 2.0 * poissonsRatio) * (1.0 + poissonsRatio);
    const double normal = (1.0 - poissonsRatio) * youngsModulus / denominator;
    const double lateral = poissonsRatio * youngsModulus / denominator;
    const double shear = 0.5 * youngsModulus / (1.0 + poissonsRatio);
    for (int r = 0; r < UFemHexaDimension; ++r) {
        for (int c = 0; c < UFemHexaDimension; ++c)
            elasticityMatrix[r][c] = r == c ? normal : lateral;
        elasticityMatrix[r + UFemHexaDimension][r + UFemHexaDimension] = shear;
    }
}

void UFemHexaMakeElementStiffnessMatrix(
    double stiffnessMatrix[576], const __UFemHexaElementMatrixWholeElementInfo& info)
{
    double elasticity[6][6];
    UFemHexaMakeElasticityMatrix(
        elasticity, info.materialProperty.youngsModulus, info.materialProperty.poissonsRatio);
    for (quint64 entry = 0; entry < UFemHexaStiffnessEntryCount; ++entry)
        stiffnessMatrix[entry] = 0.0;
    const GaussPointTable& table = gaussPointTable();
    for (int point = 0; point < UFemHexaGaussPointCount; ++point) {
        double jacobian[3][3];
        double inverse[3][3];
        const double determinant = makeJacobian(
            jacobian, inverse, table.naturalDerivative[point], info.nodeLocationTable);
        double global[8][3];
        makeGlobalDerivative(global, inverse, table.naturalDerivative[point]);
        const double scale = determinant * table.weight[point];
        addPointStiffness(stiffnessMatrix, global, elasticity[0][0] * scale,
            elasticity[0][1] * scale, elasticity[3][3] * scale);
    }
    mirrorLowerBlocks(stiffnessMatrix);
}

double UFemHexaVolume(const double nodeLocationTable[8][3])
{
    const GaussPointTable& table = gaussPointTable();
    double volume = 0.0;
    for (int point = 0; point < UFemHexaGaussPointCount; ++point) {
        double jacobian[3][3];
        double inverse[3][3];
        volume += makeJacobian(jacobian, inverse, table.naturalDerivative[point], nodeLocationTable)
            * table.weight[point];
    }
    return volume;
}

void UFemHexaMakeStrainTable(double* strainTable, const double* naturalPointTable,
    quint64 numberOfPoint, const double nodeLocationTable[8][3], const double displacement[24])
{
    for (quint64 point = 0; point < numberOfPoint; ++point) {
        strainAtPoint(strainTable + UFemStressComponentCount * point,
            naturalPointTable + UFemHexaDimension * point, nodeLocationTable, displacement);
    }
}

void UFemHexaMakeStressTable(double* stressTable, const double* naturalPointTable,
    quint64 numberOfPoint, const __UFemHexaElementMatrixWholeElementInfo& info,
    const double displacement[24])
{
    double elasticity[6][6];
    UFemHexaMakeElasticityMatrix(
        elasticity, info.materialProperty.youngsModulus, info.materialProperty.poissonsRatio);
    for (quint64 point = 0; point < numberOfPoint; ++point) {
        double strain[6];
        strainAtPoint(strain, naturalPointTable + UFemHexaDimension * point, info.nodeLocationTable,
            displacement);
        double* stress = stressTable + UFemStressComponentCount * point;
        for (int r = 0; r < UFemStressComponentCount; ++r) {
            double sum = 0.0;
            for (int c = 0; c < UFemStressComponentCount; ++c)
                sum += elasticity[r][c] * strain[c];
            stress[r] = sum;
        }
    }
}

double UFemHexaVonMisesStress(const double stress[6])
{
    const double xy = stress[0] - stress[1];
    const double yz = stress[1] - stress[2];
    const double zx = stress[2] - stress[0];
    const double shear = stress[3] * stress[3] + stress[4] * stress[4] + stress[5] * stress[5];
    return std::sqrt(0.5 * (xy * xy + yz * yz + zx * zx + 6.0 * shear));
}
