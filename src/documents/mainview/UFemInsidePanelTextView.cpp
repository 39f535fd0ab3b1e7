#include "documents/mainview/UFemInsidePanelTextView.h"

#include "appkit/Notifier.h"

#include <QKeyEvent>
#include <QPushButton>

UFemInsidePanelTextView::UFemInsidePanelTextView(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

void UFemInsidePanelTextView::keyPressEvent(QKeyEvent* event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isReturn) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    insertNewline();
}

void UFemInsidePanelTextView::insertNewline()
{
    for (QPushButton* button : window()->findChildren<QPushButton*>()) {
        if (button->isDefault() && button->isEnabled()) {
            button->click();
            return;
        }
    }
    Notifier::beep();
}
