#include "calculation/solver/USparseMatrix.h"
#include "calculation/UFemWFMatrixCalculationContext.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <type_traits>
#include <utility>

namespace {

static_assert(
    !std::is_copy_constructible_v<_USparseMatrix> && !std::is_copy_assignable_v<_USparseMatrix>);
static_assert(std::is_nothrow_move_constructible_v<_USparseMatrix>);

class SparseMatrix : public ::testing::Test {
protected:
    void SetUp() override { USparseMatrixInit(&m, 40, 40, 144, 16, 4, 1.5); }
    void TearDown() override
    {
        USparseMatrixDestroy(&m);
        USparseMatrixDestroy(&copy);
    }
    _USparseMatrix m;
    _USparseMatrix copy;
};

TEST_F(SparseMatrix, WorkedSizes)
{
    EXPECT_EQ(8192u, USparseMatrixRowChunkCapacity(144, 16, 1.5));
    EXPECT_EQ(2048u, USparseMatrixRowChunkCapacity(9, 4, 24.0));
    EXPECT_EQ(8192u, m.rowChildMemoryStorageCapacity);
    EXPECT_EQ(3u, m.rootMemoryAllocatorCount);
    USparseMatrixBlockCreate(&m, 7, 2, 0);
    USparseMatrixBlockCreate(&m, 7, 2, 9);
    USparseMatrixBlockCreate(&m, 7, 5, 15);
    EXPECT_EQ(3712u, USparseMatrixValueMemorySize(&m, 7, 1));
    quint64 pages = 0;
    EXPECT_EQ(3u, USparseMatrixRowCountBlocks(&pages, &m, 7));
    EXPECT_EQ(2u, pages);
    EXPECT_EQ(3u, USparseMatrixCountAllPagesAndBlocks(&pages, &m));
    EXPECT_EQ(2u, pages);
    EXPECT_GE(USparseMatrixTotalMemoryCapacity(&m), 8192u);
    // The factor's memory estimate for 1000 pages.
    EXPECT_DOUBLE_EQ(16.75, UFemWFLMatrixMemoryFactor(1000));
}

TEST_F(SparseMatrix, LookupCreatesNothingAndCreationFillsOnlyWhatIsAsked)
{
    EXPECT_EQ(nullptr, USparseMatrixBlockAt(&m, 3, 4, 5));
    EXPECT_EQ(0u, USparseMatrixRowColumnCount(&m, 3));
    double* block = USparseMatrixBlockCreate(&m, 3, 4, 5);
    ASSERT_NE(nullptr, block);
    EXPECT_EQ(0u, reinterpret_cast<quintptr>(block) % 16);
    for (int i = 0; i < 144; ++i)
        EXPECT_EQ(0.0, block[i]);
    double** page = USparseMatrixPageAt(&m, 3, 4);
    ASSERT_NE(nullptr, page);
    for (int slot = 0; slot < 16; ++slot)
        EXPECT_EQ(slot == 5 ? block : nullptr, page[slot]);
    block[7] = 2.5;
    EXPECT_EQ(page, USparseMatrixPageCreate(&m, 3, 4));
    EXPECT_EQ(block, USparseMatrixBlockCreate(&m, 3, 4, 5));
    EXPECT_EQ(2.5, USparseMatrixBlockAt(&m, 3, 4, 5)[7]);
    EXPECT_EQ(1u, USparseMatrixRowColumnCount(&m, 3));
}

TEST_F(SparseMatrix, ColumnSetsStayAscendingAndMatchThePages)
{
    std::mt19937_64 random(7);
    std::vector<std::set<quint64>> expected(40);
    for (int n = 0; n < 2000; ++n) {
        const quint64 row = random() % 40;
        const quint64 column = random() % 40;
        USparseMatrixBlockCreate(&m, row, column, random() % 16);
        expected[row].insert(column);
    }
    for (quint64 row = 0; row < 40; ++row) {
        const USparseMatrixIndexSet& set = USparseMatrixRowColumnIndexSet(&m, row);
        EXPECT_EQ(std::vector<quint64>(expected[row].begin(), expected[row].end()), set);
        for (quint64 column = 0; column < 40; ++column)
            EXPECT_EQ(
                expected[row].count(column) == 1, USparseMatrixPageAt(&m, row, column) != nullptr);
    }
}

TEST_F(SparseMatrix, PagesForIndexSetsAndRanges)
{
    for (quint64 column : { 3, 5, 9 })
        USparseMatrixPageCreate(&m, 1, column);
    double** pages[8] = {};
    EXPECT_EQ(0u, USparseMatrixGetRowPagesForIndexSet(pages, &m, 1, {}));
    EXPECT_EQ(nullptr, pages[0]);
    EXPECT_EQ(2u, USparseMatrixGetRowPagesForIndexSet(pages, &m, 1, { 0, 2 }));
    EXPECT_EQ(nullptr, pages[0]);
    EXPECT_EQ(nullptr, pages[1]);
    EXPECT_EQ(2u, USparseMatrixGetRowPagesForIndexSet(pages, &m, 1, { 10, 20 }));
    EXPECT_EQ(nullptr, pages[0]);
    EXPECT_EQ(4u, USparseMatrixGetRowPagesForIndexSet(pages, &m, 1, { 3, 4, 9, 12 }));
    EXPECT_EQ(USparseMatrixPageAt(&m, 1, 3), pages[0]);
    EXPECT_EQ(nullptr, pages[1]);
    EXPECT_EQ(USparseMatrixPageAt(&m, 1, 9), pages[2]);
    EXPECT_EQ(nullptr, pages[3]);
    EXPECT_EQ(2u, USparseMatrixGetRowPagesForIndexRange(pages, &m, 1, { 1, 3, 5, 9, 12 }, 2, 6));
    EXPECT_EQ(USparseMatrixPageAt(&m, 1, 3), pages[0]);
    EXPECT_EQ(USparseMatrixPageAt(&m, 1, 5), pages[1]);
    EXPECT_EQ(1u, USparseMatrixGetRowPagesForIndexRange(pages, &m, 2, { 1, 3, 5 }, 0, 2));
    EXPECT_EQ(nullptr, pages[0]);

    EXPECT_FALSE(USparseMatrixRowIntersectsIndexSet(&m, 1, {}));
    EXPECT_FALSE(USparseMatrixRowIntersectsIndexSet(&m, 1, { 0, 1, 2 }));
    EXPECT_FALSE(USparseMatrixRowIntersectsIndexSet(&m, 1, { 4, 6, 7, 8, 10 }));
    EXPECT_TRUE(USparseMatrixRowIntersectsIndexSet(&m, 1, { 0, 9 }));
    EXPECT_FALSE(USparseMatrixRowIntersectsIndexSet(&m, 2, { 0, 9 }));
}

TEST_F(SparseMatrix, CopyIsDeepAndIndependent)
{
    double* a = USparseMatrixBlockCreate(&m, 0, 0, 0);
    double* b = USparseMatrixBlockCreate(&m, 39, 17, 15);
    USparseMatrixPageCreate(&m, 20, 3);
    a[0] = 1.0;
    b[143] = -2.0;
    USparseMatrixCopy(&copy, &m);
    EXPECT_EQ(m.rowChildMemoryStorageCapacity, copy.rowChildMemoryStorageCapacity);
    EXPECT_EQ(m.rootMemoryAllocatorCount, copy.rootMemoryAllocatorCount);
    quint64 sourcePages = 0;
    quint64 copyPages = 0;
    EXPECT_EQ(USparseMatrixCountAllPagesAndBlocks(&sourcePages, &m),
        USparseMatrixCountAllPagesAndBlocks(&copyPages, &copy));
    EXPECT_EQ(3u, copyPages);
    EXPECT_EQ(sourcePages, copyPages);
    double* copiedB = USparseMatrixBlockAt(&copy, 39, 17, 15);
    ASSERT_NE(nullptr, copiedB);
    EXPECT_NE(b, copiedB);
    EXPECT_EQ(-2.0, copiedB[143]);
    EXPECT_EQ(nullptr, USparseMatrixBlockAt(&copy, 39, 17, 14));
    EXPECT_NE(nullptr, USparseMatrixPageAt(&copy, 20, 3));
    a[0] = 5.0;
    USparseMatrixBlockCreate(&m, 5, 5, 5);
    EXPECT_EQ(1.0, USparseMatrixBlockAt(&copy, 0, 0, 0)[0]);
    EXPECT_EQ(nullptr, USparseMatrixPageAt(&copy, 5, 5));
    // A copy of a matrix without rows is all zero.
    _USparseMatrix empty;
    _USparseMatrix emptyCopy;
    USparseMatrixCopy(&emptyCopy, &empty);
    EXPECT_EQ(nullptr, emptyCopy.rowMatrixTable);
    EXPECT_EQ(0u, emptyCopy.maxRowIndex);
}

TEST_F(SparseMatrix, FreeRowGroupMemoryReleasesWholeGroupsOnly)
{
    for (quint64 row = 0; row < 40; ++row)
        USparseMatrixBlockCreate(&m, row, row, 0);
    const quint64 before = USparseMatrixTotalMemoryCapacity(&m);
    EXPECT_EQ((std::pair<quint64, quint64>(1, 0)), USparseMatrixFreeRowGroupMemory(&m, 5, 20));
    EXPECT_EQ(before, USparseMatrixTotalMemoryCapacity(&m));
    EXPECT_EQ((std::pair<quint64, quint64>(0, 1)), USparseMatrixFreeRowGroupMemory(&m, 0, 16));
    EXPECT_EQ((std::pair<quint64, quint64>(2, 1)), USparseMatrixFreeRowGroupMemory(&m, 30, 10));
    EXPECT_LT(USparseMatrixTotalMemoryCapacity(&m), before);

    _USparseMatrix single;
    USparseMatrixInit(&single, 4, 4, 9, 4, USparseMatrixSingleRootArena, 24.0);
    EXPECT_EQ(2048u, single.rowChildMemoryStorageCapacity);
    USparseMatrixBlockCreate(&single, 1, 1, 3);
    EXPECT_EQ((std::pair<quint64, quint64>(0, 0)), USparseMatrixFreeRowGroupMemory(&single, 0, 3));
    EXPECT_GT(USparseMatrixTotalMemoryCapacity(&single), 0u);
    EXPECT_EQ((std::pair<quint64, quint64>(0, 4)), USparseMatrixFreeRowGroupMemory(&single, 0, 4));
    EXPECT_EQ(0u, USparseMatrixTotalMemoryCapacity(&single));
    USparseMatrixDestroy(&single);
    USparseMatrixDestroy(&single); // harmless on a zeroed record
}

// Rows reserved for their pages take nothing beyond them: every group of rows fits one storage of
// its full pages, however the rows interleave; a row that outgrows its reservation still works.
TEST_F(SparseMatrix, ReservedRowsStayWithinTheirFullPages)
{
    std::vector<quint64> pageCounts(40);
    quint64 reservedBytes = 0;
    const quint64 fullPageBytes = 16 * sizeof(double*) + 16 * 144 * sizeof(double);
    for (quint64 row = 0; row < 40; ++row) {
        pageCounts[row] = row % 7 + 1;
        reservedBytes += pageCounts[row] * fullPageBytes;
    }
    USparseMatrixReserveRowPages(&m, pageCounts);
    for (quint64 page = 0; page < 7; ++page)
        for (quint64 row = 0; row < 40; ++row)
            for (quint64 block = 0; page < pageCounts[row] && block < 16; ++block)
                USparseMatrixBlockCreate(&m, row, page, block)[0] = double(row + page);
    EXPECT_EQ(3u, USparseMatrixStorages(&m).size());
    EXPECT_GE(USparseMatrixTotalMemoryCapacity(&m), reservedBytes);
    EXPECT_LT(USparseMatrixTotalMemoryCapacity(&m), reservedBytes + 3 * 4096);

    USparseMatrixBlockCreate(&m, 3, 30, 0)[143] = 5.0;
    EXPECT_EQ(5.0, USparseMatrixBlockAt(&m, 3, 30, 0)[143]);
    EXPECT_EQ(12.0, USparseMatrixBlockAt(&m, 6, 6, 15)[0]);
}

TEST_F(SparseMatrix, MoveTakesTheStorageAndEmptiesTheSource)
{
    USparseMatrixBlockCreate(&m, 39, 17, 15)[143] = -2.0;
    _USparseMatrix moved(std::move(m));
    EXPECT_EQ(nullptr, m.rowMatrixTable);
    EXPECT_EQ(0u, m.maxRowIndex);
    EXPECT_EQ(-2.0, USparseMatrixBlockAt(&moved, 39, 17, 15)[143]);

    _USparseMatrix single;
    USparseMatrixInit(&single, 4, 4, 9, 4, USparseMatrixSingleRootArena, 24.0);
    USparseMatrixBlockCreate(&single, 1, 1, 3)[8] = 7.0;
    copy = std::move(single);
    // New blocks of the moved rows come from the moved root arena.
    USparseMatrixBlockCreate(&copy, 2, 1, 0)[0] = 3.0;
    EXPECT_EQ(7.0, USparseMatrixBlockAt(&copy, 1, 1, 3)[8]);
    EXPECT_EQ(3.0, USparseMatrixBlockAt(&copy, 2, 1, 0)[0]);
    EXPECT_EQ(nullptr, single.rootMemoryAllocator.memoryStorageArray.table);
    EXPECT_GT(USparseMatrixTotalMemoryCapacity(&copy), 0u);
}

TEST_F(SparseMatrix, InitAndCopyRefuseAMatrixHoldingStorage)
{
    EXPECT_THROW(USparseMatrixInit(&m, 4, 4, 9, 4, 4, 1.5), UException);
    EXPECT_EQ(40u, m.maxRowIndex);
    USparseMatrixCopy(&copy, &m);
    EXPECT_THROW(USparseMatrixCopy(&copy, &m), UException);
    USparseMatrixDestroy(&m);
    USparseMatrixInit(&m, 4, 4, 9, 4, 4, 1.5);
    EXPECT_EQ(4u, m.maxRowIndex);
}

} // namespace
