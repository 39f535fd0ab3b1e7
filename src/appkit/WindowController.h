#pragma once

#include "appkit/CommandTarget.h"

#include <QObject>

#include <memory>

class Document;
class QWidget;
class WindowTracker;

// Ownership, here and in every user-interface class: a widget gets its parent when it is made and
// dies with it; an object without a parent is held by std::unique_ptr. QPointer only watches, it
// never owns, and nothing is deleted by hand.
//
// The controller of one window, which it owns. A document window's controller belongs to its
// document; closing the document's last window asks the document whether it may close (the
// save prompt) and closes the document. A panel's controller never becomes the main window.
class WindowController : public QObject, public CommandTarget {
    Q_OBJECT
public:
    enum class Kind { DocumentWindow, Panel };

    WindowController(
        std::unique_ptr<QWidget> window, WindowTracker& tracker, Kind kind = Kind::DocumentWindow);
    ~WindowController() override;

    QWidget* window() const { return window_.get(); }
    WindowTracker& windowTracker() const { return tracker_; }
    Kind kind() const { return kind_; }

    Document* document() const { return document_; }
    // Called by the document that adds this controller (null when it lets it go).
    virtual void setDocument(Document* document);

    virtual bool canBecomeMainWindow() const { return kind_ == Kind::DocumentWindow; }
    bool isMainWindow() const;
    bool isKeyWindow() const;

    // Shows the window in front; it is the key window (and the main one, when it may be) at once.
    void showWindow();
    // As the window's close button: a document's last window may refuse after the save prompt.
    void close();

    // Called by the tracker when the window becomes or stops being the main window.
    virtual void windowDidBecomeMain() { }
    virtual void windowDidResignMain() { }

    void setDocumentEdited(bool edited);
    void synchronizeWindowTitleWithDocumentName();
    virtual QString windowTitleForDocumentDisplayName(const QString& displayName) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether a close request may go ahead now; a document's last window defers it to the prompt.
    bool windowShouldClose();

    std::unique_ptr<QWidget> window_;
    WindowTracker& tracker_;
    Kind kind_;
    Document* document_ = nullptr;
};
