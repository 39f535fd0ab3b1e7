#pragma once

#include "calculation/solver/UFemWFNodeMatrices.h"

#include <random>
#include <vector>

// Dense pictures of the node matrices, DOF j = 6 x node + 3 x rotation + direction.
struct DenseNodeSystem {
    quint64 dofCount = 0;
    quint64 caseCount = 0;
    std::vector<double> K; // dofCount x dofCount, row-major
    std::vector<double> F; // dofCount x caseCount, row-major
    double& k(quint64 i, quint64 j) { return K[i * dofCount + j]; }
    double k(quint64 i, quint64 j) const { return K[i * dofCount + j]; }
    double& f(quint64 i, quint64 c) { return F[i * caseCount + c]; }
    double f(quint64 i, quint64 c) const { return F[i * caseCount + c]; }
};

DenseNodeSystem denseNodeSystem(const UFemWFNodeMatrices& matrices);

// Symmetric and diagonally dominant, so positive definite; some node pairs uncoupled, some load
// triples absent.
DenseNodeSystem randomNodeSystem(std::mt19937_64& random, quint64 nodes, quint64 cases);

// Puts a dense system into node matrices (set up and filled; DOF states built). Node pairs whose
// 6x6 coupling is all zero get no blocks.
void fillNodeMatrices(UFemWFNodeMatrices& matrices, const DenseNodeSystem& system);

inline quint64 dofOf(quint64 nodeNo, quint64 rotation, quint64 direction)
{
    return 6 * nodeNo + 3 * rotation + direction;
}

// A slot for every triple with a Valid direction, in triple order.
std::vector<quint64> slotTableOf(const UFemWFNodeMatrices& matrices, quint64* slotCount);
// An X table in the solver's layout for `slotCount` slots, filled with `fill`.
std::vector<double> xTableFor(quint64 slotCount, quint64 caseCount, double fill);
double& xEntry(
    std::vector<double>& X, quint64 slot, quint64 direction, quint64 caseIndex, quint64 caseCount);
