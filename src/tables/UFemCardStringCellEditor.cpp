#include "tables/UFemCardStringCellEditor.h"

#include "tables/UFemChangeApprovalKeyFilter.h"

#include <QKeyEvent>

#include <limits>

UFemCardStringCellEditor::UFemCardStringCellEditor(QWidget* parent)
    : QLineEdit(parent)
{
    setObjectName(QStringLiteral("cardStringCellEditor"));
    setFrame(false);
    // QLineEdit cuts its text at 32767 characters by default, and the cut line would be applied.
    setMaxLength(std::numeric_limits<int>::max());
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
    return QLineEdit::event(event);
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
    QLineEdit::keyPressEvent(event);
}

// A sheet or menu taking the focus for a while is no end of editing.
void UFemCardStringCellEditor::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (isEditing() && event->reason() != Qt::ActiveWindowFocusReason
        && event->reason() != Qt::PopupFocusReason)
        end(Ending::Apply);
}
