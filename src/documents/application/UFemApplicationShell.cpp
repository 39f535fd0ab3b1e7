#include "documents/application/UFemApplicationShell.h"

#include "appkit/CommandRouter.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowPlacer.h"
#include "appkit/WindowTracker.h"
#include "documents/application/UFemAppDelegate.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/application/UFemStartWindow.h"
#include "documents/document/UFemDocumentController.h"
#include "documents/document/UFemDocumentTypeRegistration.h"

#include <QFileInfo>

#include <vector>

UFemApplicationShell::UFemApplicationShell(SheetPresenter& sheets, FilePanels& panels,
    const UFemDataControllerServices& services, UFemDocumentPrompt* prompt)
    : sheets_(sheets)
    , tracker_(std::make_unique<WindowTracker>())
    , windowPlacer_(std::make_unique<WindowPlacer>(*tracker_))
    , router_(std::make_unique<CommandRouter>(*tracker_))
    , documentController_(std::make_unique<UFemDocumentController>(sheets, panels, *tracker_))
    , mainMenu_(std::make_unique<UFemMainMenu>(*router_))
    , appDelegate_(
          std::make_unique<UFemAppDelegate>(*documentController_, *tracker_, *mainMenu_, sheets))
    , startWindow_(
          std::make_unique<UFemStartWindow>(*mainMenu_, [this] { appDelegate_->terminate(); }))
{
    UFemRegisterDocumentTypes(*documentController_, services, prompt);
    documentController_->setMainMenu(mainMenu_.get());
    router_->setApplicationDelegate(appDelegate_.get());
    router_->setDocumentController(documentController_.get());
    connect(tracker_.get(), &WindowTracker::mainWindowChanged, this,
        &UFemApplicationShell::updateStartWindow);
}

UFemApplicationShell::~UFemApplicationShell()
{
    // The delegate stops following windows that are finished as their documents go; the
    // documents and their windows go before the menu and the tracker they use.
    router_->setApplicationDelegate(nullptr);
    appDelegate_.reset();
    documentController_.reset();
}

void UFemApplicationShell::start()
{
    isStarted_ = true;
    updateStartWindow();
    appDelegate_->applicationDidFinishLaunching();
}

void UFemApplicationShell::openFiles(const QStringList& paths)
{
    std::vector<UErrorPtr> errors;
    for (const QString& path : paths) {
        UErrorPtr error;
        if (documentController_->openDocument(QFileInfo(path).absoluteFilePath(), true, &error)
            == nullptr)
            errors.push_back(error);
    }
    // After the windows, so that no window opened later covers an alert.
    for (const UErrorPtr& error : errors)
        sheets_.presentError(nullptr, *error);
}

void UFemApplicationShell::updateStartWindow()
{
    if (!isStarted_)
        return;
    startWindow_->setVisible(tracker_->mainWindowController() == nullptr);
}
