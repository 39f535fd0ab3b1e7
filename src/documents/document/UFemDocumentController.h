#pragma once

#include "appkit/DocumentController.h"

#include <memory>

class UFemMainMenu;
class UFemNewProjectPanel;
class UFemOpeningProgressWindow;

// The program's document controller. New Project runs the New Project panel and New Model opens
// an untitled model; the generic New is not offered. A project or result opened afresh and shown
// first draws its project information over its window.
class UFemDocumentController : public DocumentController {
    Q_OBJECT
public:
    UFemDocumentController(SheetPresenter& sheets, FilePanels& panels, WindowTracker& tracker);
    ~UFemDocumentController() override;

    // The menu that the windows of documents carry (fillMenuBar); null in tests without one.
    UFemMainMenu* mainMenu() const { return mainMenu_; }
    void setMainMenu(UFemMainMenu* mainMenu) { mainMenu_ = mainMenu; }

    void newProjectDocument();
    // An error is shown in a modal alert.
    void newModelDocument();
    // Made on first use.
    UFemNewProjectPanel& newProjectPanel();

    // A file of `openingProgressFileBytes` or more, opened to be shown, has a progress window
    // shown and painted while it is read.
    [[nodiscard]] Document* openDocument(
        const QString& path, bool display, UErrorPtr* error) override;
    void setOpeningProgressFileBytes(qint64 bytes) { openingProgressFileBytes_ = bytes; }
    // The progress window of the file being read, else null.
    UFemOpeningProgressWindow* openingProgressWindow() const { return openingProgress_.get(); }
    [[nodiscard]] Document* openUntitledDocumentOfType(
        const QString& typeName, bool display, UErrorPtr* error) override;

private:
    // Shows the document in its windows, making them when it has none, each with the menu.
    void ensureWindow(Document& document);

    // About a fifth of a second of reading.
    static constexpr qint64 defaultOpeningProgressFileBytes = qint64(4) << 20;

    UFemMainMenu* mainMenu_ = nullptr;
    qint64 openingProgressFileBytes_ = defaultOpeningProgressFileBytes;
    std::unique_ptr<UFemOpeningProgressWindow> openingProgress_;
    std::unique_ptr<UFemNewProjectPanel> newProjectPanel_;
};
