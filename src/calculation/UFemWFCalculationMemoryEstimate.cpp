#include "calculation/UFemWFCalculationMemoryEstimate.h"

#include "calculation/UFemRunTasksOnThreads.h"
#include "calculation/solver/UFemBlockKernels.h"

#include <algorithm>

#include <sys/mman.h>

namespace {

constexpr quint64 bytesPerDouble = sizeof(double);
constexpr quint64 blockBytes = UFemBlockValueCount * bytesPerDouble;
// A page's block pointers and its share of the row arenas' bookkeeping.
constexpr quint64 pageOverheadBytes = UFemWFPageBlockCount * sizeof(void*);
constexpr quint64 pageBytes = UFemWFPageBlockCount * blockBytes + pageOverheadBytes;
constexpr quint64 dPairBytesPerPage = 2 * UFemWFPageDOFCount * bytesPerDouble;
constexpr quint64 rotatingURecordCount = 4;
constexpr quint64 resultCopyCount = 2;

} // namespace

quint64 UFemWFEstimateCalculationMatrixMemory(const _UFemWFMatrixCalculationContext& context,
    quint64 envelopePageCount, quint64 maxPageBandWidth)
{
    const quint64 n = context.nodePageCount;
    const quint64 caseBlockBytes = context.caseBlockCount * UFemWFGroupsPerPage * blockBytes;
    const quint64 L = envelopePageCount * pageBytes;
    const quint64 D = n * dPairBytesPerPage;
    const quint64 Y = n * caseBlockBytes;
    const quint64 X = n * caseBlockBytes;
    const quint64 U = rotatingURecordCount * maxPageBandWidth * UFemWFPageBlockCount
        * (blockBytes + sizeof(void*));
    // After the solve the solution is copied into the result tables, and those into the result
    // file's data, while the solution is still held.
    const quint64 results = resultCopyCount * X;
    return L + D + Y + X + U + results;
}

void UFemReleaseStoragePages(const std::vector<_UCMemoryStorage>& storages, quint64 threadCount)
{
    const quint64 taskCount = std::min<quint64>(storages.size(), UFemTasksPerThread * threadCount);
    UFemRunTasksOnThreads(taskCount, threadCount, [&](quint64 task) {
        for (quint64 s = task; s < storages.size(); s += taskCount) {
            // Advice only: a storage whose pages stay is still freed whole by its owner.
            static_cast<void>(madvise(storages[s].storage, storages[s].size, MADV_DONTNEED));
        }
    });
}
