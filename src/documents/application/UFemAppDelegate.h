#pragma once

#include "appkit/ClosingWindows.h"
#include "appkit/CommandTarget.h"
#include "documents/window/UFemViewType.h"
#include "platform/UNotificationCenter.h"

#include <QObject>
#include <QWidget>

#include <functional>
#include <vector>

class DocumentController;
class SheetPresenter;
class UFemCalculationManager;
class UFemDocument;
class UFemMainMenu;
class UFemMainMenuWindow;
class QUrl;
class WindowController;
class WindowTracker;

// The application's delegate: prepares the program-wide state before any document exists, keeps
// the main menu in step with the active document window, and carries the menu actions that are
// not document actions (preferences, About, OpenGL renderer information, manual, web site,
// quit).
class UFemAppDelegate : public QObject, public CommandTarget {
    Q_OBJECT
public:
    // Once, before the first document: the sphere tables, number texts, card classes, the
    // result-data readers and the beep of the data controllers, the registered defaults, and the
    // renderer catalogue (filled on this, the main, thread). Alerts of the readers and of damaged
    // preferences go to `sheets` while it lives.
    static void initialize(SheetPresenter& sheets);

    UFemAppDelegate(DocumentController& documentController, WindowTracker& tracker,
        UFemMainMenu& mainMenu, SheetPresenter& sheets);
    ~UFemAppDelegate() override;

    void applicationDidFinishLaunching();

    // Its own commands, then those of the application command hooks.
    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(CommandItem& item) override;
    void performCommand(const CommandItem& sender) override;

    // The main window's controller; null when no document window is open.
    WindowController* activeWindowController() const;
    void updateMainMenu();

    // The About window, or the OpenGL information window when Alt (Option) is held.
    void showAboutPanel(Qt::KeyboardModifiers modifiers);
    void showOpenGLInfo();
    QWidget* aboutPanel() const;
    // The OpenGL information windows still open, oldest first.
    std::vector<QWidget*> openGLInfoWindows() const;

    // Where the program keeps the users manual: share/vantrel beside its own folder, unless
    // another place is set. Its Markdown text lies beside it under the same name.
    QString usersManualPath() const { return usersManualPath_; }
    void setUsersManualPath(const QString& path) { usersManualPath_ = path; }
    QString usersManualTextPath() const;
    // What opens the PDF and links with the desktop's programs; QDesktopServices by default.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    // The manual's own window, shown where the PDF cannot be opened; null when none is open.
    QWidget* usersManualWindow() const;

    // Asks first while calculations run, then reviews the unsaved documents; when none refuses,
    // stops the calculations and quits.
    void terminate();
    // Ends the event loop.
    static void quitApplication();
    // The calculations a quit asks about and stops; the shared manager unless another is set.
    void setCalculationManager(UFemCalculationManager* manager) { calculationManager_ = manager; }
    // What quitting does; quitApplication by default.
    void setQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }

private:
    void updateViewTypeMenu(const UFemDocument* document, UFemViewType viewType);
    void updateGraphicMoveModeMenu(const UFemMainMenuWindow* window, UFemViewType viewType);
    void updateViewSettingMenu(const UFemMainMenuWindow* window);
    void updateCaseMenu(const UFemMainMenuWindow* window);
    void updateOther(bool hasWindow, UFemViewType viewType);
    void openUsersManual();
    void openWebSite();
    UFemCalculationManager& calculationManager() const;

    DocumentController& documentController_;
    WindowTracker& tracker_;
    UFemMainMenu& mainMenu_;
    SheetPresenter& sheets_;
    std::vector<UNotificationObservation> observations_;
    // At most one about panel; closing one lets it go, and the next request builds it afresh.
    ClosingWindows aboutPanel_;
    ClosingWindows openGLInfoWindows_;
    ClosingWindows usersManualWindow_;
    std::function<void()> quit_;
    std::function<bool(const QUrl&)> openUrl_;
    UFemCalculationManager* calculationManager_ = nullptr;
    QString usersManualPath_;
    bool isReviewingUnsaved_ = false;
};
