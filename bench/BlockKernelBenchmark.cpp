// The 12x12 block kernels of the solver alone, in GFLOP/s, each beside a straightforward triple
// loop computing the same sums in the same run. The operands cycle through a set of blocks about
// the size of a page row held by one thread (L2-resident), as in the factorisation. FusedRun is a
// page job's run of 32 pairs into one sum block, beside the product kernel called once per pair.
// The kernels run once for each set the processor can run (`_AVX-512`, `_AVX2`, `_SSE2`); the
// triple loops and `FusedRun_PerPair` use the set the solver uses. `Peak_...` measures the core's
// peak at each vector width it offers: independent multiply-add chains (multiplies and adds with
// SSE2, which has no fused multiply-add).
//
//   taskset -c 6 build/release/bench/BlockKernelBenchmark
//
// The program ends with the ratios kernel / triple loop of the CPU times (lower is better) and each
// kernel's share of the widest peak; on a loaded machine add --benchmark_repetitions=9 to take
// medians.

#include "calculation/solver/UFemBlockKernelSet.h"
#include "calculation/solver/UFemBlockKernels.h"

#include <benchmark/benchmark.h>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define PEAK_X86 1
#endif

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int N = 12;
constexpr int BlockCount = 64;
constexpr double ProductFlops = 2.0 * N * N * N;
// Sum over r of the row kernel's r multiply-adds on a row of N values.
constexpr double RowSweepFlops = 2.0 * N * (N * (N - 1) / 2);

struct Operands {
    std::vector<double> R, A, B;

    Operands()
        : R(BlockCount * UFemBlockValueCount)
        , A(BlockCount * UFemBlockValueCount)
        , B(BlockCount * UFemBlockValueCount)
    {
        std::mt19937_64 random(7);
        std::uniform_real_distribution<double> value(-1.0, 1.0);
        for (auto* values : { &R, &A, &B })
            for (double& x : *values)
                x = value(random);
    }

    double* r(int n) { return R.data() + UFemBlockValueCount * n; }
    const double* a(int n) const { return A.data() + UFemBlockValueCount * n; }
    const double* b(int n) const { return B.data() + UFemBlockValueCount * n; }
};

void transposedTripleLoop(double* R, const double* B, const double* A)
{
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) {
            double sum = 0.0;
            for (int k = 0; k < N; ++k)
                sum += A[N * k + i] * B[N * k + j];
            R[N * i + j] += sum;
        }
}

void plainTripleLoop(double* R, const double* B, const double* A)
{
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) {
            double sum = 0.0;
            for (int k = 0; k < N; ++k)
                sum += A[N * i + k] * B[N * k + j];
            R[N * i + j] += sum;
        }
}

void rowTripleLoop(double* R, const double* B, const double* A, quint64 r)
{
    for (int j = 0; j < N; ++j) {
        double sum = 0.0;
        for (quint64 k = 0; k < r; ++k)
            sum += A[N * k + r] * B[N * k + j];
        R[N * r + j] += sum;
    }
}

using Product3 = void (*)(double*, const double*, const double*);
using RowKernel = void (*)(double*, const double*, const double*, quint64);

void counterGflops(benchmark::State& state, double flopsPerIteration)
{
    state.counters["GFLOP/s"] = benchmark::Counter(
        flopsPerIteration * double(state.iterations()) / 1e9, benchmark::Counter::kIsRate);
}

void product(benchmark::State& state, Product3 kernel)
{
    Operands operands;
    int n = 0;
    for (auto _ : state) {
        kernel(operands.r(n), operands.b(n), operands.a((n + 1) % BlockCount));
        n = (n + 1) % BlockCount;
        benchmark::ClobberMemory();
    }
    counterGflops(state, ProductFlops);
}

void rowSweep(benchmark::State& state, RowKernel kernel)
{
    Operands operands;
    int n = 0;
    for (auto _ : state) {
        for (quint64 r = 1; r < quint64(N); ++r)
            kernel(operands.r(n), operands.b(n), operands.a((n + 1) % BlockCount), r);
        n = (n + 1) % BlockCount;
        benchmark::ClobberMemory();
    }
    counterGflops(state, RowSweepFlops);
}

