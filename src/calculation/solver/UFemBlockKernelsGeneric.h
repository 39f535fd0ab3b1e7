#pragma once

// The kernels written for the compiler to vectorise, included by the files that build them for one
// instruction-set level each. Everything is inlined into those files' functions, which carry the
// target; the internal linkage keeps one level's code from standing in for another's.

#include "calculation/solver/UFemBlockKernels.h"

namespace {
namespace generic {

constexpr int N = 12;
// Rows of R computed together in the products: their 12-value sums stay in vector registers while
// the rows of B stream past. Four rows are twelve 256-bit registers of the 16 of AVX2. (With SSE2
// some spill, but GCC leaves narrower tiles unvectorised, which is slower.)
constexpr int RowsPerPass = 4;
// A pass takes every third row (0, 3, 6, 9; 1, 4, ...). Of a transposed A the factors of adjacent
// rows are adjacent in memory, and GCC would load them as one vector and shuffle them apart, which
// competes with the multiply-adds; spaced apart they are broadcast straight from memory.
constexpr int PassCount = N / RowsPerPass;

// Hides where a pointer points from the optimiser. Without it GCC hoists the loads of B out of the
// loop over passes (B is the same for every pass) into far more registers than there are, and the
// sums spill to the stack.
template <typename T> [[gnu::always_inline]] inline const T* opaque(const T* pointer)
{
#if defined(__GNUC__)
    asm("" : "+r"(pointer));
#endif
    return pointer;
}

// R[i][j] += sum_k a(i, k) * B[k][j] for the rows i = pass + PassCount * n, n < RowsPerPass: a
// register-blocked tile. The strides select A or its transpose.
template <int ARowStride, int AColumnStride>
[[gnu::always_inline]] inline void addTileProduct(
    double* __restrict R, const double* __restrict B, const double* __restrict A, int pass)
{
    double sum[RowsPerPass][N] = {};
#pragma GCC unroll 12
    for (int k = 0; k < N; ++k) {
        for (int n = 0; n < RowsPerPass; ++n) {
            const double s = A[ARowStride * (pass + PassCount * n) + AColumnStride * k];
            for (int j = 0; j < N; ++j)
                sum[n][j] += s * B[N * k + j];
        }
    }
    for (int n = 0; n < RowsPerPass; ++n)
        for (int j = 0; j < N; ++j)
            R[N * (pass + PassCount * n) + j] += sum[n][j];
}

template <int ARowStride, int AColumnStride>
[[gnu::always_inline]] inline void addProduct(
    double* __restrict R, const double* __restrict B, const double* __restrict A)
{
#pragma GCC unroll 1
    for (int pass = 0; pass < PassCount; ++pass)
        addTileProduct<ARowStride, AColumnStride>(R, opaque(B), A, pass);
}

// The runs of pairs take tiles of three rows (9 sums and 3 values of B in registers, none spilt,
// which measured faster than four), every fourth row together as above.
constexpr int RunRowsPerPass = 3;
constexpr int RunPassCount = N / RunRowsPerPass;
// Pairs a tile takes in turn before the next tile: their 8 x 2 x 1152 bytes stay in the L1 cache
// while the other passes read them again.
constexpr quint64 PairsPerGroup = 8;

// The tile's sums start from R and take one multiply-add per term, so the order of operations
// does not depend on where a run is cut.
[[gnu::always_inline]] inline void addTileRun(
    double* __restrict R, const UFemBlockPair* pairs, quint64 count, int pass)
{
    double sum[RunRowsPerPass][N];
    for (int n = 0; n < RunRowsPerPass; ++n)
        for (int j = 0; j < N; ++j)
            sum[n][j] = R[N * (pass + RunPassCount * n) + j];
    for (quint64 p = 0; p < count; ++p) {
        const double* __restrict B = opaque(pairs[p].B);
        // Each row's factors behind a pointer of its own: GCC would otherwise load neighbouring
        // factors as one vector and shuffle them apart.
        const double* __restrict column[RunRowsPerPass];
        for (int n = 0; n < RunRowsPerPass; ++n)
            column[n] = opaque(pairs[p].A + pass + RunPassCount * n);
#pragma GCC unroll 12
        for (int k = 0; k < N; ++k) {
            for (int n = 0; n < RunRowsPerPass; ++n) {
                const double s = column[n][N * k];
                for (int j = 0; j < N; ++j)
                    sum[n][j] += s * B[N * k + j];
            }
        }
    }
    for (int n = 0; n < RunRowsPerPass; ++n)
        for (int j = 0; j < N; ++j)
            R[N * (pass + RunPassCount * n) + j] = sum[n][j];
}

[[gnu::always_inline]] inline void multiplyTransposedAddRun(
    double* R, const UFemBlockPair* pairs, quint64 count)
{
    for (quint64 first = 0; first < count; first += PairsPerGroup) {
        const quint64 groupCount = count - first < PairsPerGroup ? count - first : PairsPerGroup;
#pragma GCC unroll 1
        for (int pass = 0; pass < RunPassCount; ++pass)
            addTileRun(R, opaque(pairs + first), groupCount, pass);
    }
}

// A[k][i]: the transpose of the stored rows.
[[gnu::always_inline]] inline void multiplyTransposedAdd(
    double* R, const double* B, const double* A)
{
    addProduct<1, N>(R, B, A);
}

[[gnu::always_inline]] inline void multiplyAdd(double* R, const double* B, const double* A)
{
    addProduct<N, 1>(R, B, A);
}

[[gnu::always_inline]] inline void rowMultiplyAddForL(
    double* __restrict R, const double* __restrict B, const double* __restrict A, quint64 r)
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

[[gnu::always_inline]] inline void rowMultiplyAddForX(
    double* __restrict R, const double* __restrict B, const double* __restrict A, quint64 r)
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

[[gnu::always_inline]] inline void scaleRowsByDiagonal(
    double* __restrict R, const double* __restrict B, const double* __restrict D)
{
    for (int r = 0; r < N; ++r) {
        const double d = D[2 * r];
        for (int j = 0; j < N; ++j)
            R[N * r + j] = B[N * r + j] * d;
    }
}

} // namespace generic
} // namespace
