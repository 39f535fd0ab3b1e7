#include "calculation/solver/UFemBlockKernels.h"

#include "calculation/solver/UFemBlockKernelSet.h"

void UFemBlockMultiplyTransposedAddRunForL(double* R, const UFemBlockPair* pairs, quint64 count)
{
    UFemBlockKernelSetInUse().multiplyTransposedAddRun(R, pairs, count);
}

void UFemBlockMultiplyTransposedAddForL(double* R, const double* B, const double* A)
{
    UFemBlockKernelSetInUse().multiplyTransposedAdd(R, B, A);
}

void UFemBlockMultiplyAddForX(double* R, const double* B, const double* A)
{
    UFemBlockKernelSetInUse().multiplyAdd(R, B, A);
}

void UFemBlockRowMultiplyAddForL(double* R, const double* B, const double* A, quint64 r)
{
    UFemBlockKernelSetInUse().rowMultiplyAddForL(R, B, A, r);
}

void UFemBlockRowMultiplyAddForX(double* R, const double* B, const double* A, quint64 r)
{
    UFemBlockKernelSetInUse().rowMultiplyAddForX(R, B, A, r);
}

void UFemBlockScaleRowsByDiagonal(double* R, const double* B, const double* D)
{
    UFemBlockKernelSetInUse().scaleRowsByDiagonal(R, B, D);
}
