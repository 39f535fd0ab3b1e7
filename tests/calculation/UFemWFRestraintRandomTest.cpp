#include "UFemLDUSolverTestSupport.h"
#include "UFemWFNodeMatricesTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using Term = _UFemRestraintEquationTableComponent_nodeNo;
using Forced = _UFemForceDisplacementRestraintTableComponent_nodeNo;

struct Equation {
    quint64 dependent = 0;
    std::vector<Term> terms;
};

// Restraints in the order the front applies them: equations, fixed, forced (ascending DOF).
struct RestraintSet {
    std::vector<Equation> equations;
    std::vector<quint64> fixed;
    std::vector<Forced> forced;
};

Term termOf(quint64 dof, double factor)
{
    return { dof / 6, dof % 6 / 3, dof % 3, factor };
}

Forced forcedOf(quint64 dof, double value)
{
    return { dof / 6, dof % 6 / 3, dof % 3, value };
}

RestraintSet randomRestraints(std::mt19937_64& random, quint64 dofCount)
{
    std::vector<quint64> valid(dofCount);
    for (quint64 j = 0; j < dofCount; ++j)
        valid[j] = j;
    auto take = [&] {
        const quint64 at = std::uniform_int_distribution<quint64>(0, valid.size() - 1)(random);
        const quint64 dof = valid[at];
        valid.erase(valid.begin() + at);
        return dof;
    };
    auto count = [&](quint64 low, quint64 high) {
        return std::uniform_int_distribution<quint64>(low, high)(random);
    };
    std::uniform_real_distribution<double> factor(-1.5, 1.5);
    RestraintSet set;
    for (quint64 e = count(1, 4); e > 0; --e) {
        Equation equation;
        equation.dependent = take();
        std::vector<quint64> pool = valid;
        std::shuffle(pool.begin(), pool.end(), random);
        for (quint64 k = count(1, 3); k > 0 && !pool.empty(); --k) {
            equation.terms.push_back(termOf(pool.back(), factor(random)));
            pool.pop_back();
        }
        set.equations.push_back(equation);
    }
    for (quint64 f = count(1, 3); f > 0; --f)
        set.fixed.push_back(take());
    std::vector<quint64> forced;
    for (quint64 f = count(1, 4); f > 0; --f)
        forced.push_back(take());
    std::sort(forced.begin(), forced.end());
    for (const quint64 dof : forced)
        set.forced.push_back(forcedOf(dof, factor(random)));
    return set;
}

quint64 dofOfTerm(const Term& term)
{
    return dofOf(term.nodeNo, term.rotation, term.direction);
}

quint64 dofOfForced(const Forced& forced)
{
    return dofOf(forced.nodeNo, forced.rotation, forced.direction);
}

void applyRestraints(UFemWFNodeMatrices& matrices, const RestraintSet& set)
{
    for (const auto& equation : set.equations) {
        const quint64 j = equation.dependent;
        matrices.applyRestraintEquationRestraintWithNodeNo(
            j / 6, j % 6 / 3, j % 3, equation.terms.data(), equation.terms.size());
    }
    for (const quint64 j : set.fixed)
        matrices.applyFixDisplacementRestraintWithNodeNo(j / 6, j % 6 / 3, j % 3);
    if (!set.forced.empty())
        matrices.applyForceDisplacementRestraintWithForceDisplacementRestraintComponentCount(
            set.forced.size(), set.forced.data());
}

void writeBackRestraints(UFemWFNodeMatrices& matrices, const RestraintSet& set)
{
    if (!set.forced.empty())
        matrices
            .applyForceDisplacementRestraint_toDisplacementMatrix_WithForcedDisplacementRestraintTable(
                set.forced.data(), set.forced.size());
    for (auto it = set.fixed.rbegin(); it != set.fixed.rend(); ++it)
        matrices.applyFixDisplacementRestraint_toDisplacementMatrix_WithNodeNo(
            *it / 6, *it % 6 / 3, *it % 3);
    for (auto it = set.equations.rbegin(); it != set.equations.rend(); ++it) {
        const quint64 j = it->dependent;
        matrices.applyRestraintEquationRestraint_toDisplacementMatrix_WithNodeNo(
            j / 6, j % 6 / 3, j % 3, it->terms.data(), it->terms.size());
    }
}

