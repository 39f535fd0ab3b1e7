// The find hooks of the card table: search ranges are rows, or characters of one row's card
// string shown in the cell editor (or the window's optional editor).
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemTableViewController.h"

_UFemSearchCardStringRange UFemTableViewController::selectedSearchCardStringRange(UErrorPtr* error)
{
    _UFemSearchCardStringRange edited;
    if (getEditedSearchCardStringRange(&edited, error))
        return edited;
    const std::vector<int> rows = windowRowsOfSelectedCards();
    if (rows.empty())
        return {};
    std::size_t last = 0;
    while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1)
        ++last;
    return { quint64(rows.front()), UFemRangeNotFound, quint64(rows[last]), UFemRangeNotFound };
}

bool UFemTableViewController::selectSearchCardStringRange(
    const _UFemSearchCardStringRange& range, UErrorPtr* error)
{
    if (!isSelectableSearchCardStringRange(range, error))
        return false;
    const bool wholeRows = range.startStringLocation == UFemRangeNotFound
        && range.endStringLocation == UFemRangeNotFound;
    deactivateCardStringFieldEditorTemporary();
    if (range.startCardIndex == UFemRangeNotFound) {
        if (!applyCardStringFieldEditor(true, error))
            return false;
        cardTableViewOutlet_->clearSelection();
        return true;
    }
    const quint64 count = model_->cardCount();
    if (count == 0 || range.startCardIndex >= count)
        return true;
    if (wholeRows) {
        const quint64 last = qMin(range.endCardIndex, count - 1);
        cardTableViewOutlet_->selectRowRange(int(range.startCardIndex), int(last));
        cardTableViewOutlet_->scrollTo(model_->index(int(range.startCardIndex), 0));
        return true;
    }
    selectCharacterRangeOfRow(
        range.startCardIndex, range.startStringLocation, range.endStringLocation);
    return true;
}

bool UFemTableViewController::deselectSearchCardStringRange(UErrorPtr* error)
{
    if (!applyCardStringFieldEditor(false, error))
        return false;
    cardTableViewOutlet_->clearSelection();
    return true;
}

void UFemTableViewController::cardTableViewDoubleClicked(const QModelIndex& index)
{
    UErrorPtr error;
    if (index.isValid() && quint64(index.row()) < model_->cardCount()) {
        const auto row = quint64(index.row());
        const auto length = quint64(UFemCardString(model_->cardAtRow(row)).size());
        if (!selectSearchCardStringRange({ row, 0, row, length }, &error))
            presentError(error);
        return;
    }
    if (!deselectSearchCardStringRange(&error))
        presentError(error);
}
