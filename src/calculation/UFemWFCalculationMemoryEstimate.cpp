#include "calculation/UFemWFCalculationMemoryEstimate.h"

#include "calculation/UFemRunTasksOnThreads.h"
#include "calculation/solver/UFemBlockKernels.h"

#include <algorithm>
#include <atomic>

#include <sys/mman.h>
#include <time.h>

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

// Huge pages made resident between two looks at the rate: one, for where they come slowly each
// thread's first step is work lost (at a tenth of the rate of 4 KiB pages on some guests).
constexpr quint64 populateStep = UMemoryAllocatorHugePageSize;

// The calling thread's processor time: the rate of a thread that waits for a core stays its own.
double threadSeconds()
{
    timespec time {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return double(time.tv_sec) + 1e-9 * double(time.tv_nsec);
}

// A huge page is resident whole once touched, so populating these holds no more memory than the
// writes would; the 4 KiB end and storages outside huge pages are left to the writes.
quint64 wholeHugePages(const _UCMemoryStorage& storage)
{
    return storage.isMapped
        ? storage.size / UMemoryAllocatorHugePageSize * UMemoryAllocatorHugePageSize
        : 0;
}

quint64 taskCountFor(const std::vector<_UCMemoryStorage>& storages, quint64 threadCount)
{
    return std::min<quint64>(storages.size(), UFemTasksPerThread * threadCount);
}

// Makes the storage's whole huge pages resident a step at a time, while no step of any thread went
// slower than the rate; then advises the rest to stay in 4 KiB pages (advice only: pages left out
// are faulted in by the writes).
void populateWhileFast(
    const _UCMemoryStorage& storage, double minimumBytesPerSecond, std::atomic<bool>& slow)
{
    char* const start = static_cast<char*>(storage.storage);
    const quint64 bytes = wholeHugePages(storage);
    for (quint64 done = 0; done < bytes; done += populateStep) {
        if (slow.load(std::memory_order_relaxed)) {
            static_cast<void>(madvise(start + done, bytes - done, MADV_NOHUGEPAGE));
            return;
        }
        const quint64 step = std::min(populateStep, bytes - done);
        const double begin = threadSeconds();
        static_cast<void>(madvise(start + done, step, MADV_POPULATE_WRITE));
        if (double(step) < minimumBytesPerSecond * (threadSeconds() - begin))
            slow.store(true, std::memory_order_relaxed);
    }
}

} // namespace

void UFemReleaseStoragePages(const std::vector<_UCMemoryStorage>& storages, quint64 threadCount)
{
    const quint64 taskCount = taskCountFor(storages, threadCount);
    UFemRunTasksOnThreads(taskCount, threadCount, [&](quint64 task) {
        // Advice only: pages left out are freed by their owner as before.
        for (quint64 s = task; s < storages.size(); s += taskCount)
            static_cast<void>(madvise(storages[s].storage, storages[s].size, MADV_DONTNEED));
    });
}

bool UFemPopulateStorageHugePages(const std::vector<_UCMemoryStorage>& storages,
    quint64 threadCount, double minimumBytesPerSecond)
{
    std::atomic<bool> slow { false };
    const quint64 taskCount = taskCountFor(storages, threadCount);
    UFemRunTasksOnThreads(taskCount, threadCount, [&](quint64 task) {
        for (quint64 s = task; s < storages.size(); s += taskCount)
            populateWhileFast(storages[s], minimumBytesPerSecond, slow);
    });
    return slow.load();
}
