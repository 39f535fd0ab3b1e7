#include "ShellTestSupport.h"

#include "documents/application/UFemAppDelegate.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/document/UFemDocumentController.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QWidgetList shownWindows()
{
    QWidgetList shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            shown.append(window);
    }
    return shown;
}

} // namespace

ShellHarness::ShellHarness(const UFemDataControllerServices& services)
    : previousHome(qgetenv("HOME"))
    , shownBefore(shownWindows())
{
    qputenv("HOME", home.path().toUtf8());
    shell = std::make_unique<UFemApplicationShell>(sheets, panels, services, &prompt);
    shell->appDelegate().setQuitHandler([this] { ++quitCount; });
}

ShellHarness::~ShellHarness()
{
    // As the user closes them: the windows go first, then the documents.
    for (Document* document : documents())
        document->close();
    finishEventTurn();
    shell.reset();
    for (QWidget* window : shownWindows()) {
        if (!shownBefore.contains(window))
            window->hide();
    }
    finishEventTurn();
    qputenv("HOME", previousHome);
}

QString ShellHarness::homePath(const QString& name) const
{
    return home.filePath(name);
}

void ShellHarness::writeHomeFile(const QString& name, const QByteArray& contents) const
{
    QFile file(homePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

UFemDocument* ShellHarness::documentAt(const QString& path) const
{
    return dynamic_cast<UFemDocument*>(shell->documentController().documentForPath(path));
}

QAction* ShellHarness::item(const QString& command, int tag) const
{
    return shell->mainMenu().itemForCommand(command, tag);
}

std::vector<Document*> ShellHarness::documents() const
{
    return shell->documentController().documents();
}

FakeMenuWindowController::FakeMenuWindowController(WindowTracker& tracker)
    : WindowController(std::make_unique<QWidget>(), tracker)
{
}
