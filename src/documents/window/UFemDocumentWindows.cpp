#include "appkit/DocumentController.h"
#include "documents/application/UFemMainMenu.h"
#include "documents/document/UFemDocument.h"
#include "documents/document/UFemDocumentController.h"
#include "documents/window/UFemWindowController.h"

void UFemDocument::makeWindowControllers()
{
    if (documentController() == nullptr)
        return;
    auto* window = static_cast<UFemWindowController*>(addWindowController(
        std::make_unique<UFemWindowController>(documentController()->windowTracker())));
    window->windowDidLoad();
}

UFemWindowController* UFemDocument::makeNewWindow()
{
    if (documentController() == nullptr)
        return nullptr;
    makeWindowControllers();
    auto* window = static_cast<UFemWindowController*>(windowControllers().back().get());
    if (auto* controller = dynamic_cast<UFemDocumentController*>(documentController()))
        if (UFemMainMenu* menu = controller->mainMenu())
            menu->installMenuBar(window->window());
    window->showWindow();
    return window;
}

void UFemDocument::finishWindowControllers()
{
    for (const auto& controller : windowControllers())
        if (auto* window = dynamic_cast<UFemWindowController*>(controller.get()))
            window->finish();
}
