#pragma once

#include "cardmodel/data/UFemDataControllerServices.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CommandRouter;
class FilePanels;
class SheetPresenter;
class UFemAppDelegate;
class UFemDocumentController;
class UFemDocumentPrompt;
class UFemMainMenu;
class UFemStartWindow;
class WindowPlacer;
class WindowTracker;

// The running program's parts, made in order and held together: the window tracking, the
// command chain, the document controller with the three document types, the main menu, the
// application delegate and the start window, which shows whenever no document window is open;
// every window opens on the screen.
// Sheets and panels come from outside so that tests can answer them.
class UFemApplicationShell : public QObject {
    Q_OBJECT
public:
    UFemApplicationShell(SheetPresenter& sheets, FilePanels& panels,
        const UFemDataControllerServices& services = UFemDataControllerServices::shared(),
        UFemDocumentPrompt* prompt = nullptr);
    ~UFemApplicationShell() override;

    // The program has started: the start window while no document window is open, and the menu
    // in step. No untitled document is opened.
    void start();
    // Opens and shows each file (relative paths against the working directory); each file that
    // cannot be opened gives its alert.
    void openFiles(const QStringList& paths);

    WindowTracker& windowTracker() const { return *tracker_; }
    WindowPlacer& windowPlacer() const { return *windowPlacer_; }
    CommandRouter& commandRouter() const { return *router_; }
    UFemDocumentController& documentController() const { return *documentController_; }
    UFemMainMenu& mainMenu() const { return *mainMenu_; }
    UFemAppDelegate& appDelegate() const { return *appDelegate_; }
    UFemStartWindow& startWindow() const { return *startWindow_; }

private:
    void updateStartWindow();

    SheetPresenter& sheets_;
    std::unique_ptr<WindowTracker> tracker_;
    std::unique_ptr<WindowPlacer> windowPlacer_;
    std::unique_ptr<CommandRouter> router_;
    std::unique_ptr<UFemDocumentController> documentController_;
    std::unique_ptr<UFemMainMenu> mainMenu_;
    std::unique_ptr<UFemAppDelegate> appDelegate_;
    std::unique_ptr<UFemStartWindow> startWindow_;
    bool isStarted_ = false;
};
