#include "appkit/BringWindowToFront.h"

#include <QWidget>

void BringWindowToFront(QWidget& window)
{
    if (window.isMinimized()) {
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    }
    window.show();
    window.raise();
    window.activateWindow();
}
