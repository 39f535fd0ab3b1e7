#include "calculation/solver/UFemBlockKernelVariants.h"

#if defined(UFEM_BLOCK_KERNELS_X86)

#include "calculation/solver/UFemBlockKernelsGeneric.h"

#include <immintrin.h>

// GCC 12's casts and extracts of halves start from an undefined vector, which -Wuninitialized
// reports where they are inlined.
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// The products with 512-bit registers. A 12x12 sum takes 20 of the 32 registers and stays in them
// over a whole run of pairs: columns 0-7 as 12 rows of 8, columns 8-11 of rows 0-7 as 4 columns of
// 8 (broadcasting B against a row of A, which is a column of the transposed product), and the 4x4
// corner as 4 rows of 4. Each value takes one fused multiply-add per term in the order of the AVX2
// kernels, so both give the same bits.
#define UFEM_AVX512 [[gnu::target("avx512f,avx512vl,avx2,fma")]]

namespace {

constexpr int N = 12;
constexpr int Rows = 8; // rows of the transposed columns 8-11
constexpr int Columns = 4; // columns 8-11

struct Sums {
    __m512d left[N]; // R[i][0..7]
    __m512d right[Columns]; // R[0..7][8 + j]
    __m256d corner[Columns]; // R[8 + i][8..11]
};

// Indices of _mm512_permutex2var_pd: below 8 the first operand, from 8 the second.
UFEM_AVX512 [[gnu::always_inline]] inline __m512i indices(long long a, long long b, long long c,
    long long d, long long e, long long f, long long g, long long h)
{
    return _mm512_setr_epi64(a, b, c, d, e, f, g, h);
}

// R[0..7][8..11] as four columns of eight.
UFEM_AVX512 [[gnu::always_inline]] inline void loadRight(Sums& sums, const double* R)
{
    __m512d pairs[Rows / 2]; // R[2m][8..11], R[2m + 1][8..11]
    for (int m = 0; m < Rows / 2; ++m)
        pairs[m] = _mm512_insertf64x4(_mm512_castpd256_pd512(_mm256_loadu_pd(R + N * 2 * m + 8)),
            _mm256_loadu_pd(R + N * (2 * m + 1) + 8), 1);
    // Columns 8, 9 and 10, 11 interleaved for rows 0-3 and 4-7.
    const __m512i even = indices(0, 1, 4, 5, 8, 9, 12, 13);
    const __m512i odd = indices(2, 3, 6, 7, 10, 11, 14, 15);
    const __m512d low01 = _mm512_permutex2var_pd(pairs[0], even, pairs[1]);
    const __m512d low23 = _mm512_permutex2var_pd(pairs[0], odd, pairs[1]);
    const __m512d high01 = _mm512_permutex2var_pd(pairs[2], even, pairs[3]);
    const __m512d high23 = _mm512_permutex2var_pd(pairs[2], odd, pairs[3]);
    const __m512i first = indices(0, 2, 4, 6, 8, 10, 12, 14);
    const __m512i second = indices(1, 3, 5, 7, 9, 11, 13, 15);
    sums.right[0] = _mm512_permutex2var_pd(low01, first, high01);
    sums.right[1] = _mm512_permutex2var_pd(low01, second, high01);
    sums.right[2] = _mm512_permutex2var_pd(low23, first, high23);
    sums.right[3] = _mm512_permutex2var_pd(low23, second, high23);
}

// The inverse of loadRight: rows 2m and 2m + 1 of columns 8-11 in pairs[m].
UFEM_AVX512 [[gnu::always_inline]] inline void rightRows(const Sums& sums, __m512d pairs[Rows / 2])
{
    const __m512i low = indices(0, 8, 1, 9, 2, 10, 3, 11);
    const __m512i high = indices(4, 12, 5, 13, 6, 14, 7, 15);
    const __m512d low01 = _mm512_permutex2var_pd(sums.right[0], low, sums.right[1]);
    const __m512d high01 = _mm512_permutex2var_pd(sums.right[0], high, sums.right[1]);
    const __m512d low23 = _mm512_permutex2var_pd(sums.right[2], low, sums.right[3]);
    const __m512d high23 = _mm512_permutex2var_pd(sums.right[2], high, sums.right[3]);
    const __m512i first = indices(0, 1, 8, 9, 2, 3, 10, 11);
    const __m512i second = indices(4, 5, 12, 13, 6, 7, 14, 15);
    pairs[0] = _mm512_permutex2var_pd(low01, first, low23);
    pairs[1] = _mm512_permutex2var_pd(low01, second, low23);
    pairs[2] = _mm512_permutex2var_pd(high01, first, high23);
    pairs[3] = _mm512_permutex2var_pd(high01, second, high23);
}

UFEM_AVX512 [[gnu::always_inline]] inline void loadSums(Sums& sums, const double* R)
{
    for (int i = 0; i < N; ++i)
        sums.left[i] = _mm512_loadu_pd(R + N * i);
    loadRight(sums, R);
    for (int i = 0; i < Columns; ++i)
        sums.corner[i] = _mm256_loadu_pd(R + N * (Rows + i) + 8);
}

UFEM_AVX512 [[gnu::always_inline]] inline void clearSums(Sums& sums)
{
    for (int i = 0; i < N; ++i)
        sums.left[i] = _mm512_setzero_pd();
    for (int j = 0; j < Columns; ++j) {
        sums.right[j] = _mm512_setzero_pd();
        sums.corner[j] = _mm256_setzero_pd();
    }
}

UFEM_AVX512 [[gnu::always_inline]] inline void storeSums(const Sums& sums, double* R)
{
    for (int i = 0; i < N; ++i)
        _mm512_storeu_pd(R + N * i, sums.left[i]);
    __m512d pairs[Rows / 2];
    rightRows(sums, pairs);
    for (int m = 0; m < Rows / 2; ++m) {
        _mm256_storeu_pd(R + N * 2 * m + 8, _mm512_castpd512_pd256(pairs[m]));
        _mm256_storeu_pd(R + N * (2 * m + 1) + 8, _mm512_extractf64x4_pd(pairs[m], 1));
    }
    for (int i = 0; i < Columns; ++i)
        _mm256_storeu_pd(R + N * (Rows + i) + 8, sums.corner[i]);
}

UFEM_AVX512 [[gnu::always_inline]] inline void addSums(const Sums& sums, double* R)
{
    for (int i = 0; i < N; ++i)
        _mm512_storeu_pd(R + N * i, _mm512_add_pd(_mm512_loadu_pd(R + N * i), sums.left[i]));
    __m512d pairs[Rows / 2];
    rightRows(sums, pairs);
    for (int m = 0; m < Rows / 2; ++m) {
        double* even = R + N * 2 * m + 8;
        double* odd = R + N * (2 * m + 1) + 8;
        _mm256_storeu_pd(
            even, _mm256_add_pd(_mm256_loadu_pd(even), _mm512_castpd512_pd256(pairs[m])));
        _mm256_storeu_pd(
            odd, _mm256_add_pd(_mm256_loadu_pd(odd), _mm512_extractf64x4_pd(pairs[m], 1)));
    }
    for (int i = 0; i < Columns; ++i) {
        double* row = R + N * (Rows + i) + 8;
        _mm256_storeu_pd(row, _mm256_add_pd(_mm256_loadu_pd(row), sums.corner[i]));
    }
}

// sums[i][j] += sum_k A[k][i] * B[k][j], k in order. (Prefetching the next pair's blocks into L1
// measured no faster: the hardware prefetcher follows the rows.)
UFEM_AVX512 [[gnu::always_inline]] inline void addTransposedProduct(
    Sums& sums, const double* __restrict B, const double* __restrict A)
{
#pragma GCC unroll 12
    for (int k = 0; k < N; ++k) {
        const double* a = A + N * k;
        const double* b = B + N * k;
        const __m512d bLeft = _mm512_loadu_pd(b);
        const __m512d aTop = _mm512_loadu_pd(a);
        const __m256d bRight = _mm256_loadu_pd(b + 8);
        for (int i = 0; i < Rows; ++i)
            sums.left[i] = _mm512_fmadd_pd(_mm512_set1_pd(a[i]), bLeft, sums.left[i]);
        for (int j = 0; j < Columns; ++j)
            sums.right[j] = _mm512_fmadd_pd(aTop, _mm512_set1_pd(b[8 + j]), sums.right[j]);
        // The factors of rows 8-11 broadcast once for both of their parts: loads, not the
        // multiply-adds, are the limit.
        for (int i = 0; i < Columns; ++i) {
            const __m512d factor = _mm512_broadcastsd_pd(_mm_load_sd(a + Rows + i));
            sums.left[Rows + i] = _mm512_fmadd_pd(factor, bLeft, sums.left[Rows + i]);
            sums.corner[i]
                = _mm256_fmadd_pd(_mm512_castpd512_pd256(factor), bRight, sums.corner[i]);
        }
    }
}

UFEM_AVX512 void multiplyTransposedAddRun(double* R, const UFemBlockPair* pairs, quint64 count)
{
    Sums sums;
    loadSums(sums, R);
    for (quint64 p = 0; p < count; ++p)
        addTransposedProduct(sums, pairs[p].B, pairs[p].A);
    storeSums(sums, R);
}

UFEM_AVX512 void multiplyTransposedAdd(double* R, const double* B, const double* A)
{
    Sums sums;
    clearSums(sums);
    addTransposedProduct(sums, B, A);
    addSums(sums, R);
}

// R[i][j] += sum_k A[i][k] * B[k][j]. Here a column of A is not contiguous, so columns 8-11 are
// 12 rows of 4: 24 multiply-adds a term row instead of 20.
UFEM_AVX512 void multiplyAdd(
    double* __restrict R, const double* __restrict B, const double* __restrict A)
{
    __m512d left[N];
    __m256d right[N];
    for (int i = 0; i < N; ++i) {
        left[i] = _mm512_setzero_pd();
        right[i] = _mm256_setzero_pd();
    }
#pragma GCC unroll 12
    for (int k = 0; k < N; ++k) {
        const __m512d bLeft = _mm512_loadu_pd(B + N * k);
        const __m256d bRight = _mm256_loadu_pd(B + N * k + 8);
        for (int i = 0; i < N; ++i) {
            const double a = A[N * i + k];
            left[i] = _mm512_fmadd_pd(_mm512_set1_pd(a), bLeft, left[i]);
            right[i] = _mm256_fmadd_pd(_mm256_set1_pd(a), bRight, right[i]);
        }
    }
    for (int i = 0; i < N; ++i) {
        double* row = R + N * i;
        _mm512_storeu_pd(row, _mm512_add_pd(_mm512_loadu_pd(row), left[i]));
        _mm256_storeu_pd(row + 8, _mm256_add_pd(_mm256_loadu_pd(row + 8), right[i]));
    }
}

// The row kernels and the scaling as the compiler vectorises them: with AVX-512 about twice as
// fast as the AVX2 build (BlockKernelBenchmark, RowSweep).
UFEM_AVX512 void rowMultiplyAddForL(double* R, const double* B, const double* A, quint64 r)
{
    generic::rowMultiplyAddForL(R, B, A, r);
}

UFEM_AVX512 void rowMultiplyAddForX(double* R, const double* B, const double* A, quint64 r)
{
    generic::rowMultiplyAddForX(R, B, A, r);
}

UFEM_AVX512 void scaleRowsByDiagonal(double* R, const double* B, const double* D)
{
    generic::scaleRowsByDiagonal(R, B, D);
}

} // namespace

UFemBlockKernelSet UFemBlockKernelsAvx512()
{
    return { "AVX-512", true, multiplyTransposedAdd, multiplyTransposedAddRun, multiplyAdd,
        rowMultiplyAddForL, rowMultiplyAddForX, scaleRowsByDiagonal };
}

#endif
