#pragma once

#include "DocumentTestSupport.h"

#include "appkit/WindowController.h"
#include "documents/application/UFemApplicationShell.h"
#include "documents/application/UFemMainMenuWindow.h"

#include <QByteArray>
#include <QMenu>
#include <QUrl>
#include <QWidgetList>

class QAction;

// The running program with recorders for sheets, panels, questions and beeps, a temporary home
// folder and a quit that is only counted.
struct ShellHarness {
    explicit ShellHarness(const UFemDataControllerServices& services = FakeResultData::services());
    ~ShellHarness();

    QString homePath(const QString& name) const;
    void writeHomeFile(const QString& name, const QByteArray& contents) const;
    // The document of the file at `path`, else null.
    UFemDocument* documentAt(const QString& path) const;
    QAction* item(const QString& command, int tag = 0) const;
    std::vector<Document*> documents() const;

    QTemporaryDir home;
    QByteArray previousHome;
    // The windows shown before the harness: shared panels outlive the shell, and those the test
    // showed are hidden again when it ends.
    QWidgetList shownBefore;
    RecordingSheetPresenter sheets;
    RecordingFilePanels panels;
    RecordingDocumentPrompt prompt;
    NotifierRecorder beeps;
    std::unique_ptr<UFemApplicationShell> shell;
    int quitCount = 0;
};

// A document window that reports the menu state the test sets.
class FakeMenuWindowController : public WindowController, public UFemMainMenuWindow {
public:
    explicit FakeMenuWindowController(WindowTracker& tracker);

    UFemViewType viewTypeMenuTag() const override { return shownViewType; }
    quint64 graphicMoveModeMenuTag() const override { return moveModeTag; }
    QMenu* viewSettingMenu() const override { return hasViewSettingMenu ? &viewSettings : nullptr; }
    QMenu* caseMenu() const override { return hasCaseMenu ? &cases : nullptr; }
    qint64 selectedCaseMenuItemTag() const override { return selectedCaseTag; }
    void setDoesDrawOverlaidProjectInfo(bool doesDraw) override
    {
        ++overlaidProjectInfoRequests;
        drawsOverlaidProjectInfo = doesDraw;
    }

    UFemViewType shownViewType = UFemViewTypeCard;
    quint64 moveModeTag = 1;
    bool hasViewSettingMenu = false;
    bool hasCaseMenu = false;
    qint64 selectedCaseTag = 1;
    mutable QMenu viewSettings;
    mutable QMenu cases;
    int overlaidProjectInfoRequests = 0;
    bool drawsOverlaidProjectInfo = false;
};

// Receives the links the program opens, in place of the desktop (QDesktopServices::setUrlHandler).
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    explicit UrlRecorder(QStringList& urls)
        : urls_(urls)
    {
    }
public slots:
    void open(const QUrl& url) { urls_.append(url.toString()); }

private:
    QStringList& urls_;
};
