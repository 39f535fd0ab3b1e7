// Node ordering end to end: the orderer and the final block division on the node graphs of the
// gen-model meshes (Hexa cantilevers with cube elements, a Quad plate, a Hexa cube), against
// CHOLMOD's symbolic analysis with METIS of the same DOF pattern, and CHOLMOD given our order (the
// work that order needs when every zero is skipped). Per mesh: pages, the page envelope (mean
// width and sum of squared widths, which the factorisation work follows), the envelope's bound on
// the factor's size, and CHOLMOD's flops and factor entries.
//
//   build/release/bench/OrderingEndToEndBenchmark [--benchmark_filter=...]

#include "../tests/calculation/NodeOrderingMeshes.h"

#include <benchmark/benchmark.h>
#include <suitesparse/cholmod.h>

#include <map>
#include <memory>

namespace {

using nodeordering::Mesh;

struct MeshSpec {
    const char* name;
    int nx, ny, nz; // nodes
};

// Elements 60 x 6 x 6 .. 200 x 20 x 20, 100 x 100 and 28^3: one node more per direction.
constexpr MeshSpec kMeshes[] = {
    { "hexa 60 6 6", 61, 7, 7 },
    { "hexa 120 12 12", 121, 13, 13 },
    { "hexa 160 16 16", 161, 17, 17 },
    { "hexa 200 20 20", 201, 21, 21 },
    { "quad 100 100", 101, 101, 1 },
    { "hexa 28 28 28", 29, 29, 29 },
};
constexpr double kDofsPerSlot = 3.0;
constexpr double kPageDofs = 48.0;
constexpr double kMebibyte = 1024.0 * 1024.0;

const Mesh& cachedMesh(int index)
{
    static std::map<int, std::unique_ptr<Mesh>> meshes;
    auto& slot = meshes[index];
    if (!slot) {
        const MeshSpec& spec = kMeshes[index];
        slot = std::make_unique<Mesh>(
            nodeordering::makeGridMesh(spec.nx, spec.ny, spec.nz, 0.0, false));
    }
    return *slot;
}

// The lower triangle's pattern over DOFs, numbered node by node; `dofOrder` receives the DOFs in
// the order of the final blocks.
struct DofPattern {
    std::vector<long> columnStart;
    std::vector<long> rowIndex;
};

DofPattern dofPattern(const Mesh& mesh, std::vector<quint64>* firstDof)
{
    firstDof->assign(mesh.nodeCount + 1, 0);
    for (quint64 node = 0; node < mesh.nodeCount; ++node)
        (*firstDof)[node + 1] = (*firstDof)[node] + 3 * mesh.degrees[node];
    DofPattern pattern;
    pattern.columnStart.push_back(0);
    std::vector<quint64> row;
    for (quint64 node = 0; node < mesh.nodeCount; ++node) {
        row.assign(mesh.row(node).begin(), mesh.row(node).end());
        row.push_back(node);
        std::sort(row.begin(), row.end());
        for (quint64 d = (*firstDof)[node]; d < (*firstDof)[node + 1]; ++d) {
            for (quint64 other : row) {
                if (other < node)
                    continue;
                for (quint64 e = (*firstDof)[other]; e < (*firstDof)[other + 1]; ++e) {
                    if (e >= d)
                        pattern.rowIndex.push_back(long(e));
                }
            }
            pattern.columnStart.push_back(long(pattern.rowIndex.size()));
        }
    }
    return pattern;
}

struct Analysis {
    double flops = 0.0;
    double entries = 0.0;
};

Analysis analyse(DofPattern& pattern, long* order)
{
    cholmod_common common;
    cholmod_l_start(&common);
    common.supernodal = CHOLMOD_SUPERNODAL;
    common.nmethods = 1;
    common.method[0].ordering = order ? CHOLMOD_GIVEN : CHOLMOD_METIS;
    cholmod_sparse A {};
    A.nrow = A.ncol = pattern.columnStart.size() - 1;
    A.nzmax = pattern.rowIndex.size();
    A.p = pattern.columnStart.data();
    A.i = pattern.rowIndex.data();
    A.stype = -1;
    A.itype = CHOLMOD_LONG;
    A.xtype = CHOLMOD_PATTERN;
    A.dtype = CHOLMOD_DOUBLE;
    A.sorted = 1;
    A.packed = 1;
    cholmod_factor* L = cholmod_l_analyze_p(&A, order, nullptr, 0, &common);
    Analysis result { common.fl, common.lnz };
    cholmod_l_free_factor(&L, &common);
    cholmod_l_finish(&common);
    return result;
}

void BM_OrderingEndToEnd(benchmark::State& state)
{
    const Mesh& mesh = cachedMesh(int(state.range(0)));
    std::vector<quint64> blocks;
    for (auto _ : state) {
        blocks = nodeordering::orderWithNodeOrderer(mesh);
        benchmark::DoNotOptimize(blocks.data());
    }
    const auto envelope = nodeordering::pageEnvelope(mesh, blocks);
    std::vector<quint64> firstDof;
    DofPattern pattern = dofPattern(mesh, &firstDof);
    std::vector<long> order;
    for (quint64 node : blocks) {
        if (node == UFemNotFound)
            continue;
        for (quint64 d = firstDof[node]; d < firstDof[node + 1]; ++d)
            order.push_back(long(d));
    }
    const Analysis metis = analyse(pattern, nullptr);
    const Analysis given = analyse(pattern, order.data());

    const double meanWidth = double(envelope.envelope) / double(envelope.pages);
    state.counters["dofs"] = double(order.size());
    state.counters["pages"] = double(envelope.pages);
    state.counters["meanW"] = meanWidth;
    state.counters["sumW2"] = envelope.squareSum;
    // Every page of the envelope full: 48 x 48 doubles.
    state.counters["envMiB"] = double(envelope.envelope) * kPageDofs * kPageDofs * 8.0 / kMebibyte;
    state.counters["ourOrderFl"] = given.flops;
    state.counters["metisFl"] = metis.flops;
    state.counters["metisMiB"] = metis.entries * 8.0 / kMebibyte;
    state.counters["fl/metis"] = given.flops / metis.flops;
    state.counters["crossW"] = double(kMeshes[state.range(0)].ny) * kMeshes[state.range(0)].nz
        * kDofsPerSlot * double(mesh.degrees[0]) / kPageDofs;
    state.SetLabel(kMeshes[state.range(0)].name);
}

} // namespace

BENCHMARK(BM_OrderingEndToEnd)
    ->DenseRange(0, int(std::size(kMeshes)) - 1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
