// Geometric node ordering against reverse Cuthill-McKee on the same graphs, in the same run.
// Reports the ordering time and the page envelope of the factor (sum of page-row widths; the
// factorisation work grows with the sum of their squares) of both orderings, and their ratios.
#include "../tests/calculation/NodeOrderingMeshes.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <tuple>

namespace {

using nodeordering::Mesh;

enum MeshKind { Shell = 0, Solid = 1, Cantilever = 2 };

// Grid sides giving about 10^3 .. 10^6 nodes.
constexpr int kShellSides[] = { 32, 100, 316, 1000 };
constexpr int kSolidSides[] = { 10, 22, 46, 100 };
constexpr double kPerturbation = 0.3;
// The node grid of gen-model's hexa cantilever of 150 x 15 x 15 elements, a slender solid.
constexpr int kCantileverNodes[] = { 151, 16, 16 };

const Mesh& cachedMesh(int kind, int sizeIndex, bool unstructured)
{
    static std::map<std::tuple<int, int, bool>, std::unique_ptr<Mesh>> meshes;
    auto& slot = meshes[{ kind, sizeIndex, unstructured }];
    if (!slot) {
        const double perturbation = unstructured ? kPerturbation : 0.0;
        if (kind == Shell) {
            const int side = kShellSides[sizeIndex];
            slot = std::make_unique<Mesh>(
                nodeordering::makeGridMesh(side, side, 1, perturbation, unstructured));
        } else if (kind == Cantilever) {
            const auto [nx, ny, nz] = kCantileverNodes;
            slot = std::make_unique<Mesh>(
                nodeordering::makeGridMesh(nx, ny, nz, perturbation, unstructured));
        } else {
            const int side = kSolidSides[sizeIndex];
            slot = std::make_unique<Mesh>(
                nodeordering::makeGridMesh(side, side, side, perturbation, unstructured));
        }
    }
    return *slot;
}

void BM_NodeOrderer(benchmark::State& state)
{
    const Mesh& mesh = cachedMesh(int(state.range(0)), int(state.range(1)), state.range(2) != 0);
    std::vector<quint64> blocks;
    for (auto _ : state) {
        blocks = nodeordering::orderWithNodeOrderer(mesh);
        benchmark::DoNotOptimize(blocks.data());
    }
    const auto envelope = nodeordering::pageEnvelope(mesh, blocks);

    // The reference, timed the same way (best of as many runs as the orderer had, at most 5).
    double rcmSeconds = 1e30;
    std::vector<quint64> rcmBlocks;
    for (int run = 0; run < std::min<int>(5, int(state.iterations())); ++run) {
        const auto start = std::chrono::steady_clock::now();
        rcmBlocks = nodeordering::blocksOfOrder(mesh, nodeordering::reverseCuthillMcKee(mesh));
        rcmSeconds = std::min(rcmSeconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    const auto rcm = nodeordering::pageEnvelope(mesh, rcmBlocks);

    state.counters["nodes"] = double(mesh.nodeCount);
    state.counters["pages"] = double(envelope.pages);
    state.counters["env"] = double(envelope.envelope);
    state.counters["rcmEnv"] = double(rcm.envelope);
    state.counters["env/rcm"] = double(envelope.envelope) / double(rcm.envelope);
    state.counters["work/rcm"] = envelope.squareSum / rcm.squareSum;
    state.counters["rcmSec"] = rcmSeconds;
    state.counters["meanW"] = double(envelope.envelope) / double(envelope.pages);
    state.counters["rcmMeanW"] = double(rcm.envelope) / double(rcm.pages);
    const char* const kindNames[] = { "shell", "solid", "cantilever" };
    state.SetLabel(std::string(kindNames[state.range(0)])
        + (state.range(2) ? " unstructured" : " structured"));
}

void meshArguments(benchmark::internal::Benchmark* bench)
{
    for (int kind : { Shell, Solid })
        for (int unstructured : { 0, 1 })
            for (int size = 0; size < 4; ++size)
                bench->Args({ kind, size, unstructured });
    bench->Args({ Cantilever, 0, 0 });
}

} // namespace

BENCHMARK(BM_NodeOrderer)->Apply(meshArguments)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
