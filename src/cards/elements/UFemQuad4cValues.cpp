#include "cards/elements/UFemQuad4cValues.h"

#include <cmath>
#include <cstring>

namespace {

constexpr int nodal = UFemQuad4cNodalDOFCount;
constexpr int strains = UFemQuad4cStrainCount;

enum Component { x, y, z, yz, zx, xy };

} // namespace

const double UFemQuad4cOutputPointTable[UFemQuad4cOutputPointCount][3]
    = { { -1.0, -1.0, -1.0 }, { -1.0, -1.0, 1.0 }, { 1.0, -1.0, -1.0 }, { 1.0, -1.0, 1.0 },
          { 1.0, 1.0, -1.0 }, { 1.0, 1.0, 1.0 }, { -1.0, 1.0, -1.0 }, { -1.0, 1.0, 1.0 } };

void UFemQuad4cGetStrainTable(double* strainTable, const double (*naturalPoints)[3],
    quint64 numberOfPoint, const UFemQuad4cElementMatrixWholeElementInfo& elementInfo,
    const double* u)
{
    UFemQuad4cCondensation condensation;
    UFemQuad4cPrepareCondensation(&condensation, elementInfo);
    for (quint64 point = 0; point < numberOfPoint; ++point) {
        UFemQuad4cPointInfo pointInfo;
        UFemQuad4cComputePointInfo(&pointInfo, elementInfo, naturalPoints[point]);
        double Bc[strains * nodal];
        UFemQuad4cMakeCondensedStrainMatrix(Bc, elementInfo, condensation, pointInfo);
        double* strain = strainTable + strains * point;
        for (int r = 0; r < strains; ++r) {
            double sum = 0.0;
            for (int j = 0; j < nodal; ++j)
                sum += Bc[r * nodal + j] * u[j];
            strain[r] = sum;
        }
    }
}

void UFemQuad4cStressFromStrain(double* stress, const double* strain, const double* D)
{
    for (int r = 0; r < strains; ++r) {
        double sum = 0.0;
        for (int c = 0; c < strains; ++c)
            sum += D[r * strains + c] * strain[c];
        stress[r] = sum;
    }
}

double UFemQuad4cVonMisesStress(const double* s)
{
    const double normal = (s[x] - s[y]) * (s[x] - s[y]) + (s[y] - s[z]) * (s[y] - s[z])
        + (s[z] - s[x]) * (s[z] - s[x]);
    const double shear = 6.0 * (s[yz] * s[yz] + s[zx] * s[zx] + s[xy] * s[xy]);
    return std::sqrt((normal + shear) * 0.5);
}

void UFemQuad4cShellForce(
    double* shellForce, const double* stressFace1, const double* stressFace2, double thickness)
{
    const double t = thickness;
    const double bending = t * t / 6.0 * 0.5;
    shellForce[0] = (stressFace1[x] + stressFace2[x]) * t / 2.0;
    shellForce[1] = (stressFace1[y] + stressFace2[y]) * t / 2.0;
    shellForce[2] = 0.0;
    shellForce[3] = t * stressFace1[yz];
    shellForce[4] = t * stressFace1[zx];
    shellForce[5] = (stressFace1[xy] + stressFace2[xy]) * t / 2.0;
    shellForce[6] = (stressFace2[y] - stressFace1[y]) * bending;
    shellForce[7] = (stressFace2[x] - stressFace1[x]) * bending;
    shellForce[8] = (stressFace2[xy] - stressFace1[xy]) * bending;
}
