#include "tools/common/UFemToolPanelSupport.h"

#include "appkit/SheetPresenter.h"
#include "appkit/WindowTracker.h"
#include "documents/window/UFemWindowController.h"

#include <typeinfo>

UFemWindowController* UFemToolMainDocumentWindowController(const WindowTracker& tracker)
{
    WindowController* main = tracker.mainWindowController();
    if (main == nullptr || typeid(*main) != typeid(UFemWindowController))
        return nullptr;
    return static_cast<UFemWindowController*>(main);
}

void UFemToolRunAlert(
    SheetPresenter& sheets, const QString& messageText, const QString& informativeText)
{
    Alert alert;
    alert.messageText = messageText;
    alert.informativeText = informativeText;
    sheets.runModalAlert(alert);
}
