// The find panel on a card table window over 10^6 Node cards: find next from the panel when the
// only hit is the last card (the search walks every card), and replace all of 10^5 hits (every
// tenth card's comment) as one model change. Reading the model text and opening the window is
// the baseline measured in the same run.
#include "CardTableWindowBench.h"
#include "OffscreenBenchmarkMain.h"

#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "platform/UUndoManager.h"
#include "tables/UFemFindPanelController.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

constexpr int cardCount = 1000000;
constexpr int markEvery = 10;

QString markedModelText()
{
    QString text;
    text.reserve(qsizetype(cardCount) * 40);
    for (int i = 0; i + 1 < cardCount; ++i)
        text += QStringLiteral("Node , N%1 ,  , %2 , 0 , 0 ,%3\n")
                    .arg(i)
                    .arg(i)
                    .arg(i % markEvery == 0 ? QStringLiteral(" \\ mark") : QString());
    text += QStringLiteral("Node , LAST ,  , 0 , 1 , 0 ,\n");
    return text;
}

struct PanelOnWindow {
    PanelOnWindow()
        : window(markedModelText())
        , panel(window.harness->tracker)
    {
        UFemFindPanel::setShared(&panel);
        window.harness->tracker.windowDidActivate(window.harness->window);
        panel.loadWindow();
    }
    ~PanelOnWindow() { UFemFindPanel::setShared(nullptr); }

    CardTableWindowBench window;
    UFemFindPanelController panel;
};

// Made on first use, gone before the application object.
std::unique_ptr<PanelOnWindow> sharedPanelOnWindow;

PanelOnWindow& panelOnWindow()
{
    if (!sharedPanelOnWindow)
        sharedPanelOnWindow = std::make_unique<PanelOnWindow>();
    return *sharedPanelOnWindow;
}

void BM_FindNextOnlyTheLastCard(benchmark::State& state)
{
    PanelOnWindow& setup = panelOnWindow();
    UFemTableViewController& table = *setup.window.controller;
    setup.panel.setSearchString(QStringLiteral("LAST"));
    for (auto _ : state) {
        UErrorPtr error;
        table.deselectSearchCardStringRange(&error);
        setup.window.harness->finishEventTurn();
        state.SetIterationTime(CardTableWindowBench::millisecondsOf([&] {
            setup.panel.performFindCommand(QStringLiteral("findNext:"));
        }) / 1.0e3);
        if (table.cellEditorRow() != cardCount - 1)
            throw std::runtime_error("the last card was not found");
    }
    state.counters["openMs"] = setup.window.openMilliseconds;
}
BENCHMARK(BM_FindNextOnlyTheLastCard)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

void BM_ReplaceAllTenToTheFifthHits(benchmark::State& state)
{
    PanelOnWindow& setup = panelOnWindow();
    WindowHarness& harness = *setup.window.harness;
    setup.window.controller->applyAndCloseCardStringFieldEditor();
    setup.panel.setSearchString(QStringLiteral("mark"));
    setup.panel.window()
        ->findChild<QComboBox*>("replaceStringComboBoxOutlet")
        ->setCurrentText(QStringLiteral("MARK"));
    UNotificationCenter* center = harness.model().notificationCenter();
    int changes = 0;
    const UNotificationObservation counting
        = (center != nullptr ? *center : UNotificationCenter::defaultCenter())
              .observe(UFemModelDataDidChangeNotification, &harness.model(),
                  [&changes](const UNotification&) { ++changes; });
    for (auto _ : state) {
        changes = 0;
        state.SetIterationTime(CardTableWindowBench::millisecondsOf([&] {
            setup.panel.performFindCommand(QStringLiteral("replaceAll:"));
            harness.finishEventTurn();
        }) / 1.0e3);
        const QString message
            = setup.panel.window()->findChild<QLabel*>("replaceAllMessageTextFieldOutlet")->text();
        if (message != QStringLiteral("%1 replaced").arg(cardCount / markEvery) || changes != 1)
            throw std::runtime_error("replace all did not replace every mark at once");
        harness.document->undoManager().undo();
        harness.finishEventTurn();
    }
    state.counters["modelChanges"] = changes;
}
BENCHMARK(BM_ReplaceAllTenToTheFifthHits)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, {}, [] { sharedPanelOnWindow.reset(); });
}
