#pragma once

#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"

#include <memory>
#include <random>
#include <string>
#include <utility>
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

// A symmetric system held as the DOF entries of its lower triangle, for systems too large to hold
// densely.
struct SparseLDUTestSystem {
    struct Entry {
        quint64 row, column; // row >= column
        double value;
    };
    std::string name;
    quint64 pageCount = 0;
    quint64 caseCount = 0;
    std::vector<Entry> lower;
    std::vector<double> F; // dofs x cases, row-major
    quint64 dofCount() const { return pageCount * UFemWFPageDOFCount; }
};

// Random SPD system on a graph of DOF triples (slots): `couplings` lists pairs (a, b), a > b, of
// coupled slots; a slot without couplings or diagonal (a padding slot) is left empty when
// `isPadding` says so. Each coupling is a random 3x3 block, each diagonal made dominant.
SparseLDUTestSystem makeSlotGraphSystem(std::string name, quint64 slotCount,
    const std::vector<std::pair<quint64, quint64>>& couplings, const std::vector<bool>& isPadding,
    quint64 caseCount, quint64 seed);

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
std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> makeLDUTask(
    const SparseLDUTestSystem& system, const UFemWFMatrixCalculationDelegate* delegate);
// The solved task's X and D tables, to compare bit for bit.
struct LDUSolutionTables {
    std::vector<double> X;
    std::vector<double> D;
    bool operator==(const LDUSolutionTables& other) const;
};
LDUSolutionTables solutionTablesOf(UFemWFMatrixCalculationThreadTaskContext& task);
// X in dense form (dofs x cases) read through the X table addresses.
std::vector<double> solutionOf(
    UFemWFMatrixCalculationThreadTaskContext& task, const LDUTestSystem& system);
std::vector<double> solutionOf(
    UFemWFMatrixCalculationThreadTaskContext& task, const SparseLDUTestSystem& system);
// ||K X - F|| / ||F|| over all cases.
double relativeResidual(const LDUTestSystem& system, const std::vector<double>& X);
double relativeResidual(const SparseLDUTestSystem& system, const std::vector<double>& X);
