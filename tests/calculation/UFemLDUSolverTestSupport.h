#pragma once

#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"

#include <memory>
#include <random>
#include <vector>

// A symmetric system held densely for checking, and its copy in the solver's paged format.
struct LDUTestSystem {
    quint64 pageCount = 0;
    quint64 caseCount = 0;
    std::vector<double> K; // dofs x dofs, row-major
    std::vector<double> F; // dofs x cases, row-major
    quint64 dofCount() const { return pageCount * UFemWFPageDOFCount; }
    double& k(quint64 i, quint64 j) { return K[i * dofCount() + j]; }
    double k(quint64 i, quint64 j) const { return K[i * dofCount() + j]; }
};

// Random SPD matrix whose 12x12 blocks fill a band of `bandBlocks` block columns with the given
// density; no coupling crosses the start of page `splitPage` (0: none), so that the parts are
// disconnected there.
LDUTestSystem makeBlockBandedSystem(quint64 pageCount, quint64 caseCount, quint64 bandBlocks,
    double density, quint64 seed, quint64 splitPage = 0);

class LDUTestDelegate : public UFemWFMatrixCalculationDelegate {
public:
    bool getNodeNameStringAndDirection(
        QString* nodeName, quint64* direction6, quint64 dofIndex) const override
    {
        *nodeName = QStringLiteral("N%1").arg(dofIndex / 3);
        *direction6 = dofIndex % 3;
        return true;
    }
};

// A task made ready with the system's K and F, set up to run.
std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> makeLDUTask(
    const LDUTestSystem& system, const UFemWFMatrixCalculationDelegate* delegate);
// X in dense form (dofs x cases) read through the X table addresses.
std::vector<double> solutionOf(
    UFemWFMatrixCalculationThreadTaskContext& task, const LDUTestSystem& system);
// ||K X - F|| / ||F|| over all cases.
double relativeResidual(const LDUTestSystem& system, const std::vector<double>& X);
