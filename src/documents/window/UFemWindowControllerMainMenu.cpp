// What the main menu shows of a document window: the toolbar's state and menus.
#include "documents/toolbar/UFemCasePopup.h"
#include "documents/toolbar/UFemViewSettingPopup.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "documents/window/UFemWindowController.h"

quint64 UFemWindowController::graphicMoveModeMenuTag() const
{
    return toolbar_->graphicMoveModeMenuTag();
}

QMenu* UFemWindowController::viewSettingMenu() const
{
    return toolbar_->viewSettingPopup()->viewSettingMenu();
}

QMenu* UFemWindowController::caseMenu() const
{
    return toolbar_->casePopup()->shownMenu();
}

qint64 UFemWindowController::selectedCaseMenuItemTag() const
{
    return toolbar_->casePopup()->selectedCaseMenuItemTag();
}
