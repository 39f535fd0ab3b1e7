#include "UFemLDUSolverTestSupport.h"

#include "calculation/solver/UFemWFPageLayout.h"

#include <cmath>
#include <cstring>

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

SparseLDUTestSystem makeSlotGraphSystem(std::string name, quint64 slotCount,
    const std::vector<std::pair<quint64, quint64>>& couplings, const std::vector<bool>& isPadding,
    quint64 caseCount, quint64 seed)
{
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    SparseLDUTestSystem s;
    s.name = std::move(name);
    s.pageCount = pageCount(slotCount);
    s.caseCount = caseCount;
    std::vector<double> rowSum(s.dofCount(), 0.0);
    auto couple = [&](quint64 row, quint64 column) {
        const double x = value(random);
        s.lower.push_back({ row, column, x });
        rowSum[row] += std::abs(x);
        rowSum[column] += std::abs(x);
    };
    for (auto [a, b] : couplings)
        for (quint64 d = 0; d < 9; ++d)
            couple(3 * a + d / 3, 3 * b + d % 3);
    for (quint64 slot = 0; slot < slotCount; ++slot) {
        if (isPadding[slot])
            continue;
        couple(3 * slot + 1, 3 * slot);
        couple(3 * slot + 2, 3 * slot);
        couple(3 * slot + 2, 3 * slot + 1);
    }
    for (quint64 slot = 0; slot < slotCount; ++slot)
        for (quint64 dof = 3 * slot; !isPadding[slot] && dof < 3 * slot + 3; ++dof)
            s.lower.push_back({ dof, dof, rowSum[dof] + 1.0 + chance(random) });
    s.F.assign(s.dofCount() * caseCount, 0.0);
    for (quint64 slot = 0; slot < slotCount; ++slot)
        for (quint64 i = 3 * slot * caseCount; !isPadding[slot] && i < 3 * (slot + 1) * caseCount;
             ++i)
            s.F[i] = value(random);
    return s;
}

std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> makeLDUTask(
    const LDUTestSystem& system, const UFemWFMatrixCalculationDelegate* delegate)
{
    SparseLDUTestSystem sparse;
    sparse.pageCount = system.pageCount;
    sparse.caseCount = system.caseCount;
    sparse.F = system.F;
    for (quint64 i = 0; i < system.dofCount(); ++i)
        for (quint64 j = 0; j <= i; ++j)
            if (system.k(i, j) != 0.0)
                sparse.lower.push_back({ i, j, system.k(i, j) });
    return makeLDUTask(sparse, delegate);
}

std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> makeLDUTask(
    const SparseLDUTestSystem& system, const UFemWFMatrixCalculationDelegate* delegate)
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
    for (const SparseLDUTestSystem::Entry& entry : system.lower) {
        const quint64 i = entry.row;
        const quint64 j = entry.column;
        double* block = USparseMatrixBlockCreate(&c->stiffnessMatrix, pageOfDOF(i), pageOfDOF(j),
            blockIndex(blockOfDOF(i), blockOfDOF(j)));
        block[valueIndex(rowInBlock(i), rowInBlock(j))] = entry.value;
    }
    UFemWFSetupCalculationForceMatrix(&c->forceMatrix, system.pageCount, system.caseCount);
    for (quint64 i = 0; i < system.dofCount(); ++i) {
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

bool LDUSolutionTables::operator==(const LDUSolutionTables& other) const
{
    auto same = [](const std::vector<double>& a, const std::vector<double>& b) {
        return a.size() == b.size()
            && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
    };
    return same(X, other.X) && same(D, other.D);
}

LDUSolutionTables solutionTablesOf(UFemWFMatrixCalculationThreadTaskContext& task)
{
    const _UFemWFMatrixCalculationContext* c = task.calculationContextPtr();
    return { c->X_MatrixTable, c->D_MatrixTable };
}

namespace {

std::vector<double> solutionOf(
    UFemWFMatrixCalculationThreadTaskContext& task, quint64 dofCount, quint64 caseCount)
{
    _UFemWFMatrixCalculationContext* c = task.calculationContextPtr();
    std::vector<double> X(dofCount * caseCount);
    for (quint64 i = 0; i < dofCount; ++i)
        for (quint64 q = 0; q < caseCount; ++q)
            X[i * caseCount + q]
                = *(UFemWFXMatrixEntryAddress(c->X_MatrixTable.data(), i / 3, q, c->caseBlockCount)
                    + UFemWFCasesPerBlock * (i % 3));
    return X;
}

double relativeNorm(const std::vector<double>& residual, const std::vector<double>& F)
{
    double r = 0.0;
    double f = 0.0;
    for (std::size_t i = 0; i < F.size(); ++i) {
        r += residual[i] * residual[i];
        f += F[i] * F[i];
    }
    return std::sqrt(r / f);
}

} // namespace

std::vector<double> solutionOf(
    UFemWFMatrixCalculationThreadTaskContext& task, const LDUTestSystem& system)
{
    return solutionOf(task, system.dofCount(), system.caseCount);
}

std::vector<double> solutionOf(
    UFemWFMatrixCalculationThreadTaskContext& task, const SparseLDUTestSystem& system)
{
    return solutionOf(task, system.dofCount(), system.caseCount);
}

double relativeResidual(const LDUTestSystem& system, const std::vector<double>& X)
{
    const quint64 n = system.dofCount();
    const quint64 cases = system.caseCount;
    std::vector<double> residual(n * cases);
    for (quint64 i = 0; i < n; ++i) {
        for (quint64 q = 0; q < cases; ++q) {
            double r = -system.F[i * cases + q];
            for (quint64 j = 0; j < n; ++j)
                r += system.k(i, j) * X[j * cases + q];
            residual[i * cases + q] = r;
        }
    }
    return relativeNorm(residual, system.F);
}

double relativeResidual(const SparseLDUTestSystem& system, const std::vector<double>& X)
{
    const quint64 cases = system.caseCount;
    std::vector<double> residual(system.F.size());
    for (std::size_t i = 0; i < residual.size(); ++i)
        residual[i] = -system.F[i];
    for (const SparseLDUTestSystem::Entry& entry : system.lower) {
        for (quint64 q = 0; q < cases; ++q) {
            residual[entry.row * cases + q] += entry.value * X[entry.column * cases + q];
            if (entry.row != entry.column)
                residual[entry.column * cases + q] += entry.value * X[entry.row * cases + q];
        }
    }
    return relativeNorm(residual, system.F);
}
