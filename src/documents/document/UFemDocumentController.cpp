#include "documents/document/UFemDocumentController.h"

#include "appkit/Alert.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowController.h"
#include "appkit/WindowFront.h"
#include "documents/application/UFemCommandNames.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/application/UFemMainMenuWindow.h"
#include "documents/application/UFemNewProjectPanel.h"
#include "documents/document/UFemDocument.h"
#include "documents/window/UFemOpeningProgressWindow.h"

#include <QFileInfo>
#include <QLineEdit>

UFemDocumentController::UFemDocumentController(
    SheetPresenter& sheets, FilePanels& panels, WindowTracker& tracker)
    : DocumentController(sheets, panels, tracker)
{
    addCommand(UFemNewProjectDocumentCommand, [this](auto&) { newProjectDocument(); });
    addCommand(UFemNewModelDocumentCommand, [this](auto&) { newModelDocument(); });
}

UFemDocumentController::~UFemDocumentController() = default;

UFemNewProjectPanel& UFemDocumentController::newProjectPanel()
{
    if (!newProjectPanel_)
        newProjectPanel_
            = std::make_unique<UFemNewProjectPanel>(*this, sheetPresenter(), filePanels());
    return *newProjectPanel_;
}

void UFemDocumentController::newProjectDocument()
{
    UFemNewProjectPanel& panel = newProjectPanel();
    panel.reset();
    WindowFront::bring(panel);
    panel.projectNameField()->setFocus();
}

void UFemDocumentController::newModelDocument()
{
    UErrorPtr error;
    if (openUntitledDocumentOfType(UFemModelDocumentTypeName, true, &error) == nullptr)
        sheetPresenter().runModalAlert(Alert::fromError(*error));
}

Document* UFemDocumentController::openDocument(const QString& path, bool display, UErrorPtr* error)
{
    const bool wasOpen = documentForPath(path) != nullptr;
    if (display && !wasOpen && QFileInfo(path).size() >= openingProgressFileBytes_) {
        openingProgress_ = std::make_unique<UFemOpeningProgressWindow>(QFileInfo(path).fileName());
        openingProgress_->showPainted();
    }
    Document* document = DocumentController::openDocument(path, display, error);
    openingProgress_.reset();
    if (document == nullptr || !display)
        return document;
    ensureWindow(*document);
    if (wasOpen)
        return document;
    const auto* opened = dynamic_cast<const UFemDocument*>(document);
    const UFemDocumentType type = opened == nullptr ? UFemDocumentTypeNone : opened->documentType();
    if (type == UFemDocumentTypeProject || type == UFemDocumentTypeResult) {
        auto* window
            = dynamic_cast<UFemMainMenuWindow*>(document->windowControllers().front().get());
        if (window != nullptr)
            window->setDoesDrawOverlaidProjectInfo(true);
    }
    return document;
}

Document* UFemDocumentController::openUntitledDocumentOfType(
    const QString& typeName, bool display, UErrorPtr* error)
{
    Document* document = DocumentController::openUntitledDocumentOfType(typeName, display, error);
    if (document != nullptr && display)
        ensureWindow(*document);
    return document;
}

void UFemDocumentController::ensureWindow(Document& document)
{
    // A document opened before without display has none yet.
    if (document.windowControllers().empty())
        document.makeWindowControllers();
    if (mainMenu_ != nullptr) {
        for (const auto& controller : document.windowControllers())
            mainMenu_->installMenuBar(controller->window());
    }
    document.showWindows();
}
