#include "calculation/solver/UFemBlockKernelSet.h"
#include "calculation/solver/UFemBlockKernels.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

// Names the set in the test listing (gtest finds it beside the type).
void PrintTo(const UFemBlockKernelSet& set, std::ostream* os)
{
    *os << set.name;
}

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

// Every test runs each kernel set the processor can run (AVX-512, AVX2, SSE2).
class BlockKernel : public ::testing::TestWithParam<UFemBlockKernelSet> {
protected:
    const UFemBlockKernelSet& set = GetParam();
    std::mt19937_64 random { 1234 };
    Block R0 = randomBlock(random);
    Block A = randomBlock(random);
    Block B = randomBlock(random);
};

std::string setName(const ::testing::TestParamInfo<UFemBlockKernelSet>& info)
{
    std::string name = info.param.name;
    std::erase(name, '-');
    return name;
}

TEST_P(BlockKernel, TransposedProductAddsSumOverStoredRows)
{
    Block expected = R0;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            for (int k = 0; k < 12; ++k)
                expected[12 * i + j] += at(A, k, i) * at(B, k, j);
    Block R = R0;
    set.multiplyTransposedAdd(R.data(), B.data(), A.data());
    expectNear(expected, R);
}

TEST_P(BlockKernel, ProductForBackSubstitution)
{
    Block expected = R0;
    for (int i = 0; i < 12; ++i)
        for (int j = 0; j < 12; ++j)
            for (int k = 0; k < 12; ++k)
                expected[12 * i + j] += at(A, i, k) * at(B, k, j);
    Block R = R0;
    set.multiplyAdd(R.data(), B.data(), A.data());
    expectNear(expected, R);
}

TEST_P(BlockKernel, RowKernelsTouchOnlyTheirRowAndUseTheTriangle)
{
    for (quint64 r = 0; r < 12; ++r) {
        Block lower = R0;
        Block upper = R0;
        set.rowMultiplyAddForL(lower.data(), B.data(), A.data(), r);
        set.rowMultiplyAddForX(upper.data(), B.data(), A.data(), r);
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
    set.rowMultiplyAddForL(R.data(), B.data(), A.data(), 0);
    set.rowMultiplyAddForX(R.data(), B.data(), A.data(), 11);
    EXPECT_EQ(R0, R);
}

TEST_P(BlockKernel, ScaleRowsUsesFirstMemberOfEachPair)
{
    double pairs[24];
    for (int r = 0; r < 12; ++r) {
        pairs[2 * r] = r + 1.5;
        pairs[2 * r + 1] = 1e300; // 1/D: must not be used
    }
    Block R = R0;
    set.scaleRowsByDiagonal(R.data(), B.data(), pairs);
    for (int r = 0; r < 12; ++r)
        for (int j = 0; j < 12; ++j)
            EXPECT_EQ(at(B, r, j) * (r + 1.5), at(R, r, j));
}

using ProductKernel = void (*)(double*, const double*, const double*);
struct Product {
    ProductKernel UFemBlockKernelSet::*kernel;
    bool transposed;
};

const Product Products[] = { { &UFemBlockKernelSet::multiplyTransposedAdd, true },
    { &UFemBlockKernelSet::multiplyAdd, false } };

double productTerm(Product product, const Block& A, const Block& B, int i, int j, int k)
{
    return (product.transposed ? at(A, k, i) : at(A, i, k)) * at(B, k, j);
}

// Small integers keep every partial sum exact, so any order of summation gives the same value and
// a misplaced tile row or column shows as an inequality.
TEST_P(BlockKernel, ProductsAreExactOnSmallIntegersInEveryTile)
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
        (set.*product.kernel)(R.data(), B.data(), A.data());
        EXPECT_EQ(expected, R);
    }
}

TEST_P(BlockKernel, ZeroOperandLeavesResultBitwiseUnchanged)
{
    const Block zero {};
    for (const Product& product : Products) {
        Block R = R0;
        (set.*product.kernel)(R.data(), zero.data(), A.data());
        (set.*product.kernel)(R.data(), B.data(), zero.data());
        EXPECT_EQ(R0, R);
    }
}

// A NaN in one value of A reaches exactly the row of R that uses it, one in B exactly the column:
// the tiles neither lose nor leak values.
TEST_P(BlockKernel, NaNReachesOnlyTheSumsThatUseIt)
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
            (set.*product.kernel)(rowR.data(), B.data(), badA.data());
            (set.*product.kernel)(columnR.data(), badB.data(), A.data());
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
TEST_P(BlockKernel, RunEqualsPlainProductsAndDoesNotDependOnWhereItIsCut)
{
    random.seed(99);
    for (const quint64 count : { 1u, 3u, 8u, 9u, 17u, 32u }) {
        const Block start = randomBlock(random);
        std::vector<Block> As(count), Bs(count);
        std::vector<UFemBlockPair> pairs(count);
        for (quint64 p = 0; p < count; ++p) {
            As[p] = randomBlock(random);
            Bs[p] = randomBlock(random);
            pairs[p] = { Bs[p].data(), As[p].data() };
        }
        Block plain = start;
        for (quint64 p = 0; p < count; ++p)
            set.multiplyTransposedAdd(plain.data(), Bs[p].data(), As[p].data());
        Block fused = start;
        set.multiplyTransposedAddRun(fused.data(), pairs.data(), count);
        // Relative to the size of the terms summed (each below 1, 12 per pair).
        const double scale = 1.0 + 12.0 * double(count);
        for (int v = 0; v < 144; ++v)
            EXPECT_NEAR(plain[v], fused[v], 1e-13 * scale) << count << " value " << v;
        for (quint64 cut = 0; cut <= count; cut += 1 + count / 4) {
            Block split = start;
            set.multiplyTransposedAddRun(split.data(), pairs.data(), cut);
            set.multiplyTransposedAddRun(split.data(), pairs.data() + cut, count - cut);
            EXPECT_EQ(std::memcmp(split.data(), fused.data(), sizeof(Block)), 0)
                << count << " cut " << cut;
        }
    }
}

