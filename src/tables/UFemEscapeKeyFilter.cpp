#include "tables/UFemEscapeKeyFilter.h"

#include <QKeyEvent>

UFemEscapeKeyFilter::UFemEscapeKeyFilter(QObject* watched, std::function<void()> handler)
    : handler_(std::move(handler))
{
    watched->installEventFilter(this);
}

bool UFemEscapeKeyFilter::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape
        || !handler_)
        return false;
    handler_();
    return true;
}
