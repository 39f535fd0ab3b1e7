// The result table over 10^5 Hexas with three cases: selecting them all and showing the first
// page, scrolling to far pages, and painting a page again. Value arrays are built only for the
// blocks a page shows; the counters give how many each step built.
#include "../tests/tables/ResultTableTestWindow.h"
#include "RandomResults.h"

#include "tables/resulttable/UFemResultTableView.h"

#include <QApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr quint64 hexaCountX = 40;
constexpr quint64 hexaCountY = 50;
constexpr quint64 hexaCountZ = 50;
constexpr quint64 caseCount = 3;
const QString resultList
    = QStringLiteral("#(type:Node): Displacement;\n#(type:Elem): VonMisesStress;\n");

QString hexaModelText()
{
    QString text = QStringLiteral("Material , Steel , 210000 , 0.3 ,\nSolidProp , SO , Steel ,\n");
    const auto node = [](quint64 x, quint64 y, quint64 z) {
        return (z * (hexaCountY + 1) + y) * (hexaCountX + 1) + x;
    };
    for (quint64 z = 0; z <= hexaCountZ; ++z)
        for (quint64 y = 0; y <= hexaCountY; ++y)
            for (quint64 x = 0; x <= hexaCountX; ++x)
                text += QStringLiteral("Node , N%1 ,  , %2 , %3 , %4 ,\n")
                            .arg(node(x, y, z))
                            .arg(x)
                            .arg(y)
                            .arg(z);
    for (quint64 z = 0; z < hexaCountZ; ++z)
        for (quint64 y = 0; y < hexaCountY; ++y)
            for (quint64 x = 0; x < hexaCountX; ++x) {
                text
                    += QStringLiteral("Hexa , H%1 , SO").arg((z * hexaCountY + y) * hexaCountX + x);
                for (const auto& [dx, dy, dz] :
                    { std::array<quint64, 3> { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 0 }, { 0, 1, 0 },
                        { 0, 0, 1 }, { 1, 0, 1 }, { 1, 1, 1 }, { 0, 1, 1 } })
                    text += QStringLiteral(" , N%1").arg(node(x + dx, y + dy, z + dz));
                text += QStringLiteral(" ,\n");
            }
    for (quint64 c = 1; c <= caseCount; ++c)
        text += QStringLiteral("Case , C%1 , LINEAR_STATIC , RS , F%1 ,\n").arg(c);
    return text;
}

struct HexaTable {
    HexaTable()
        : window(hexaModelText())
    {
        attachRandomResults(window.model, caseCount, false);
        view.resize(1200, 800);
        view.setUFemWindowController(&window);
        UFemRaisesOnFailure(view.setCardValueExprListString(resultList, nullptr));
        window.cases = window.model.caseCardArray().toVector();
        window.center.post(ResultTableTestWindow::caseDidChange, &window);
        window.selected = window.model.elementCardArray().toVector();
    }
    void selectAll() { window.center.post(ResultTableTestWindow::selectedDidChange, &window); }
    void unselect()
    {
        const UFemCardVector all = std::exchange(window.selected, {});
        selectAll();
        window.selected = all;
    }

    ResultTableTestWindow window;
    UFemResultTableView view;
};

// Made on first use, gone before the application object.
std::unique_ptr<HexaTable> sharedHexaTable;

HexaTable& hexaTable()
{
    if (!sharedHexaTable)
        sharedHexaTable = std::make_unique<HexaTable>();
    return *sharedHexaTable;
}

void BM_SelectAllAndShowFirstPage(benchmark::State& state)
{
    HexaTable& table = hexaTable();
    quint64 built = 0;
    for (auto _ : state) {
        state.PauseTiming();
        table.unselect();
        const quint64 before = table.view.resultTableModel().valueArrayBuildCount();
        state.ResumeTiming();
        table.selectAll();
        benchmark::DoNotOptimize(table.view.grab());
        built += table.view.resultTableModel().valueArrayBuildCount() - before;
    }
    state.counters["rows"] = double(table.view.resultTableModel().numberOfTableRowTotal());
    state.counters["arraysBuiltPerShow"] = double(built) / double(state.iterations());
}
BENCHMARK(BM_SelectAllAndShowFirstPage)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScrollToFarPage(benchmark::State& state)
{
    HexaTable& table = hexaTable();
    table.selectAll();
    QScrollBar* bar = table.view.verticalScrollBar();
    std::mt19937 random(11);
    const quint64 before = table.view.resultTableModel().valueArrayBuildCount();
    for (auto _ : state) {
        bar->setValue(int(random() % quint32(bar->maximum() + 1)));
        benchmark::DoNotOptimize(table.view.grab());
    }
    state.counters["arraysBuiltPerPage"]
        = double(table.view.resultTableModel().valueArrayBuildCount() - before)
        / double(state.iterations());
}
BENCHMARK(BM_ScrollToFarPage)->Unit(benchmark::kMillisecond);

void BM_RepaintSamePage(benchmark::State& state)
{
    HexaTable& table = hexaTable();
    table.view.grab();
    const quint64 before = table.view.resultTableModel().valueArrayBuildCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(table.view.grab());
    state.counters["arraysBuiltPerPaint"]
        = double(table.view.resultTableModel().valueArrayBuildCount() - before)
        / double(state.iterations());
}
BENCHMARK(BM_RepaintSamePage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedHexaTable.reset();
    return 0;
}
