#include "UFemWFNodeMatricesTestSupport.h"

#include "calculation/solver/UFemWFNodeMatrix.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

constexpr double TranslationBlock[9] = { 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0 };

QString nodeName(quint64 nodeNo)
{
    return QStringLiteral("N%1").arg(nodeNo);
}

void putDiagonal(
    UFemWFNodeMatrices& matrices, quint64 nodeNo, quint64 rotation, std::array<double, 3> diagonal)
{
    const double block[9] = { diagonal[0], 0, 0, 0, diagonal[1], 0, 0, 0, diagonal[2] };
    matrices.addStiffnessMatrix(block, nodeNo, rotation, nodeNo, rotation);
}

} // namespace

TEST(NodeMatrixAssembly, BlocksAndLoadsAddUpWhereTheyArePutAndAreNeverMirrored)
{
    UFemWFNodeMatrices matrices(3);
    matrices.setupNodeStiffnessMatrix();
    {
        double onStack[9];
        std::copy(std::begin(TranslationBlock), std::end(TranslationBlock), onStack);
        matrices.addStiffnessMatrix(onStack, 0, 0, 2, 1);
        std::fill(std::begin(onStack), std::end(onStack), -100.0);
    }
    matrices.addStiffnessMatrix(TranslationBlock, 0, 0, 2, 1);
    matrices.setCaseCount(14);
    matrices.setupNodeForceMatrix();
    const double load[3] = { 1.5, -2.0, 0.25 };
    matrices.addForceMatrix(load, 1, 1, 13);
    matrices.addForceMatrix(load, 1, 1, 13);

    const DenseNodeSystem dense = denseNodeSystem(matrices);
    for (quint64 i = 0; i < 3; ++i) {
        for (quint64 j = 0; j < 3; ++j) {
            EXPECT_EQ(dense.k(dofOf(0, 0, i), dofOf(2, 1, j)), 2.0 * TranslationBlock[3 * i + j]);
            EXPECT_EQ(dense.k(dofOf(2, 1, j), dofOf(0, 0, i)), 0.0);
        }
        EXPECT_EQ(dense.f(dofOf(1, 1, i), 13), 2.0 * load[i]);
        EXPECT_EQ(dense.f(dofOf(1, 1, i), 1), 0.0);
    }
    EXPECT_EQ(USparseMatrixPageAt(matrices.stiffnessMatrix(), 2, 0), nullptr);
    // Case 13 lies in the second case block: block index 2 x 1 + rotation.
    EXPECT_NE(USparseMatrixBlockAt(matrices.forceMatrix(), 0, 1, 3), nullptr);
    EXPECT_EQ(USparseMatrixBlockAt(matrices.forceMatrix(), 0, 1, 1), nullptr);

    const auto reason = [](auto call) {
        try {
            call();
        } catch (const UException& exception) {
            return exception.reason();
        }
        return QString();
    };
    EXPECT_EQ(reason([&] { matrices.addStiffnessMatrix(TranslationBlock, 3, 0, 0, 0); }),
        "Unexpected error occurred.");
    EXPECT_EQ(reason([&] { matrices.addStiffnessMatrix(TranslationBlock, 0, 2, 0, 0); }),
        "Unexpected error occurred.");
    EXPECT_EQ(
        reason([&] { matrices.addForceMatrix(load, 0, 0, 14); }), "Unexpected error occurred.");
}

TEST(NodeMatrixAssembly, CopyIsDeepAndIndependent)
{
    UFemWFNodeMatrices original(2);
    original.setupNodeStiffnessMatrix();
    original.addStiffnessMatrix(TranslationBlock, 0, 0, 1, 0);
    UFemWFNodeMatrices copy(original);
    original.addStiffnessMatrix(TranslationBlock, 0, 0, 1, 0);
    original.addStiffnessMatrix(TranslationBlock, 1, 0, 0, 0);
    const DenseNodeSystem copied = denseNodeSystem(copy);
    EXPECT_EQ(copied.k(dofOf(0, 0, 1), dofOf(1, 0, 2)), TranslationBlock[5]);
    EXPECT_EQ(USparseMatrixPageAt(copy.stiffnessMatrix(), 1, 0), nullptr);
    EXPECT_EQ(copy.nodeCount(), 2u);

    // A finalized calculator copies its tables too.
    original.setCaseCount(1);
    original.setupNodeForceMatrix();
    original.buildNodeDOFStateTable();
    original.applyFixDisplacementRestraintWithNodeNo(1, 1, 0);
    ASSERT_TRUE(original.updateNodeDOFStateTableAndCalculationMatrixInfo(nodeName, nullptr));
    original.finalizeMatrixCalculation(nullptr, nullptr);
    const UFemWFNodeMatrices finalized(original);
    const double* a = nullptr;
    const double* b = nullptr;
    const quint64* triplesA = nullptr;
    const quint64* triplesB = nullptr;
    const _UFemNode3DOFState* statesA = nullptr;
    const _UFemNode3DOFState* statesB = nullptr;
    ASSERT_EQ(original.getDisplacementMatrixValueTable(&a, &triplesA, &statesA), 1u);
    ASSERT_EQ(finalized.getDisplacementMatrixValueTable(&b, &triplesB, &statesB), 1u);
    EXPECT_NE(a, b);
    EXPECT_EQ(triplesB[0], 3u);
    EXPECT_EQ(statesB[3].integer(), 0x040402u);
    EXPECT_TRUE(std::isnan(b[0]));
    EXPECT_EQ(b[1], 0.0);
}

