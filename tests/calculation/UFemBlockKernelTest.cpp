#include "calculation/solver/UFemBlockKernels.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

using Block = std::array<double, 144>;

Block randomBlock(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    Block block;
    for (double& x : block)
        x = value(random);
    return block;
}

double at(const Block& block, int row, int position)
{
    return block[12 * row + position];
}

void expectNear(const Block& expected, const Block& actual)
{
    for (int i = 0; i < 144; ++i)
        EXPECT_NEAR(expected[i], actual[i], 1e-13) << "value " << i;
}

class BlockKernel : public ::testing::Test {
protected:
    std::mt19937_64 random { 1234 };
    Block R0 = randomBlock(random);
    Block A = randomBlock(random);
    Block B = randomBlock(random);
};

TEST_F(BlockKernel, TransposedProductAddsSumOverStoredRows)
{
    Block expected = R0;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            for (int k = 0; k < 12; ++k)
                expected[12 * i + j] += at(A, k, i) * at(B, k, j);
    Block R = R0;
    UFemBlockMultiplyTransposedAddForL(R.data(), B.data(), A.data());
    expectNear(expected, R);
    Block RY = R0;
    UFemBlockMultiplyTransposedAddForY(RY.data(), B.data(), A.data());
    EXPECT_EQ(R, RY);
}

TEST_F(BlockKernel, ProductForBackSubstitution)
{
    Block expected = R0;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            for (int k = 0; k < 12; ++k)
                expected[12 * i + j] += at(A, i, k) * at(B, k, j);
    Block R = R0;
    UFemBlockMultiplyAddForX(R.data(), B.data(), A.data());
    expectNear(expected, R);
}

TEST_F(BlockKernel, RowKernelsTouchOnlyTheirRowAndUseTheTriangle)
{
    for (quint64 r = 0; r < 12; ++r) {
        Block lower = R0;
        Block upper = R0;
        UFemBlockRowMultiplyAddForL(lower.data(), B.data(), A.data(), r);
        UFemBlockRowMultiplyAddForX(upper.data(), B.data(), A.data(), r);
        for (int row = 0; row < 12; ++row) {
            for (int j = 0; j < 12; ++j) {
                double expectedLower = at(R0, row, j);
                double expectedUpper = at(R0, row, j);
                if (row == int(r)) {
                    for (int k = 0; k < int(r); ++k)
                        expectedLower += at(A, k, int(r)) * at(B, k, j);
                    for (int k = int(r) + 1; k < 12; ++k)
                        expectedUpper += at(A, int(r), k) * at(B, k, j);
                }
                EXPECT_NEAR(expectedLower, at(lower, row, j), 1e-14) << r << " " << row << " " << j;
                EXPECT_NEAR(expectedUpper, at(upper, row, j), 1e-14) << r << " " << row << " " << j;
            }
        }
    }
    // The empty sums leave R bitwise unchanged.
    Block R = R0;
    UFemBlockRowMultiplyAddForL(R.data(), B.data(), A.data(), 0);
    UFemBlockRowMultiplyAddForX(R.data(), B.data(), A.data(), 11);
    EXPECT_EQ(R0, R);
}

TEST_F(BlockKernel, ScaleRowsUsesFirstMemberOfEachPair)
{
    double pairs[24];
    for (int r = 0; r < 12; ++r) {
        pairs[2 * r] = r + 1.5;
        pairs[2 * r + 1] = 1e300; // 1/D: must not be used
    }
    Block R = R0;
    UFemBlockScaleRowsByDiagonal(R.data(), B.data(), pairs);
    for (int r = 0; r < 12; ++r)
        for (int j = 0; j < 12; ++j)
            EXPECT_EQ(at(B, r, j) * (r + 1.5), at(R, r, j));
}

struct Product {
    void (*kernel)(double*, const double*, const double*);
    bool transposed;
};

const Product Products[]
    = { { UFemBlockMultiplyTransposedAddForL, true }, { UFemBlockMultiplyAddForX, false } };

double productTerm(Product product, const Block& A, const Block& B, int i, int j, int k)
{
    return (product.transposed ? at(A, k, i) : at(A, i, k)) * at(B, k, j);
}

// Small integers keep every partial sum exact, so any order of summation gives the same value and
// a misplaced tile row or column shows as an inequality.
TEST_F(BlockKernel, ProductsAreExactOnSmallIntegersInEveryTile)
{
    std::uniform_int_distribution<int> value(-8, 8);
    for (Block* block : { &R0, &A, &B })
        for (double& x : *block)
            x = value(random);
    for (const Product& product : Products) {
        Block expected = R0;
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j < 12; ++j)
                for (int k = 0; k < 12; ++k)
                    expected[12 * i + j] += productTerm(product, A, B, i, j, k);
        Block R = R0;
        product.kernel(R.data(), B.data(), A.data());
        EXPECT_EQ(expected, R);
    }
}

