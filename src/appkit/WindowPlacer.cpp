#include "appkit/WindowPlacer.h"

#include "appkit/WindowController.h"
#include "appkit/WindowTracker.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

namespace {

// Windows the placer keeps on the screen. Tool tips, pop-ups and splash windows place
// themselves; dialogs are centred over their parent and kept on its screen by Qt as they show,
// after this filter has seen the show.
bool isPlacedWindow(const QWidget* widget)
{
    if (!widget->isWindow() || widget->testAttribute(Qt::WA_DontShowOnScreen)
        || qobject_cast<const QDialog*>(widget) != nullptr)
        return false;
    const Qt::WindowType type = widget->windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Sheet || type == Qt::Tool;
}

QScreen* screenOf(const QRect& frame, const QWidget* fallback)
{
    if (QScreen* screen = QGuiApplication::screenAt(frame.center()))
        return screen;
    return fallback->screen();
}

} // namespace

QMargins WindowPlacer::reportedFrameMargins(const QWidget& window)
{
    const QRect client = window.geometry();
    const QRect frame = window.frameGeometry();
    return { client.left() - frame.left(), client.top() - frame.top(),
        frame.right() - client.right(), frame.bottom() - client.bottom() };
}

WindowPlacer::WindowPlacer(const WindowTracker& tracker)
    : tracker_(tracker)
{
    qApp->installEventFilter(this);
}

WindowPlacer::~WindowPlacer()
{
    qApp->removeEventFilter(this);
}

QRect WindowPlacer::placedFrame(const QRect& frame, const QRect& available,
    const std::optional<QRect>& cascadeFrom, bool restartsAtCorner)
{
    QRect placed = frame;
    if (cascadeFrom)
        placed.moveTopLeft(cascadeFrom->topLeft() + QPoint(CascadeOffset, CascadeOffset));
    if (available.isEmpty())
        return placed;
    if (cascadeFrom && !available.contains(placed)) {
        const QPoint fromCorner = cascadeFrom->topLeft() - available.topLeft();
        const bool isFromCorner = std::abs(fromCorner.x()) <= CascadeOffset
            && std::abs(fromCorner.y()) <= CascadeOffset;
        if (restartsAtCorner && !isFromCorner)
            placed.moveTopLeft(available.topLeft());
        else if (available.contains(placed.topLeft()))
            placed = placed.intersected(available);
    }
    placed.setWidth(std::min(placed.width(), available.width()));
    placed.setHeight(std::min(placed.height(), available.height()));
    if (placed.right() > available.right())
        placed.moveRight(available.right());
    if (placed.bottom() > available.bottom())
        placed.moveBottom(available.bottom());
    if (placed.left() < available.left())
        placed.moveLeft(available.left());
    if (placed.top() < available.top())
        placed.moveTop(available.top());
    return placed;
}

void WindowPlacer::placeWindow(QWidget* window, bool isFirstShow)
{
    // A window with a parent stands over it.
    const bool isNewWindow = isFirstShow && window->parentWidget() == nullptr;
    const QWidget* source = isNewWindow ? cascadeSource(window) : nullptr;
    std::optional<QRect> cascadeFrom;
    QMargins margins = frameMargins_(*window);
    if (source != nullptr) {
        cascadeFrom = frameOf(*source);
        if (margins.isNull())
            margins = frameMargins_(*source);
    }
    QRect frame = window->geometry().marginsAdded(margins);
    if (isNewWindow)
        lastShownOfKind_.insert(kindOf(window), window);
    const QScreen* screen = screenOf(cascadeFrom.value_or(frame), source ? source : window);
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    // The first window of all opens in the middle of the screen.
    if (isNewWindow && !cascadeFrom)
        frame.moveCenter(available.center());
    QRect placed = placedFrame(frame, available, cascadeFrom);
    // Two new windows never hide each other: a step further past each one already there, never
    // back to the corner it has left.
    for (int step = 0; cascadeFrom && step < MaximumCascadeSteps
         && isCornerTaken(placed.topLeft(), window, margins);
         ++step) {
        cascadeFrom = placed;
        placed = placedFrame(frame, available, cascadeFrom, false);
    }
    const QRect client = placed.marginsRemoved(margins);
    if (client.size() != window->size())
        window->resize(client.size());
    // move() places the frame Qt knows of, which a window not yet framed lacks. Also where
    // nothing moves: the window has its place from now on.
    const QMargins known = reportedFrameMargins(*window);
    window->move(client.topLeft() - QPoint(known.left(), known.top()));
}

const QWidget* WindowPlacer::cascadeSource(const QWidget* window) const
{
    const QPointer<QWidget> last = lastShownOfKind_.value(kindOf(window));
    if (last != nullptr && last != window && last->isVisible())
        return last;
    const QWidget* main = mainWindow();
    return main != window ? main : nullptr;
}

QString WindowPlacer::kindOf(const QWidget* window)
{
    return QString::fromLatin1(window->metaObject()->className()) + QLatin1Char('/')
        + window->objectName();
}

QRect WindowPlacer::frameOf(const QWidget& window, const QMargins& assumedMargins) const
{
    const QMargins margins = frameMargins_(window);
    return window.geometry().marginsAdded(margins.isNull() ? assumedMargins : margins);
}

// Whether another window of the placer's kind already stands with its frame's corner at `corner`.
bool WindowPlacer::isCornerTaken(
    QPoint corner, const QWidget* window, const QMargins& assumedMargins) const
{
    const QWidgetList shown = QApplication::topLevelWidgets();
    return std::any_of(shown.begin(), shown.end(), [&](const QWidget* other) {
        return other != window && other->isVisible() && isPlacedWindow(other)
            && frameOf(*other, assumedMargins).topLeft() == corner;
    });
}

bool WindowPlacer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && !event->spontaneous() && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (isPlacedWindow(widget))
            placeWindow(widget, !widget->testAttribute(Qt::WA_Moved));
    }
    return QObject::eventFilter(watched, event);
}

const QWidget* WindowPlacer::mainWindow() const
{
    const WindowController* controller = tracker_.mainWindowController();
    if (controller == nullptr || controller->window() == nullptr
        || !controller->window()->isVisible())
        return nullptr;
    return controller->window();
}