// u = T q + u0 over the free DOFs q, built in the order of the write-back.
struct Transformation {
    std::vector<quint64> free; // DOF of each q
    std::vector<std::vector<double>> T; // dof -> coefficients over q
    std::vector<double> u0;
};

Transformation transformationOf(const RestraintSet& set, quint64 dofCount)
{
    std::vector<bool> restrained(dofCount, false);
    for (const auto& equation : set.equations)
        restrained[equation.dependent] = true;
    for (const quint64 j : set.fixed)
        restrained[j] = true;
    for (const auto& forced : set.forced)
        restrained[dofOfForced(forced)] = true;
    Transformation t;
    for (quint64 j = 0; j < dofCount; ++j) {
        if (!restrained[j])
            t.free.push_back(j);
    }
    t.T.assign(dofCount, std::vector<double>(t.free.size(), 0.0));
    t.u0.assign(dofCount, 0.0);
    for (quint64 q = 0; q < t.free.size(); ++q)
        t.T[t.free[q]][q] = 1.0;
    for (const auto& forced : set.forced)
        t.u0[dofOfForced(forced)] = forced.value;
    for (auto it = set.equations.rbegin(); it != set.equations.rend(); ++it) {
        for (const Term& term : it->terms) {
            for (quint64 q = 0; q < t.free.size(); ++q)
                t.T[it->dependent][q] += term.factor * t.T[dofOfTerm(term)][q];
            t.u0[it->dependent] += term.factor * t.u0[dofOfTerm(term)];
        }
    }
    return t;
}

// K' = T^T K T and f' = T^T (f - K u0), both over the free DOFs.
DenseNodeSystem reducedSystem(const DenseNodeSystem& full, const Transformation& t)
{
    const quint64 n = full.dofCount;
    const quint64 m = t.free.size();
    DenseNodeSystem reduced;
    reduced.dofCount = m;
    reduced.caseCount = full.caseCount;
    reduced.K.assign(m * m, 0.0);
    reduced.F.assign(m * full.caseCount, 0.0);
    std::vector<double> KT(n * m, 0.0);
    for (quint64 i = 0; i < n; ++i) {
        for (quint64 j = 0; j < n; ++j) {
            for (quint64 q = 0; q < m; ++q)
                KT[i * m + q] += full.k(i, j) * t.T[j][q];
        }
    }
    for (quint64 p = 0; p < m; ++p) {
        for (quint64 q = 0; q < m; ++q) {
            for (quint64 i = 0; i < n; ++i)
                reduced.k(p, q) += t.T[i][p] * KT[i * m + q];
        }
    }
    for (quint64 c = 0; c < full.caseCount; ++c) {
        for (quint64 i = 0; i < n; ++i) {
            double r = full.f(i, c);
            for (quint64 j = 0; j < n; ++j)
                r -= full.k(i, j) * t.u0[j];
            for (quint64 p = 0; p < m; ++p)
                reduced.f(p, c) += t.T[i][p] * r;
        }
    }
    return reduced;
}

// Solves K X = F by Gaussian elimination with partial pivoting.
std::vector<double> solveDense(DenseNodeSystem system)
{
    const quint64 n = system.dofCount;
    const quint64 cases = system.caseCount;
    for (quint64 col = 0; col < n; ++col) {
        quint64 pivot = col;
        for (quint64 r = col + 1; r < n; ++r) {
            if (std::abs(system.k(r, col)) > std::abs(system.k(pivot, col)))
                pivot = r;
        }
        for (quint64 j = 0; j < n; ++j)
            std::swap(system.k(col, j), system.k(pivot, j));
        for (quint64 c = 0; c < cases; ++c)
            std::swap(system.f(col, c), system.f(pivot, c));
        for (quint64 r = col + 1; r < n; ++r) {
            const double factor = system.k(r, col) / system.k(col, col);
            for (quint64 j = col; j < n; ++j)
                system.k(r, j) -= factor * system.k(col, j);
            for (quint64 c = 0; c < cases; ++c)
                system.f(r, c) -= factor * system.f(col, c);
        }
    }
    std::vector<double> X(n * cases, 0.0);
    for (quint64 c = 0; c < cases; ++c) {
        for (quint64 r = n; r-- > 0;) {
            double sum = system.f(r, c);
            for (quint64 j = r + 1; j < n; ++j)
                sum -= system.k(r, j) * X[j * cases + c];
            X[r * cases + c] = sum / system.k(r, r);
        }
    }
    return X;
}