TEST_F(BlockKernel, ZeroOperandLeavesResultBitwiseUnchanged)
{
    const Block zero {};
    for (const Product& product : Products) {
        Block R = R0;
        product.kernel(R.data(), zero.data(), A.data());
        product.kernel(R.data(), B.data(), zero.data());
        EXPECT_EQ(R0, R);
    }
}

// A NaN in one value of A reaches exactly the row of R that uses it, one in B exactly the column:
// the tiles neither lose nor leak values.
TEST_F(BlockKernel, NaNReachesOnlyTheSumsThatUseIt)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const Product& product : Products) {
        for (int n = 0; n < 12; ++n) {
            const int p = (5 * n + 3) % 12;
            Block badA = A;
            badA[product.transposed ? 12 * p + n : 12 * n + p] = nan; // feeds row n of R
            Block badB = B;
            badB[12 * p + n] = nan; // feeds column n of R
            Block rowR = R0;
            Block columnR = R0;
            product.kernel(rowR.data(), B.data(), badA.data());
            product.kernel(columnR.data(), badB.data(), A.data());
            for (int i = 0; i < 12; ++i) {
                for (int j = 0; j < 12; ++j) {
                    EXPECT_EQ(i == n, std::isnan(at(rowR, i, j))) << n << " " << i << " " << j;
                    EXPECT_EQ(j == n, std::isnan(at(columnR, i, j))) << n << " " << i << " " << j;
                }
            }
        }
    }
}

// A run of products (the factorisation's inner loop over pages and their block columns), against
// the same products added one by one. Run lengths on both sides of the kernel's groups of pairs.
TEST(FusedKernel, RunEqualsPlainProductsAndDoesNotDependOnWhereItIsCut)
{
    std::mt19937_64 random(99);
    for (const quint64 count : { 1u, 3u, 8u, 9u, 17u, 32u }) {
        const Block R0 = randomBlock(random);
        std::vector<Block> A(count), B(count);
        std::vector<UFemBlockPair> pairs(count);
        for (quint64 p = 0; p < count; ++p) {
            A[p] = randomBlock(random);
            B[p] = randomBlock(random);
            pairs[p] = { B[p].data(), A[p].data() };
        }
        Block plain = R0;
        for (quint64 p = 0; p < count; ++p)
            UFemBlockMultiplyTransposedAddForL(plain.data(), B[p].data(), A[p].data());
        Block fused = R0;
        UFemBlockMultiplyTransposedAddRunForL(fused.data(), pairs.data(), count);
        // Relative to the size of the terms summed (each below 1, 12 per pair).
        const double scale = 1.0 + 12.0 * double(count);
        for (int v = 0; v < 144; ++v)
            EXPECT_NEAR(plain[v], fused[v], 1e-13 * scale) << count << " value " << v;
        for (quint64 cut = 0; cut <= count; cut += 1 + count / 4) {
            Block split = R0;
            UFemBlockMultiplyTransposedAddRunForL(split.data(), pairs.data(), cut);
            UFemBlockMultiplyTransposedAddRunForL(split.data(), pairs.data() + cut, count - cut);
            EXPECT_EQ(std::memcmp(split.data(), fused.data(), sizeof(Block)), 0)
                << count << " cut " << cut;
        }
    }
}

// Small integers keep every partial sum exact: a misplaced tile row or column, or a pair left out,
// shows as an inequality.
TEST(FusedKernel, RunIsExactOnSmallIntegers)
{
    std::mt19937_64 random(5);
    std::uniform_int_distribution<int> value(-8, 8);
    auto integerBlock = [&] {
        Block block;
        for (double& x : block)
            x = value(random);
        return block;
    };
    constexpr quint64 count = 11;
    Block R = integerBlock();
    Block expected = R;
    std::vector<Block> A(count), B(count);
    std::vector<UFemBlockPair> pairs(count);
    for (quint64 p = 0; p < count; ++p) {
        A[p] = integerBlock();
        B[p] = integerBlock();
        pairs[p] = { B[p].data(), A[p].data() };
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j < 12; ++j)
                for (int k = 0; k < 12; ++k)
                    expected[12 * i + j] += at(A[p], k, i) * at(B[p], k, j);
    }
    UFemBlockMultiplyTransposedAddRunForL(R.data(), pairs.data(), count);
    EXPECT_EQ(expected, R);
}

} // namespace
