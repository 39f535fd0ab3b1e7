#pragma once

#include <QObject>
#include <QRect>

#include <optional>

class QWidget;
class WindowTracker;

// Keeps every window of the program wholly on the screen it opens on. A window that opens for the
// first time without a position of its own (a new document window, a panel) steps down and right
// of the main window; a window Qt or the user placed keeps its place, moved onto the screen where
// needed. Tool tips, pop-ups and dialogs are placed by Qt. Installed on the application while it
// lives.
class WindowPlacer : public QObject {
    Q_OBJECT
public:
    // How far a new window steps from the main window, and how many steps it takes at most past
    // windows already in its place.
    static constexpr int CascadeOffset = 24;
    static constexpr int MaximumCascadeSteps = 12;

    explicit WindowPlacer(const WindowTracker& tracker);
    ~WindowPlacer() override;

    // The frame for a window of `frame` in the screen area `available`: first stepped from
    // `cascadeFrom` when given (back to the area's top left corner when the step leaves the area),
    // then moved inside the area, and shrunk only where it is larger.
    static QRect placedFrame(
        const QRect& frame, const QRect& available, const std::optional<QRect>& cascadeFrom);

    // Places `window` as its first showing (`isFirstShow`) or a later one.
    void placeWindow(QWidget* window, bool isFirstShow) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget* mainWindow() const;
    static bool isCornerTaken(QPoint corner, const QWidget* window);

    const WindowTracker& tracker_;
};
