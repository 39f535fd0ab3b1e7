#pragma once

#include "ShellTestSupport.h"
#include "WindowTestSupport.h"

#include "documents/window/UFemWindowController.h"

class QAction;
class UFemTableViewController;

// Cards of every kind the menus act on: cases for the case menu, an error card for the error
// commands and the check, a null card.
inline const QString ProgramModelText = WindowModelText + QStringLiteral("Bogus , X1 , 1 ,\n");

// The running program with the card table as the card view, a find panel holding a search and
// a replacement, and the users' clicks on links recorded instead of opened.
struct ProgramHarness : ShellHarness {
    ProgramHarness();
    ~ProgramHarness();

    // Writes "p.vtproj", a project loading its model "p.vtmodel" and, with `withResults`, the
    // results "p.vtresult" of that model, and opens it.
    UFemDocument* openProject(const QString& modelText, bool withResults);
    // Writes and opens a model file.
    UFemDocument* openModel(const QString& name, const QString& modelText);
    static UFemWindowController* windowOf(Document* document, size_t index = 0);
    UFemTableViewController* tableOf(Document* document) const;

    FakeFindPanel findPanel;
    QStringList openedUrls;
};
