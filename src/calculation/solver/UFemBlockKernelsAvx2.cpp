#include "calculation/solver/UFemBlockKernelVariants.h"

#if defined(UFEM_BLOCK_KERNELS_X86)

#include "calculation/solver/UFemBlockKernelsGeneric.h"

namespace {

[[gnu::target("avx2,fma")]] void multiplyTransposedAdd(double* R, const double* B, const double* A)
{
    generic::multiplyTransposedAdd(R, B, A);
}

[[gnu::target("avx2,fma")]] void multiplyTransposedAddRun(
    double* R, const UFemBlockPair* pairs, quint64 count)
{
    generic::multiplyTransposedAddRun(R, pairs, count);
}

[[gnu::target("avx2,fma")]] void multiplyAdd(double* R, const double* B, const double* A)
{
    generic::multiplyAdd(R, B, A);
}

[[gnu::target("avx2,fma")]] void rowMultiplyAddForL(
    double* R, const double* B, const double* A, quint64 r)
{
    generic::rowMultiplyAddForL(R, B, A, r);
}

[[gnu::target("avx2,fma")]] void rowMultiplyAddForX(
    double* R, const double* B, const double* A, quint64 r)
{
    generic::rowMultiplyAddForX(R, B, A, r);
}

[[gnu::target("avx2,fma")]] void scaleRowsByDiagonal(double* R, const double* B, const double* D)
{
    generic::scaleRowsByDiagonal(R, B, D);
}

} // namespace

UFemBlockKernelSet UFemBlockKernelsAvx2()
{
    return { "AVX2", true, multiplyTransposedAdd, multiplyTransposedAddRun, multiplyAdd,
        rowMultiplyAddForL, rowMultiplyAddForX, scaleRowsByDiagonal };
}

#endif
