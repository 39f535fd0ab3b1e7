#pragma once

#include "calculation/UFemWFMatrixCalculationContext.h"

#include <new>
#include <vector>

// The bytes the factor, the substitutions and the solution of a solver set-up will take at most:
// L filled over its whole page envelope (`envelopePageCount` pages below and on the diagonal, the
// widest row `maxPageBandWidth` pages), D, Y and X for the context's case blocks, and the rotating
// U records, and the copies of the solution the result tables and the result file take. Known
// before any of it is allocated.
quint64 UFemWFEstimateCalculationMatrixMemory(const _UFemWFMatrixCalculationContext& context,
    quint64 envelopePageCount, quint64 maxPageBandWidth);

// Hands the pages of the storages back to the system on `threadCount` threads (the foreground
// pool's), before their owner frees them: the kernel's work per page would otherwise make the end
// of a run serial. The storages read as zeros afterwards.
void UFemReleaseStoragePages(const std::vector<_UCMemoryStorage>& storages, quint64 threadCount);
// Makes the whole huge pages of the storages resident (zeroed) on `threadCount` threads, so that
// the kernel's faults and zeroing of them are not taken by whoever writes first. With
// `minimumBytesPerSecond` above 0, once a thread's time goes on them at a lower rate, the huge
// pages not yet made resident are advised to stay in 4 KiB pages, faulted in by their writes, and
// true is returned.
bool UFemPopulateStorageHugePages(const std::vector<_UCMemoryStorage>& storages,
    quint64 threadCount, double minimumBytesPerSecond = 0.0);

// Thrown when a calculation's memory estimate exceeds the memory it may take: exhausted memory
// to every handler, with the figures for its error.
struct UFemWFMemoryShortage : std::bad_alloc {
    UFemWFMemoryShortage(quint64 required, quint64 available)
        : requiredBytes(required)
        , availableBytes(available)
    {
    }
    quint64 requiredBytes;
    quint64 availableBytes;
};
