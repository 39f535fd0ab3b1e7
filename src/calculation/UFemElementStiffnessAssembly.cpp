#include "calculation/UFemElementStiffnessAssembly.h"

#include "calculation/UFemNodeStiffnessTarget.h"
#include "calculation/UFemRunTasksOnThreads.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "foundation/errors/UException.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace {

// Elements one thread makes before the blocks are put: large enough to keep the threads busy,
// small enough to keep the recorded blocks in the caches.
constexpr quint64 kElementsPerSlice = 128;
constexpr quint64 kMaximumThreadCount = 16;
constexpr int kBlockEntryCount = 9;

// A calculator that takes stiffness blocks only, turning each node name into its number once per
// element.
class StiffnessOnlyCalculator : public UFemMatrixCalculator {
public:
    explicit StiffnessOnlyCalculator(const UFemNodeStiffnessTarget& target)
        : target_(target)
    {
    }

    void beginElement() { names_.clear(); }

    void addForceMatrix(const double*, const UFemCardName&, quint64, const UFemCardName&) override
    {
        notAStiffness();
    }
    void addFixDisplacementRestraintWithNodeName(const UFemCardName&, quint64, quint64) override
    {
        notAStiffness();
    }
    void addForceDisplacementRestraintWithDisplacementValue(
        double, const UFemCardName&, quint64, quint64) override
    {
        notAStiffness();
    }
    void addRestraintEquationRestraintWithNumberOfRestraintEquationComponent(quint64,
        const _UFemRestraintEquationTableComponent*, const UFemCardName&, quint64, quint64) override
    {
        notAStiffness();
    }

protected:
    quint64 nodeNoOf(const UFemCardName& name)
    {
        // An element names a handful of nodes: a short scan beats a second hashed look-up.
        for (const auto& [known, nodeNo] : names_)
            if (known == &name)
                return nodeNo;
        const quint64 nodeNo = target_.stiffnessNodeNoOf(name);
        names_.emplace_back(&name, nodeNo);
        return nodeNo;
    }

private:
    [[noreturn]] static void notAStiffness()
    {
        UFemRaiseProgramError(QStringLiteral("An element put something else than stiffness."));
    }

    const UFemNodeStiffnessTarget& target_;
    std::vector<std::pair<const UFemCardName*, quint64>> names_;
};

// Puts the blocks straight into the target: one thread.
class DirectPutter final : public StiffnessOnlyCalculator {
public:
    explicit DirectPutter(UFemNodeStiffnessTarget& target)
        : StiffnessOnlyCalculator(target)
        , target_(target)
    {
    }

    void addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1, quint64 rotation1,
        const UFemCardName& nodeName2, quint64 rotation2) override
    {
        target_.addStiffnessBlock(
            matrix, nodeNoOf(nodeName1), rotation1, nodeNoOf(nodeName2), rotation2);
    }

private:
    UFemNodeStiffnessTarget& target_;
};

struct NodeBlock {
    double matrix[kBlockEntryCount];
    quint64 nodeNo1;
    quint64 rotation1;
    quint64 nodeNo2;
    quint64 rotation2;
};

// Records the blocks a slice of elements puts, each in the list of its row's group.
class SliceRecorder final : public StiffnessOnlyCalculator {
public:
    SliceRecorder(const UFemNodeStiffnessTarget& target, quint64 groupCount)
        : StiffnessOnlyCalculator(target)
        , blocksByGroup_(groupCount)
    {
    }

    void addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1, quint64 rotation1,
        const UFemCardName& nodeName2, quint64 rotation2) override
    {
        NodeBlock block { {}, nodeNoOf(nodeName1), rotation1, nodeNoOf(nodeName2), rotation2 };
        std::copy(matrix, matrix + kBlockEntryCount, block.matrix);
        blocksByGroup_[block.nodeNo1 % blocksByGroup_.size()].push_back(block);
    }

    // Makes the elements of [first, end) until one fails; true when all were made.
    bool record(quint64 first, quint64 end, const UFemPutElementStiffness& putElement)
    {
        for (auto& blocks : blocksByGroup_)
            blocks.clear();
        error_.reset();
        exception_ = nullptr;
        try {
            for (quint64 element = first; element < end; ++element) {
                beginElement();
                if (!putElement(element, *this, &error_))
                    return false;
            }
            return true;
        } catch (...) {
            exception_ = std::current_exception();
            return false;
        }
    }

    const std::vector<NodeBlock>& blocksOfGroup(quint64 group) const
    {
        return blocksByGroup_[group];
    }

    // The failure that stopped the slice.
    [[nodiscard]] bool fail(UErrorPtr* error) const
    {
        if (exception_)
            std::rethrow_exception(exception_);
        UFemSetError(error, error_);
        return false;
    }

private:
    std::vector<std::vector<NodeBlock>> blocksByGroup_;
    UErrorPtr error_;
    std::exception_ptr exception_;
};

// Rounds of slices: the slices' elements are made, then the rows' groups put their blocks, each
// group on one thread, slice after slice. Any group of rows gives every row its blocks in element
// order, so the cut into groups may follow the thread count.
[[nodiscard]] bool putInSlices(quint64 elementCount, quint64 threadCount,
    const UFemPutElementStiffness& putElement, UFemNodeStiffnessTarget& target, UErrorPtr* error)
{
    const quint64 slicesPerRound = UFemTasksPerThread * threadCount;
    const quint64 groupCount = UFemTasksPerThread * threadCount;
    std::vector<SliceRecorder> recorders(slicesPerRound, SliceRecorder(target, groupCount));
    std::vector<unsigned char> made(slicesPerRound);
    for (quint64 first = 0; first < elementCount; first += slicesPerRound * kElementsPerSlice) {
        const quint64 sliceCount = std::min(
            slicesPerRound, (elementCount - first + kElementsPerSlice - 1) / kElementsPerSlice);
        UFemRunTasksOnThreads(sliceCount, threadCount, [&](quint64 slice) {
            const quint64 sliceFirst = first + slice * kElementsPerSlice;
            made[slice] = recorders[slice].record(
                sliceFirst, std::min(elementCount, sliceFirst + kElementsPerSlice), putElement);
        });
        // The slices up to the first that failed, that one's blocks included.
        quint64 putCount = 0;
        while (putCount < sliceCount && made[putCount++]) { }
        UFemRunTasksOnThreads(groupCount, threadCount, [&](quint64 group) {
            for (quint64 slice = 0; slice < putCount; ++slice)
                for (const NodeBlock& block : recorders[slice].blocksOfGroup(group))
                    target.addStiffnessBlock(block.matrix, block.nodeNo1, block.rotation1,
                        block.nodeNo2, block.rotation2);
        });
        if (!made[putCount - 1])
            return recorders[putCount - 1].fail(error);
    }
    return true;
}

} // namespace

[[nodiscard]] bool UFemPutElementStiffnessInOrder(quint64 elementCount, quint64 threadCount,
    const UFemPutElementStiffness& putElement, UFemNodeStiffnessTarget& target, UErrorPtr* error)
{
    threadCount = std::min(threadCount, kMaximumThreadCount);
    if (threadCount <= 1 || elementCount <= kElementsPerSlice) {
        DirectPutter putter(target);
        for (quint64 element = 0; element < elementCount; ++element) {
            putter.beginElement();
            if (!putElement(element, putter, error))
                return false;
        }
        return true;
    }
    return putInSlices(elementCount, threadCount, putElement, target, error);
}
