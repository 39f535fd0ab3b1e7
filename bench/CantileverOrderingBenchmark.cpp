// The node graph of the hexa cantilever that gen-model writes (150 x 15 x 15 elements by default:
// 151 x 16 x 16 nodes), ordered by the geometric orderer and by reverse Cuthill-McKee in the same
// run: ordering time, factor pages, mean envelope width and the factorisation work (sum of squared
// page-row widths) of both, and their ratios. Run with --benchmark_filter and
// --benchmark_min_time as usual.
#include "../tests/calculation/NodeOrderingMeshes.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using nodeordering::Mesh;

constexpr int kRcmRuns = 3;

void BM_CantileverOrdering(benchmark::State& state)
{
    const auto nx = int(state.range(0)) + 1, ny = int(state.range(1)) + 1,
               nz = int(state.range(2)) + 1;
    const Mesh mesh = nodeordering::makeGridMesh(nx, ny, nz, 0.0, false);
    std::vector<quint64> blocks;
    for (auto _ : state) {
        blocks = nodeordering::orderWithNodeOrderer(mesh);
        benchmark::DoNotOptimize(blocks.data());
    }
    const auto geometric = nodeordering::pageEnvelope(mesh, blocks);
    double rcmSeconds = 1e30;
    std::vector<quint64> rcmBlocks;
    for (int run = 0; run < kRcmRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        rcmBlocks = nodeordering::blocksOfOrder(mesh, nodeordering::reverseCuthillMcKee(mesh));
        rcmSeconds = std::min(rcmSeconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    const auto rcm = nodeordering::pageEnvelope(mesh, rcmBlocks);
    state.counters["nodes"] = double(mesh.nodeCount);
    state.counters["pages"] = double(geometric.pages);
    state.counters["meanW"] = double(geometric.envelope) / double(geometric.pages);
    state.counters["rcmPages"] = double(rcm.pages);
    state.counters["rcmMeanW"] = double(rcm.envelope) / double(rcm.pages);
    state.counters["env/rcm"] = double(geometric.envelope) / double(rcm.envelope);
    state.counters["work/rcm"] = geometric.squareSum / rcm.squareSum;
    state.counters["rcmSec"] = rcmSeconds;
}

} // namespace

BENCHMARK(BM_CantileverOrdering)
    ->Args({ 150, 15, 15 })
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
