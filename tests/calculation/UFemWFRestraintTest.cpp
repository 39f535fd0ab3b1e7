#include "UFemWFNodeMatricesTestSupport.h"

#include "calculation/solver/UFemWFNodeMatrix.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using Term = _UFemRestraintEquationTableComponent_nodeNo;
using Forced = _UFemForceDisplacementRestraintTableComponent_nodeNo;
constexpr quint64 Cases = 13;

// Nodes with diagonal stiffness only (translations `translation`, rotations 1.0) and no loads.
DenseNodeSystem diagonalSystem(std::vector<std::array<double, 3>> translation)
{
    DenseNodeSystem system;
    system.dofCount = 6 * translation.size();
    system.caseCount = Cases;
    system.K.assign(system.dofCount * system.dofCount, 0.0);
    system.F.assign(system.dofCount * Cases, 0.0);
    for (quint64 n = 0; n < translation.size(); ++n) {
        for (quint64 d = 0; d < 3; ++d) {
            system.k(dofOf(n, 0, d), dofOf(n, 0, d)) = translation[n][d];
            system.k(dofOf(n, 1, d), dofOf(n, 1, d)) = 1.0;
        }
    }
    return system;
}

template <class Call> QString programErrorReason(Call call)
{
    try {
        call();
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), "Program Error.");
        return exception.reason();
    }
    return QStringLiteral("(no program error)");
}

// Solves the Valid DOFs of a system whose reduced stiffness is diagonal.
std::vector<double> diagonalSolution(
    const UFemWFNodeMatrices& matrices, std::vector<quint64>& slotTable)
{
    const DenseNodeSystem reduced = denseNodeSystem(matrices);
    quint64 slotCount = 0;
    slotTable = slotTableOf(matrices, &slotCount);
    std::vector<double> X = xTableFor(slotCount, Cases, 0.0);
    for (quint64 j = 0; j < reduced.dofCount; ++j) {
        if (matrices.nodeDOFStateTable()[j / 3].state[j % 3] != UFemNodeDOFStateValid)
            continue;
        for (quint64 c = 0; c < Cases; ++c)
            xEntry(X, slotTable[j / 3], j % 3, c, Cases) = reduced.f(j, c) / reduced.k(j, j);
    }
    return X;
}

double displacement(const UFemWFNodeMatrices& matrices, quint64 dof, quint64 caseIndex)
{
    const double* values = nullptr;
    const quint64* triples = nullptr;
    const _UFemNode3DOFState* states = nullptr;
    matrices.getDisplacementMatrixValueTable(&values, &triples, &states);
    const quint64 row = matrices.displacementMatrixRowOfTriple(dof / 3);
    return values[(row * Cases + caseIndex) * 3 + dof % 3];
}

QString noName(quint64)
{
    return QString();
}

} // namespace

