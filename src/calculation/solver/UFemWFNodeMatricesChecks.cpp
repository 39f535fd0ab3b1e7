// Checks of the loads and displacements that no single entry decides alone: what the restraints
// moved into the loads, loads nothing carries, and the solution itself.

#include "calculation/solver/UFemWFNodeMatrices.h"

#include "calculation/solver/UFemWFNodeMatrix.h"

#include <cmath>

double UFemWFNodeMatrices::stiffnessDiagonal(
    quint64 nodeNo, quint64 rotation, quint64 direction) const
{
    requireDOF(nodeNo, rotation, direction);
    const double* block = UFemWFStiffnessBlockAddressIfPresent(
        &stiffnessMatrix_, nodeNo, rotation, nodeNo, rotation);
    return block ? block[4 * direction] : 0.0;
}

template <typename Rejects>
std::optional<UFemWFDOFOfCase> UFemWFNodeMatrices::firstLoadWhere(Rejects rejects) const
{
    if (!isInitialisedForceMatrix() || nodeDOFStateTable_.size() != 2 * nodeCount_)
        return std::nullopt;
    for (quint64 n = 0; n < nodeCount_; ++n) {
        for (quint64 r = 0; r < 2; ++r) {
            const _UFemNode3DOFState states = nodeDOFStateTable_[2 * n + r];
            for (quint64 b = 0; b < caseBlockCount(); ++b) {
                const quint64 firstCase = b * UFemWFNodeForceCasesPerBlock;
                const double* F = UFemWFForceVectorAddressIfPresent(&forceMatrix_, n, r, firstCase);
                for (quint64 q = 0; F && q < casesInBlock(b); ++q) {
                    for (quint64 d = 0; d < 3; ++d) {
                        if (rejects(F[3 * q + d], states.state[d]))
                            return UFemWFDOFOfCase { n, 3 * r + d, firstCase + q };
                    }
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<UFemWFDOFOfCase> UFemWFNodeMatrices::firstNonFiniteLoad() const
{
    return firstLoadWhere([](double load, quint8) { return !std::isfinite(load); });
}

std::optional<UFemWFDOFOfCase> UFemWFNodeMatrices::firstUnstiffenedLoad() const
{
    return firstLoadWhere([](double load, quint8 state) {
        return load != 0.0 && state == UFemNodeDOFStateZeroStiffness;
    });
}

std::optional<UFemWFDOFOfCase> UFemWFNodeMatrices::firstNonFiniteDisplacement() const
{
    const quint64 rowLength = caseCount_ * 3;
    for (quint64 row = 0; row < displacementMatrixNodeNoCount_; ++row) {
        const double* values = displacementMatrixValueTable_.data() + row * rowLength;
        for (quint64 i = 0; i < rowLength; ++i) {
            if (!std::isfinite(values[i])) {
                const quint64 triple = displacementMatrixNodeNoTable_[row];
                return UFemWFDOFOfCase { triple / 2, 3 * (triple % 2) + i % 3, i / 3 };
            }
        }
    }
    return std::nullopt;
}
