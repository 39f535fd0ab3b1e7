#pragma once

// Shell elements for the Quad tests: element information from node locations and material, the
// stiffness, and products with displacement fields.

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "cards/elements/UFemQuad4cStiffness.h"
#include "cards/elements/UFemQuad4cVector.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace quadtest {

using NodeLocations = std::array<std::array<double, 3>, UFemQuad4cNodeCount>;
using NodalVector = std::array<double, UFemQuad4cNodalDOFCount>;
using Stiffness = std::vector<double>;

inline const NodeLocations unitSquare
    = { { { 0.0, 0.0, 0.0 }, { 1.0, 0.0, 0.0 }, { 1.0, 1.0, 0.0 }, { 0.0, 1.0, 0.0 } } };
// The 2 x 1.5 flat element of the worked examples.
inline const NodeLocations plate
    = { { { 0.0, 0.0, 0.0 }, { 2.0, 0.0, 0.0 }, { 2.0, 1.5, 0.0 }, { 0.0, 1.5, 0.0 } } };

inline UFemQuad4cElementMatrixWholeElementInfo makeElementInfo(
    const NodeLocations& nodes, double E, double nu, double t)
{
    UFemQuad4cElementMatrixWholeElementInfo info;
    info.materialProperty = { E, nu, E / (2.0 * (1.0 + nu)) };
    info.thickness = t;
    double locations[UFemQuad4cNodeCount][3];
    for (int n = 0; n < UFemQuad4cNodeCount; ++n)
        for (int i = 0; i < 3; ++i)
            locations[n][i] = nodes[n][i];
    UFemQuad4cFillElementGeometry(&info, locations);
    return info;
}

inline Stiffness makeStiffness(const UFemQuad4cElementMatrixWholeElementInfo& info)
{
    Stiffness K(UFemQuad4cNodalDOFCount * UFemQuad4cNodalDOFCount);
    UFemQuad4cMakeElementStiffnessMatrix(K.data(), info);
    return K;
}

inline NodalVector multiply(const Stiffness& K, const NodalVector& u)
{
    NodalVector f {};
    for (int i = 0; i < UFemQuad4cNodalDOFCount; ++i)
        for (int j = 0; j < UFemQuad4cNodalDOFCount; ++j)
            f[i] += K[i * UFemQuad4cNodalDOFCount + j] * u[j];
    return f;
}

// Six values per node (translation, rotation) from a function of the node location.
inline NodalVector nodalField(const NodeLocations& nodes,
    const std::function<std::array<double, 6>(const std::array<double, 3>&)>& field)
{
    NodalVector u {};
    for (int n = 0; n < UFemQuad4cNodeCount; ++n) {
        const auto values = field(nodes[n]);
        std::copy(values.begin(), values.end(), u.begin() + 6 * n);
    }
    return u;
}

inline double largestMagnitude(const Stiffness& K)
{
    double largest = 0.0;
    for (double value : K)
        largest = std::max(largest, std::abs(value));
    return largest;
}

// Bending with constant curvatures: w = (kx x^2 + ky y^2 + kxy x y)/2, Rx = dw/dy, Ry = -dw/dx.
inline std::array<double, 6> bendingField(
    const std::array<double, 3>& X, double kx, double ky, double kxy)
{
    const double x = X[0];
    const double y = X[1];
    const double w = 0.5 * (kx * x * x + ky * y * y + kxy * x * y);
    return { 0.0, 0.0, w, ky * y + 0.5 * kxy * x, -(kx * x + 0.5 * kxy * y), 0.0 };
}

// Records the stiffness blocks put; any other put is a failure.
struct RecordedPut {
    QString nodeName1;
    quint64 rotation1;
    QString nodeName2;
    quint64 rotation2;
    std::array<double, 9> block;
};

class RecordingMatrixCalculator : public UFemMatrixCalculator {
public:
    void addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1, quint64 rotation1,
        const UFemCardName& nodeName2, quint64 rotation2) override
    {
        RecordedPut put { nodeName1.cardNameString(), rotation1, nodeName2.cardNameString(),
            rotation2, {} };
        std::copy(matrix, matrix + 9, put.block.begin());
        puts.push_back(put);
    }
    void addForceMatrix(const double*, const UFemCardName&, quint64, const UFemCardName&) override
    {
        ADD_FAILURE() << "unexpected force";
    }
    void addFixDisplacementRestraintWithNodeName(const UFemCardName&, quint64, quint64) override
    {
        ADD_FAILURE() << "unexpected restraint";
    }
    void addForceDisplacementRestraintWithDisplacementValue(
        double, const UFemCardName&, quint64, quint64) override
    {
        ADD_FAILURE() << "unexpected restraint";
    }
    void addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(quint64,
        const _UFemRestraintEquationTableComponent*, const UFemCardName&, quint64, quint64) override
    {
        ADD_FAILURE() << "unexpected restraint";
    }

    std::vector<RecordedPut> puts;
};

} // namespace quadtest