TEST(RestraintExamples, EquationOnASpringMovesItsStiffnessAndLoadToTheTerm)
{
    constexpr double s = 3.0;
    constexpr double t = 5.0;
    DenseNodeSystem system = diagonalSystem({ { s, 1.0, 1.0 }, { t, 1.0, 1.0 } });
    for (quint64 c = 0; c < Cases; ++c) {
        system.f(dofOf(0, 0, 0), c) = 1.0 + c;
        system.f(dofOf(1, 0, 0), c) = 10.0 * (1.0 + c);
    }
    UFemWFNodeMatrices matrices(2);
    fillNodeMatrices(matrices, system);
    const Term term { 1, 0, 0, 1.0 };
    matrices.applyRestraintEquationRestraintWithNodeNo(0, 0, 0, &term, 1);

    const DenseNodeSystem after = denseNodeSystem(matrices);
    const quint64 d = dofOf(0, 0, 0);
    const quint64 k = dofOf(1, 0, 0);
    EXPECT_EQ(after.k(k, k), t + s);
    for (quint64 j = 0; j < after.dofCount; ++j) {
        EXPECT_EQ(after.k(d, j), 0.0);
        EXPECT_EQ(after.k(j, d), 0.0);
    }
    for (quint64 c = 0; c < Cases; ++c) {
        EXPECT_EQ(after.f(k, c), 11.0 * (1.0 + c));
        EXPECT_EQ(after.f(d, c), 0.0);
    }
    EXPECT_EQ(matrices.nodeDOFStateTable()[0].integer(), 0x010102u);

    ASSERT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(noName, nullptr));
    std::vector<quint64> slotTable;
    const std::vector<double> X = diagonalSolution(matrices, slotTable);
    matrices.finalizeMatrixCalculation(slotTable.data(), X.data());
    EXPECT_TRUE(std::isnan(displacement(matrices, d, 12)));
    matrices.applyRestraintEquationRestraint_toDisplacementMatrix_WithNodeNo(0, 0, 0, &term, 1);
    for (quint64 c = 0; c < Cases; ++c) {
        EXPECT_DOUBLE_EQ(displacement(matrices, k, c), 11.0 * (1.0 + c) / (s + t));
        EXPECT_EQ(displacement(matrices, d, c), displacement(matrices, k, c));
    }
}

TEST(RestraintExamples, ForcedDisplacementLoadsTheCoupledDOFWithMinusStiffnessTimesValue)
{
    constexpr double s = 2.5;
    constexpr double u = 0.4;
    DenseNodeSystem system = diagonalSystem({ { 6.0, 1.0, 1.0 }, { 8.0, 1.0, 1.0 } });
    const quint64 forcedDOF = dofOf(0, 0, 0);
    const quint64 freeDOF = dofOf(1, 0, 0);
    system.k(forcedDOF, freeDOF) = system.k(freeDOF, forcedDOF) = s;
    for (quint64 c = 0; c < Cases; ++c)
        system.f(freeDOF, c) = 0.5 * c;
    UFemWFNodeMatrices matrices(2);
    fillNodeMatrices(matrices, system);
    const Forced forced { 0, 0, 0, u };
    matrices.applyForceDisplacementRestraintWithForceDisplacementRestraintComponentCount(
        1, &forced);

    const DenseNodeSystem after = denseNodeSystem(matrices);
    for (quint64 c = 0; c < Cases; ++c) {
        EXPECT_EQ(after.f(freeDOF, c), 0.5 * c - s * u);
        EXPECT_EQ(after.f(forcedDOF, c), 0.0);
    }
    EXPECT_EQ(after.k(forcedDOF, freeDOF), 0.0);
    EXPECT_EQ(after.k(freeDOF, forcedDOF), 0.0);
    EXPECT_EQ(after.k(forcedDOF, forcedDOF), 0.0);
    EXPECT_EQ(after.k(freeDOF, freeDOF), 8.0);

    ASSERT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(noName, nullptr));
    std::vector<quint64> slotTable;
    const std::vector<double> X = diagonalSolution(matrices, slotTable);
    matrices.finalizeMatrixCalculation(slotTable.data(), X.data());
    matrices
        .applyForceDisplacementRestraint_toDisplacementMatrix_WithForcedDisplacementRestraintTable(
            &forced, 1);
    for (quint64 c = 0; c < Cases; ++c)
        EXPECT_EQ(displacement(matrices, forcedDOF, c), u);
}

