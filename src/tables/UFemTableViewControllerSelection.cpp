#include "appkit/Notifier.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/window/UFemWindowController.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemTableViewController.h"

#include <QDebug>

#include <algorithm>

namespace {

QItemSelection rowSelection(const QAbstractItemModel& model, const std::vector<int>& sortedRows)
{
    QItemSelection selection;
    const int lastColumn = UFemCardTableModel::columnCountOfTable - 1;
    for (size_t first = 0; first < sortedRows.size();) {
        size_t last = first;
        while (last + 1 < sortedRows.size() && sortedRows[last + 1] == sortedRows[last] + 1)
            ++last;
        selection.select(
            model.index(sortedRows[first], 0), model.index(sortedRows[last], lastColumn));
        first = last + 1;
    }
    return selection;
}

} // namespace

// The window rows of the selected cards, ascending. Looking a card up in a filtered window is a
// search, so a large selection walks the window's cards once instead.
std::vector<int> UFemTableViewController::windowRowsOfSelectedCards()
{
    UFemWindowCardTable& cards = windowCardTable();
    const UFemCardVector& selected = windowController()->unsortedSelectedCardArray();
    const quint64 count = model_->cardCount();
    std::vector<int> rows;
    if (cards.hasFilter() && selected.size() > searchedSelectionLimit) {
        const UFemCardSet& selectedSet = windowController()->selectedCardSet();
        for (quint64 row = 0; row < count; ++row)
            if (selectedSet.contains(cards.cardAtIndex(row)))
                rows.push_back(int(row));
        return rows;
    }
    rows.reserve(selected.size());
    for (const UFemCardPtr& card : selected) {
        // Unfiltered, the window row is the model row, which the card keeps at hand.
        const quint64 row = cards.hasFilter() ? cards.indexOfCard(card) : card->cardRowIndex();
        if (row >= count || cards.cardAtIndex(row) != card) {
            qDebug() << "anIndex != NSNotFound, aCard in [aWindowController selectedCardArray] not "
                        "found.";
            continue;
        }
        rows.push_back(int(row));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Selects exactly the rows of the window's selected cards. A selection already equal is left
// alone, so that the view keeps its anchor for shift-clicks.
void UFemTableViewController::updateSelectionOnViewBySelectedCardSetManager()
{
    const std::vector<int> rows = windowRowsOfSelectedCards();
    const QList<int> current = cardTableViewOutlet_->selectedRowList();
    if (std::equal(rows.begin(), rows.end(), current.begin(), current.end()))
        return;
    cardTableViewOutlet_->selectionModel()->select(rowSelection(*model_, rows),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void UFemTableViewController::tableViewSelectionDidChange()
{
    if (doesRefuseSelectedCardArrayChangeFromTableView_ || windowController() == nullptr)
        return;
    UFemCardVector cards;
    for (const int row : cardTableViewOutlet_->selectedRowList())
        if (quint64(row) < model_->cardCount())
            cards.push_back(windowCardTable().cardAtIndex(quint64(row)));
    windowController()->setSelectedCardArray(cards);
}

void UFemTableViewController::selectRowAlone(quint64 row)
{
    cardTableViewOutlet_->selectRowRange(int(row), int(row));
}

// The window shows its cards in model order: the first with a model row at or after `modelRow`.
quint64 UFemTableViewController::windowRowAtOrAfterModelRow(quint64 modelRow)
{
    UFemWindowCardTable& cards = windowCardTable();
    const quint64 count = model_->cardCount();
    if (!cards.hasFilter())
        return modelRow < count ? modelRow : UFemNotFound;
    quint64 low = 0;
    quint64 high = count;
    while (low < high) {
        const quint64 middle = low + (high - low) / 2;
        if (cards.cardAtIndex(middle)->cardRowIndex() < modelRow)
            low = middle + 1;
        else
            high = middle;
    }
    return low < count ? low : UFemNotFound;
}

void UFemTableViewController::scrollRowToVisibleLastEditedCardWithDoesSelectLastEditedCard(
    bool doesSelect)
{
    const quint64 modelRow = dataController().lastEditedCardRowIndex();
    if (modelRow == UFemNotFound)
        return;
    const quint64 windowRow = modelRow < dataController().cardCount()
        ? windowRowAtOrAfterModelRow(modelRow)
        : UFemNotFound;
    if (windowRow != UFemNotFound) {
        cardTableViewOutlet_->scrollTo(model_->index(int(windowRow), 0));
        if (doesSelect)
            selectRowAlone(windowRow);
        return;
    }
    if (model_->cardCount() == 0)
        return;
    cardTableViewOutlet_->scrollTo(model_->index(int(model_->endRow()), 0));
    if (doesSelect)
        selectRowAlone(model_->cardCount() - 1);
}

quint64 UFemTableViewController::cardRowIndexToAddCard(UErrorPtr*)
{
    const QList<int> rows = cardTableViewOutlet_->selectedRowList();
    if (rows.isEmpty())
        return UFemNotFound;
    return model_->cardAtRow(quint64(rows.first())).cardRowIndex();
}

void UFemTableViewController::scrollToSelection()
{
    const QList<int> rows = cardTableViewOutlet_->selectedRowList();
    if (rows.isEmpty()) {
        Notifier::beep();
        return;
    }
    cardTableViewOutlet_->scrollTo(model_->index(rows.first(), 0));
}
