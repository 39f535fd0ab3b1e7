#pragma once

#include "documents/preferences/UFemFolderItem.h"
#include "documents/window/UFemViewType.h"

#include <QToolButton>

#include <memory>

class QDialog;
class QMenu;
class UFemWindowController;

// Tags of the view setting menu: saved settings from 1000 on, the open-panel item -1; the
// buttons of the view settings sheet.
inline constexpr qint64 UFemViewSettingMenuTagOffset = 1000;
inline constexpr qint64 UFemOpenViewSettingPanelMenuTag = -1;
enum UFemViewSettingPanelButton : int {
    UFemViewSettingPanelApply = 1,
    UFemViewSettingPanelClose = 2,
    UFemViewSettingPanelSave = 9,
};

// The toolbar's view setting pull-down: the saved view settings of the shown view type, then
// the item that opens the view settings sheet. Nothing for the information view.
class UFemViewSettingPopup : public QToolButton {
    Q_OBJECT
public:
    explicit UFemViewSettingPopup(
        UFemWindowController& windowController, QWidget* parent = nullptr);
    ~UFemViewSettingPopup() override;

    // At every swap: the menu of the new view type and its context; none for a view that takes no
    // settings (UFemViewTypeNone).
    void updateViewSettingMenuAndMenuContextWithViewType(UFemViewType viewType);
    void updateToolbarViewSettingMenu();
    QMenu* viewSettingMenu() const { return menu_.get(); }
    const UFemFolderArray& viewSettingMenuContext() const { return menuContext_; }

    void viewSettingMenuItemSelected(qint64 tag);
    // Answers whether the sheet ends with the button; errors are shown as modal alerts.
    bool preferencesViewPanelButtonPushed(int tag);
    QDialog* preferencesViewPanel() const { return panel_; }

private:
    void openPreferencesViewPanel();
    bool applyPanelSettings();
    void showModalError(const UErrorPtr& error) const;

    UFemWindowController& windowController_;
    std::unique_ptr<QMenu> menu_;
    UFemFolderArray menuContext_;
    QDialog* panel_ = nullptr;
};