TEST(RestraintExamples, AZeroColumnOrRowMakesNoBlockForTheTerms)
{
    DenseNodeSystem system
        = diagonalSystem({ { 2.0, 2.0, 2.0 }, { 2.0, 2.0, 2.0 }, { 2.0, 2.0, 2.0 } });
    // Nodes 0 and 1 are coupled in TY only, so the TX column of their block is zero.
    system.k(dofOf(0, 0, 1), dofOf(1, 0, 1)) = system.k(dofOf(1, 0, 1), dofOf(0, 0, 1)) = 0.5;
    UFemWFNodeMatrices matrices(3);
    fillNodeMatrices(matrices, system);
    const Term term { 2, 0, 0, 2.0 };
    matrices.applyRestraintEquationRestraintWithNodeNo(0, 0, 0, &term, 1);
    EXPECT_EQ(USparseMatrixPageAt(matrices.stiffnessMatrix(), 1, 2), nullptr);
    EXPECT_EQ(USparseMatrixPageAt(matrices.stiffnessMatrix(), 2, 1), nullptr);
    EXPECT_EQ(denseNodeSystem(matrices).k(dofOf(2, 0, 0), dofOf(2, 0, 0)), 2.0 + 4.0 * 2.0);
}

TEST(RestraintExamples, ForcedGroupsGivenApartGiveTheSameEquations)
{
    std::mt19937_64 random(7);
    const DenseNodeSystem system = randomNodeSystem(random, 3, Cases);
    const std::vector<Forced> adjacent { { 0, 0, 0, 0.3 }, { 0, 0, 2, -0.2 }, { 1, 1, 1, 0.7 } };
    const std::vector<Forced> apart { { 0, 0, 0, 0.3 }, { 1, 1, 1, 0.7 }, { 0, 0, 2, -0.2 } };
    UFemWFNodeMatrices first(3);
    UFemWFNodeMatrices second(3);
    fillNodeMatrices(first, system);
    fillNodeMatrices(second, system);
    first.applyForceDisplacementRestraintWithForceDisplacementRestraintComponentCount(
        3, adjacent.data());
    second.applyForceDisplacementRestraintWithForceDisplacementRestraintComponentCount(
        3, apart.data());
    const DenseNodeSystem a = denseNodeSystem(first);
    const DenseNodeSystem b = denseNodeSystem(second);
    for (quint64 i = 0; i < a.K.size(); ++i)
        EXPECT_EQ(a.K[i], b.K[i]);
    for (quint64 i = 0; i < a.F.size(); ++i)
        EXPECT_NEAR(a.F[i], b.F[i], 1e-14);
}

TEST(RestraintExamples, WriteBackAfterAFixedTermGivesZeroAndNothingForUnlistedTerms)
{
    DenseNodeSystem system = diagonalSystem({ { 2.0, 2.0, 2.0 }, { 2.0, 2.0, 2.0 } });
    for (quint64 c = 0; c < Cases; ++c)
        system.f(dofOf(1, 0, 0), c) = 1.0;
    UFemWFNodeMatrices matrices(2);
    fillNodeMatrices(matrices, system);
    const Term terms[] { { 1, 0, 0, 1.0 }, { 0, 0, 1, 3.0 } };
    matrices.applyRestraintEquationRestraintWithNodeNo(0, 0, 0, terms, 2);
    matrices.applyFixDisplacementRestraintWithNodeNo(1, 0, 0);
    ASSERT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(noName, nullptr));
    std::vector<quint64> slotTable;
    const std::vector<double> X = diagonalSolution(matrices, slotTable);
    matrices.finalizeMatrixCalculation(slotTable.data(), X.data());
    matrices.applyFixDisplacementRestraint_toDisplacementMatrix_WithNodeNo(1, 0, 0);
    matrices.applyRestraintEquationRestraint_toDisplacementMatrix_WithNodeNo(0, 0, 0, terms, 2);
    for (quint64 c = 0; c < Cases; ++c) {
        EXPECT_EQ(displacement(matrices, dofOf(1, 0, 0), c), 0.0);
        EXPECT_EQ(displacement(matrices, dofOf(0, 0, 0), c),
            3.0 * displacement(matrices, dofOf(0, 0, 1), c));
    }
    matrices.applyRestraintEquationRestraint_toDisplacementMatrix_WithNodeNo(0, 0, 0, nullptr, 0);
    EXPECT_EQ(displacement(matrices, dofOf(0, 0, 0), 5), 0.0);
}

