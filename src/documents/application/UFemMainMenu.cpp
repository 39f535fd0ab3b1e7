#include "documents/application/UFemMainMenu.h"

#include "appkit/CommandItem.h"
#include "appkit/CommandRouter.h"
#include "documents/application/UFemCommandNames.h"

#include <QAction>
#include <QKeySequence>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

struct UFemMainMenu::Item {
    QString title;
    QString command;
    int tag = 0;
    QKeySequence shortcut = {};
    bool checkable = false;
};

namespace {

} // namespace

UFemMainMenu::UFemMainMenu(CommandRouter& router)
    : router_(router)
    , findSubmenu_(std::make_unique<QMenu>(tr("Find")))
    , graphicMoveModeSubmenu_(std::make_unique<QMenu>(tr("Graphic Mode")))
    , setDirectionSubmenu_(std::make_unique<QMenu>(tr("Set Direction")))
{
    buildFileMenu();
    buildEditMenu();
    buildViewMenu();
    buildModelMenu();
    buildWindowMenu();
    buildHelpMenu();
}

UFemMainMenu::~UFemMainMenu() = default;

QAction* UFemMainMenu::separator(QObject* parent)
{
    auto* action = new QAction(parent);
    action->setSeparator(true);
    return action;
}

QAction* UFemMainMenu::addItem(QList<QAction*>& menu, const Item& item)
{
    auto* action = new QAction(item.title, this);
    action->setShortcut(item.shortcut);
    action->setShortcutContext(Qt::ApplicationShortcut);
    action->setCheckable(item.checkable);
    router_.bindAction(action, item.command, item.tag);
    menu.append(action);
    return action;
}

QAction* UFemMainMenu::addSubmenuItem(QList<QAction*>& menu, const QString& title, QMenu* submenu)
{
    auto* action = new QAction(title, this);
    if (submenu != nullptr)
        action->setMenu(submenu);
    menu.append(action);
    return action;
}

void UFemMainMenu::buildFileMenu()
{
    QList<QAction*> items;
    addItem(items,
        { tr("New Project..."), UFemNewProjectDocumentCommand, 0,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N) });
    addItem(items, { tr("New Model"), UFemNewModelDocumentCommand, 0, QKeySequence::New });
    addItem(items, { tr("Open..."), OpenDocumentCommand, 0, QKeySequence::Open });
    items.append(separator(this));
    addItem(items, { tr("Close"), PerformCloseCommand, 0, QKeySequence::Close });
    addItem(items, { tr("Save"), SaveDocumentCommand, 0, QKeySequence::Save });
    addItem(items, { tr("Save As..."), SaveDocumentAsCommand, 0, QKeySequence::SaveAs });
    addItem(items, { tr("Export Model File..."), UFemSaveModelDocumentToCommand });
    addItem(items, { tr("Revert to Saved"), RevertDocumentToSavedCommand });
    items.append(separator(this));
    addItem(items, { tr("Page Setup..."), UFemRunPageLayoutCommand });
    addItem(items, { tr("Print..."), UFemPrintDocumentCommand, 0, QKeySequence::Print });
    items.append(separator(this));
    addItem(items,
        { tr("Preferences..."), UFemShowPreferencePanelCommand, 0, QKeySequence::Preferences });
    items.append(separator(this));
    addItem(items, { tr("Quit Vantrel"), UFemTerminateCommand, 0, QKeySequence::Quit });
    menus_.append({ tr("&File"), items });
}

