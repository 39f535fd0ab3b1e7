#include "calculation/UFemElementStiffnessAssembly.h"
#include "calculation/UFemNodeStiffnessTarget.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct PutBlock {
    quint64 rotation1;
    quint64 nodeNo2;
    quint64 rotation2;
    std::array<double, 9> matrix;

    bool operator==(const PutBlock& other) const
    {
        return rotation1 == other.rotation1 && nodeNo2 == other.nodeNo2
            && rotation2 == other.rotation2
            && std::memcmp(matrix.data(), other.matrix.data(), sizeof(matrix)) == 0;
    }
};

using Rows = std::vector<std::vector<PutBlock>>;

// The blocks each row receives, in the order it receives them.
class RowLists final : public UFemNodeStiffnessTarget {
public:
    explicit RowLists(const std::array<UFemCardName, 5>& names)
        : names_(names)
        , rows(names.size())
    {
    }

    quint64 stiffnessNodeNoOf(const UFemCardName& name) const override
    {
        ++lookups;
        return quint64(std::find_if(names_.begin(), names_.end(), [&](const UFemCardName& known) {
            return &known == &name;
        }) - names_.begin());
    }
    void addStiffnessBlock(const double* matrix, quint64 nodeNo1, quint64 rotation1,
        quint64 nodeNo2, quint64 rotation2) override
    {
        PutBlock block { rotation1, nodeNo2, rotation2, {} };
        std::copy(matrix, matrix + 9, block.matrix.begin());
        rows[nodeNo1].push_back(block);
    }

private:
    const std::array<UFemCardName, 5>& names_;

public:
    Rows rows;
    mutable std::atomic<quint64> lookups { 0 };
};

constexpr quint64 kElementCount = 1000;

} // namespace

// Elements put a varying number of blocks whose values come out of a computation (the first value
// is the element's number); every thread count gives each row the same blocks in element order,
// names are looked up once per element, and a failing element stops the assembly with its own
// error, after the blocks of every element before it.
TEST(ElementStiffnessAssemblyThreads, SameBlocksInElementOrderWhateverTheThreadCount)
{
    std::array<UFemCardName, 5> names { UFemCardName(nullptr), UFemCardName(nullptr),
        UFemCardName(nullptr), UFemCardName(nullptr), UFemCardName(nullptr) };
    quint64 distinctNames = 0;
    for (quint64 element = 0; element < kElementCount; ++element)
        distinctNames += 1 + element % 4; // its own name and those of element + 1 .. + e % 4
    auto putElements = [&](quint64 threads, quint64 failingElement, UErrorPtr* error) {
        RowLists lists(names);
        const auto put = [&](quint64 element, UFemMatrixCalculator& target, UErrorPtr* e) {
            if (element == failingElement) {
                UFemSetError(e, UFemUnexpectedError_withDescription(QString::number(element)));
                return false;
            }
            for (quint64 b = 0; b < 1 + element % 4; ++b) {
                double matrix[9];
                for (int k = 0; k < 9; ++k)
                    matrix[k] = std::sin(double(element * 9 + k)) / (1.0 + double(b));
                matrix[0] = double(element);
                target.addStiffnessMatrix(
                    matrix, names[element % 5], b % 2, names[(element + b) % 5], (b + 1) % 2);
            }
            return true;
        };
        const bool done = UFemPutElementStiffnessInOrder(kElementCount, threads, put, lists, error);
        EXPECT_EQ(done, failingElement >= kElementCount);
        if (done) {
            EXPECT_EQ(lists.lookups, distinctNames) << threads;
        }
        return lists.rows;
    };
    UErrorPtr error;
    const Rows expected = putElements(1, kElementCount, &error);
    ASSERT_FALSE(error);
    quint64 blockCount = 0;
    for (const auto& row : expected)
        blockCount += row.size();
    ASSERT_EQ(blockCount, 2500u);
    for (quint64 threads : { 2u, 3u, 4u, 7u }) {
        EXPECT_EQ(putElements(threads, kElementCount, &error), expected) << threads;
        EXPECT_FALSE(error);
    }
    // Element 601 fails: each row keeps the blocks of elements 0 .. 600.
    Rows before = expected;
    for (auto& row : before)
        std::erase_if(row, [](const PutBlock& block) { return block.matrix[0] >= 601.0; });
    for (quint64 threads : { 1u, 4u }) {
        error.reset();
        EXPECT_EQ(putElements(threads, 601, &error), before) << threads;
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->localizedDescription().contains(QStringLiteral("601")))
            << error->localizedDescription().toStdString();
    }
}
