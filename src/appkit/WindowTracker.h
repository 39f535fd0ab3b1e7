#pragma once

#include <QObject>
#include <QString>

#include <vector>

class QWidget;
class UNotificationCenter;
class WindowController;

// Posted with the window controller as sender when its window becomes or stops being the main
// window; the old main window resigns before the new one becomes main.
inline const QString UWindowDidBecomeMainNotification
    = QStringLiteral("UWindowDidBecomeMainNotification");
inline const QString UWindowDidResignMainNotification
    = QStringLiteral("UWindowDidResignMainNotification");

// The front-to-back order of the program's windows, the key window (the one last activated) and
// the main window (the document window last activated; panels never become main, so a panel in
// front leaves the document window behind it main). Qt knows the active window only, so this
// follows the activation, show and hide events of the windows of registered controllers.
class WindowTracker : public QObject {
    Q_OBJECT
public:
    // Notifications go to `center` (the default centre when null).
    explicit WindowTracker(UNotificationCenter* center = nullptr);
    ~WindowTracker() override;

    void addWindowController(WindowController* controller);
    void removeWindowController(WindowController* controller);

    // The shown windows' controllers, front first.
    std::vector<WindowController*> orderedWindowControllers() const { return order_; }
    WindowController* keyWindowController() const { return key_; }
    WindowController* mainWindowController() const { return main_; }
    WindowController* controllerForWindow(const QWidget* window) const;

    // What the window system reports; the event filter calls these, tests may too.
    void windowDidActivate(WindowController* controller);
    void windowDidShow(WindowController* controller);
    void windowDidHide(WindowController* controller);

signals:
    void keyWindowChanged();
    void mainWindowChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveToFront(WindowController* controller);
    void setKey(WindowController* controller);
    void setMain(WindowController* controller);
    WindowController* frontmost(bool mainCapable) const;

    UNotificationCenter& center_;
    std::vector<WindowController*> controllers_;
    std::vector<WindowController*> order_;
    WindowController* key_ = nullptr;
    WindowController* main_ = nullptr;
};