double tolerance(double reference)
{
    return 1e-12 * (1.0 + std::abs(reference)) * 64.0;
}

void expectReducedSystemEqualsReference(
    const UFemWFNodeMatrices& matrices, const DenseNodeSystem& reference, const Transformation& t)
{
    const DenseNodeSystem actual = denseNodeSystem(matrices);
    std::vector<bool> isFree(actual.dofCount, false);
    for (const quint64 j : t.free)
        isFree[j] = true;
    for (quint64 p = 0; p < t.free.size(); ++p) {
        for (quint64 q = 0; q < t.free.size(); ++q)
            ASSERT_NEAR(
                actual.k(t.free[p], t.free[q]), reference.k(p, q), tolerance(reference.k(p, q)))
                << "K' at " << t.free[p] << ", " << t.free[q];
        for (quint64 c = 0; c < actual.caseCount; ++c)
            ASSERT_NEAR(actual.f(t.free[p], c), reference.f(p, c), tolerance(reference.f(p, c)))
                << "f' at " << t.free[p] << " case " << c;
    }
    for (quint64 i = 0; i < actual.dofCount; ++i) {
        if (isFree[i])
            continue;
        for (quint64 j = 0; j < actual.dofCount; ++j) {
            ASSERT_EQ(actual.k(i, j), 0.0) << "restrained row " << i;
            ASSERT_EQ(actual.k(j, i), 0.0) << "restrained column " << i;
        }
        for (quint64 c = 0; c < actual.caseCount; ++c)
            ASSERT_EQ(actual.f(i, c), 0.0) << "restrained load " << i;
    }
}

double displacementOf(const UFemWFNodeMatrices& matrices, quint64 dof, quint64 caseIndex)
{
    const double* values = nullptr;
    const quint64* triples = nullptr;
    const _UFemNode3DOFState* states = nullptr;
    matrices.getDisplacementMatrixValueTable(&values, &triples, &states);
    const quint64 row = matrices.displacementMatrixRowOfTriple(dof / 3);
    if (row == ~quint64(0))
        return 0.0;
    return values[(row * matrices.caseCount() + caseIndex) * 3 + dof % 3];
}

// Every restraint holds exactly and the solution balances the loads: T^T (K u - f) = 0.
void expectRestraintsHoldAndLoadsBalance(const UFemWFNodeMatrices& matrices,
    const RestraintSet& set, const DenseNodeSystem& full, const Transformation& t)
{
    for (quint64 c = 0; c < full.caseCount; ++c) {
        SCOPED_TRACE(c);
        for (const quint64 j : set.fixed)
            EXPECT_EQ(displacementOf(matrices, j, c), 0.0);
        for (const Forced& forced : set.forced)
            EXPECT_EQ(displacementOf(matrices, dofOfForced(forced), c), forced.value);
        for (const Equation& equation : set.equations) {
            double sum = 0.0;
            for (const Term& term : equation.terms)
                sum += term.factor * displacementOf(matrices, dofOfTerm(term), c);
            EXPECT_EQ(displacementOf(matrices, equation.dependent, c), sum);
        }
        std::vector<double> u(full.dofCount);
        for (quint64 j = 0; j < full.dofCount; ++j)
            u[j] = displacementOf(matrices, j, c);
        for (quint64 p = 0; p < t.free.size(); ++p) {
            double residual = 0.0;
            for (quint64 i = 0; i < full.dofCount; ++i) {
                double r = -full.f(i, c);
                for (quint64 j = 0; j < full.dofCount; ++j)
                    r += full.k(i, j) * u[j];
                residual += t.T[i][p] * r;
            }
            EXPECT_NEAR(residual, 0.0, 1e-9);
        }
    }
}

} // namespace

