// Showing RestraintEquation cards in their form: one of 1,000 pairs into a fresh form (every pair
// row made), the same card again (rows made before are shown again), then a card of one pair after
// it. The form is on screen and re-placed at its minimum size, as the card view does.
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cards/UFemCardClasses.h"
#include "tables/forms/RestraintEquationFormViewController.h"
#include "tables/forms/UFemCardFormViewControllerDelegate.h"

#include <QApplication>
#include <QElapsedTimer>
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

// Sizes the form's view to what it asks for, as the card view does.
struct PlacingDelegate : UFemCardFormViewControllerDelegate {
    void reconnectCardFormViewWithCardFormViewController(UFemCardFormViewController& form) override
    {
        form.cardFormView()->resize(form.cardFormViewMinSize());
    }
};

struct ShownForm {
    ShownForm()
    {
        form.setDelegate(&delegate);
        form.cardFormView()->show();
        QApplication::processEvents();
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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    UFemInstallCardClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
