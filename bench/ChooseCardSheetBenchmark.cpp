// The choose-card sheet of the model edit window over 10^5 cards of one name: opening it (the
// cards listed, the table made and shown), choosing 10^4 of them, and a change of the model while
// they are chosen (the list reloads and the chosen rows are selected again).
#include "OffscreenBenchmarkMain.h"
#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUndoManager.h"
#include "tables/modeledit/ModelEditWindowCardViewCardTableViewDataSource.h"
#include "tables/modeledit/ModelEditWindowChooseCardTableViewController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>

namespace {

constexpr int cardCount = 100000;
constexpr int chosenStride = 10;
constexpr int tableWidth = 480;
constexpr int tableHeight = 320;

struct SharedNameModel {
    SharedNameModel()
    {
        undo.setGroupsByEvent(false);
        data.setNotificationCenter(&center);
        data.setUndoManager(&undo);
        QString text = QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n");
        for (int i = 0; i < cardCount; ++i)
            text += QStringLiteral("Force , L1 , N1 ,  , %1 , 0 , 0 , 0 , 0 , 0 ,\n").arg(i);
        UErrorPtr error;
        if (!data.resetWithModelText(text, false, &error))
            throw std::runtime_error("benchmark model does not read");
        for (quint64 row = 1; row < data.numberOfCards(); ++row)
            cards.push_back(data.cardAtCardRowIndex(row));
    }
    UNotificationCenter center;
    UUndoManager undo;
    UFemDataController data;
    UFemCardVector cards;
};

SharedNameModel& sharedNameModel()
{
    static SharedNameModel model;
    return model;
}

double secondsSince(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1.0e9;
}

struct OpenSheet {
    // The open sheet, timed into `seconds`.
    explicit OpenSheet(SharedNameModel& model, double* seconds)
    {
        QElapsedTimer timer;
        timer.start();
        chooser.setDataController(&model.data);
        chooser.setTableCardArray(model.cards);
        table = std::make_unique<QTableView>();
        table->setSelectionMode(QAbstractItemView::ExtendedSelection);
        chooser.setTableView(table.get());
        table->resize(tableWidth, tableHeight);
        table->show();
        QApplication::processEvents();
        *seconds = secondsSince(timer);
    }
    ~OpenSheet() { chooser.setTableView(nullptr); }

    double choose()
    {
        QItemSelection selection;
        for (int row = 0; row < cardCount; row += chosenStride)
            selection.select(
                chooser.dataSource().index(row, 0), chooser.dataSource().index(row, 0));
        QElapsedTimer timer;
        timer.start();
        table->selectionModel()->select(
            selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QApplication::processEvents();
        return secondsSince(timer);
    }

    ModelEditWindowChooseCardTableViewController chooser;
    std::unique_ptr<QTableView> table;
};

void BM_OpenChooseSheet(benchmark::State& state)
{
    SharedNameModel& model = sharedNameModel();
    for (auto _ : state) {
        double seconds = 0;
        OpenSheet sheet(model, &seconds);
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_OpenChooseSheet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ChooseTenThousand(benchmark::State& state)
{
    SharedNameModel& model = sharedNameModel();
    double seconds = 0;
    OpenSheet sheet(model, &seconds);
    for (auto _ : state) {
        state.SetIterationTime(sheet.choose());
        if (sheet.chooser.selectedCardArray().size() != size_t(cardCount / chosenStride))
            throw std::runtime_error("the choice was not taken");
    }
}
BENCHMARK(BM_ChooseTenThousand)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ModelChangeKeepsTheChoice(benchmark::State& state)
{
    SharedNameModel& model = sharedNameModel();
    double seconds = 0;
    OpenSheet sheet(model, &seconds);
    sheet.choose();
    int value = 0;
    for (auto _ : state) {
        UErrorPtr error;
        QElapsedTimer timer;
        timer.start();
        model.undo.beginUndoGrouping();
        const bool modified = model.data.modifyCardAtIndex(0,
            QStringLiteral("Node , N1 ,  , %1 , 0 , 0 ,").arg(++value),
            UFemColumnSeparatingCharacterTypeComma, false, &error);
        model.undo.endUndoGrouping();
        if (!modified)
            throw std::runtime_error("the model change failed");
        QApplication::processEvents();
        state.SetIterationTime(secondsSince(timer));
        if (sheet.table->selectionModel()->selectedRows().size() != cardCount / chosenStride)
            throw std::runtime_error("the choice was lost");
    }
}
BENCHMARK(BM_ModelChangeKeepsTheChoice)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv, &UFemInstallCardClasses);
}
