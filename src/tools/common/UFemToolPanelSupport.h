#pragma once

#include <QString>

class SheetPresenter;
class UFemWindowController;
class WindowTracker;

// The main window's controller when it is a document window itself (neither a subclass nor
// another kind of window); null otherwise. A tool's panel is the active window when its button is
// pressed, so the tracker's main window is asked, not the active one.
UFemWindowController* UFemToolMainDocumentWindowController(const WindowTracker& tracker);

// A modal alert with the message and informative texts as they stand.
void UFemToolRunAlert(
    SheetPresenter& sheets, const QString& messageText, const QString& informativeText);
