#include "calculation/solver/UFemBlockKernelSet.h"

#include "calculation/solver/UFemBlockKernelVariants.h"

#include <vector>

namespace {

std::vector<UFemBlockKernelSet> availableSets()
{
    std::vector<UFemBlockKernelSet> sets;
#if defined(UFEM_BLOCK_KERNELS_X86)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl"))
        sets.push_back(UFemBlockKernelsAvx512());
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        sets.push_back(UFemBlockKernelsAvx2());
#endif
    sets.push_back(UFemBlockKernelsBaseline());
    return sets;
}

} // namespace

std::span<const UFemBlockKernelSet> UFemBlockKernelSets()
{
    static const std::vector<UFemBlockKernelSet> sets = availableSets();
    return sets;
}

const UFemBlockKernelSet& UFemBlockKernelSetInUse()
{
    static const UFemBlockKernelSet& set = UFemBlockKernelSets().front();
    return set;
}