void UFemMainMenu::buildEditMenu()
{
    QList<QAction*> find;
    addItem(find, { tr("Find..."), UFemOpenFindPanelCommand, 0, QKeySequence::Find });
    addItem(find, { tr("Find Next"), UFemFindNextCommand, 0, QKeySequence::FindNext });
    addItem(find, { tr("Find Previous"), UFemFindPreviousCommand, 0, QKeySequence::FindPrevious });
    addItem(find,
        { tr("Use Selection for Find"), UFemUseSelectionForFindCommand, 0,
            QKeySequence(Qt::CTRL | Qt::Key_E) });
    addItem(find,
        { tr("Scroll to Selection"), UFemScrollToSelectionCommand, 0,
            QKeySequence(Qt::CTRL | Qt::Key_J) });
    find.append(separator(this));
    addItem(find,
        { tr("Next Error Card"), UFemFineNextErrorCardCommand, 0,
            QKeySequence(Qt::CTRL | Qt::Key_Apostrophe) });
    addItem(find,
        { tr("Previous Error Card"), UFemFindPreviousErrorCardCommand, 0,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Apostrophe) });
    addItem(find,
        { tr("Next Incomplete Card"), UFemFineNextIncompleteCardCommand, 0,
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Apostrophe) });
    addItem(find,
        { tr("Previous Incomplete Card"), UFemFindPreviousIncompleteCardCommand, 0,
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_Apostrophe) });
    findSubmenu_->addActions(find);

    QList<QAction*> items;
    addItem(items, { tr("Undo"), UndoCommand, 0, QKeySequence::Undo });
    addItem(items, { tr("Redo"), RedoCommand, 0, QKeySequence::Redo });
    items.append(separator(this));
    addItem(items, { tr("Cut"), CutCommand, 0, QKeySequence::Cut });
    addItem(items, { tr("Copy"), CopyCommand, 0, QKeySequence::Copy });
    addItem(items, { tr("Paste"), PasteCommand, 0, QKeySequence::Paste });
    // The card table takes the Delete and Backspace keys itself; text fields keep theirs.
    addItem(items, { tr("Delete"), DeleteCommand });
    addItem(items, { tr("Select All"), SelectAllCommand, 0, QKeySequence::SelectAll });
    items.append(separator(this));
    addItem(items,
        { tr("Cut as Tab-Separated Text"), UFemCutAsTabSeparatedTextCommand, 0,
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X) });
    addItem(items,
        { tr("Copy as Tab-Separated Text"), UFemCopyAsTabSeparatedTextCommand, 0,
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C) });
    addItem(items,
        { tr("Paste as Tab-Separated Text"), UFemPasteAsTabSeparatedTextCommand, 0,
            QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V) });
    items.append(separator(this));
    addItem(items, { tr("Insert Card"), UFemInsertCommand, 0, QKeySequence(Qt::CTRL | Qt::Key_I) });
    addItem(items, { tr("Retry All Error Cards"), UFemRetryAllErrorCardsCommand });
    items.append(separator(this));
    findBase_ = addSubmenuItem(items, tr("Find"), findSubmenu_.get());
    menus_.append({ tr("&Edit"), items });
}

void UFemMainMenu::buildViewMenu()
{
    QList<QAction*> modes;
    const QStringList modeTitles
        = { tr("Pointer"), tr("Move"), tr("Rotate"), tr("Roll"), tr("Zoom") };
    for (int tag = 1; tag <= modeTitles.size(); ++tag)
        addItem(modes,
            { modeTitles[tag - 1], UFemGraphicMoveModeMenuItemSelectedWithMenuItemCommand, tag, {},
                true });
    graphicMoveModeSubmenu_->addActions(modes);

    QList<QAction*> directions;
    addItem(directions, { tr("Fit Object in View"), UFemFitObjectInViewCommand });
    addItem(directions, { tr("X Right, Z Up"), UFemSetDirectionXRightZUpCommand });
    addItem(directions, { tr("X Right, Y Up"), UFemSetDirectionXRightYUpCommand });
    addItem(directions, { tr("Y Right, Z Up"), UFemSetDirectionYRightZUpCommand });
    setDirectionSubmenu_->addActions(directions);

    QList<QAction*> items;
    tableViewType_ = addItem(items,
        { tr("Card Table"), UFemViewTypeMenuItemSelectedWithMenuItemCommand, 1,
            QKeySequence(Qt::CTRL | Qt::Key_1), true });
    graphicViewType_ = addItem(items,
        { tr("Graphic View"), UFemViewTypeMenuItemSelectedWithMenuItemCommand, 2,
            QKeySequence(Qt::CTRL | Qt::Key_2), true });
    projectInfoViewType_ = addItem(items,
        { tr("Project Info"), UFemViewTypeMenuItemSelectedWithMenuItemCommand, 3,
            QKeySequence(Qt::CTRL | Qt::Key_3), true });
    items.append(separator(this));
    graphicMoveMode_ = addSubmenuItem(items, tr("Graphic Mode"), graphicMoveModeSubmenu_.get());
    viewSetting_ = addSubmenuItem(items, tr("View Setting"), nullptr);
    case_ = addSubmenuItem(items, tr("Case"), nullptr);
    setDirection_ = addSubmenuItem(items, tr("Set Direction"), setDirectionSubmenu_.get());
    menus_.append({ tr("&View"), items });
}