TEST(NodeMatrixZeroStiffness, StatesFollowTheDiagonalAndRestraints)
{
    UFemWFNodeMatrices matrices(5);
    matrices.setupNodeStiffnessMatrix();
    putDiagonal(matrices, 0, 0, { 5.0, 2.0, 0.0 });
    putDiagonal(matrices, 0, 1, { 1.0, 7.0, 0.5 });
    putDiagonal(matrices, 1, 0, { 4.0, 4.0, 4.0 }); // a solid node: no rotation block
    putDiagonal(matrices, 4, 1, { 3.0, 3.0, 3.0 }); // rotation block only
    // Node 2 is in no element; node 3 neither, but is fixed.
    matrices.setCaseCount(2);
    matrices.setupNodeForceMatrix();
    matrices.buildNodeDOFStateTable();
    matrices.applyFixDisplacementRestraintWithNodeNo(3, 0, 1);
    ASSERT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(nodeName, nullptr));

    const _UFemNode3DOFState* states = matrices.nodeDOFStateTable();
    const std::vector<quint32> expected { 0x040101, 0x010101, 0x010101, 0x040404, 0x040404,
        0x040404, 0x040204, 0x040404, 0x040404, 0x010101 };
    for (quint64 t = 0; t < expected.size(); ++t)
        EXPECT_EQ(states[t].integer(), expected[t]) << "triple " << t;
    EXPECT_EQ(matrices.stiffnessMatrixMaxValue(), 7.0);
    EXPECT_EQ(matrices.stiffnessMatrixMaxValueNodeDOFIndex(), 4u);
    EXPECT_EQ(matrices.stiffnessMatrixMinValue(), 0.5);
    EXPECT_EQ(matrices.stiffnessMatrixMinValueNodeDOFIndex(), 5u);

    quint64 slotCount = 0;
    const std::vector<quint64> slotTable = slotTableOf(matrices, &slotCount);
    std::vector<double> X = xTableFor(slotCount, 2, 99.0);
    xEntry(X, slotTable[0], 0, 1, 2) = 1.25;
    matrices.finalizeMatrixCalculation(slotTable.data(), X.data());
    const double* values = nullptr;
    const quint64* triples = nullptr;
    const _UFemNode3DOFState* tableStates = nullptr;
    ASSERT_EQ(matrices.getDisplacementMatrixValueTable(&values, &triples, &tableStates), 5u);
    EXPECT_EQ(std::vector<quint64>(triples, triples + 5), (std::vector<quint64> { 0, 1, 2, 6, 9 }));
    EXPECT_EQ(tableStates, states);
    EXPECT_EQ(values[(0 * 2 + 1) * 3 + 0], 1.25);
    EXPECT_EQ(values[(0 * 2 + 1) * 3 + 2], 0.0); // ZeroStiffness beside Valid directions
    EXPECT_EQ(values[(0 * 2 + 0) * 3 + 1], 99.0);
    const quint64 fixedRow = matrices.displacementMatrixRowOfTriple(6);
    ASSERT_EQ(fixedRow, 3u);
    for (quint64 c = 0; c < 2; ++c) {
        EXPECT_EQ(values[(fixedRow * 2 + c) * 3 + 0], 0.0);
        EXPECT_TRUE(std::isnan(values[(fixedRow * 2 + c) * 3 + 1]));
    }
    matrices.applyFixDisplacementRestraint_toDisplacementMatrix_WithNodeNo(3, 0, 1);
    EXPECT_EQ(values[(fixedRow * 2 + 1) * 3 + 1], 0.0);
    EXPECT_EQ(matrices.displacementMatrixRowOfTriple(4), ~quint64(0));
}

