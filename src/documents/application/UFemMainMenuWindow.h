#pragma once

#include "documents/window/UFemViewType.h"

#include <QtGlobal>

class QMenu;

// What the application delegate and the document controller ask of a document window's
// controller: the state the main menu follows, and the project information drawn over a freshly
// opened project or result. The document window controller implements it.
class UFemMainMenuWindow {
public:
    virtual ~UFemMainMenuWindow() = default;

    // The view type shown: 1 card table, 2 3-D view, 3 project or result information.
    virtual UFemViewType viewTypeMenuTag() const = 0;
    virtual quint64 graphicMoveModeMenuTag() const = 0;
    // Whether the shown view takes move modes (only the 3-D view does).
    virtual bool isGraphicMoveModeAvailable() const { return viewTypeMenuTag() == 2; }
    // The window's menus, owned by the window controller; null when the view has none.
    virtual QMenu* viewSettingMenu() const = 0;
    virtual QMenu* caseMenu() const = 0;
    virtual qint64 selectedCaseMenuItemTag() const = 0;
    virtual void setDoesDrawOverlaidProjectInfo(bool doesDraw) = 0;
};
