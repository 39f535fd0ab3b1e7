#include "appkit/WindowTracker.h"

#include "appkit/WindowController.h"
#include "platform/UNotificationCenter.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace {

template <typename Item> void erase(std::vector<Item>& items, const Item& item)
{
    items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

} // namespace

WindowTracker::WindowTracker(UNotificationCenter* center)
    : center_(center != nullptr ? *center : UNotificationCenter::defaultCenter())
{
}

WindowTracker::~WindowTracker()
{
    for (WindowController* controller : controllers_) {
        controller->window()->removeEventFilter(this);
    }
}

void WindowTracker::addWindowController(WindowController* controller)
{
    controllers_.push_back(controller);
    controller->window()->installEventFilter(this);
    if (controller->window()->isVisible()) {
        windowDidShow(controller);
    }
}

void WindowTracker::removeWindowController(WindowController* controller)
{
    windowDidHide(controller);
    controller->window()->removeEventFilter(this);
    erase(controllers_, controller);
}

WindowController* WindowTracker::controllerForWindow(const QWidget* window) const
{
    const auto it = std::find_if(controllers_.begin(), controllers_.end(),
        [window](const WindowController* controller) { return controller->window() == window; });
    return it == controllers_.end() ? nullptr : *it;
}

bool WindowTracker::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type == QEvent::WindowActivate || type == QEvent::Show || type == QEvent::Hide) {
        if (WindowController* controller = controllerForWindow(qobject_cast<QWidget*>(watched))) {
            if (type == QEvent::WindowActivate) {
                windowDidActivate(controller);
            } else if (type == QEvent::Show) {
                windowDidShow(controller);
            } else {
                windowDidHide(controller);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowTracker::windowDidActivate(WindowController* controller)
{
    moveToFront(controller);
    setKey(controller);
    if (controller->canBecomeMainWindow()) {
        setMain(controller);
    }
}

void WindowTracker::windowDidShow(WindowController* controller)
{
    if (std::find(order_.begin(), order_.end(), controller) != order_.end()) {
        return;
    }
    moveToFront(controller);
    // A window manager may refuse to activate a new window; it is still in front of the others.
    if (main_ == nullptr && controller->canBecomeMainWindow()) {
        setMain(controller);
    }
}

void WindowTracker::windowDidHide(WindowController* controller)
{
    if (std::find(order_.begin(), order_.end(), controller) == order_.end()) {
        return;
    }
    erase(order_, controller);
    if (main_ == controller) {
        setMain(frontmost(true));
    }
    if (key_ == controller) {
        setKey(frontmost(false));
    }
}

void WindowTracker::moveToFront(WindowController* controller)
{
    erase(order_, controller);
    order_.insert(order_.begin(), controller);
}

WindowController* WindowTracker::frontmost(bool mainCapable) const
{
    const auto it = std::find_if(order_.begin(), order_.end(), [mainCapable](auto* controller) {
        return !mainCapable || controller->canBecomeMainWindow();
    });
    return it == order_.end() ? nullptr : *it;
}

void WindowTracker::setKey(WindowController* controller)
{
    if (key_ != controller) {
        key_ = controller;
        emit keyWindowChanged();
    }
}

void WindowTracker::setMain(WindowController* controller)
{
    if (main_ == controller) {
        return;
    }
    if (WindowController* old = std::exchange(main_, nullptr)) {
        old->windowDidResignMain();
        center_.post(UWindowDidResignMainNotification, old);
    }
    main_ = controller;
    if (controller != nullptr) {
        controller->windowDidBecomeMain();
        center_.post(UWindowDidBecomeMainNotification, controller);
    }
    emit mainWindowChanged();
}
