// The find hooks of the card table: search ranges are rows, or characters of one row's card
// string shown in the cell editor (or the window's optional editor).
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemTableViewController.h"

#include <QCoreApplication>

namespace {

qsizetype selectionStartOf(const QLineEdit& editor)
{
    return editor.hasSelectedText() ? editor.selectionStart() : editor.cursorPosition();
}

qsizetype selectionEndOf(const QLineEdit& editor)
{
    return editor.hasSelectedText() ? editor.selectionEnd() : editor.cursorPosition();
}

} // namespace

_UFemSearchCardStringRange UFemTableViewController::selectedSearchCardStringRange(UErrorPtr* error)
{
    quint64 row = UFemNotFound;
    UErrorPtr failure;
    const QLineEdit* editor = cardStringFieldEditor(&row, true, false, &failure);
    if (failure != nullptr) {
        UFemSetError(error, failure);
        return {};
    }
    if (editor != nullptr)
        return { row, quint64(selectionStartOf(*editor)), row, quint64(selectionEndOf(*editor)) };
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
    const bool wholeRows = range.startStringLocation == UFemRangeNotFound
        && range.endStringLocation == UFemRangeNotFound;
    if (range.startCardIndex != range.endCardIndex && !wholeRows) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QCoreApplication::translate("UFemTableViewController",
                    "Multi-Row String Range selection. ( Not supported. )")));
        return false;
    }
    deactivateCardStringFieldEditorTemporary();
    if (range.startCardIndex == UFemRangeNotFound) {
        quint64 row = UFemNotFound;
        UErrorPtr failure;
        static_cast<void>(cardStringFieldEditor(&row, true, true, &failure));
        if (failure != nullptr) {
            UFemSetError(error, failure);
            return false;
        }
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
    quint64 row = UFemNotFound;
    UErrorPtr failure;
    static_cast<void>(cardStringFieldEditor(&row, true, false, &failure));
    if (failure != nullptr) {
        UFemSetError(error, failure);
        return false;
    }
    cardTableViewOutlet_->clearSelection();
    return true;
}

_UFemSearchCardStringRange UFemTableViewController::replaceSelectedSearchCardStringRange(
    const QString& replaceString, bool* isReplaced, UErrorPtr* error)
{
    *isReplaced = false;
    if (UErrorPtr locked = dataController().errorIfLocked()) {
        UFemSetError(error, locked);
        return {};
    }
    quint64 row = UFemNotFound;
    UErrorPtr failure;
    QLineEdit* editor = cardStringFieldEditor(&row, false, false, &failure);
    if (failure != nullptr || editor == nullptr) {
        if (failure != nullptr)
            UFemSetError(error, failure);
        return {};
    }
    const qsizetype start = selectionStartOf(*editor);
    editor->insert(replaceString);
    editor->setSelection(int(start), int(replaceString.size()));
    const quint64 editedRow = row;
    const QLineEdit* stillOpen = cardStringFieldEditor(&row, true, false, &failure);
    if (failure != nullptr) {
        UFemSetError(error, failure);
        return {};
    }
    *isReplaced = true;
    if (stillOpen == nullptr)
        return { editedRow, UFemRangeNotFound, editedRow, UFemRangeNotFound };
    return { editedRow, quint64(start), editedRow, quint64(start + replaceString.size()) };
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
