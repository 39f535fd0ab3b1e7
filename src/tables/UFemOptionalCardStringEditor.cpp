#include "tables/UFemOptionalCardStringEditor.h"

#include "appkit/SheetPresenter.h"
#include "cardmodel/card/UFemCardString.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "tables/UFemChangeApprovalKeyFilter.h"
#include "tables/UFemEscapeKeyFilter.h"
#include "tables/UFemRefusedEditReverter.h"

#include <QCoreApplication>
#include <QLineEdit>

#include <utility>

namespace {

// The field editor's delegate is kept on the field, which all views of the window share.
const char* const delegateProperty = "ufemFieldEditorDelegate";

} // namespace

UFemOptionalCardStringEditor::UFemOptionalCardStringEditor(
    UFemMainViewController& owner, QString senderKey, quintptr sender)
    : owner_(owner)
    , senderKey_(std::move(senderKey))
    , sender_(sender)
{
}

UFemOptionalCardStringEditor::~UFemOptionalCardStringEditor() = default;

UFemWindowController& UFemOptionalCardStringEditor::window() const
{
    return *owner_.windowController();
}

bool UFemOptionalCardStringEditor::isValid() const
{
    return owner_.windowController() != nullptr && window().isOptionalCardStringEditorValid();
}

void UFemOptionalCardStringEditor::connectDidEndEditing(
    QObject* context, std::function<void()> didEndEditing)
{
    didEndEditing_ = std::move(didEndEditing);
    QLineEdit* field = window().ufemWindow().optionalCardStringEditorTextFieldOutlet;
    connection_
        = QObject::connect(field, &QLineEdit::editingFinished, context, [this] { endEditing(); });
    escapeFilter_
        = std::make_unique<UFemEscapeKeyFilter>(field, [this] { closeWithoutApplying(); });
    changeFilter_
        = std::make_unique<UFemChangeApprovalKeyFilter>(field, [this] { return approvesChange(); });
    reverter_
        = std::make_unique<UFemRefusedEditReverter>(field, [this] { return approvesChange(); });
}

void UFemOptionalCardStringEditor::disconnect()
{
    QObject::disconnect(connection_);
    escapeFilter_.reset();
    changeFilter_.reset();
    reverter_.reset();
    didEndEditing_ = nullptr;
}

bool UFemOptionalCardStringEditor::isDelegate() const
{
    const QLineEdit* field = window().ufemWindow().optionalCardStringEditorTextFieldOutlet;
    return field->property(delegateProperty).value<quintptr>() == sender_;
}

void UFemOptionalCardStringEditor::endEditing()
{
    if (isBusy() || !isValid() || !isDelegate() || !didEndEditing_)
        return;
    didEndEditing_();
}

// Every view of the window watches the shared field; only the delegate answers.
bool UFemOptionalCardStringEditor::approvesChange() const
{
    if (!isValid() || !isDelegate())
        return true;
    const UErrorPtr locked = owner_.dataController().errorIfLocked();
    if (locked == nullptr)
        return true;
    if (SheetPresenter* sheets = window().sheetPresenter())
        sheets->presentError(owner_.window(), *locked);
    return false;
}

void UFemOptionalCardStringEditor::closeWithoutApplying()
{
    if (!isValid() || !isDelegate())
        return;
    const bool wasDriving = std::exchange(isDriving_, true);
    window().setOptionalCardStringEditorValid(false);
    isDriving_ = wasDriving;
}

void UFemOptionalCardStringEditor::postShouldClose()
{
    UFemDataController& data = owner_.dataController();
    data.modelNotificationCenter().post(UFemCardStringEditorShouldCloseNotification, &data,
        { { senderKey_, QVariant::fromValue(sender_) } });
}

bool UFemOptionalCardStringEditor::applyCardStringOfRow(
    quint64 row, const QString& text, bool rereadsErrorCard, bool* isSameCard, UErrorPtr* error)
{
    UFemWindowCardTable& cards = owner_.windowCardTable();
    *isSameCard = false;
    if (row >= cards.count())
        return true;
    const UFemCardPtr card = cards.cardAtIndex(row);
    if (text == UFemCardString(*card) && !(rereadsErrorCard && card->isErrorCard())) {
        *isSameCard = true;
        return true;
    }
    const bool wasApplying = std::exchange(isApplying_, true);
    UFemDataController& data = owner_.dataController();
    const quint64 modelRow
        = data.modifyCardOfCard(*card, text, UFemColumnSeparatingCharacterTypeComma, true, error);
    isApplying_ = wasApplying;
    if (modelRow == UFemNotFound)
        return false;
    // The card is made anew; the row may now show another card (a filter dropped the new one).
    *isSameCard
        = row < cards.count() && cards.cardAtIndex(row).get() == data.cardAtRowIndex(modelRow);
    return true;
}

QLineEdit* UFemOptionalCardStringEditor::fieldEditor(quint64 selectedCardCount, quint64 selectedRow,
    quint64* row, bool doesApply, bool doesClose, UErrorPtr* error)
{
    UFemWindowController& window = this->window();
    *row = UFemNotFound;
    if (selectedCardCount != 1) {
        UFemSetError(error,
            UFemUnexpectedError_withDescription(
                QCoreApplication::translate("UFemOptionalCardStringEditor",
                    "Number of SelectedCard is not 1 when OptionalCardStringEditor Valid.")));
        return nullptr;
    }
    QLineEdit* field = window.optionalCardStringEditorTextField();
    const QString text = field->text();
    const bool wasDriving = std::exchange(isDriving_, true);
    window.setOptionalCardStringEditorValid_negativeForDisable(
        doesClose ? UFemEditorBoxInputInvalid : UFemEditorBoxInputDisable);
    postShouldClose();
    bool isSameCard = true;
    const bool isApplied
        = !doesApply || applyCardStringOfRow(selectedRow, text, false, &isSameCard, error);
    if (!isSameCard)
        window.setOptionalCardStringEditorValid(false);
    const bool isOpen = !doesClose && isSameCard;
    if (isOpen)
        window.setOptionalCardStringEditorValid(true);
    isDriving_ = wasDriving;
    if (!isApplied)
        return nullptr;
    *row = selectedRow;
    return isOpen ? field : nullptr;
}

void UFemOptionalCardStringEditor::deactivateTemporary()
{
    if (!isValid())
        return;
    const bool wasDriving = std::exchange(isDriving_, true);
    window().setOptionalCardStringEditorValid_negativeForDisable(UFemEditorBoxInputDisable);
    isDriving_ = wasDriving;
}

void UFemOptionalCardStringEditor::open(
    const UFemCard& card, const QString& text, quint64 first, quint64 last)
{
    UFemWindowController& window = this->window();
    const bool wasDriving = std::exchange(isDriving_, true);
    window.setOptionalCardStringEditorValid(true);
    window.optionalCardStringEditorCardRowIndexTextField()->setText(
        QString::number(card.cardRowIndex() + 1));
    QLineEdit* field = window.optionalCardStringEditorTextField();
    field->setProperty(delegateProperty, QVariant::fromValue(sender_));
    field->setText(text);
    if (reverter_)
        reverter_->setApprovedText(text);
    field->setFocus(Qt::OtherFocusReason);
    field->setSelection(int(first), int(last - first));
    isDriving_ = wasDriving;
}
