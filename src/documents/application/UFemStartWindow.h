#pragma once

#include <QMainWindow>

#include <functional>

class UFemMainMenu;

// The window shown while no document window is open; it carries the program's menu, since Linux
// desktops have no global menu bar. Closing it asks the program to quit.
class UFemStartWindow : public QMainWindow {
    Q_OBJECT
public:
    UFemStartWindow(UFemMainMenu& mainMenu, std::function<void()> quit);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> quit_;
};
