// Editing card strings: the overlay cell editor, the window's optional editor when the card
// string column is hidden, and the field editor hook the shared edit and find commands use.
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/window/UFemWindowController.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemTableViewController.h"

void UFemTableViewController::cardTableViewEditCardStringOfRow(quint64 row)
{
    if (UErrorPtr locked = dataController().errorIfLocked()) {
        presentError(locked);
        return;
    }
    if (row >= model_->cardCount())
        return;
    beginCellEditing(row, 0, cellEditorTextOfRow(row).size());
}

// The whole line, not the cell's excerpt: without the error tail while the error column shows it.
QString UFemTableViewController::cellEditorTextOfRow(quint64 row) const
{
    return model_->cardStringOfRow(row);
}

void UFemTableViewController::beginCellEditing(quint64 row, qsizetype start, qsizetype end)
{
    const QModelIndex index = model_->index(int(row), UFemCardTableModel::CardStringColumn);
    cardTableViewOutlet_->scrollTo(index);
    cellEditorRow_ = row;
    cellEditor_->beginSession(cellEditorTextOfRow(row), start, end);
    cardTableViewUpdateEditorGeometry();
    cellEditor_->show();
    cellEditor_->setFocus(Qt::OtherFocusReason);
}

void UFemTableViewController::cardTableViewUpdateEditorGeometry()
{
    if (cellEditorRow_ == UFemNotFound)
        return;
    cellEditor_->setGeometry(cardTableViewOutlet_->visualRect(
        model_->index(int(cellEditorRow_), UFemCardTableModel::CardStringColumn)));
}

// Forgets the row first: hiding the focused editor ends its editing once more.
void UFemTableViewController::closeCellEditor()
{
    if (cellEditorRow_ == UFemNotFound)
        return;
    cellEditorRow_ = UFemNotFound;
    const bool hadFocus = cellEditor_->hasFocus();
    cellEditor_->hide();
    if (hadFocus)
        cardTableViewOutlet_->setFocus(Qt::OtherFocusReason);
}

void UFemTableViewController::endCellEditing(UFemCardStringCellEditor::Ending ending)
{
    using Ending = UFemCardStringCellEditor::Ending;
    const quint64 row = cellEditorRow_;
    if (row == UFemNotFound)
        return;
    const QString text = cellEditor_->text();
    closeCellEditor();
    cardTableViewOutlet_->setFocus(Qt::OtherFocusReason);
    if (ending == Ending::Abort)
        return;
    tableViewSetObjectValue(row, text);
    const quint64 count = model_->cardCount();
    if (count == 0
        || (ending != Ending::ApplyAndSelectNextRow && ending != Ending::ApplyAndSelectPreviousRow))
        return;
    const quint64 target = ending == Ending::ApplyAndSelectNextRow
        ? qMin(row + 1, count - 1)
        : (row == 0 ? 0 : qMin(row - 1, count - 1));
    selectRowAlone(target);
    const QModelIndex index = model_->index(int(target), 0);
    cardTableViewOutlet_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    cardTableViewOutlet_->scrollTo(index);
}

void UFemTableViewController::tableViewSetObjectValue(quint64 row, const QString& cardString)
{
    optionalEditor_.postShouldClose();
    UErrorPtr error;
    bool isSameCard = true;
    if (!optionalEditor_.applyCardStringOfRow(row, cardString, true, &isSameCard, &error))
        presentError(error);
}

QLineEdit* UFemTableViewController::cellFieldEditor(
    quint64* row, bool doesApply, bool doesClose, UErrorPtr* error)
{
    const quint64 editedRow = cellEditorRow_;
    const QString text = cellEditor_->text();
    if (doesClose)
        closeCellEditor();
    bool isSameCard = true;
    if (doesApply) {
        optionalEditor_.postShouldClose();
        if (!optionalEditor_.applyCardStringOfRow(editedRow, text, false, &isSameCard, error)) {
            *row = UFemNotFound;
            return nullptr;
        }
    }
    if (!isSameCard)
        closeCellEditor();
    *row = editedRow;
    return doesClose || !isSameCard ? nullptr : cellEditor_;
}

// The window's own selection: during its will-change the table may already show the next.
QLineEdit* UFemTableViewController::optionalFieldEditor(
    quint64* row, bool doesApply, bool doesClose, UErrorPtr* error)
{
    const std::vector<int> rows = windowRowsOfSelectedCards();
    const quint64 selectedRow = rows.empty() ? UFemNotFound : quint64(rows.front());
    return optionalEditor_.fieldEditor(rows.size(), selectedRow, row, doesApply, doesClose, error);
}

QLineEdit* UFemTableViewController::cardStringFieldEditor(quint64* editedRow,
    bool doesApplyFieldEditorChange, bool doesCloseFieldEditor, UErrorPtr* error)
{
    quint64 row = UFemNotFound;
    QLineEdit* editor = nullptr;
    if (cellEditorRow_ != UFemNotFound)
        editor = cellFieldEditor(&row, doesApplyFieldEditorChange, doesCloseFieldEditor, error);
    else if (windowController()->isOptionalCardStringEditorValid())
        editor = optionalFieldEditor(&row, doesApplyFieldEditorChange, doesCloseFieldEditor, error);
    if (editor == nullptr && row != UFemNotFound) {
        if (row < windowCardTable().count()) {
            selectRowAlone(row);
        } else {
            cardTableViewOutlet_->clearSelection();
            row = UFemNotFound;
        }
    }
    if (editedRow != nullptr)
        *editedRow = row;
    return editor;
}

void UFemTableViewController::applyAndCloseCardStringFieldEditor()
{
    if (optionalEditor_.isBusy() || model_ == nullptr)
        return;
    UErrorPtr ignored;
    quint64 row = UFemNotFound;
    static_cast<void>(cardStringFieldEditor(&row, true, true, &ignored));
}

void UFemTableViewController::deactivateCardStringFieldEditorTemporary()
{
    if (cellEditorRow_ != UFemNotFound)
        closeCellEditor();
    else
        optionalEditor_.deactivateTemporary();
}

void UFemTableViewController::optionalCardStringEditorDidEndEditing()
{
    UErrorPtr error;
    quint64 row = UFemNotFound;
    static_cast<void>(cardStringFieldEditor(&row, true, true, &error));
    presentError(error);
}

// Offsets past the editor's text (a search may count an error tail the editor lacks) end at it.
void UFemTableViewController::selectCharacterRangeOfRow(quint64 row, quint64 start, quint64 end)
{
    UFemCard& card = model_->cardAtRow(row);
    const bool isInCell = cardTableViewOutlet_->isCardStringColumnActive();
    const QString text = isInCell ? cellEditorTextOfRow(row) : UFemCardString(card);
    const auto length = quint64(text.size());
    const quint64 first = start == UFemRangeNotFound ? 0 : qMin(start, length);
    const quint64 last = qMax(first, end == UFemRangeNotFound ? length : qMin(end, length));
    selectRowAlone(row);
    cardTableViewOutlet_->scrollTo(model_->index(int(row), 0));
    if (isInCell) {
        beginCellEditing(row, qsizetype(first), qsizetype(last));
        return;
    }
    optionalEditor_.open(card, text, first, last);
}
