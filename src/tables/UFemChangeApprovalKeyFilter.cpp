#include "tables/UFemChangeApprovalKeyFilter.h"

#include <QKeyEvent>
#include <QKeySequence>

UFemChangeApprovalKeyFilter::UFemChangeApprovalKeyFilter(QObject* watched, ChangeApproval approval)
    : approval_(std::move(approval))
{
    watched->installEventFilter(this);
}

bool UFemChangeApprovalKeyFilter::isChangingKey(const QKeyEvent& event)
{
    // Control characters (Esc, Return, Ctrl+A) come with text too but change nothing.
    const QString text = event.text();
    return (!text.isEmpty() && text.front().isPrint()) || event.key() == Qt::Key_Backspace
        || event.key() == Qt::Key_Delete || event.matches(QKeySequence::Paste)
        || event.matches(QKeySequence::Cut);
}

bool UFemChangeApprovalKeyFilter::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !approval_
        || !isChangingKey(*static_cast<QKeyEvent*>(event)))
        return false;
    return !approval_();
}
