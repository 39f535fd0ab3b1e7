#pragma once

#include <QHash>
#include <QMargins>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

class QWidget;
class WindowTracker;

// Keeps every window of the program wholly on the screen it opens on. A window that opens for the
// first time without a position of its own (a new document window, a panel) steps down and right
// of the last window of its kind shown, or of the main window when none of its kind shows; a
// window Qt or the user placed keeps its place, moved onto the screen where needed. Tool tips,
// pop-ups and dialogs are placed by Qt. Installed on the application while it lives.
// Places and steps are those of the frames, so that a new window leaves the title bar of the one
// it steps from in sight. A window manager frames a window only some time after it first shows,
// so a new window is taken to get the frame margins of the window it steps from.
class WindowPlacer : public QObject {
    Q_OBJECT
public:
    // How far a new window's frame steps from the frame it steps from, and how many steps it
    // takes at most past windows already in its place.
    static constexpr int CascadeOffset = 24;
    static constexpr int MaximumCascadeSteps = 12;

    // The margins of a window's frame around its client area; none while it has no frame.
    using FrameMargins = std::function<QMargins(const QWidget&)>;
    // What Qt knows of the frame from the window system.
    static QMargins reportedFrameMargins(const QWidget& window);

    explicit WindowPlacer(const WindowTracker& tracker);
    ~WindowPlacer() override;

    // Where the margins come from: Qt's report, unless a test stands in for a window manager.
    void setFrameMargins(FrameMargins frameMargins) { frameMargins_ = std::move(frameMargins); }

    // The frame for a window of `frame` in the screen area `available`: first stepped from
    // `cascadeFrom` when given, then moved inside the area, and shrunk only where it is larger.
    // A step that leaves the area starts again at the area's top left corner, unless it comes
    // from within a step of that corner: there it keeps its step and the window shrinks, so that
    // it never lands on the window it steps from. Without `restartsAtCorner` every step keeps
    // its place and shrinks the window where the area ends.
    static QRect placedFrame(const QRect& frame, const QRect& available,
        const std::optional<QRect>& cascadeFrom, bool restartsAtCorner = true);

    // Places `window` as its first showing (`isFirstShow`) or a later one.
    void placeWindow(QWidget* window, bool isFirstShow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QWidget* mainWindow() const;
    // The window a new `window` steps from: the last one of its kind still shown, else the main
    // window; none for the first window of all.
    const QWidget* cascadeSource(const QWidget* window) const;
    static QString kindOf(const QWidget* window);
    // The frame of `window`, with `assumedMargins` while it has none of its own.
    QRect frameOf(const QWidget& window, const QMargins& assumedMargins = {}) const;
    bool isCornerTaken(QPoint corner, const QWidget* window, const QMargins& assumedMargins) const;

    const WindowTracker& tracker_;
    FrameMargins frameMargins_ = reportedFrameMargins;
    // The last window of each kind placed as new.
    QHash<QString, QPointer<QWidget>> lastShownOfKind_;
};
