#pragma once

#include <QMainWindow>

// The window shown while no document is open; it carries the application menu, since Linux
// desktops have no global menu bar.
class StartWindow : public QMainWindow {
public:
    explicit StartWindow(QWidget* parent = nullptr);
};
