#pragma once

#include <chrono>

class QWidget;

// Brings the windows the program opens or shows for the user to the front: every such window
// comes forward through here. Each request is stamped on its window, so that a sheet that ends can
// give the front to a window asked for while the sheet was up, not to the window under the sheet,
// which the window manager brings forward when the sheet goes.
class WindowFront {
public:
    using Time = std::chrono::steady_clock::time_point;

    // Shows `window` in front of the program's other windows, restored when minimised, and asks
    // for it to become the active window.
    static void bring(QWidget& window);
    // The visible window brought to the front last after `time`, null when none was.
    static QWidget* lastBroughtSince(Time time);
};