TEST(RestraintRandomSystems,
    ReducedSystemEqualsDenseTransformationAndWriteBackSatisfiesEveryRestraint)
{
    constexpr quint64 nodes = 6;
    constexpr quint64 cases = 13; // two case blocks, the second holding one case
    for (quint64 seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937_64 random(seed);
        const DenseNodeSystem full = randomNodeSystem(random, nodes, cases);
        const RestraintSet set = randomRestraints(random, full.dofCount);
        UFemWFNodeMatrices matrices(nodes);
        fillNodeMatrices(matrices, full);
        applyRestraints(matrices, set);

        const Transformation t = transformationOf(set, full.dofCount);
        const DenseNodeSystem reduced = reducedSystem(full, t);
        expectReducedSystemEqualsReference(matrices, reduced, t);
        if (HasFatalFailure())
            return;

        ASSERT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(
            [](quint64) { return QString(); }, nullptr));
        quint64 slotCount = 0;
        const std::vector<quint64> slotTable = slotTableOf(matrices, &slotCount);
        // Restrained directions of solved triples carry garbage in X; finalize must not show it.
        std::vector<double> X = xTableFor(slotCount, cases, 12345.0);
        const std::vector<double> q = solveDense(reduced);
        for (quint64 p = 0; p < t.free.size(); ++p) {
            for (quint64 c = 0; c < cases; ++c)
                xEntry(X, slotTable[t.free[p] / 3], t.free[p] % 3, c, cases) = q[p * cases + c];
        }
        matrices.finalizeMatrixCalculation(slotTable.data(), X.data());
        for (const quint64 j : set.fixed)
            EXPECT_TRUE(std::isnan(displacementOf(matrices, j, 0)));
        writeBackRestraints(matrices, set);

        expectRestraintsHoldAndLoadsBalance(matrices, set, full, t);
        for (quint64 c = 0; c < cases; ++c) {
            for (quint64 j = 0; j < full.dofCount; ++j) {
                double expected = t.u0[j];
                for (quint64 p = 0; p < t.free.size(); ++p)
                    expected += t.T[j][p] * q[p * cases + c];
                EXPECT_NEAR(displacementOf(matrices, j, c), expected, tolerance(expected));
            }
            for (quint64 p = 0; p < t.free.size(); ++p)
                EXPECT_EQ(displacementOf(matrices, t.free[p], c), q[p * cases + c]);
        }
    }
}

TEST(RestraintRandomSystems, SolvedByTheLDUSolverTheWrittenBackDisplacementsHoldTheRestraints)
{
    constexpr quint64 nodes = 9;
    constexpr quint64 cases = 14;
    for (quint64 seed = 101; seed <= 110; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937_64 random(seed);
        const DenseNodeSystem full = randomNodeSystem(random, nodes, cases);
        const RestraintSet set = randomRestraints(random, full.dofCount);
        UFemWFNodeMatrices matrices(nodes);
        fillNodeMatrices(matrices, full);
        applyRestraints(matrices, set);
        ASSERT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(
            [](quint64) { return QString(); }, nullptr));

        // The Valid DOFs in calculation order, one triple per slot; the rest drops out as zero
        // rows.
        quint64 slotCount = 0;
        const std::vector<quint64> slotTable = slotTableOf(matrices, &slotCount);
        const DenseNodeSystem reduced = denseNodeSystem(matrices);
        LDUTestSystem system;
        system.pageCount = (slotCount + 15) / 16;
        system.caseCount = cases;
        system.K.assign(system.dofCount() * system.dofCount(), 0.0);
        system.F.assign(system.dofCount() * cases, 0.0);
        const _UFemNode3DOFState* states = matrices.nodeDOFStateTable();
        auto isValid
            = [&](quint64 j) { return states[j / 3].state[j % 3] == UFemNodeDOFStateValid; };
        auto calculationDOF = [&](quint64 j) { return 3 * slotTable[j / 3] + j % 3; };
        for (quint64 i = 0; i < full.dofCount; ++i) {
            if (!isValid(i))
                continue;
            for (quint64 j = 0; j < full.dofCount; ++j) {
                if (isValid(j))
                    system.k(calculationDOF(i), calculationDOF(j)) = reduced.k(i, j);
            }
            for (quint64 c = 0; c < cases; ++c)
                system.F[calculationDOF(i) * cases + c] = reduced.f(i, c);
        }
        LDUTestDelegate delegate;
        const auto task = makeLDUTask(system, &delegate);
        ASSERT_TRUE(task);
        UErrorPtr error;
        ASSERT_TRUE(task->runMatrixCalculation(1, &error));

        matrices.finalizeMatrixCalculation(
            slotTable.data(), task->calculationContextPtr()->X_MatrixTable.data());
        writeBackRestraints(matrices, set);
        expectRestraintsHoldAndLoadsBalance(
            matrices, set, full, transformationOf(set, full.dofCount));
    }
}
