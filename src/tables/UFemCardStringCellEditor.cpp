#include "tables/UFemCardStringCellEditor.h"

#include "tables/UFemChangeApprovalKeyFilter.h"

#include <QKeyEvent>

UFemCardStringCellEditor::UFemCardStringCellEditor(QWidget* parent)
    : WholeTextField(parent)
{
    setObjectName(QStringLiteral("cardStringCellEditor"));
    setFrame(false);
    hide();
}

void UFemCardStringCellEditor::beginSession(const QString& text, qsizetype start, qsizetype end)
{
    isChangeApproved_ = false;
    setText(text);
    setSelection(int(start), int(end - start));
}

void UFemCardStringCellEditor::end(Ending ending)
{
    if (endingHandler_)
        endingHandler_(ending);
}

// Tab and Backtab would otherwise move the focus before the key reaches keyPressEvent.
bool UFemCardStringCellEditor::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
        if (key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && shift)) {
            end(Ending::ApplyAndSelectPreviousRow);
            return true;
        }
        if (key->key() == Qt::Key_Tab) {
            end(Ending::ApplyAndSelectNextRow);
            return true;
        }
    }
    return WholeTextField::event(event);
}

bool UFemCardStringCellEditor::approvesChange(const QKeyEvent& event)
{
    if (isChangeApproved_ || !changeApproval_)
        return true;
    if (!UFemChangeApprovalKeyFilter::isChangingKey(event))
        return true;
    isChangeApproved_ = changeApproval_();
    return isChangeApproved_;
}

void UFemCardStringCellEditor::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        end(Ending::Abort);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        end(Ending::Apply);
        return;
    default:
        break;
    }
    if (!approvesChange(*event))
        return;
    WholeTextField::keyPressEvent(event);
}

// A sheet or menu taking the focus for a while is no end of editing.
void UFemCardStringCellEditor::focusOutEvent(QFocusEvent* event)
{
    WholeTextField::focusOutEvent(event);
    if (isEditing() && event->reason() != Qt::ActiveWindowFocusReason
        && event->reason() != Qt::PopupFocusReason)
        end(Ending::Apply);
}