// A page job's run of block pairs (RunLength of them) into one sum block: the fused kernel over the
// run, or the product kernel called once per pair.
constexpr int RunLength = 32;

void productRun(benchmark::State& state, const UFemBlockKernelSet& set, bool fused)
{
    Operands operands;
    std::vector<UFemBlockPair> pairs(RunLength);
    int n = 0;
    for (auto _ : state) {
        for (int p = 0; p < RunLength; ++p) {
            const int m = (n + p) % BlockCount;
            pairs[p] = { operands.b(m), operands.a((m + 1) % BlockCount) };
        }
        double* R = operands.r(n);
        if (fused) {
            set.multiplyTransposedAddRun(R, pairs.data(), RunLength);
        } else {
            for (const UFemBlockPair& pair : pairs)
                set.multiplyTransposedAdd(R, pair.B, pair.A);
        }
        n = (n + 1) % BlockCount;
        benchmark::ClobberMemory();
    }
    counterGflops(state, RunLength * ProductFlops);
}

// The peak: multiply-add chains in flight, more than the arithmetic pipes' count times their
// latency (2 x 4 on current cores) and fewer than the vector registers, each step of each chain
// depending on its last. PeakSteps steps per iteration keep the loop's own cost out.
constexpr int PeakSteps = 1000;

template <typename Vector, int Lanes, int Chains, int FlopsPerStep>
void countPeak(benchmark::State& state, const Vector (&sums)[Chains])
{
    double total = 0.0;
    for (const Vector& sum : sums)
        for (int lane = 0; lane < Lanes; ++lane)
            total += reinterpret_cast<const double*>(&sum)[lane];
    benchmark::DoNotOptimize(total);
    counterGflops(state, double(FlopsPerStep) * Lanes * Chains * PeakSteps);
}

#if defined(PEAK_X86)
// SSE2 has no fused multiply-add: half the chains multiply, half add, each one flop a lane.
void peakSse2(benchmark::State& state)
{
    constexpr int Chains = 12;
    __m128d sums[Chains];
    for (int c = 0; c < Chains; ++c)
        sums[c] = _mm_set1_pd(1.0 + c);
    const __m128d factor = _mm_set1_pd(0.9999999);
    const __m128d term = _mm_set1_pd(1e-7);
    for (auto _ : state) {
        for (int step = 0; step < PeakSteps; ++step) {
#pragma GCC unroll 12
            for (int c = 0; c < Chains; c += 2) {
                sums[c] = _mm_mul_pd(sums[c], factor);
                sums[c + 1] = _mm_add_pd(sums[c + 1], term);
            }
        }
    }
    countPeak<__m128d, 2, Chains, 1>(state, sums);
}

[[gnu::target("avx2,fma")]] void peakAvx2(benchmark::State& state)
{
    constexpr int Chains = 12;
    __m256d sums[Chains];
    for (int c = 0; c < Chains; ++c)
        sums[c] = _mm256_set1_pd(1.0 + c);
    const __m256d factor = _mm256_set1_pd(0.9999999);
    const __m256d term = _mm256_set1_pd(1e-7);
    for (auto _ : state) {
        for (int step = 0; step < PeakSteps; ++step) {
#pragma GCC unroll 12
            for (int c = 0; c < Chains; ++c)
                sums[c] = _mm256_fmadd_pd(sums[c], factor, term);
        }
    }
    countPeak<__m256d, 4, Chains, 2>(state, sums);
}

[[gnu::target("avx512f")]] void peakAvx512(benchmark::State& state)
{
    constexpr int Chains = 24;
    __m512d sums[Chains];
    for (int c = 0; c < Chains; ++c)
        sums[c] = _mm512_set1_pd(1.0 + c);
    const __m512d factor = _mm512_set1_pd(0.9999999);
    const __m512d term = _mm512_set1_pd(1e-7);
    for (auto _ : state) {
        for (int step = 0; step < PeakSteps; ++step) {
#pragma GCC unroll 24
            for (int c = 0; c < Chains; ++c)
                sums[c] = _mm512_fmadd_pd(sums[c], factor, term);
        }
    }
    countPeak<__m512d, 8, Chains, 2>(state, sums);
}
#endif

