// Showing RestraintEquation cards in their form: one of 1,000 pairs into a fresh form (every pair
// row made), the same card again (rows made before are shown again), then a card of one pair after
// it. The form is on screen in a scrolled box of a window's size, as the card view shows it.
#include "OffscreenBenchmarkMain.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cards/UFemCardClasses.h"
#include "tables/forms/RestraintEquationFormViewController.h"
#include "tables/forms/UFemCardFormViewControllerDelegate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollArea>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

UFemCardTextColumns restraintEquationColumns(int pairCount)
{
    QString line = QStringLiteral("RestraintEquation , E1 , 1.5 , N0@TX ,");
    for (int pair = 0; pair < pairCount; ++pair)
        line += QStringLiteral(" %1 , N%2@RY ,").arg(pair + 2).arg(pair + 1);
    UFemCardTextColumns columns;
    UErrorPtr error;
    if (!columns.setCardString(line, &error))
        throw std::runtime_error("benchmark card does not read");
    return columns;
}

constexpr int boxWidth = 500;
constexpr int boxHeight = 700;

// Asks the form's new minimum size, as the card view does to size its window.
struct PlacingDelegate : UFemCardFormViewControllerDelegate {
    void reconnectCardFormViewWithCardFormViewController(UFemCardFormViewController& form) override
    {
        minimumHeight = form.cardFormViewMinSize().height();
    }
    int minimumHeight = 0;
};

struct ShownForm {
    ShownForm()
    {
        form.setDelegate(&delegate);
        box.setWidgetResizable(true);
        box.setWidget(form.cardFormView());
        box.resize(boxWidth, boxHeight);
        box.show();
        QApplication::processEvents();
    }
    ~ShownForm()
    {
        // The form keeps its view.
        box.takeWidget()->setParent(nullptr);
    }
    // The card shown and laid out, in seconds.
    double show(const UFemCardTextColumns& columns)
    {
        QElapsedTimer timer;
        timer.start();
        form.setCardTextColumns(columns);
        QApplication::processEvents();
        return double(timer.nsecsElapsed()) / 1.0e9;
    }
    PlacingDelegate delegate;
    RestraintEquationFormViewController form;
    QScrollArea box;
};

constexpr int manyPairs = 1000;

void BM_ShowManyPairsInFreshForm(benchmark::State& state)
{
    const UFemCardTextColumns many = restraintEquationColumns(manyPairs);
    for (auto _ : state) {
        ShownForm shown;
        state.SetIterationTime(shown.show(many));
    }
}
BENCHMARK(BM_ShowManyPairsInFreshForm)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_ShowManyPairsAgain(benchmark::State& state)
{
    const UFemCardTextColumns many = restraintEquationColumns(manyPairs);
    const UFemCardTextColumns one = restraintEquationColumns(1);
    ShownForm shown;
    shown.show(many);
    for (auto _ : state) {
        shown.show(one);
        state.SetIterationTime(shown.show(many));
    }
}
BENCHMARK(BM_ShowManyPairsAgain)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ShowOnePairAfterMany(benchmark::State& state)
{
    const UFemCardTextColumns many = restraintEquationColumns(manyPairs);
    const UFemCardTextColumns one = restraintEquationColumns(1);
    ShownForm shown;
    for (auto _ : state) {
        shown.show(many);
        state.SetIterationTime(shown.show(one));
    }
}
BENCHMARK(BM_ShowOnePairAfterMany)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, &UFemInstallCardClasses);
}
