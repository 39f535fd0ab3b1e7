#pragma once

#include "calculation/solver/UFemBlockKernelSet.h"

// The builds of the kernels for each instruction-set level. Only the baseline exists where the
// compiler cannot target x86-64 extensions function by function.
#if defined(__x86_64__) && defined(__GNUC__)
#define UFEM_BLOCK_KERNELS_X86 1
#endif

UFemBlockKernelSet UFemBlockKernelsBaseline();
#if defined(UFEM_BLOCK_KERNELS_X86)
UFemBlockKernelSet UFemBlockKernelsAvx2();
UFemBlockKernelSet UFemBlockKernelsAvx512();
#endif