void addPeak(std::vector<std::string>& names, const char* name, void (*peak)(benchmark::State&))
{
    benchmark::RegisterBenchmark(name, peak);
    names.push_back(name);
}

// The widths this processor offers, the widest first.
void registerPeaks(std::vector<std::string>& names)
{
#if defined(PEAK_X86)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f"))
        addPeak(names, "Peak_AVX-512", peakAvx512);
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        addPeak(names, "Peak_AVX2", peakAvx2);
    addPeak(names, "Peak_SSE2", peakSse2);
#else
    (void)names;
#endif
}

void registerKernels()
{
    const UFemBlockKernelSet& inUse = UFemBlockKernelSetInUse();
    for (const UFemBlockKernelSet& set : UFemBlockKernelSets()) {
        const std::string suffix = std::string("_") + set.name;
        benchmark::RegisterBenchmark(("TransposedProduct" + suffix).c_str(),
            [&set](benchmark::State& state) { product(state, set.multiplyTransposedAdd); });
        benchmark::RegisterBenchmark(("Product" + suffix).c_str(),
            [&set](benchmark::State& state) { product(state, set.multiplyAdd); });
        benchmark::RegisterBenchmark(("FusedRun" + suffix).c_str(),
            [&set](benchmark::State& state) { productRun(state, set, true); });
        benchmark::RegisterBenchmark(("RowSweep" + suffix).c_str(),
            [&set](benchmark::State& state) { rowSweep(state, set.rowMultiplyAddForL); });
    }
    benchmark::RegisterBenchmark("TransposedProduct_TripleLoop",
        [](benchmark::State& state) { product(state, transposedTripleLoop); });
    benchmark::RegisterBenchmark(
        "Product_TripleLoop", [](benchmark::State& state) { product(state, plainTripleLoop); });
    benchmark::RegisterBenchmark(
        "FusedRun_PerPair", [&inUse](benchmark::State& state) { productRun(state, inUse, false); });
    benchmark::RegisterBenchmark(
        "RowSweep_TripleLoop", [](benchmark::State& state) { rowSweep(state, rowTripleLoop); });
}

// Prints the usual table, then the in-use kernels' times divided by their baselines', and every
// kernel's rate as a share of the widest peak.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::string widestPeak)
        : widestPeak_(std::move(widestPeak))
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // CPU time: on a shared machine the wall time mostly measures the other processes. With
        // repetitions the median is used.
        for (const Run& run : runs) {
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (aggregate && run.aggregate_name != "median")
                continue;
            const std::string name = run.run_name.function_name;
            times_[name] = run.GetAdjustedCPUTime();
            if (const auto rate = run.counters.find("GFLOP/s"); rate != run.counters.end())
                rates_[name] = rate->second.value;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        printRatios();
        printShares();
    }

private:
    void printRatios()
    {
        const std::string inUse = std::string("_") + UFemBlockKernelSetInUse().name;
        std::printf("\nratio (kernel %s / baseline: the triple loop, for FusedRun the product "
                    "kernel once per pair)\n",
            inUse.c_str() + 1);
        for (const char* name : { "TransposedProduct", "Product", "FusedRun", "RowSweep" }) {
            const std::string kernel = name + inUse;
            const std::string baseline = std::string(name)
                + (std::string(name) == "FusedRun" ? "_PerPair" : "_TripleLoop");
            if (times_.contains(kernel) && times_.contains(baseline))
                std::printf("  %-20s %8.4f\n", name, times_[kernel] / times_[baseline]);
        }
    }

    void printShares()
    {
        if (!rates_.contains(widestPeak_))
            return;
        const double peak = rates_[widestPeak_];
        std::printf("\nshare of the widest peak (%s, %.1f GFLOP/s)\n", widestPeak_.c_str(), peak);
        for (const auto& [name, rate] : rates_)
            std::printf(
                "  %-32s %7.1f GFLOP/s %6.1f %%\n", name.c_str(), rate, 100.0 * rate / peak);
    }

    std::string widestPeak_;
    std::map<std::string, double> times_;
    std::map<std::string, double> rates_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    std::vector<std::string> peaks;
    registerPeaks(peaks);
    registerKernels();
    RatioReporter reporter(peaks.empty() ? std::string() : peaks.front());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
