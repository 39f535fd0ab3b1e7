#pragma once

#include "appkit/DocumentController.h"

#include <memory>

class UFemMainMenu;
class UFemNewProjectPanel;

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

    [[nodiscard]] Document* openDocument(
        const QString& path, bool display, UErrorPtr* error) override;
    [[nodiscard]] Document* openUntitledDocumentOfType(
        const QString& typeName, bool display, UErrorPtr* error) override;

private:
    // Shows the document in its windows, making them when it has none, each with the menu.
    void ensureWindow(Document& document);

    UFemMainMenu* mainMenu_ = nullptr;
    std::unique_ptr<UFemNewProjectPanel> newProjectPanel_;
};
