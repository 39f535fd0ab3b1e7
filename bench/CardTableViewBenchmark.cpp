// The card table over 10^6 cards beside one over 10^3: opening (model, view, first painted page),
// jumping the scroll bar to far pages, and a reload with its repaint (what every selection or
// model change costs). With no per-row work beyond the shown rows the two sizes cost the same.
#include "OffscreenBenchmarkMain.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "cards/UFemCardClasses.h"
#include "tables/UFemCardTableCellDelegate.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemCardTableView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <stdexcept>

namespace {

constexpr int viewWidth = 1200;
constexpr int viewHeight = 800;

// A model of `count` cards: nodes, every hundredth line commented, every thousandth unreadable.
struct CardModel {
    explicit CardModel(quint64 count)
    {
        QString text;
        text.reserve(qsizetype(count) * 40);
        for (quint64 i = 0; i < count; ++i) {
            if (i % 1000 == 999)
                text += QStringLiteral("Bogus , B%1 , 1 ,\n").arg(i);
            else
                text += QStringLiteral("Node , N%1 ,  , %2 , 0 , 0 ,%3\n")
                            .arg(i)
                            .arg(double(i) * 0.5)
                            .arg(i % 100 == 0 ? QStringLiteral(" \\ row %1").arg(i) : QString());
        }
        UErrorPtr error;
        QElapsedTimer timer;
        timer.start();
        if (!data.resetWithModelText(text, true, &error))
            throw std::runtime_error("benchmark model does not read");
        readMilliseconds = double(timer.nsecsElapsed()) / 1.0e6;
        cards = std::make_unique<UFemWindowCardTable>(data);
    }

    UFemDataController data;
    std::unique_ptr<UFemWindowCardTable> cards;
    // Reading the model text, for scale: the table's own opening comes on top of it.
    double readMilliseconds = 0;
};

CardModel& modelOfSize(quint64 count)
{
    static std::map<quint64, std::unique_ptr<CardModel>> models;
    auto& model = models[count];
    if (!model)
        model = std::make_unique<CardModel>(count);
    return *model;
}

struct OpenTable {
    explicit OpenTable(CardModel& cardModel)
        : model(*cardModel.cards)
    {
        view.setItemDelegate(new UFemCardTableCellDelegate(&view));
        view.setCardTableModel(&model);
        view.setErrorStringColumnActive(true);
        view.resize(viewWidth, viewHeight);
        view.show();
        view.viewport()->grab();
    }

    UFemCardTableModel model;
    UFemCardTableView view;
};

void BM_OpenTable(benchmark::State& state)
{
    CardModel& cardModel = modelOfSize(quint64(state.range(0)));
    for (auto _ : state) {
        OpenTable table(cardModel);
        benchmark::DoNotOptimize(table.model.rowCount());
    }
    state.counters["modelReadMs"] = cardModel.readMilliseconds;
}
BENCHMARK(BM_OpenTable)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScrollToFarPage(benchmark::State& state)
{
    OpenTable table(modelOfSize(quint64(state.range(0))));
    QScrollBar& bar = *table.view.verticalScrollBar();
    std::mt19937 random(7);
    std::uniform_int_distribution<int> page(0, bar.maximum());
    for (auto _ : state) {
        bar.setValue(page(random));
        table.view.viewport()->grab();
    }
}
BENCHMARK(BM_ScrollToFarPage)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_ReloadAndRepaint(benchmark::State& state)
{
    OpenTable table(modelOfSize(quint64(state.range(0))));
    table.view.verticalScrollBar()->setValue(table.view.verticalScrollBar()->maximum() / 2);
    for (auto _ : state) {
        table.model.reload();
        table.view.viewport()->grab();
    }
}
BENCHMARK(BM_ReloadAndRepaint)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, &UFemInstallCardClasses);
}
