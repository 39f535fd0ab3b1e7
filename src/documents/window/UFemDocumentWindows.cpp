#include "appkit/DocumentController.h"
#include "documents/document/UFemDocument.h"
#include "documents/window/UFemWindowController.h"

void UFemDocument::makeWindowControllers()
{
    if (documentController() == nullptr)
        return;
    auto* window = static_cast<UFemWindowController*>(addWindowController(
        std::make_unique<UFemWindowController>(documentController()->windowTracker())));
    window->windowDidLoad();
}

void UFemDocument::finishWindowControllers()
{
    for (const auto& controller : windowControllers())
        if (auto* window = dynamic_cast<UFemWindowController*>(controller.get()))
            window->finish();
}
