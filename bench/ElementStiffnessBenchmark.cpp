// Forming element stiffnesses: 10^6 Hexas and 10^6 Rods on 1 and 8 threads, in elements per
// second. Baseline in the same run: the Hexa stiffness formed the textbook way, full B (6 x 24),
// B^T D (24 x 6) and B^T D B at each point, on one thread; "vs_textbook" is the time per element
// over the baseline's (< 1 means faster).
#include "cards/elements/UFemHexaElementMatrix.h"
#include "cards/elements/UFemIntegrationRule.h"
#include "cards/elements/UFemRodElementMatrix.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long ElementCount = 1000000;
constexpr long BaselineElementCount = 50000;
constexpr double YoungsModulus = 210000.0;
constexpr double PoissonsRatio = 0.3;

constexpr double distortedNodes[8][3] = { { 0, 0, 0 }, { 2, 0.1, 0 }, { 2.3, 1.2, 0.2 },
    { -0.2, 1, 0.1 }, { 0.1, -0.1, 1.5 }, { 1.9, 0.2, 1.3 }, { 2.1, 1.3, 1.7 }, { 0, 1.1, 1.4 } };

// Element `index` of a family of slightly different bricks, so that no two calls are the same.
void makeHexaInfo(__UFemHexaElementMatrixWholeElementInfo& info, long index)
{
    const double stretch = 1.0 + 1e-6 * double(index % 1000);
    info.materialProperty = { YoungsModulus, PoissonsRatio, 0.0 };
    for (int node = 0; node < 8; ++node)
        for (int axis = 0; axis < 3; ++axis)
            info.nodeLocationTable[node][axis] = distortedNodes[node][axis] * stretch;
}

double formHexas(long first, long end)
{
    __UFemHexaElementMatrixWholeElementInfo info;
    double stiffness[UFemHexaStiffnessEntryCount];
    double checksum = 0.0;
    for (long index = first; index < end; ++index) {
        makeHexaInfo(info, index);
        UFemHexaMakeElementStiffnessMatrix(stiffness, info);
        checksum += stiffness[index % UFemHexaStiffnessEntryCount];
    }
    return checksum;
}

double formRods(long first, long end)
{
    double stiffness[36];
    double checksum = 0.0;
    const double x1[3] = { 0.1, -0.3, 0.2 };
    for (long index = first; index < end; ++index) {
        const double x2[3] = { 2.0 + 1e-6 * double(index % 1000), 0.7, -1.1 };
        UFemRodMakeElementStiffnessMatrix(stiffness, x1, x2, YoungsModulus, 0.37);
        checksum += stiffness[index % 36];
    }
    return checksum;
}

// Forms ElementCount elements split evenly over `threadCount` threads.
void formOnThreads(double (*form)(long, long), int threadCount)
{
    std::vector<std::thread> threads;
    std::vector<double> checksums(std::size_t(threadCount), 0.0);
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&, t] {
            checksums[std::size_t(t)]
                = form(ElementCount * t / threadCount, ElementCount * (t + 1) / threadCount);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    benchmark::DoNotOptimize(checksums.data());
}

// The textbook form of the same stiffness.
void formHexaTextbook(double* stiffness, const __UFemHexaElementMatrixWholeElementInfo& info)
{
    double d[6][6];
    UFemHexaMakeElasticityMatrix(
        d, info.materialProperty.youngsModulus, info.materialProperty.poissonsRatio);
    std::memset(stiffness, 0, sizeof(double) * UFemHexaStiffnessEntryCount);
    for (quint64 point = 0; point < 8; ++point) {
        double weight = 0.0;
        double natural[3];
        UFemGaussIntegrationPoints(&weight, natural, 3, -2, -2, -2, point);
        _UFemHexaShapeFunctionInfo shape;
        const double determinant
            = UFemHexaComputeShapeFunctionInfo(&shape, natural, info.nodeLocationTable);
        double b[6][24] = {};
        for (int node = 0; node < 8; ++node) {
            double g[3];
            for (int c = 0; c < 3; ++c)
                g[c] = shape.inverseJacobian[c][0] * shape.naturalDerivative[node][0]
                    + shape.inverseJacobian[c][1] * shape.naturalDerivative[node][1]
                    + shape.inverseJacobian[c][2] * shape.naturalDerivative[node][2];
            const int x = 3 * node;
            b[0][x] = g[0];
            b[1][x + 1] = g[1];
            b[2][x + 2] = g[2];
            b[3][x + 1] = g[2];
            b[3][x + 2] = g[1];
            b[4][x] = g[2];
            b[4][x + 2] = g[0];
            b[5][x] = g[1];
            b[5][x + 1] = g[0];
        }
        double btd[24][6] = {};
        for (int r = 0; r < 24; ++r)
            for (int l = 0; l < 6; ++l)
                for (int k = 0; k < 6; ++k)
                    btd[r][l] += b[k][r] * d[k][l];
        for (int r = 0; r < 24; ++r)
            for (int c = 0; c < 24; ++c) {
                double sum = 0.0;
                for (int l = 0; l < 6; ++l)
                    sum += btd[r][l] * b[l][c];
                stiffness[r * 24 + c] += sum * determinant * weight;
            }
    }
}

double textbookSecondsPerElement()
{
    __UFemHexaElementMatrixWholeElementInfo info;
    double stiffness[UFemHexaStiffnessEntryCount];
    const Clock::time_point start = Clock::now();
    for (long index = 0; index < BaselineElementCount; ++index) {
        makeHexaInfo(info, index);
        formHexaTextbook(stiffness, info);
        benchmark::DoNotOptimize(stiffness);
    }
    return std::chrono::duration<double>(Clock::now() - start).count() / BaselineElementCount;
}

void runFormingBenchmark(benchmark::State& state, double (*form)(long, long), bool hexa)
{
    const int threadCount = int(state.range(0));
    const double baseline = hexa ? textbookSecondsPerElement() : 0.0;
    const Clock::time_point start = Clock::now();
    for (auto _ : state)
        formOnThreads(form, threadCount);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double elements = double(ElementCount) * double(state.iterations());
    state.counters["elements_per_s"] = elements / seconds;
    if (hexa)
        state.counters["vs_textbook"] = seconds / elements / baseline;
}

void BM_HexaStiffness(benchmark::State& state)
{
    runFormingBenchmark(state, formHexas, true);
}
BENCHMARK(BM_HexaStiffness)
    ->Arg(1)
    ->Arg(8)
    ->Iterations(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_RodStiffness(benchmark::State& state)
{
    runFormingBenchmark(state, formRods, false);
}
BENCHMARK(BM_RodStiffness)
    ->Arg(1)
    ->Arg(8)
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
