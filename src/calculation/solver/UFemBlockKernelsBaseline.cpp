#include "calculation/solver/UFemBlockKernelVariants.h"

#include "calculation/solver/UFemBlockKernelsGeneric.h"

namespace {

void multiplyTransposedAdd(double* R, const double* B, const double* A)
{
    generic::multiplyTransposedAdd(R, B, A);
}

void multiplyTransposedAddRun(double* R, const UFemBlockPair* pairs, quint64 count)
{
    generic::multiplyTransposedAddRun(R, pairs, count);
}

void multiplyAdd(double* R, const double* B, const double* A)
{
    generic::multiplyAdd(R, B, A);
}

void rowMultiplyAddForL(double* R, const double* B, const double* A, quint64 r)
{
    generic::rowMultiplyAddForL(R, B, A, r);
}

void rowMultiplyAddForX(double* R, const double* B, const double* A, quint64 r)
{
    generic::rowMultiplyAddForX(R, B, A, r);
}

void scaleRowsByDiagonal(double* R, const double* B, const double* D)
{
    generic::scaleRowsByDiagonal(R, B, D);
}

} // namespace

UFemBlockKernelSet UFemBlockKernelsBaseline()
{
#if defined(__x86_64__)
    constexpr const char* name = "SSE2";
#else
    constexpr const char* name = "baseline";
#endif
    return { name, false, multiplyTransposedAdd, multiplyTransposedAddRun, multiplyAdd,
        rowMultiplyAddForL, rowMultiplyAddForX, scaleRowsByDiagonal };
}
