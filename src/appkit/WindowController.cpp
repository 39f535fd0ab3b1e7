#include "appkit/WindowController.h"

#include "appkit/CommandNames.h"
#include "appkit/Document.h"
#include "appkit/WindowFront.h"
#include "appkit/WindowTracker.h"

#include <QCloseEvent>
#include <QPointer>
#include <QWidget>

namespace {

// Qt's placeholder for the modified mark of a window title.
const QString ModifiedMarker = QStringLiteral("[*]");

} // namespace

WindowController::WindowController(
    std::unique_ptr<QWidget> window, WindowTracker& tracker, Kind kind)
    : window_(std::move(window))
    , tracker_(tracker)
    , kind_(kind)
{
    window_->installEventFilter(this);
    tracker_.addWindowController(this);
    addCommand(PerformCloseCommand, [this](const CommandItem&) { close(); });
}

WindowController::~WindowController()
{
    tracker_.removeWindowController(this);
    window_->removeEventFilter(this);
}

void WindowController::setDocument(Document* document)
{
    document_ = document;
    if (document_ != nullptr) {
        synchronizeWindowTitleWithDocumentName();
        setDocumentEdited(document_->isDocumentEdited());
    }
}

bool WindowController::isMainWindow() const
{
    return tracker_.mainWindowController() == this;
}

bool WindowController::isKeyWindow() const
{
    return tracker_.keyWindowController() == this;
}

void WindowController::showWindow()
{
    WindowFront::bring(*window_);
    // Key and main at once, as the user's click would make it, not when the window system gets
    // round to it: a sheet asked for next goes on this window, not on the one it covers.
    tracker_.windowDidActivate(this);
}

void WindowController::close()
{
    window_->close();
}

void WindowController::setDocumentEdited(bool edited)
{
    window_->setWindowModified(edited);
}

void WindowController::synchronizeWindowTitleWithDocumentName()
{
    if (document_ != nullptr) {
        window_->setWindowTitle(
            windowTitleForDocumentDisplayName(document_->displayName()) + ModifiedMarker);
    }
}

QString WindowController::windowTitleForDocumentDisplayName(const QString& displayName) const
{
    return displayName;
}

bool WindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_.get() && event->type() == QEvent::Close) {
        if (!windowShouldClose()) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool WindowController::windowShouldClose()
{
    if (document_ == nullptr) {
        return true;
    }
    if (document_->windowControllers().size() > 1) {
        // The controller goes after the close event has been handled.
        QMetaObject::invokeMethod(
            document_,
            [document = QPointer<Document>(document_), this] {
                if (document) {
                    document->removeWindowController(this);
                }
            },
            Qt::QueuedConnection);
        return true;
    }
    document_->closeAfterPrompt();
    return false;
}