TEST(RestraintProgramErrors, ConflictingRestraintsStopBeforeChangingAnything)
{
    UFemWFNodeMatrices matrices(3);
    DenseNodeSystem system
        = diagonalSystem({ { 1.0, 2.0, 3.0 }, { 4.0, 5.0, 6.0 }, { 0.0, 0.0, 0.0 } });
    for (quint64 c = 0; c < Cases; ++c)
        system.f(dofOf(0, 0, 0), c) = 1.0;
    system.k(dofOf(2, 1, 0), dofOf(2, 1, 0)) = 0.0;
    fillNodeMatrices(matrices, system);
    const QString same = QStringLiteral("Restraint applied to the same DOF.");

    matrices.applyFixDisplacementRestraintWithNodeNo(0, 0, 1);
    EXPECT_EQ(
        programErrorReason([&] { matrices.applyFixDisplacementRestraintWithNodeNo(0, 0, 1); }),
        same);

    const Term toNode1 { 1, 0, 0, 1.0 };
    matrices.applyRestraintEquationRestraintWithNodeNo(0, 0, 0, &toNode1, 1);
    EXPECT_EQ(
        programErrorReason([&] { matrices.applyFixDisplacementRestraintWithNodeNo(0, 0, 0); }),
        same);

    const DenseNodeSystem before = denseNodeSystem(matrices);
    const Term selfAfterValid[] { { 1, 0, 2, 1.0 }, { 0, 0, 1, 1.0 } };
    EXPECT_EQ(programErrorReason([&] {
        matrices.applyRestraintEquationRestraintWithNodeNo(0, 0, 1, selfAfterValid, 2);
    }),
        "One of independent DOF in RestraintEquation is the restraint DOF.");
    const Term restrainedTerm[] { { 1, 0, 1, 1.0 }, { 0, 0, 1, 2.0 } };
    EXPECT_EQ(programErrorReason([&] {
        matrices.applyRestraintEquationRestraintWithNodeNo(1, 0, 2, restrainedTerm, 2);
    }),
        "Independent DOF of RestraintEquation is restrained already.");
    const Term validTerm { 1, 0, 1, 1.0 };
    EXPECT_EQ(programErrorReason([&] {
        matrices.applyRestraintEquationRestraintWithNodeNo(0, 0, 1, &validTerm, 1);
    }),
        same);
    const Forced forcedTable[] { { 1, 1, 0, 0.5 }, { 1, 1, 2, 0.5 }, { 0, 0, 1, 0.5 } };
    EXPECT_EQ(programErrorReason([&] {
        matrices.applyForceDisplacementRestraintWithForceDisplacementRestraintComponentCount(
            3, forcedTable);
    }),
        same);
    const DenseNodeSystem after = denseNodeSystem(matrices);
    EXPECT_EQ(after.K, before.K);
    EXPECT_EQ(after.F, before.F);
    EXPECT_EQ(matrices.nodeDOFStateTable()[3].integer(), UFemNode3DOFStateAllValid);

    ASSERT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(noName, nullptr));
    const Term zeroStiffnessTerm { 2, 0, 0, 1.0 };
    EXPECT_EQ(programErrorReason([&] {
        matrices.applyRestraintEquationRestraintWithNodeNo(1, 1, 0, &zeroStiffnessTerm, 1);
    }),
        "Unexpected DOF State for reference DOF.");
    const Term outOfRange { 3, 0, 0, 1.0 };
    EXPECT_EQ(programErrorReason([&] {
        matrices.applyRestraintEquationRestraintWithNodeNo(1, 1, 0, &outOfRange, 1);
    }),
        "Unexpected error occurred.");
    EXPECT_EQ(
        programErrorReason([&] { matrices.applyFixDisplacementRestraintWithNodeNo(1, 0, 3); }),
        "Unexpected error occurred.");
}