void UFemMainMenu::buildModelMenu()
{
    QList<QAction*> items;
    addItem(items, { tr("File Lock"), UFemFileLockWithMenuItemCommand, 0, {}, true });
    addItem(items, { tr("Load Result Data..."), UFemLoadResultDataWithMenuItemCommand });
    addItem(items, { tr("Unload Result Data"), UFemUnloadResultDataWithMenuItemCommand });
    items.append(separator(this));
    addItem(
        items, { tr("Load Clipboard Card Values"), UFemLoadClipboardCardValueWithMenuItemCommand });
    addItem(items,
        { tr("Load Clipboard Card Values (Tab-Separated)"),
            UFemLoadClipboardCardValueAsTabSeparatedTextWithMenuItemCommand });
    addItem(items, { tr("Unload Clipboard Card Values"), UFemUnloadClipboardCardValueCommand });
    items.append(separator(this));
    addItem(items,
        { tr("Check Model..."), UFemCheckToRunCalculationCommand, 0,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R) });
    addItem(items,
        { tr("Start Calculation..."), UFemStartCalculationCommand, 0,
            QKeySequence(Qt::CTRL | Qt::Key_R) });
    addItem(items, { tr("Calculation Panel"), UFemOpenCalculationPanelCommand });
    items.append(separator(this));
    addItem(items, { tr("Model Edit Window"), UFemOpenModelEditWindowCommand });
    items.append(separator(this));
    addItem(items, { tr("Merge Nodes on Same Location..."), UFemMergeNodeOnSameLocationCommand });
    addItem(items, { tr("Divide Selected Elements..."), UFemDivideSelectedElementsCommand });
    menus_.append({ tr("&Model"), items });
}

void UFemMainMenu::buildWindowMenu()
{
    QList<QAction*> items;
    addItem(items, { tr("New Window"), UFemMakeNewWindowCommand });
    menus_.append({ tr("&Window"), items });
}

void UFemMainMenu::buildHelpMenu()
{
    QList<QAction*> items;
    addItem(items, { tr("Vantrel Users Manual"), UFemOpenUsersManualCommand });
    addItem(items, { tr("Vantrel Web Site"), UFemOpenWebSiteCommand });
    items.append(separator(this));
    addItem(items, { tr("OpenGL Renderer Info"), UFemShowOpenGLInfoCommand });
    addItem(items, { tr("About Vantrel"), UFemShowAboutPanelCommand });
    menus_.append({ tr("&Help"), items });
}

void UFemMainMenu::fillMenuBar(QMenuBar* menuBar)
{
    for (const auto& [title, items] : menus_) {
        QMenu* menu = menuBar->addMenu(title);
        menu->addActions(items);
    }
    router_.bindMenuBar(menuBar);
}

void UFemMainMenu::installMenuBar(QWidget* window)
{
    if (window->findChild<QMenuBar*>() != nullptr)
        return;
    if (auto* mainWindow = qobject_cast<QMainWindow*>(window)) {
        fillMenuBar(mainWindow->menuBar());
        return;
    }
    if (window->layout() == nullptr)
        return;
    auto* menuBar = new QMenuBar(window);
    fillMenuBar(menuBar);
    window->layout()->setMenuBar(menuBar);
}

QList<QAction*> UFemMainMenu::allItems() const
{
    QList<QAction*> all = findSubmenu_->actions() + graphicMoveModeSubmenu_->actions()
        + setDirectionSubmenu_->actions();
    for (const auto& menu : menus_)
        all += menu.second;
    return all;
}

QAction* UFemMainMenu::itemForCommand(const QString& command, int tag) const
{
    for (QAction* action : allItems()) {
        if (CommandItem::commandOf(*action) == command && action->data().toInt() == tag)
            return action;
    }
    return nullptr;
}

QList<QAction*> UFemMainMenu::commandItems() const
{
    QList<QAction*> items = allItems();
    items.removeIf([](QAction* action) { return CommandItem::commandOf(*action).isEmpty(); });
    return items;
}
