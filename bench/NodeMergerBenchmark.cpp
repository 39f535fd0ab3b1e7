// The node merger on 10^6 selected Node cards of which 10^4 lie on the place of another node
// (a 100 x 100 x 99 lattice plus 10^4 doubles, each double used by a Rod): grouping them, target
// 2 s on one core, grouping them at the lattice spacing, target 1 s, and merging the 10^4 pairs as
// one undo step, target 5 s. The merge is undone between runs, outside the timing. Then 10^6
// nodes on a line and on a 1000 x 1000 plate, grouped at their spacing, target 1 s each.
#include "OffscreenBenchmarkMain.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "platform/UUndoManager.h"
#include "tools/merger/UFemToolNodeMerger.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>

#include <sys/resource.h>

#include <stdexcept>

namespace {

constexpr int Side = 100;
constexpr int Layers = 99;
constexpr int Doubles = 10000;
constexpr double Spacing = 0.25;

// Coordinates written whole: a line of 10^6 nodes reaches 250,000.
QString nodeLine(const QString& name, double x, double y, double z)
{
    constexpr int shortest = QLocale::FloatingPointShortest;
    return QStringLiteral("Node , %1 ,  , %2 , %3 , %4 ,\n")
        .arg(name)
        .arg(x, 0, 'g', shortest)
        .arg(y, 0, 'g', shortest)
        .arg(z, 0, 'g', shortest);
}

QString latticeModelText()
{
    QString text
        = QStringLiteral("Material , Steel , 210000 , 0.3 ,\nRodProp , RP , Steel , 0.5 ,\n");
    text.reserve(64 * 1024 * 1024);
    for (int k = 0; k < Layers; ++k) {
        for (int j = 0; j < Side; ++j) {
            for (int i = 0; i < Side; ++i)
                text += nodeLine(QStringLiteral("N%1_%2_%3").arg(i).arg(j).arg(k), i * Spacing,
                    j * Spacing, k * Spacing);
        }
    }
    // Every double sits on a lattice node of the first layers and is used by a Rod.
    for (int d = 0; d < Doubles; ++d) {
        const int i = d % Side;
        const int j = (d / Side) % Side;
        const int k = d / (Side * Side);
        text += nodeLine(
            QStringLiteral("D%1").arg(d), i * Spacing, j * Spacing, k * Spacing + 1e-10);
        text += QStringLiteral("Rod , R%1 , RP , D%1 , N%2_%3_%4 ,\n")
                    .arg(d)
                    .arg((i + 1) % Side)
                    .arg(j)
                    .arg(k);
    }
    return text;
}

constexpr int LineNodes = 1000000;
constexpr int PlateSide = 1000;

QString lineModelText()
{
    QString text;
    text.reserve(48 * LineNodes);
    for (int i = 0; i < LineNodes; ++i)
        text += nodeLine(QStringLiteral("L%1").arg(i), i * Spacing, 0, 0);
    return text;
}

QString plateModelText()
{
    QString text;
    text.reserve(48 * PlateSide * PlateSide);
    for (int j = 0; j < PlateSide; ++j) {
        for (int i = 0; i < PlateSide; ++i)
            text += nodeLine(QStringLiteral("P%1_%2").arg(i).arg(j), i * Spacing, j * Spacing, 0);
    }
    return text;
}

struct NodeModel {
    explicit NodeModel(const QString& text = latticeModelText())
    {
        model.setUndoManager(&undoManager);
        UErrorPtr error;
        if (!model.resetWithModelText(text, false, &error))
            throw std::runtime_error("benchmark model does not read");
        collectNodes();
        undoManager.setGroupsByEvent(false);
    }

    // Undo puts new card objects in place of the removed ones.
    void collectNodes()
    {
        nodes.clear();
        for (const UFemCardPtr& card : model.cardArray()) {
            if (card->cardType() == UFemNodeCardType)
                nodes.push_back(card);
        }
    }

    UUndoManager undoManager;
    UFemDataController model;
    UFemCardVector nodes;
};

NodeModel& lattice()
{
    static NodeModel shared;
    return shared;
}

double peakResidentMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void BM_GroupMillionNodes(benchmark::State& state)
{
    NodeModel& model = lattice();
    std::size_t groupCount = 0;
    for (auto _ : state) {
        UErrorPtr error;
        const auto groups
            = UFemToolNodeMerger::nodeCardListArrayOnSameLocation(model.nodes, 1e-8, &error);
        if (!groups)
            throw std::runtime_error("grouping failed");
        groupCount = groups->size();
    }
    state.counters["nodes"] = double(model.nodes.size());
    state.counters["groups"] = double(groupCount);
}
BENCHMARK(BM_GroupMillionNodes)->Unit(benchmark::kMillisecond)->Iterations(3);

void groupAtTheSpacing(benchmark::State& state, const NodeModel& model)
{
    std::size_t groupCount = 0;
    for (auto _ : state) {
        UErrorPtr error;
        const auto groups
            = UFemToolNodeMerger::nodeCardListArrayOnSameLocation(model.nodes, Spacing, &error);
        if (!groups)
            throw std::runtime_error("grouping failed");
        groupCount = groups->size();
    }
    state.counters["nodes"] = double(model.nodes.size());
    state.counters["groups"] = double(groupCount);
}

// At the lattice spacing no gap is wider than the distance, so no cut shrinks the nodes and every
// lattice node has 26 neighbours within reach: 2 x 2 x 2 blocks, target 1 s.
void BM_GroupMillionNodesAtTheSpacing(benchmark::State& state)
{
    groupAtTheSpacing(state, lattice());
}
BENCHMARK(BM_GroupMillionNodesAtTheSpacing)->Unit(benchmark::kMillisecond)->Iterations(3);

// Pairs of neighbours along the line, target 1 s.
void BM_GroupMillionNodesOnALineAtTheSpacing(benchmark::State& state)
{
    const NodeModel model(lineModelText());
    groupAtTheSpacing(state, model);
}
BENCHMARK(BM_GroupMillionNodesOnALineAtTheSpacing)->Unit(benchmark::kMillisecond)->Iterations(3);

// 2 x 2 blocks of the plate, target 1 s.
void BM_GroupMillionNodesOnAPlateAtTheSpacing(benchmark::State& state)
{
    const NodeModel model(plateModelText());
    groupAtTheSpacing(state, model);
}
BENCHMARK(BM_GroupMillionNodesOnAPlateAtTheSpacing)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MergeTenThousandPairs(benchmark::State& state)
{
    NodeModel& model = lattice();
    UErrorPtr error;
    std::size_t pairs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model.collectNodes();
        const auto groups
            = UFemToolNodeMerger::nodeCardListArrayOnSameLocation(model.nodes, 1e-8, &error);
        if (!groups || groups->size() != std::size_t(Doubles))
            throw std::runtime_error("unexpected groups");
        pairs = groups->size();
        state.ResumeTiming();
        if (!UFemToolNodeMerger::mergeNode(*groups, false, &error))
            throw std::runtime_error("merge failed");
        state.PauseTiming();
        if (model.undoManager.undoActionName()
            != QStringLiteral("Merge Nodes ( Remove 10000 node cards )"))
            throw std::runtime_error("not one undo step");
        model.undoManager.undo();
        state.ResumeTiming();
    }
    state.counters["pairs"] = double(pairs);
    state.counters["peakRSS_MB"] = peakResidentMegabytes();
}
BENCHMARK(BM_MergeTenThousandPairs)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, &UFemInstallCardClasses);
}
