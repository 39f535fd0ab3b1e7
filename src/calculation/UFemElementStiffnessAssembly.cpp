#include "calculation/UFemElementStiffnessAssembly.h"

#include "cardmodel/card/UFemMatrixCalculator.h"
#include "foundation/errors/UException.h"
#include "foundation/threads/UThreadPool.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <vector>

namespace {

// Elements one thread makes before the calling thread puts them: large enough to keep the threads
// busy, small enough to keep the recorded blocks in the caches.
constexpr quint64 kElementsPerSlice = 128;
constexpr quint64 kMaximumThreadCount = 16;
constexpr int kBlockEntryCount = 9;

// Records the stiffness blocks that elements put, to be put into the real calculator later in the
// same order. Elements put nothing else.
class StiffnessBlockRecorder final : public UFemMatrixCalculator {
public:
    struct Block {
        const UFemCardName* nodeName1;
        quint64 rotation1;
        const UFemCardName* nodeName2;
        quint64 rotation2;
        double matrix[kBlockEntryCount];
    };

    void addStiffnessMatrix(const double* matrix, const UFemCardName& nodeName1, quint64 rotation1,
        const UFemCardName& nodeName2, quint64 rotation2) override
    {
        Block& block = blocks_.emplace_back();
        block.nodeName1 = &nodeName1;
        block.rotation1 = rotation1;
        block.nodeName2 = &nodeName2;
        block.rotation2 = rotation2;
        std::copy(matrix, matrix + kBlockEntryCount, block.matrix);
    }
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

    // Makes the elements of [first, end) until one fails.
    void record(quint64 first, quint64 end, const UFemPutElementStiffness& putElement)
    {
        blocks_.clear();
        elementEnds_.clear();
        error_.reset();
        exception_ = nullptr;
        try {
            for (quint64 element = first; element < end; ++element) {
                if (!putElement(element, *this, &error_))
                    return;
                elementEnds_.push_back(blocks_.size());
            }
        } catch (...) {
            exception_ = std::current_exception();
        }
    }

    // Puts the recorded elements into `target`; false with the failing element's error when the
    // slice stopped at one.
    [[nodiscard]] bool replay(
        UFemMatrixCalculator& target, quint64 elementCount, UErrorPtr* error) const
    {
        for (const Block& block : blocks_)
            target.addStiffnessMatrix(
                block.matrix, *block.nodeName1, block.rotation1, *block.nodeName2, block.rotation2);
        if (exception_)
            std::rethrow_exception(exception_);
        if (elementEnds_.size() == elementCount)
            return true;
        UFemSetError(error, error_);
        return false;
    }

private:
    [[noreturn]] static void notAStiffness()
    {
        UFemRaiseProgramError(QStringLiteral("An element put something else than stiffness."));
    }

    std::vector<Block> blocks_;
    std::vector<size_t> elementEnds_;
    UErrorPtr error_;
    std::exception_ptr exception_;
};

[[nodiscard]] bool putInSlices(quint64 elementCount, quint64 threadCount,
    const UFemPutElementStiffness& putElement, UFemMatrixCalculator& calculator, UErrorPtr* error)
{
    std::vector<StiffnessBlockRecorder> recorders(threadCount);
    std::mutex lock;
    std::condition_variable allDone;
    const quint64 round = threadCount * kElementsPerSlice;
    for (quint64 first = 0; first < elementCount; first += round) {
        auto sliceEnd = [&](quint64 slice) {
            return std::min(elementCount, first + (slice + 1) * kElementsPerSlice);
        };
        auto sliceFirst = [&](quint64 slice) {
            return std::min(elementCount, first + slice * kElementsPerSlice);
        };
        quint64 running = 0;
        for (quint64 slice = 1; slice < threadCount && sliceFirst(slice) < elementCount; ++slice) {
            {
                const std::lock_guard guard(lock);
                ++running;
            }
            UThreadPool::foregroundTaskThreadPool()->runThreadSelector([&, slice] {
                recorders[slice].record(sliceFirst(slice), sliceEnd(slice), putElement);
                const std::lock_guard guard(lock);
                if (--running == 0)
                    allDone.notify_one();
            });
        }
        recorders[0].record(sliceFirst(0), sliceEnd(0), putElement);
        {
            std::unique_lock guard(lock);
            allDone.wait(guard, [&] { return running == 0; });
        }
        for (quint64 slice = 0; slice < threadCount && sliceFirst(slice) < elementCount; ++slice) {
            if (!recorders[slice].replay(calculator, sliceEnd(slice) - sliceFirst(slice), error))
                return false;
        }
    }
    return true;
}

} // namespace

[[nodiscard]] bool UFemPutElementStiffnessInOrder(quint64 elementCount, quint64 threadCount,
    const UFemPutElementStiffness& putElement, UFemMatrixCalculator& calculator, UErrorPtr* error)
{
    threadCount = std::min(threadCount, kMaximumThreadCount);
    if (threadCount <= 1 || elementCount <= kElementsPerSlice) {
        for (quint64 element = 0; element < elementCount; ++element) {
            if (!putElement(element, calculator, error))
                return false;
        }
        return true;
    }
    return putInSlices(elementCount, threadCount, putElement, calculator, error);
}
