#include "calculation/UFemBlockKernels.h"

// Each kernel is compiled once per instruction-set level and the widest one the processor has is
// chosen when the program loads, so one binary runs everywhere and uses AVX2/AVX-512 where present.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define UFEM_BLOCK_KERNEL __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define UFEM_BLOCK_KERNEL
#endif

namespace {

constexpr int N = 12;
// Rows of R computed together: their sums stay in registers while a row of B streams past.
constexpr int RowsPerPass = 4;

} // namespace

UFEM_BLOCK_KERNEL
void UFemBlockMultiplyTransposedAddForL(double* __restrict R, const double* __restrict B,
                                        const double* __restrict A)
{
    for (int i0 = 0; i0 < N; i0 += RowsPerPass) {
        double sum[RowsPerPass][N] = {};
#pragma GCC unroll 12
        for (int k = 0; k < N; ++k) {
            const double* b = B + N * k;
            for (int ii = 0; ii < RowsPerPass; ++ii) {
                const double s = A[N * k + i0 + ii];
                for (int j = 0; j < N; ++j)
                    sum[ii][j] += s * b[j];
            }
        }
        for (int ii = 0; ii < RowsPerPass; ++ii)
            for (int j = 0; j < N; ++j)
                R[N * (i0 + ii) + j] += sum[ii][j];
    }
}

UFEM_BLOCK_KERNEL
void UFemBlockMultiplyAddForX(double* __restrict R, const double* __restrict B, const double* __restrict A)
{
    for (int i0 = 0; i0 < N; i0 += RowsPerPass) {
        double sum[RowsPerPass][N] = {};
#pragma GCC unroll 12
        for (int k = 0; k < N; ++k) {
            const double* b = B + N * k;
            for (int ii = 0; ii < RowsPerPass; ++ii) {
                const double s = A[N * (i0 + ii) + k];
                for (int j = 0; j < N; ++j)
                    sum[ii][j] += s * b[j];
            }
        }
        for (int ii = 0; ii < RowsPerPass; ++ii)
            for (int j = 0; j < N; ++j)
                R[N * (i0 + ii) + j] += sum[ii][j];
    }
}

UFEM_BLOCK_KERNEL
void UFemBlockRowMultiplyAddForL(double* __restrict R, const double* __restrict B, const double* __restrict A,
                                 quint64 r)
{
    double sum[N] = {};
    for (quint64 k = 0; k < r; ++k) {
        const double s = A[N * k + r];
        for (int j = 0; j < N; ++j)
            sum[j] += s * B[N * k + j];
    }
    for (int j = 0; j < N; ++j)
        R[N * r + j] += sum[j];
}

UFEM_BLOCK_KERNEL
void UFemBlockRowMultiplyAddForX(double* __restrict R, const double* __restrict B, const double* __restrict A,
                                 quint64 r)
{
    double sum[N] = {};
    for (quint64 k = r + 1; k < quint64(N); ++k) {
        const double s = A[N * r + k];
        for (int j = 0; j < N; ++j)
            sum[j] += s * B[N * k + j];
    }
    for (int j = 0; j < N; ++j)
        R[N * r + j] += sum[j];
}

UFEM_BLOCK_KERNEL
void UFemBlockScaleRowsByDiagonal(double* __restrict R, const double* __restrict B, const double* __restrict D)
{
    for (int r = 0; r < N; ++r) {
        const double d = D[2 * r];
        for (int j = 0; j < N; ++j)
            R[N * r + j] = B[N * r + j] * d;
    }
}
