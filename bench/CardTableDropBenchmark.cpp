// The card view of a document window over 10^6 Node cards: moving 10^4 cards spread over the
// whole model by one drop (one removal and one insert, one undo step), undoing that move, and one
// in-place apply of an edited card string. Reading the model text is the baseline measured in
// the same run.
#include "CardTableWindowBench.h"
#include "OffscreenBenchmarkMain.h"

#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "platform/UUndoManager.h"

#include <QApplication>
#include <QLineEdit>
#include <QMimeData>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int cardCount = 1000000;
constexpr int movedCount = 10000;
constexpr int dropRow = cardCount / 2;
constexpr quint64 editedRow = 700000;

QString nodeModelText()
{
    QString text;
    text.reserve(qsizetype(cardCount) * 36);
    for (int i = 0; i < cardCount; ++i)
        text += QStringLiteral("Node , N%1 ,  , %2 , 0 , 0 ,\n").arg(i).arg(double(i) * 0.25);
    return text;
}

// Made on first use, gone before the application object.
std::unique_ptr<CardTableWindowBench> sharedCardWindow;

CardTableWindowBench& cardWindow()
{
    if (!sharedCardWindow)
        sharedCardWindow = std::make_unique<CardTableWindowBench>(nodeModelText());
    return *sharedCardWindow;
}

// Every hundredth card, dropped above the middle row; undone again so each round starts alike.
void BM_MoveByDropAndUndo(benchmark::State& state)
{
    CardTableWindowBench& window = cardWindow();
    QList<int> rows;
    for (int k = 0; k < movedCount; ++k)
        rows.append(k * (cardCount / movedCount));
    double moveMs = 0;
    double undoMs = 0;
    for (auto _ : state) {
        const std::unique_ptr<QMimeData> data = window.controller->mimeDataForRows(rows);
        moveMs += CardTableWindowBench::millisecondsOf([&] {
            if (!window.controller->acceptDrop(*data, dropRow, false, Qt::MoveAction))
                throw std::runtime_error("the move was refused");
            window.harness->finishEventTurn();
        });
        undoMs += CardTableWindowBench::millisecondsOf([&] {
            window.harness->document->undoManager().undo();
            window.harness->finishEventTurn();
        });
    }
    const auto rounds = double(state.iterations());
    state.counters["moveMs"] = moveMs / rounds;
    state.counters["undoMs"] = undoMs / rounds;
    state.counters["moveToOpen"] = moveMs / rounds / window.openMilliseconds;
    state.counters["openMs"] = window.openMilliseconds;
}
BENCHMARK(BM_MoveByDropAndUndo)->Unit(benchmark::kMillisecond)->Iterations(3);

// The cell editor stays open; each round applies a changed coordinate without closing it.
void BM_InPlaceApply(benchmark::State& state)
{
    CardTableWindowBench& window = cardWindow();
    UErrorPtr error;
    if (!window.controller->selectSearchCardStringRange({ editedRow, 0, editedRow, 0 }, &error))
        throw std::runtime_error("the editor did not open");
    QLineEdit* editor = window.controller->cellEditor();
    int round = 0;
    for (auto _ : state) {
        editor->setText(QStringLiteral("Node , N%1 ,  , %2 , 1 , 0 ,").arg(editedRow).arg(++round));
        quint64 row = UFemNotFound;
        if (window.controller->cardStringFieldEditor(&row, true, false, &error) == nullptr)
            throw std::runtime_error("the editor closed");
    }
    window.controller->applyAndCloseCardStringFieldEditor();
}
BENCHMARK(BM_InPlaceApply)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, {}, [] { sharedCardWindow.reset(); });
}
