#include "UFemLDUSolverTestSupport.h"

#include "calculation/solver/UFemWFPageLayout.h"

#include <cmath>

using namespace UFemWFPageLayout;

LDUTestSystem makeBlockBandedSystem(quint64 pageCount, quint64 caseCount, quint64 bandBlocks,
    double density, quint64 seed, quint64 splitPage)
{
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    LDUTestSystem s;
    s.pageCount = pageCount;
    s.caseCount = caseCount;
    const quint64 n = s.dofCount();
    s.K.assign(n * n, 0.0);
    s.F.assign(n * caseCount, 0.0);
    const quint64 blocks = n / 12;
    const quint64 splitBlock = splitPage * 4;
    for (quint64 I = 0; I < blocks; ++I) {
        for (quint64 J = I >= bandBlocks ? I - bandBlocks : 0; J <= I; ++J) {
            const bool crossesSplit = splitBlock && J < splitBlock && I >= splitBlock;
            if (crossesSplit || (J + 1 < I && chance(random) > density))
                continue;
            for (quint64 i = 12 * I; i < 12 * I + 12; ++i)
                for (quint64 j = 12 * J; j < std::min(12 * J + 12, i); ++j)
                    s.k(i, j) = s.k(j, i) = value(random);
        }
    }
    for (quint64 i = 0; i < n; ++i) {
        double sum = 1.0 + chance(random);
        for (quint64 j = 0; j < n; ++j)
            sum += i == j ? 0.0 : std::abs(s.k(i, j));
        s.k(i, i) = sum;
    }
    for (double& f : s.F)
        f = value(random);
    return s;
}

std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> makeLDUTask(
    const LDUTestSystem& system, const UFemWFMatrixCalculationDelegate* delegate)
{
    auto task = std::make_unique<UFemWFMatrixCalculationThreadTaskContext>();
    {
        std::lock_guard<UThreadTaskContext> lock(*task);
        task->setArgumentIfNeededWithDelegate(delegate);
    }
    _UFemWFMatrixCalculationContext* c = task->calculationContextPtr();
    c->nodePageCount = system.pageCount;
    c->caseCount = system.caseCount;
    c->caseBlockCount = UFemWFPageLayout::caseBlockCount(system.caseCount);
    UFemWFSetupCalculationStiffnessMatrix(&c->stiffnessMatrix, system.pageCount);
    const quint64 n = system.dofCount();
    for (quint64 i = 0; i < n; ++i) {
        for (quint64 j = 0; j <= i; ++j) {
            const double x = system.k(i, j);
            if (x == 0.0)
                continue;
            double* block = USparseMatrixBlockCreate(&c->stiffnessMatrix, pageOfDOF(i),
                pageOfDOF(j), blockIndex(blockOfDOF(i), blockOfDOF(j)));
            block[valueIndex(rowInBlock(i), rowInBlock(j))] = x;
        }
    }
    UFemWFSetupCalculationForceMatrix(&c->forceMatrix, system.pageCount, system.caseCount);
    for (quint64 i = 0; i < n; ++i) {
        for (quint64 q = 0; q < system.caseCount; ++q) {
            const double f = system.F[i * system.caseCount + q];
            if (f == 0.0)
                continue;
            double* block = USparseMatrixBlockCreate(
                &c->forceMatrix, 0, pageOfDOF(i), forceBlockIndex(blockOfDOF(i), caseBlockOf(q)));
            block[forceValueIndex(rowInBlock(i), q)] = f;
        }
    }
    UErrorPtr error;
    task->setupToRunCalculation(&error);
    if (error)
        return nullptr;
    return task;
}

std::vector<double> solutionOf(
    UFemWFMatrixCalculationThreadTaskContext& task, const LDUTestSystem& system)
{
    _UFemWFMatrixCalculationContext* c = task.calculationContextPtr();
    std::vector<double> X(system.dofCount() * system.caseCount);
    for (quint64 i = 0; i < system.dofCount(); ++i)
        for (quint64 q = 0; q < system.caseCount; ++q)
            X[i * system.caseCount + q]
                = *(UFemWFXMatrixEntryAddress(c->X_MatrixTable.data(), i / 3, q, c->caseBlockCount)
                    + UFemWFCasesPerBlock * (i % 3));
    return X;
}

double relativeResidual(const LDUTestSystem& system, const std::vector<double>& X)
{
    const quint64 n = system.dofCount();
    const quint64 cases = system.caseCount;
    double residual = 0.0;
    double force = 0.0;
    for (quint64 i = 0; i < n; ++i) {
        for (quint64 q = 0; q < cases; ++q) {
            double r = -system.F[i * cases + q];
            for (quint64 j = 0; j < n; ++j)
                r += system.k(i, j) * X[j * cases + q];
            residual += r * r;
            force += system.F[i * cases + q] * system.F[i * cases + q];
        }
    }
    return std::sqrt(residual / force);
}
