#pragma once

#include "documents/window/UFemViewType.h"
#include "documents/window/UFemWindowNotifications.h"
#include "platform/UNotificationCenter.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class CommandTarget;
class QButtonGroup;
class QComboBox;
class QToolBar;
class QToolButton;
class QWidget;
class UFemCardFilterField;
class UFemCasePopup;
class UFemGraphicMoveModeController;
class UFemViewSettingPopup;
class UFemWindowController;

inline const QString UFemWindowToolbarIdentifier = QStringLiteral("UFemWindowToolbarIdentifier");
inline const QString OpenModelEditWindowToolbarItemIdentifier
    = QStringLiteral("OpenModelEditWindowToolbarItemIdentifier");
inline const QString SaveDocumentToolbarItemIdentifier
    = QStringLiteral("SaveDocumentToolbarItemIdentifier");
inline const QString ViewTypePopupToolbarItemIdentifier
    = QStringLiteral("ViewTypePopupToolbarItemIdentifier");
inline const QString GraphicMoveModeSwitchToolbarItemIdentifier
    = QStringLiteral("GraphicMoveModeSwitchToolbarItemIdentifier");
inline const QString ViewSettingPopupToolbarItemIdentifier
    = QStringLiteral("ViewSettingPopupToolbarItemIdentifier");
inline const QString CasePopupToolbarItemIdentifier
    = QStringLiteral("CasePopupToolbarItemIdentifier");
inline const QString CardFilterTextFieldToolbarItemIdentifier
    = QStringLiteral("CardFilterTextFieldToolbarItemIdentifier");
inline const QString CardTypePopupToolbarItemIdentifier
    = QStringLiteral("CardTypePopupToolbarItemIdentifier");
// The platform's standard items.
inline const QString ToolbarSeparatorItemIdentifier
    = QStringLiteral("ToolbarSeparatorItemIdentifier");
inline const QString ToolbarPrintItemIdentifier = QStringLiteral("ToolbarPrintItemIdentifier");
inline const QString ToolbarCustomizeItemIdentifier
    = QStringLiteral("ToolbarCustomizeItemIdentifier");
inline const QString ToolbarFlexibleSpaceItemIdentifier
    = QStringLiteral("ToolbarFlexibleSpaceItemIdentifier");
inline const QString ToolbarSpaceItemIdentifier = QStringLiteral("ToolbarSpaceItemIdentifier");

// The toolbar of a document window, in a fixed order with a label under each control: the model
// edit window and save buttons, the view type popup, the 3-D move mode switch, the view setting
// pull-down, the case popup and the card filter field. It keeps its controls in step with the
// window: the shown view, the cases, the filter and the document's edited state.
class UFemWindowToolbar : public QObject {
    Q_OBJECT
public:
    // Sends an action with no target; answers whether someone performed it.
    using CommandSender = std::function<bool(const QString& command)>;

    // Builds the controls and puts the toolbar at the top of the window.
    explicit UFemWindowToolbar(UFemWindowController& windowController);
    ~UFemWindowToolbar() override;

    static QStringList toolbarDefaultItemIdentifiers(const QString& toolbarIdentifier);
    static QStringList toolbarAllowedItemIdentifiers(const QString& toolbarIdentifier);

    // Starts following the window and its document; called once the window has its document.
    void setupToolbar();
    // Stops following them; a second call does nothing.
    void finish();
    // Answers whether someone would take a command now.
    using CommandValidator = std::function<bool(const QString& command)>;
    // By default the window controller, then its document and document controller; a sender
    // comes with the validator of the same targets.
    void setCommandSender(CommandSender sender, CommandValidator validator)
    {
        commandSender_ = std::move(sender);
        commandValidator_ = std::move(validator);
    }

    QToolBar* toolbar() const { return toolbar_; }
    // The items in the toolbar, in order.
    QStringList itemIdentifiers() const { return itemIdentifiers_; }
    QString itemLabel(const QString& identifier) const;
    QWidget* itemControl(const QString& identifier) const;
    bool validateToolbarItem(const QString& identifier) const;
    void validateToolbarItems();

    QComboBox* viewTypePopup() const { return viewTypePopup_; }
    QButtonGroup* graphicMoveModeSwitch() const { return moveModeSwitch_; }
    UFemViewSettingPopup* viewSettingPopup() const { return viewSettingPopup_; }
    UFemCasePopup* casePopup() const { return casePopup_; }
    UFemCardFilterField* cardFilterField() const { return cardFilterField_; }

    // The 3-D view's move mode, 1 while another view is shown.
    quint64 graphicMoveModeMenuTag() const;
    // Only while the 3-D view is shown; otherwise a program error.
    void setGraphicMoveModeMenuTag(quint64 tag);
    // Whether the shown view takes move modes: the 3-D view's controller, not a stand-in.
    bool isGraphicMoveModeAvailable() const;

    // The refreshers, all run on every change of the shown view.
    void updateToolbarViewTypeMenu();
    void updateToolbarGraphicMoveModeMenu();
    void updateToolbarViewSettingMenu();
    void updateToolbarCaseMenu();
    void updateToolbarCardFilterTextField();
    void updateToolbarControls();

    void cardFilterTextFieldChanged(const QString& text);

private:
    struct Item;

    void buildItems();
    QWidget* addItem(const QString& identifier, const QString& label, const QString& toolTip,
        QWidget* control, int minimumWidth, int maximumWidth);
    QToolButton* makeCommandButton(const QString& command, const QString& objectName, int icon);
    QComboBox* makeViewTypePopup();
    QWidget* makeMoveModeSwitch();
    void sendCommand(const QString& command);
    bool canSendCommand(const QString& command) const;
    std::vector<CommandTarget*> commandTargets() const;
    UFemGraphicMoveModeController* moveModeController() const;
    UFemViewType shownViewType() const;
    void activeMainViewDidChange();
    void postFromWindow(const QString& name) const;

    UFemWindowController& windowController_;
    QToolBar* toolbar_;
    QStringList itemIdentifiers_;
    std::vector<Item> items_;
    QComboBox* viewTypePopup_ = nullptr;
    QButtonGroup* moveModeSwitch_ = nullptr;
    QWidget* moveModeSwitchBox_ = nullptr;
    UFemViewSettingPopup* viewSettingPopup_ = nullptr;
    UFemCasePopup* casePopup_ = nullptr;
    UFemCardFilterField* cardFilterField_ = nullptr;
    CommandSender commandSender_;
    CommandValidator commandValidator_;
    std::vector<UNotificationObservation> observations_;
    QMetaObject::Connection editedConnection_;
};
