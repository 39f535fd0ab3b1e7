#include "calculation/UFemWFCalculationMemoryEstimate.h"

#include "calculation/solver/UFemBlockKernels.h"

#include <sys/resource.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <algorithm>
#include <fstream>
#include <string>

namespace {

constexpr quint64 bytesPerDouble = sizeof(double);
constexpr quint64 blockBytes = UFemBlockValueCount * bytesPerDouble;
// A page's block pointers and its share of the row arenas' bookkeeping.
constexpr quint64 pageOverheadBytes = UFemWFPageBlockCount * sizeof(void*);
constexpr quint64 pageBytes = UFemWFPageBlockCount * blockBytes + pageOverheadBytes;
constexpr quint64 dPairBytesPerPage = 2 * UFemWFPageDOFCount * bytesPerDouble;
constexpr quint64 rotatingURecordCount = 4;
constexpr quint64 kibibyte = 1024;
constexpr quint64 resultCopyCount = 2;

quint64 memAvailableBytes()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    quint64 value = 0;
    std::string unit;
    while (meminfo >> key >> value >> unit)
        if (key == "MemAvailable:")
            return value * kibibyte;
    return ~quint64(0);
}

quint64 addressSpaceLeftBytes()
{
    rlimit limit {};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return ~quint64(0);
    std::ifstream status("/proc/self/status");
    std::string key;
    quint64 used = 0;
    std::string rest;
    while (status >> key) {
        if (key == "VmSize:") {
            status >> used;
            used *= kibibyte;
            break;
        }
        std::getline(status, rest);
    }
    return quint64(limit.rlim_cur) > used ? quint64(limit.rlim_cur) - used : 0;
}

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

quint64 UFemAvailableMemoryBytes()
{
    return std::min(memAvailableBytes(), addressSpaceLeftBytes());
}

void UFemReturnFreedMemoryToSystem()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
