#include "platform/UAvailableMemory.h"

#include <sys/resource.h>

// Sanitizers bring their own allocator: glibc's arenas hold nothing of ours to hand back then.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VANTREL_SANITIZER_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VANTREL_SANITIZER_ALLOCATOR 1
#endif
#if defined(__GLIBC__) && !defined(VANTREL_SANITIZER_ALLOCATOR)
#define VANTREL_TRIMS_GLIBC_HEAP 1
#include <malloc.h>
#endif

#include <algorithm>
#include <fstream>
#include <string>

namespace {

constexpr quint64 kibibyte = 1024;

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

quint64 UAvailableMemoryBytes()
{
    return std::min(memAvailableBytes(), addressSpaceLeftBytes());
}

void UReturnFreedMemoryToSystem()
{
#if defined(VANTREL_TRIMS_GLIBC_HEAP)
    malloc_trim(0);
#endif
}
