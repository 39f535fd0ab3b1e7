#include "CalculationRunTestModels.h"

#include "calculation/UFemWFCalculationMatrixBuild.h"
#include "foundation/UFemNotFound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

TEST(CalculationRun, everySolvedTripleHasOneSlotInBlocksOfFour)
{
    CalculatorTestModel model = latticeTower(4, 3, 5, 13);
    UErrorPtr error;
    auto calculator = model.setUpCalculator(&error);
    ASSERT_TRUE(calculator);
    const UFemWFCalculationSlotLayout& layout = calculator->slotLayout();
    const _UFemNode3DOFState* states = calculator->nodeMatrices()->nodeDOFStateTable();
    const auto& triples = layout.orderedCombNodeNoTableByCalc();
    ASSERT_EQ(triples.size(), layout.slotCount());
    EXPECT_EQ(layout.pageCount(), (layout.slotCount() + 15) / 16);
    std::set<quint64> seen;
    for (quint64 s = 0; s < triples.size(); ++s) {
        if (triples[s] == UFemNotFound) {
            // Empty places close their block.
            if (s % 4 != 3 && s + 1 < triples.size()) {
                EXPECT_EQ(triples[s + 1], UFemNotFound);
            }
            continue;
        }
        EXPECT_TRUE(seen.insert(triples[s]).second);
        EXPECT_EQ(layout.slotOfTriple(triples[s]), s);
    }
    for (quint64 t = 0; t < 2 * model.nodeCount(); ++t) {
        EXPECT_EQ(states[t].hasValidDOF(), seen.count(t) == 1) << "triple " << t;
        if (!states[t].hasValidDOF()) {
            EXPECT_EQ(layout.slotOfTriple(t), UFemNotFound);
        }
    }
    // 48 free nodes, translations only.
    EXPECT_EQ(seen.size(), 48u);
}

TEST(CalculationRun, writesNodeBlocksAndThirteenCasesIntoTheirPlaces)
{
    _USparseMatrix K {};
    UFemWFSetupCalculationStiffnessMatrix(&K, 2);
    const double block[9] = { 1, 2, 3, 4, 5, 6, 7, 8, 9 };
    _UFemNode3DOFState valid;
    valid.setInteger(UFemNode3DOFStateAllValid);
    _UFemNode3DOFState middleRestrained = valid;
    middleRestrained.state[1] = UFemNodeDOFStateRestrained;
    // Row slot 21 (page 1, block 1, place 1), column slot 6 (page 0, block 1, place 2).
    UFemWFWriteStiffnessBlockToCalculationMatrix(&K, block, 21, 6, valid, middleRestrained);
    const double* written = USparseMatrixBlockAt(&K, 1, 0, 4 * 1 + 1);
    ASSERT_TRUE(written);
    for (quint64 i = 0; i < 3; ++i)
        for (quint64 j = 0; j < 3; ++j)
            EXPECT_EQ(written[(6 + j) * 12 + 3 + i], j == 1 ? 0.0 : block[3 * i + j]);
    USparseMatrixDestroy(&K);

    _USparseMatrix F {};
    UFemWFSetupCalculationForceMatrix(&F, 2, 13);
    const double vector[3] = { 10, 20, 30 };
    UFemWFWriteForceVectorToCalculationMatrix(&F, vector, 18, 12, valid);
    const double* forces = USparseMatrixBlockAt(&F, 0, 1, 0 + 4 * 1);
    ASSERT_TRUE(forces);
    for (quint64 d = 0; d < 3; ++d)
        EXPECT_EQ(forces[(6 + d) * 12 + 0], vector[d]);
    EXPECT_FALSE(USparseMatrixBlockAt(&F, 0, 1, 0));
    USparseMatrixDestroy(&F);
}