// Small integers keep every partial sum exact: a misplaced tile row or column, or a pair left out,
// shows as an inequality.
TEST_P(BlockKernel, RunIsExactOnSmallIntegers)
{
    random.seed(5);
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
    std::vector<Block> As(count), Bs(count);
    std::vector<UFemBlockPair> pairs(count);
    for (quint64 p = 0; p < count; ++p) {
        As[p] = integerBlock();
        Bs[p] = integerBlock();
        pairs[p] = { Bs[p].data(), As[p].data() };
        for (int i = 0; i < 12; ++i)
            for (int j = 0; j < 12; ++j)
                for (int k = 0; k < 12; ++k)
                    expected[12 * i + j] += at(As[p], k, i) * at(Bs[p], k, j);
    }
    set.multiplyTransposedAddRun(R.data(), pairs.data(), count);
    EXPECT_EQ(expected, R);
}

// The sets with fused multiply-adds take the same steps in the same order: bitwise the same sums,
// also over long runs and on values of mixed magnitude, where a reordering would show.
TEST(BlockKernelSets, FusedMultiplyAddSetsGiveTheSameBits)
{
    std::vector<UFemBlockKernelSet> fused;
    for (const UFemBlockKernelSet& set : UFemBlockKernelSets())
        if (set.fusedMultiplyAdd)
            fused.push_back(set);
    if (fused.size() < 2)
        GTEST_SKIP() << "one set with fused multiply-adds on this processor";
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> exponent(-20.0, 20.0);
    auto block = [&] {
        Block values = randomBlock(random);
        for (double& x : values)
            x = std::ldexp(x, int(exponent(random)));
        return values;
    };
    constexpr quint64 count = 32;
    std::vector<Block> As(count), Bs(count);
    std::vector<UFemBlockPair> pairs(count);
    for (quint64 p = 0; p < count; ++p) {
        As[p] = block();
        Bs[p] = block();
        pairs[p] = { Bs[p].data(), As[p].data() };
    }
    const Block start = block();
    auto results = [&](const UFemBlockKernelSet& set) {
        std::vector<Block> out(5, start);
        set.multiplyTransposedAddRun(out[0].data(), pairs.data(), count);
        set.multiplyTransposedAdd(out[1].data(), Bs[0].data(), As[0].data());
        set.multiplyAdd(out[2].data(), Bs[1].data(), As[1].data());
        for (quint64 r = 0; r < 12; ++r) {
            set.rowMultiplyAddForL(out[3].data(), Bs[2].data(), As[2].data(), r);
            set.rowMultiplyAddForX(out[4].data(), Bs[3].data(), As[3].data(), r);
        }
        return out;
    };
    const std::vector<Block> expected = results(fused.back());
    for (const UFemBlockKernelSet& set : fused) {
        const std::vector<Block> actual = results(set);
        for (std::size_t n = 0; n < expected.size(); ++n)
            EXPECT_EQ(std::memcmp(expected[n].data(), actual[n].data(), sizeof(Block)), 0)
                << set.name << " kernel " << n;
    }
}

// The solver's functions run the widest set, and the forward substitution's the factorisation's.
TEST(BlockKernelSets, SolverUsesTheWidestSet)
{
    ASSERT_FALSE(UFemBlockKernelSets().empty());
    EXPECT_EQ(&UFemBlockKernelSetInUse(), &UFemBlockKernelSets().front());
    std::mt19937_64 random(3);
    const Block start = randomBlock(random);
    const Block A = randomBlock(random);
    const Block B = randomBlock(random);
    Block viaSolver = start;
    Block viaSet = start;
    Block forY = start;
    UFemBlockMultiplyTransposedAddForL(viaSolver.data(), B.data(), A.data());
    UFemBlockKernelSetInUse().multiplyTransposedAdd(viaSet.data(), B.data(), A.data());
    UFemBlockMultiplyTransposedAddForY(forY.data(), B.data(), A.data());
    EXPECT_EQ(viaSet, viaSolver);
    EXPECT_EQ(viaSet, forY);
}

INSTANTIATE_TEST_SUITE_P(EverySet, BlockKernel, ::testing::ValuesIn([] {
    const auto sets = UFemBlockKernelSets();
    return std::vector<UFemBlockKernelSet>(sets.begin(), sets.end());
}()),
    setName);

} // namespace
