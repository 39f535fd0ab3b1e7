#include "calculation/UFemElementStiffnessAssembly.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct PutBlock {
    const UFemCardName* name1;
    quint64 rotation1;
    const UFemCardName* name2;
    quint64 rotation2;
    std::array<double, 9> matrix;

    bool operator==(const PutBlock& other) const
    {
        return name1 == other.name1 && rotation1 == other.rotation1 && name2 == other.name2
            && rotation2 == other.rotation2
            && std::memcmp(matrix.data(), other.matrix.data(), sizeof(matrix)) == 0;
    }
};

class BlockList final : public UFemMatrixCalculator {
public:
    std::vector<PutBlock> blocks;

    void addStiffnessMatrix(const double* matrix, const UFemCardName& name1, quint64 rotation1,
        const UFemCardName& name2, quint64 rotation2) override
    {
        PutBlock block { &name1, rotation1, &name2, rotation2, {} };
        std::copy(matrix, matrix + 9, block.matrix.begin());
        blocks.push_back(block);
    }
    void addForceMatrix(const double*, const UFemCardName&, quint64, const UFemCardName&) override
    {
    }
    void addFixDisplacementRestraintWithNodeName(const UFemCardName&, quint64, quint64) override { }
    void addForceDisplacementRestraintWithDisplacementValue(
        double, const UFemCardName&, quint64, quint64) override
    {
    }
    void addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(quint64,
        const _UFemRestraintEquationTableComponent*, const UFemCardName&, quint64, quint64) override
    {
    }
};

constexpr quint64 kElementCount = 1000;

} // namespace

// Elements put a varying number of blocks whose values come out of a computation; every thread
// count gives the same blocks in element order, and a failing element stops the assembly with its
// own error, after the blocks of every element before it.
TEST(ElementStiffnessAssemblyThreads, SameBlocksInElementOrderWhateverTheThreadCount)
{
    std::array<UFemCardName, 5> names { UFemCardName(nullptr), UFemCardName(nullptr),
        UFemCardName(nullptr), UFemCardName(nullptr), UFemCardName(nullptr) };
    auto putElements = [&](quint64 threads, quint64 failingElement, UErrorPtr* error) {
        BlockList list;
        const auto put = [&](quint64 element, UFemMatrixCalculator& target, UErrorPtr* e) {
            if (element == failingElement) {
                UFemSetError(e, UFemUnexpectedError_withDescription(QString::number(element)));
                return false;
            }
            for (quint64 b = 0; b < 1 + element % 4; ++b) {
                double matrix[9];
                for (int k = 0; k < 9; ++k)
                    matrix[k] = std::sin(double(element * 9 + k)) / (1.0 + double(b));
                target.addStiffnessMatrix(
                    matrix, names[element % 5], b % 2, names[(element + b) % 5], (b + 1) % 2);
            }
            return true;
        };
        const bool done = UFemPutElementStiffnessInOrder(kElementCount, threads, put, list, error);
        EXPECT_EQ(done, failingElement >= kElementCount);
        return list.blocks;
    };
    UErrorPtr error;
    const auto expected = putElements(1, kElementCount, &error);
    ASSERT_FALSE(error);
    ASSERT_EQ(expected.size(), 2500u);
    for (quint64 threads : { 2u, 3u, 4u, 7u }) {
        EXPECT_EQ(putElements(threads, kElementCount, &error), expected) << threads;
        EXPECT_FALSE(error);
    }
    // Element 601 fails: elements 0 .. 600 put 1 + e % 4 blocks each.
    const size_t before = 1501;
    for (quint64 threads : { 1u, 4u }) {
        error.reset();
        const auto partial = putElements(threads, 601, &error);
        EXPECT_EQ(partial, std::vector<PutBlock>(expected.begin(), expected.begin() + before))
            << threads;
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->localizedDescription().contains(QStringLiteral("601")))
            << error->localizedDescription().toStdString();
    }
}
