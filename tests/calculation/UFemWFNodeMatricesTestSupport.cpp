#include "UFemWFNodeMatricesTestSupport.h"

#include "calculation/UFemWFMatrixCalculationContext.h"
#include "calculation/solver/UFemWFNodeMatrix.h"
#include "calculation/solver/UFemWFPageLayout.h"
#include "foundation/UFemNotFound.h"

#include <cmath>

DenseNodeSystem denseNodeSystem(const UFemWFNodeMatrices& matrices)
{
    DenseNodeSystem system;
    const quint64 nodes = matrices.nodeCount();
    system.dofCount = 6 * nodes;
    system.caseCount = matrices.caseCount();
    system.K.assign(system.dofCount * system.dofCount, 0.0);
    system.F.assign(system.dofCount * system.caseCount, 0.0);
    for (quint64 a = 0; a < nodes; ++a) {
        for (quint64 b = 0; b < nodes; ++b) {
            for (quint64 r1 = 0; r1 < 2; ++r1) {
                for (quint64 r2 = 0; r2 < 2; ++r2) {
                    const double* B = UFemWFStiffnessBlockAddressIfPresent(
                        matrices.stiffnessMatrix(), a, r1, b, r2);
                    for (quint64 i = 0; B && i < 3; ++i) {
                        for (quint64 j = 0; j < 3; ++j)
                            system.k(dofOf(a, r1, i), dofOf(b, r2, j)) = B[3 * i + j];
                    }
                }
            }
        }
        for (quint64 r = 0; r < 2; ++r) {
            for (quint64 c = 0; c < system.caseCount; ++c) {
                const double* v
                    = UFemWFForceVectorAddressIfPresent(matrices.forceMatrix(), a, r, c);
                for (quint64 d = 0; v && d < 3; ++d)
                    system.f(dofOf(a, r, d), c) = v[d];
            }
        }
    }
    return system;
}

void fillNodeMatrices(UFemWFNodeMatrices& matrices, const DenseNodeSystem& system)
{
    const quint64 nodes = system.dofCount / 6;
    matrices.setupNodeStiffnessMatrix();
    for (quint64 a = 0; a < nodes; ++a) {
        for (quint64 b = 0; b < nodes; ++b) {
            bool coupled = false;
            for (quint64 i = 0; i < 6; ++i) {
                for (quint64 j = 0; j < 6; ++j)
                    coupled = coupled || system.k(6 * a + i, 6 * b + j) != 0.0;
            }
            for (quint64 r1 = 0; coupled && r1 < 2; ++r1) {
                for (quint64 r2 = 0; r2 < 2; ++r2) {
                    double block[9];
                    for (quint64 i = 0; i < 3; ++i) {
                        for (quint64 j = 0; j < 3; ++j)
                            block[3 * i + j] = system.k(dofOf(a, r1, i), dofOf(b, r2, j));
                    }
                    matrices.addStiffnessMatrix(block, a, r1, b, r2);
                }
            }
        }
    }
    matrices.setCaseCount(system.caseCount);
    matrices.setupNodeForceMatrix();
    for (quint64 a = 0; a < nodes; ++a) {
        for (quint64 r = 0; r < 2; ++r) {
            for (quint64 c = 0; c < system.caseCount; ++c) {
                const double v[3] = { system.f(dofOf(a, r, 0), c), system.f(dofOf(a, r, 1), c),
                    system.f(dofOf(a, r, 2), c) };
                if (v[0] != 0.0 || v[1] != 0.0 || v[2] != 0.0)
                    matrices.addForceMatrix(v, a, r, c);
            }
        }
    }
    matrices.buildNodeDOFStateTable();
}

std::vector<quint64> slotTableOf(const UFemWFNodeMatrices& matrices, quint64* slotCount)
{
    std::vector<quint64> slotTable(2 * matrices.nodeCount(), UFemNotFound);
    quint64 next = 0;
    for (quint64 t = 0; t < slotTable.size(); ++t) {
        if (matrices.nodeDOFStateTable()[t].hasValidDOF())
            slotTable[t] = next++;
    }
    *slotCount = next;
    return slotTable;
}

std::vector<double> xTableFor(quint64 slotCount, quint64 caseCount, double fill)
{
    const quint64 pages = UFemWFPageLayout::pageCount(slotCount);
    const quint64 caseBlocks = UFemWFPageLayout::caseBlockCount(caseCount);
    return std::vector<double>(pages * caseBlocks * UFemWFXAreaDoubles, fill);
}

double& xEntry(
    std::vector<double>& X, quint64 slot, quint64 direction, quint64 caseIndex, quint64 caseCount)
{
    const quint64 caseBlocks = UFemWFPageLayout::caseBlockCount(caseCount);
    return X[UFemWFXMatrixEntryIndex(slot, caseIndex, caseBlocks)
        + UFemWFCasesPerBlock * direction];
}

DenseNodeSystem randomNodeSystem(std::mt19937_64& random, quint64 nodes, quint64 cases)
{
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::bernoulli_distribution coupled(0.45);
    std::bernoulli_distribution loaded(0.7);
    DenseNodeSystem system;
    system.dofCount = 6 * nodes;
    system.caseCount = cases;
    system.K.assign(system.dofCount * system.dofCount, 0.0);
    system.F.assign(system.dofCount * cases, 0.0);
    for (quint64 a = 0; a < nodes; ++a) {
        for (quint64 b = a; b < nodes; ++b) {
            if (a != b && !coupled(random))
                continue;
            for (quint64 i = 0; i < 6; ++i) {
                for (quint64 j = a == b ? i + 1 : 0; j < 6; ++j) {
                    const double v = value(random);
                    system.k(6 * a + i, 6 * b + j) = v;
                    system.k(6 * b + j, 6 * a + i) = v;
                }
            }
        }
    }
    for (quint64 i = 0; i < system.dofCount; ++i) {
        double sum = 1.0 + std::abs(value(random));
        for (quint64 j = 0; j < system.dofCount; ++j)
            sum += i == j ? 0.0 : std::abs(system.k(i, j));
        system.k(i, i) = sum;
    }
    for (quint64 triple = 0; triple < 2 * nodes; ++triple) {
        if (!loaded(random))
            continue;
        for (quint64 d = 0; d < 3; ++d) {
            for (quint64 c = 0; c < cases; ++c)
                system.f(3 * triple + d, c) = value(random);
        }
    }
    return system;
}
