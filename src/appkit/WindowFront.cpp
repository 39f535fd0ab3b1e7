#include "appkit/WindowFront.h"

#include <QApplication>
#include <QWidget>

namespace {

// The time of a window's last front request, in steady-clock ticks.
const char* const BroughtAtProperty = "windowFrontBroughtAt";

} // namespace

void WindowFront::bring(QWidget& window)
{
    if (window.isMinimized()) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    }
    window.show();
    window.raise();
    window.activateWindow();
    window.setProperty(
        BroughtAtProperty, qint64(std::chrono::steady_clock::now().time_since_epoch().count()));
}

QWidget* WindowFront::lastBroughtSince(Time time)
{
    QWidget* last = nullptr;
    qint64 lastAt = time.time_since_epoch().count();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const QVariant broughtAt = window->property(BroughtAtProperty);
        if (window->isVisible() && broughtAt.isValid() && broughtAt.toLongLong() > lastAt) {
            last = window;
            lastAt = broughtAt.toLongLong();
        }
    }
    return last;
}
