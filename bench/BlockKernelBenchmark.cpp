// The 12x12 block kernels of the solver alone, in GFLOP/s, each beside a straightforward triple
// loop computing the same sums in the same run. The operands cycle through a set of blocks about
// the size of a page row held by one thread (L2-resident), as in the factorisation. FusedRun is a
// page job's run of 32 pairs into one sum block, beside the product kernel called once per pair.
//
//   build/release/bench/BlockKernelBenchmark
//
// The program ends with the ratios kernel / triple loop of the CPU times (lower is better); on a
// loaded machine add --benchmark_repetitions=9 to take medians.

#include "calculation/solver/UFemBlockKernels.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
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

template <void (*Kernel)(double*, const double*, const double*)>
void product(benchmark::State& state)
{
    Operands operands;
    int n = 0;
    for (auto _ : state) {
        Kernel(operands.r(n), operands.b(n), operands.a((n + 1) % BlockCount));
        n = (n + 1) % BlockCount;
        benchmark::ClobberMemory();
    }
    state.counters["GFLOP/s"] = benchmark::Counter(
        ProductFlops * double(state.iterations()) / 1e9, benchmark::Counter::kIsRate);
}

template <void (*Kernel)(double*, const double*, const double*, quint64)>
void rowSweep(benchmark::State& state)
{
    Operands operands;
    int n = 0;
    for (auto _ : state) {
        for (quint64 r = 1; r < quint64(N); ++r)
            Kernel(operands.r(n), operands.b(n), operands.a((n + 1) % BlockCount), r);
        n = (n + 1) % BlockCount;
        benchmark::ClobberMemory();
    }
    state.counters["GFLOP/s"] = benchmark::Counter(
        RowSweepFlops * double(state.iterations()) / 1e9, benchmark::Counter::kIsRate);
}

// A page job's run of block pairs (RunLength of them) into one sum block: the fused kernel over the
// run, and the product kernel called once per pair.
constexpr int RunLength = 32;

template <bool Fused> void productRun(benchmark::State& state)
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
        if constexpr (Fused) {
            UFemBlockMultiplyTransposedAddRunForL(R, pairs.data(), RunLength);
        } else {
            for (const UFemBlockPair& pair : pairs)
                UFemBlockMultiplyTransposedAddForL(R, pair.B, pair.A);
        }
        n = (n + 1) % BlockCount;
        benchmark::ClobberMemory();
    }
    state.counters["GFLOP/s"] = benchmark::Counter(
        RunLength * ProductFlops * double(state.iterations()) / 1e9, benchmark::Counter::kIsRate);
}

void TransposedProduct_Kernel(benchmark::State& state)
{
    product<UFemBlockMultiplyTransposedAddForL>(state);
}
void TransposedProduct_TripleLoop(benchmark::State& state)
{
    product<transposedTripleLoop>(state);
}
void Product_Kernel(benchmark::State& state)
{
    product<UFemBlockMultiplyAddForX>(state);
}
void Product_TripleLoop(benchmark::State& state)
{
    product<plainTripleLoop>(state);
}
void FusedRun_Kernel(benchmark::State& state)
{
    productRun<true>(state);
}
void FusedRun_PerPair(benchmark::State& state)
{
    productRun<false>(state);
}
void RowSweep_Kernel(benchmark::State& state)
{
    rowSweep<UFemBlockRowMultiplyAddForL>(state);
}
void RowSweep_TripleLoop(benchmark::State& state)
{
    rowSweep<rowTripleLoop>(state);
}

BENCHMARK(TransposedProduct_Kernel);
BENCHMARK(TransposedProduct_TripleLoop);
BENCHMARK(Product_Kernel);
BENCHMARK(Product_TripleLoop);
BENCHMARK(FusedRun_Kernel);
BENCHMARK(FusedRun_PerPair);
BENCHMARK(RowSweep_Kernel);
BENCHMARK(RowSweep_TripleLoop);

// Prints the usual table, then each kernel's time divided by its triple loop's.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // CPU time: on a shared machine the wall time mostly measures the other processes. With
        // repetitions the median is used.
        for (const Run& run : runs) {
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (!aggregate || run.aggregate_name == "median")
                times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nratio (kernel / baseline: the triple loop, for FusedRun the product kernel "
                    "once per pair)\n");
        for (const char* name : { "TransposedProduct", "Product", "FusedRun", "RowSweep" }) {
            const std::string kernel = std::string(name) + "_Kernel";
            const std::string baseline = std::string(name)
                + (std::string(name) == "FusedRun" ? "_PerPair" : "_TripleLoop");
            if (times_.contains(kernel) && times_.contains(baseline))
                std::printf("  %-20s %8.4f\n", name, times_[kernel] / times_[baseline]);
        }
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
