#include "appkit/ClosingWindows.h"

#include "appkit/OwnedList.h"

#include <QEvent>
#include <QWidget>

ClosingWindows::~ClosingWindows()
{
    for (const std::unique_ptr<QWidget>& window : windows_)
        window->removeEventFilter(this);
}

QWidget* ClosingWindows::add(std::unique_ptr<QWidget> window)
{
    window->installEventFilter(this);
    return windows_.emplace_back(std::move(window)).get();
}

std::vector<QWidget*> ClosingWindows::windows() const
{
    std::vector<QWidget*> windows;
    windows.reserve(windows_.size());
    for (const std::unique_ptr<QWidget>& window : windows_)
        windows.push_back(window.get());
    return windows;
}

bool ClosingWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        // The window is still inside its close event; it goes once that has returned.
        std::unique_ptr<QWidget> closed = takeOwned(windows_, static_cast<QWidget*>(watched));
        if (closed) {
            closed->removeEventFilter(this);
            closed.release()->deleteLater();
        }
    }
    return QObject::eventFilter(watched, event);
}
