#include "appkit/Notifier.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "tables/UFemCardTableCellDelegate.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemTableViewController.h"

#include <QDebug>

#include <algorithm>
#include <utility>

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

_UFemSearchCardStringRange UFemTableViewController::selectedSearchCardStringRange(UErrorPtr*)
{
    const QList<int> rows = cardTableViewOutlet_->selectedRowList();
    if (rows.isEmpty())
        return {};
    qsizetype last = 0;
    while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1)
        ++last;
    return { quint64(rows.first()), UFemRangeNotFound, quint64(rows[last]), UFemRangeNotFound };
}

bool UFemTableViewController::selectSearchCardStringRange(
    const _UFemSearchCardStringRange& range, UErrorPtr* error)
{
    const bool wholeRows = range.startStringLocation == UFemRangeNotFound
        && range.endStringLocation == UFemRangeNotFound;
    if (range.startCardIndex != range.endCardIndex && !wholeRows) {
        *error = UFemUnexpectedError_withDescription(
            QStringLiteral("Multi-Row String Range selection. ( Not supported. )"));
        return false;
    }
    if (range.startCardIndex == UFemRangeNotFound) {
        applyAndCloseCardStringFieldEditor();
        cardTableViewOutlet_->clearSelection();
        return true;
    }
    const quint64 last = qMin(range.endCardIndex, model_->cardCount() - 1);
    if (range.startCardIndex > last)
        return true;
    cardTableViewOutlet_->selectRowRange(int(range.startCardIndex), int(last));
    cardTableViewOutlet_->scrollTo(model_->index(int(range.startCardIndex), 0));
    return true;
}

// Without an open card string editor there is nothing to replace in.
_UFemSearchCardStringRange UFemTableViewController::replaceSelectedSearchCardStringRange(
    const QString&, bool* isReplaced, UErrorPtr* error)
{
    *isReplaced = false;
    if (UErrorPtr locked = dataController().errorIfLocked())
        *error = std::move(locked);
    return {};
}

void UFemTableViewController::cardTableViewDoubleClicked(const QModelIndex& index)
{
    UErrorPtr error;
    _UFemSearchCardStringRange range;
    if (index.isValid() && quint64(index.row()) < model_->cardCount()) {
        const quint64 row = quint64(index.row());
        range = { row, 0, row, quint64(UFemCardString(model_->cardAtRow(row)).size()) };
    }
    if (!selectSearchCardStringRange(range, &error))
        presentError(error);
}

void UFemTableViewController::cardTableViewEditCardStringOfRow(quint64 row)
{
    if (UErrorPtr locked = dataController().errorIfLocked()) {
        presentError(locked);
        return;
    }
    cardTableViewOutlet_->edit(model_->index(int(row), UFemCardTableModel::CardStringColumn));
}

void UFemTableViewController::tableViewSetObjectValue(quint64 row, const QString& cardString)
{
    if (row >= model_->cardCount())
        return;
    UFemCard& card = model_->cardAtRow(row);
    if (cardString == UFemCardString(card) && !card.isErrorCard())
        return;
    UErrorPtr error;
    const bool wasApplying = std::exchange(isApplyingCellEdit_, true);
    dataController().modifyCardOfCard(
        card, cardString, UFemColumnSeparatingCharacterTypeComma, true, &error);
    isApplyingCellEdit_ = wasApplying;
    if (error != nullptr)
        presentError(error);
}

void UFemTableViewController::applyAndCloseCardStringFieldEditor()
{
    if (cellDelegate_ != nullptr && !isApplyingCellEdit_)
        cellDelegate_->applyAndCloseEditor();
}
