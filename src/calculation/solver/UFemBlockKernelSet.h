#pragma once

#include "calculation/solver/UFemBlockKernels.h"

#include <span>

// One build of the 12x12 block kernels for one instruction-set level. All sets compute each value
// in the same order; the sets with fused multiply-adds (AVX2, AVX-512) give bitwise the same
// results, the SSE2 set rounds each product before adding it.
struct UFemBlockKernelSet {
    const char* name;
    bool fusedMultiplyAdd;
    void (*multiplyTransposedAdd)(double* R, const double* B, const double* A);
    void (*multiplyTransposedAddRun)(double* R, const UFemBlockPair* pairs, quint64 count);
    void (*multiplyAdd)(double* R, const double* B, const double* A);
    void (*rowMultiplyAddForL)(double* R, const double* B, const double* A, quint64 r);
    void (*rowMultiplyAddForX)(double* R, const double* B, const double* A, quint64 r);
    void (*scaleRowsByDiagonal)(double* R, const double* B, const double* D);
};

// The sets this processor can run, the widest first.
std::span<const UFemBlockKernelSet> UFemBlockKernelSets();
// The set the solver uses, chosen once when first asked for.
const UFemBlockKernelSet& UFemBlockKernelSetInUse();
