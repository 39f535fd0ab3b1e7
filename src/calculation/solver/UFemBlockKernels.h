#pragma once

#include <QtGlobal>

// Dense 12x12 block kernels of the block-sparse solver. A block is 144 contiguous doubles seen
// as 12 stored rows of 12 values: B[j][a] is value 12*j + a. R is accumulated in place, every
// kernel in a fixed order, so that results do not depend on which thread runs them: the single
// products form their whole sum first and add it to R once per value, the run adds each term.
// The functions run the widest set of kernels the processor has (UFemBlockKernelSet.h).
inline constexpr quint64 UFemBlockDimension = 12;
inline constexpr quint64 UFemBlockValueCount = 144;

// R[i][j] += sum_k A[k][i] * B[k][j]
void UFemBlockMultiplyTransposedAddForL(double* R, const double* B, const double* A);
// One product of a run: B and A as in UFemBlockMultiplyTransposedAddForL.
struct UFemBlockPair {
    const double* B;
    const double* A;
};

// R[i][j] += sum over the pairs p in order, sum_k A_p[k][i] * B_p[k][j]. Each value of R takes one
// multiply-add per term, in that order, starting from its stored value: the sum stays in registers
// over the whole run, and a run split in two gives R bit for bit as the whole run does.
void UFemBlockMultiplyTransposedAddRunForL(double* R, const UFemBlockPair* pairs, quint64 count);
// R[i][j] += sum_k A[i][k] * B[k][j]
void UFemBlockMultiplyAddForX(double* R, const double* B, const double* A);
// R[r][j] += sum_{k<r} A[k][r] * B[k][j]
void UFemBlockRowMultiplyAddForL(double* R, const double* B, const double* A, quint64 r);
// R[r][j] += sum_{k>r} A[r][k] * B[k][j]
void UFemBlockRowMultiplyAddForX(double* R, const double* B, const double* A, quint64 r);
// R[r][j] = B[r][j] * D[2r]; D holds twelve {D, 1/D} pairs.
void UFemBlockScaleRowsByDiagonal(double* R, const double* B, const double* D);

// The forward substitution does the same computations as the factorisation.
inline void UFemBlockMultiplyTransposedAddForY(double* R, const double* B, const double* A)
{
    UFemBlockMultiplyTransposedAddForL(R, B, A);
}

inline void UFemBlockRowMultiplyAddForY(double* R, const double* B, const double* A, quint64 r)
{
    UFemBlockRowMultiplyAddForL(R, B, A, r);
}