TEST(NodeMatrixZeroStiffness, NegativeOrNonFiniteDiagonalFailsNamingTheDOF)
{
    const QString suggestion = QStringLiteral(
        "Check model carefully, especially whether restraints are applied correctly, etc. "
        "The reason of error can be different from the DOF which is negative value.");
    struct Case {
        double value;
        QString description;
    };
    const Case cases[] {
        { -1e-300,
            QStringLiteral(
                "A negative value found on the principal diagonal of Stiffness Matrix.") },
        { std::nan(""),
            QStringLiteral(
                "A non-finite value found on the principal diagonal of Stiffness Matrix.") },
        { INFINITY,
            QStringLiteral(
                "A non-finite value found on the principal diagonal of Stiffness Matrix.") },
    };
    for (const Case& failing : cases) {
        SCOPED_TRACE(failing.value);
        UFemWFNodeMatrices matrices(3);
        matrices.setupNodeStiffnessMatrix();
        putDiagonal(matrices, 0, 0, { 1.0, 0.0, 1.0 });
        putDiagonal(matrices, 2, 1, { 1.0, failing.value, -5.0 });
        matrices.setCaseCount(1);
        matrices.setupNodeForceMatrix();
        matrices.buildNodeDOFStateTable();
        UErrorPtr error;
        ASSERT_FALSE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(nodeName, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 21011);
        EXPECT_EQ(error->userInfo().description,
            QStringLiteral("Calculation failed. %1\n( DOF: N2@RY )").arg(failing.description));
        EXPECT_EQ(error->userInfo().failureReason, failing.description);
        EXPECT_EQ(error->userInfo().recoverySuggestion, suggestion);
        EXPECT_EQ(error->userInfo().oneLineDescription,
            QStringLiteral("Calculation failed. %1 ( DOF: N2@RY ) %2")
                .arg(failing.description, suggestion));
        // What the walk had decided before the failure stays decided.
        EXPECT_EQ(matrices.nodeDOFStateTable()[0].integer(), 0x010401u);
        EXPECT_EQ(matrices.nodeDOFStateTable()[2].integer(), 0x040404u);
    }

    UFemWFNodeMatrices matrices(1);
    matrices.setupNodeStiffnessMatrix();
    putDiagonal(matrices, 0, 0, { -1.0, 1.0, 1.0 });
    matrices.buildNodeDOFStateTable();
    try {
        EXPECT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(nodeName, nullptr));
        ADD_FAILURE() << "no program error";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), "Error Responder Error");
    }
}

TEST(NodeMatrixDisplacementTable, EmptyBeforeFinalizeAndWhenNothingIsSolved)
{
    UFemWFNodeMatrices matrices(2);
    matrices.setupNodeStiffnessMatrix();
    putDiagonal(matrices, 0, 0, { 1.0, 1.0, 1.0 });
    matrices.setCaseCount(0);
    matrices.setupNodeForceMatrix();
    matrices.buildNodeDOFStateTable();
    const double* values = reinterpret_cast<const double*>(1);
    const quint64* triples = reinterpret_cast<const quint64*>(1);
    const _UFemNode3DOFState* states = reinterpret_cast<const _UFemNode3DOFState*>(1);
    EXPECT_EQ(matrices.getDisplacementMatrixValueTable(&values, &triples, &states), 0u);
    EXPECT_EQ(values, nullptr);
    EXPECT_EQ(triples, nullptr);
    EXPECT_EQ(states, nullptr);

    // Every DOF restrained or without stiffness: nothing was solved, so there is no slot table.
    for (quint64 d = 0; d < 3; ++d)
        matrices.applyFixDisplacementRestraintWithNodeNo(0, 0, d);
    ASSERT_TRUE(matrices.updateNodeDOFStateTableAndCalculationMatrixInfo(nodeName, nullptr));
    matrices.finalizeMatrixCalculation(nullptr, nullptr);
    EXPECT_EQ(matrices.getDisplacementMatrixValueTable(&values, &triples, &states), 1u);
    EXPECT_EQ(triples[0], 0u);

    // A Valid triple without a slot would read zeros silently.
    UFemWFNodeMatrices unsolved(1);
    unsolved.setupNodeStiffnessMatrix();
    putDiagonal(unsolved, 0, 0, { 1.0, 1.0, 1.0 });
    unsolved.setCaseCount(1);
    unsolved.setupNodeForceMatrix();
    unsolved.buildNodeDOFStateTable();
    ASSERT_TRUE(unsolved.updateNodeDOFStateTableAndCalculationMatrixInfo(nodeName, nullptr));
    EXPECT_THROW(unsolved.finalizeMatrixCalculation(nullptr, nullptr), UException);
}
