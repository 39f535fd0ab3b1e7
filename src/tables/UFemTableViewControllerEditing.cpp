// Editing card strings: the overlay cell editor, the window's optional editor when the card
// string column is hidden, and the field editor hook the shared edit and find commands use.
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "tables/UFemCardTableModel.h"
#include "tables/UFemEscapeKeyFilter.h"
#include "tables/UFemTableViewController.h"

#include <QCoreApplication>

#include <utility>

void UFemTableViewController::postCardStringEditorShouldClose()
{
    dataController().modelNotificationCenter().post(UFemCardStringEditorShouldCloseNotification,
        &dataController(),
        { { UFemCardStringEditorSenderKeyTableViewController,
            QVariant::fromValue(quintptr(this)) } });
}

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

// What the cell shows: without the error tail while the error column shows it.
QString UFemTableViewController::cellEditorTextOfRow(quint64 row) const
{
    return model_->attributedStringOfCell(row, UFemCardTableModel::CardStringColumn).string;
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
    postCardStringEditorShouldClose();
    UErrorPtr error;
    bool isSameCard = true;
    if (!applyCardStringOfRow(row, cardString, true, &isSameCard, &error))
        presentError(error);
}

bool UFemTableViewController::applyCardStringOfRow(
    quint64 row, const QString& text, bool rereadsErrorCard, bool* isSameCard, UErrorPtr* error)
{
    UFemWindowCardTable& cards = windowCardTable();
    *isSameCard = false;
    if (row >= cards.count())
        return true;
    const UFemCardPtr card = cards.cardAtIndex(row);
    if (text == UFemCardString(*card) && !(rereadsErrorCard && card->isErrorCard())) {
        *isSameCard = true;
        return true;
    }
    const bool wasApplying = std::exchange(isApplyingCellEdit_, true);
    const quint64 modelRow = dataController().modifyCardOfCard(
        *card, text, UFemColumnSeparatingCharacterTypeComma, true, error);
    isApplyingCellEdit_ = wasApplying;
    if (modelRow == UFemNotFound)
        return false;
    // The card is made anew; the row may now show another card (a filter dropped the new one).
    *isSameCard = row < cards.count()
        && cards.cardAtIndex(row).get() == dataController().cardAtRowIndex(modelRow);
    return true;
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
        postCardStringEditorShouldClose();
        if (!applyCardStringOfRow(editedRow, text, false, &isSameCard, error)) {
            *row = UFemNotFound;
            return nullptr;
        }
    }
    if (!isSameCard)
        closeCellEditor();
    *row = editedRow;
    return doesClose || !isSameCard ? nullptr : cellEditor_;
}

QLineEdit* UFemTableViewController::optionalFieldEditor(
    quint64* row, bool doesApply, bool doesClose, UErrorPtr* error)
{
    UFemWindowController& window = *windowController();
    // The window's own selection: during its will-change the table may already show the next.
    const std::vector<int> rows = windowRowsOfSelectedCards();
    *row = UFemNotFound;
    if (rows.size() != 1) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QCoreApplication::translate("UFemTableViewController",
                    "Number of SelectedCard is not 1 when OptionalCardStringEditor Valid.")));
        return nullptr;
    }
    QLineEdit* field = window.optionalCardStringEditorTextField();
    const QString text = field->text();
    const bool wasDriving = std::exchange(isDrivingOptionalEditor_, true);
    window.setOptionalCardStringEditorValid_negativeForDisable(
        doesClose ? UFemEditorBoxInputInvalid : UFemEditorBoxInputDisable);
    postCardStringEditorShouldClose();
    bool isSameCard = true;
    const bool isApplied = !doesApply
        || applyCardStringOfRow(quint64(rows.front()), text, false, &isSameCard, error);
    if (!isSameCard)
        window.setOptionalCardStringEditorValid(false);
    const bool isOpen = !doesClose && isSameCard;
    if (isOpen)
        window.setOptionalCardStringEditorValid(true);
    isDrivingOptionalEditor_ = wasDriving;
    if (!isApplied)
        return nullptr;
    *row = quint64(rows.front());
    return isOpen ? field : nullptr;
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
    if (isApplyingCellEdit_ || isDrivingOptionalEditor_ || model_ == nullptr)
        return;
    UErrorPtr ignored;
    quint64 row = UFemNotFound;
    static_cast<void>(cardStringFieldEditor(&row, true, true, &ignored));
}

void UFemTableViewController::deactivateCardStringFieldEditorTemporary()
{
    if (cellEditorRow_ != UFemNotFound) {
        closeCellEditor();
    } else if (windowController()->isOptionalCardStringEditorValid()) {
        const bool wasDriving = std::exchange(isDrivingOptionalEditor_, true);
        windowController()->setOptionalCardStringEditorValid_negativeForDisable(
            UFemEditorBoxInputDisable);
        isDrivingOptionalEditor_ = wasDriving;
    }
}

void UFemTableViewController::connectOptionalCardStringEditor()
{
    QLineEdit* field = windowController()->ufemWindow().optionalCardStringEditorTextFieldOutlet;
    optionalEditorConnection_ = QObject::connect(field, &QLineEdit::editingFinished,
        cardTableViewOutlet_, [this] { optionalCardStringEditorDidEndEditing(); });
    // Esc leaves the optional editor without applying it.
    optionalEditorEscapeFilter_ = std::make_unique<UFemEscapeKeyFilter>(field, [this] {
        if (windowController() == nullptr || !windowController()->isOptionalCardStringEditorValid())
            return;
        const bool wasDriving = std::exchange(isDrivingOptionalEditor_, true);
        windowController()->setOptionalCardStringEditorValid(false);
        isDrivingOptionalEditor_ = wasDriving;
    });
}

void UFemTableViewController::optionalCardStringEditorDidEndEditing()
{
    if (isDrivingOptionalEditor_ || windowController() == nullptr
        || !windowController()->isOptionalCardStringEditorValid())
        return;
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
    UFemWindowController& window = *windowController();
    const bool wasDriving = std::exchange(isDrivingOptionalEditor_, true);
    window.setOptionalCardStringEditorValid(true);
    window.optionalCardStringEditorCardRowIndexTextField()->setText(
        QString::number(card.cardRowIndex() + 1));
    QLineEdit* field = window.optionalCardStringEditorTextField();
    field->setText(text);
    field->setFocus(Qt::OtherFocusReason);
    field->setSelection(int(first), int(last - first));
    isDrivingOptionalEditor_ = wasDriving;
}
