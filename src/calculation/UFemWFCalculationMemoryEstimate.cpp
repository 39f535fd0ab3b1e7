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

namespace {

using AdvisedLength = quint64 (*)(const _UCMemoryStorage& storage);

quint64 wholeStorage(const _UCMemoryStorage& storage)
{
    return storage.size;
}

// A huge page is resident whole once touched, so populating these holds no more memory than the
// writes would; the 4 KiB end and storages outside huge pages are left to the writes.
quint64 wholeHugePages(const _UCMemoryStorage& storage)
{
    return storage.isMapped
        ? storage.size / UMemoryAllocatorHugePageSize * UMemoryAllocatorHugePageSize
        : 0;
}

void adviseStorages(const std::vector<_UCMemoryStorage>& storages, quint64 threadCount, int advice,
    AdvisedLength length)
{
    const quint64 taskCount = std::min<quint64>(storages.size(), UFemTasksPerThread * threadCount);
    UFemRunTasksOnThreads(taskCount, threadCount, [&](quint64 task) {
        // Advice only: pages left out are faulted in or freed by their owner as before.
        for (quint64 s = task; s < storages.size(); s += taskCount) {
            if (const quint64 bytes = length(storages[s]); bytes > 0)
                static_cast<void>(madvise(storages[s].storage, bytes, advice));
        }
    });
}

} // namespace

void UFemReleaseStoragePages(const std::vector<_UCMemoryStorage>& storages, quint64 threadCount)
{
    adviseStorages(storages, threadCount, MADV_DONTNEED, wholeStorage);
}

void UFemPopulateStorageHugePages(
    const std::vector<_UCMemoryStorage>& storages, quint64 threadCount)
{
    adviseStorages(storages, threadCount, MADV_POPULATE_WRITE, wholeHugePages);
}
