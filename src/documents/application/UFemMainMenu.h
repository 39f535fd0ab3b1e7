#pragma once

#include <QObject>

#include <memory>

class CommandRouter;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The program's main menu. Linux has no global menu bar, so every window that carries the menu
// (each document window, and the start window while no document window is open) gets its own
// menus holding these same items; enabling or checking an item shows in every copy.
class UFemMainMenu : public QObject {
    Q_OBJECT
public:
    explicit UFemMainMenu(CommandRouter& router);
    ~UFemMainMenu() override;

    // Adds the program's menus to `menuBar`, validated by the router when they open.
    void fillMenuBar(QMenuBar* menuBar);
    // Gives `window` a menu bar with the program's menus, unless it has one: a main window's
    // own, else one at the top of its layout.
    void installMenuBar(QWidget* window);

    // The items the application delegate keeps in step with the active document window.
    QAction* findBaseMenuItem() const { return findBase_; }
    QAction* tableViewTypeMenuItem() const { return tableViewType_; }
    QAction* graphicViewTypeMenuItem() const { return graphicViewType_; }
    QAction* projectInfoViewTypeMenuItem() const { return projectInfoViewType_; }
    QAction* graphicMoveModeMenuItem() const { return graphicMoveMode_; }
    QAction* viewSettingMenuItem() const { return viewSetting_; }
    QAction* caseMenuItem() const { return case_; }
    QAction* setDirectionMenuItem() const { return setDirection_; }

    // The item bound to `command` (and `tag`), null when the menu has none.
    QAction* itemForCommand(const QString& command, int tag = 0) const;
    // Every item bound to a command, the submenus' included.
    QList<QAction*> commandItems() const;

private:
    struct Item;
    QAction* addItem(QList<QAction*>& menu, const Item& item);
    QAction* addSubmenuItem(QList<QAction*>& menu, const QString& title, QMenu* submenu);
    void buildFileMenu();
    void buildEditMenu();
    void buildViewMenu();
    void buildModelMenu();
    void buildWindowMenu();
    void buildHelpMenu();
    static QAction* separator(QObject* parent);

    CommandRouter& router_;
    // The submenus shared by every menu bar.
    std::unique_ptr<QMenu> findSubmenu_;
    std::unique_ptr<QMenu> graphicMoveModeSubmenu_;
    std::unique_ptr<QMenu> setDirectionSubmenu_;
    QList<QAction*> allItems() const;
    // Each top-level menu: its title and its items in order.
    QList<QPair<QString, QList<QAction*>>> menus_;
    QAction* findBase_ = nullptr;
    QAction* tableViewType_ = nullptr;
    QAction* graphicViewType_ = nullptr;
    QAction* projectInfoViewType_ = nullptr;
    QAction* graphicMoveMode_ = nullptr;
    QAction* viewSetting_ = nullptr;
    QAction* case_ = nullptr;
    QAction* setDirection_ = nullptr;
};
