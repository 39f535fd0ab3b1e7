#include "documents/mainview/UFemMainViewControllerMaker.h"

#include "documents/document/UFemDocument.h"

#include "documents/mainview/UFemProjectInfoViewController.h"
#include "documents/mainview/UFemResultInfoViewController.h"
#include "documents/window/UFemWindowDocument.h"

std::unique_ptr<UFemMainViewController> UFemMakeMainViewController(
    UFemWindowController& windowController, UFemViewType viewType)
{
    if (viewType != UFemViewTypeInfo)
        return nullptr;
    const UFemWindowDocument* document = windowController.ufemDocument();
    if (document != nullptr && document->documentType() == UFemDocumentTypeProject) {
        // The project's fields belong to the program's document only.
        if (dynamic_cast<const UFemDocument*>(document) == nullptr)
            return nullptr;
        return std::make_unique<UFemProjectInfoViewController>(windowController);
    }
    return std::make_unique<UFemResultInfoViewController>(windowController);
}
