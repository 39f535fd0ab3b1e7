#include "UFemLDUSolverTestSupport.h"

#include "foundation/errors/UError.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class LDUSolver : public ::testing::Test {
protected:
    std::vector<double> solve(const LDUTestSystem& system, quint64 threads = 1)
    {
        task = makeLDUTask(system, &delegate);
        EXPECT_NE(nullptr, task);
        if (!task)
            return {};
        UErrorPtr error;
        EXPECT_TRUE(task->runMatrixCalculation(threads, &error));
        EXPECT_EQ(nullptr, error);
        return solutionOf(*task, system);
    }

    LDUTestDelegate delegate;
    std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext> task;
};

TEST_F(LDUSolver, RandomBandedSystemsMeetTheResidualForEveryCaseCount)
{
    quint64 seed = 1;
    for (quint64 cases : { 1, 12, 13, 25 }) {
        for (quint64 band : { 1, 5, 14 }) {
            const LDUTestSystem system = makeBlockBandedSystem(5, cases, band, 0.6, seed++);
            const std::vector<double> X = solve(system);
            EXPECT_LT(relativeResidual(system, X), 1e-10) << cases << " cases, band " << band;
            EXPECT_EQ(task->progressTotalLength(), task->currentProgress());
            EXPECT_GT(task->computingCount(), 0u);
            EXPECT_GT(task->calculationMemoryCapacity(), 0u);
        }
    }
}

TEST_F(LDUSolver, SinglePageAndDisconnectedParts)
{
    const LDUTestSystem single = makeBlockBandedSystem(1, 3, 4, 1.0, 11);
    EXPECT_LT(relativeResidual(single, solve(single)), 1e-10);
    EXPECT_EQ(task->progressTotalLength(), task->currentProgress());

    // L(k + 1, k) across the boundary must not make the progress overshoot its total.
    const LDUTestSystem parts = makeBlockBandedSystem(6, 2, 9, 0.8, 12, 3);
    EXPECT_LT(relativeResidual(parts, solve(parts)), 1e-10);
    EXPECT_EQ(task->progressTotalLength(), task->currentProgress());
}

TEST_F(LDUSolver, DOFWithZeroDiagonalDropsOutWithZeroDisplacement)
{
    LDUTestSystem system = makeBlockBandedSystem(3, 13, 6, 0.7, 21);
    const quint64 dropped = 61;
    for (quint64 j = 0; j < system.dofCount(); ++j)
        system.k(dropped, j) = system.k(j, dropped) = 0.0;
    for (quint64 q = 0; q < system.caseCount; ++q)
        system.F[dropped * system.caseCount + q] = 0.0;
    const std::vector<double> X = solve(system);
    for (quint64 q = 0; q < system.caseCount; ++q)
        EXPECT_EQ(0.0, X[dropped * system.caseCount + q]);
    EXPECT_LT(relativeResidual(system, X), 1e-10);
    const _UFemWFMatrixCalculationContext* c = task->calculationContextPtr();
    EXPECT_EQ(0.0, c->D_MatrixMinValue);
    EXPECT_EQ(dropped, c->D_MatrixMinValueNodeDOFIndex);
    EXPECT_EQ(0.0, c->D_MatrixTable[2 * dropped]);
    EXPECT_EQ(0.0, c->D_MatrixTable[2 * dropped + 1]);
}

TEST_F(LDUSolver, EmptyForceGivesZeroSolution)
{
    LDUTestSystem system = makeBlockBandedSystem(2, 2, 3, 1.0, 31);
    std::fill(system.F.begin(), system.F.end(), 0.0);
    const std::vector<double> X = solve(system);
    for (double x : X)
        EXPECT_EQ(0.0, x);
    EXPECT_EQ(task->progressTotalLength(), task->currentProgress());
}

// A mechanism (two DOFs joined by a spring and held nowhere else) and an indefinite system fail
// with the calculation error naming the first failing DOF instead of giving inf or NaN.
TEST_F(LDUSolver, SingularOrIndefiniteSystemGivesTheCalculationError)
{
    const quint64 mechanismDOF = 50;
    LDUTestSystem floating = makeBlockBandedSystem(2, 1, 2, 1.0, 41);
    for (quint64 j = 0; j < floating.dofCount(); ++j)
        for (quint64 i : { mechanismDOF, mechanismDOF + 1 })
            floating.k(i, j) = floating.k(j, i) = 0.0;
    floating.k(50, 50) = floating.k(51, 51) = 2.0;
    floating.k(50, 51) = floating.k(51, 50) = -2.0;

    LDUTestSystem indefinite = makeBlockBandedSystem(2, 1, 2, 1.0, 42);
    indefinite.k(70, 70) = -indefinite.k(70, 70);

    LDUTestSystem notFinite = makeBlockBandedSystem(2, 1, 2, 1.0, 43);
    notFinite.k(5, 5) = std::nan("");

    for (auto [system, dof] : { std::pair(&floating, quint64(51)),
             std::pair(&indefinite, quint64(70)), std::pair(&notFinite, quint64(5)) }) {
        task = makeLDUTask(*system, &delegate);
        ASSERT_NE(nullptr, task);
        UErrorPtr error;
        EXPECT_FALSE(task->runMatrixCalculation(2, &error));
        ASSERT_NE(nullptr, error);
        EXPECT_EQ(21011, error->code());
        EXPECT_EQ(dof, task->singularDOFIndex());
        const char* directions[] = { "TX", "TY", "TZ" };
        const QString where = QStringLiteral("( DOF: N%1@%2 )")
                                  .arg(dof / 3)
                                  .arg(QLatin1String(directions[dof % 3]));
        EXPECT_TRUE(error->localizedOneLineDescription().contains(where))
            << error->localizedOneLineDescription().toStdString();
        EXPECT_EQ(error->localizedOneLineDescription(), task->calculationErrorString());
    }
}

TEST_F(LDUSolver, RowWithoutAnyPageIsRefusedAtSetUp)
{
    auto broken = std::make_unique<UFemWFMatrixCalculationThreadTaskContext>();
    {
        std::lock_guard<UThreadTaskContext> lock(*broken);
        EXPECT_TRUE(broken->setArgumentIfNeededWithDelegate(&delegate));
        EXPECT_FALSE(broken->setArgumentIfNeededWithDelegate(&delegate));
    }
    _UFemWFMatrixCalculationContext* c = broken->calculationContextPtr();
    c->nodePageCount = 2;
    c->caseCount = 1;
    c->caseBlockCount = 1;
    UFemWFSetupCalculationStiffnessMatrix(&c->stiffnessMatrix, 2);
    UFemWFSetupCalculationForceMatrix(&c->forceMatrix, 2, 1);
    USparseMatrixBlockCreate(&c->stiffnessMatrix, 0, 0, 0)[0] = 1.0;
    UErrorPtr error;
    broken->setupToRunCalculation(&error);
    ASSERT_NE(nullptr, error);
    EXPECT_EQ(81004, error->code());
    EXPECT_TRUE(error->localizedDescription().contains("No column matrix in a row."));
}

TEST_F(LDUSolver, XEntryAddressLayout)
{
    // Triple 21 (page 1, group 1, position 1), case 14 (case block 1), 2 case blocks.
    EXPECT_EQ(2u + 12 * (3 * 1 + 12 * (1 + 4 * (1 * 2 + 1))), UFemWFXMatrixEntryIndex(21, 14, 2));
}

} // namespace
