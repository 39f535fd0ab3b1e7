#include "documents/toolbar/UFemCasePopup.h"

#include "appkit/CommandItem.h"
#include "cardmodel/data/UFemDataController.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowDocument.h"

#include <QMenu>

#include <algorithm>

namespace {

QAction* findItem(const QMenu& menu, const QString& command, qint64 tag)
{
    for (QAction* action : menu.actions()) {
        if (CommandItem::commandOf(*action) == command && action->data().toLongLong() == tag)
            return action;
    }
    return nullptr;
}

} // namespace

UFemCasePopup::UFemCasePopup(UFemWindowController& windowController, QWidget* parent)
    : QToolButton(parent)
    , windowController_(windowController)
{
    setObjectName(QStringLiteral("toolbarCasePopupOutlet"));
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
}

UFemCasePopup::~UFemCasePopup() = default;

QAction* UFemCasePopup::addItem(
    QMenu& menu, const QString& title, const QString& command, qint64 tag)
{
    QAction* action = menu.addAction(title);
    CommandItem::bind(*action, command, int(tag));
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, command, tag] {
        // The menu this item belongs to may be rebuilt by the change it makes.
        QMetaObject::invokeMethod(
            this, [this, command, tag] { performCaseCommand(command, tag); }, Qt::QueuedConnection);
    });
    return action;
}

void UFemCasePopup::addCaseItems(QMenu& menu, const QString& command)
{
    std::vector<UFemMenuItemDescription> items;
    windowController_.dataController().insertCaseMenuItemToMenu(items, 0);
    for (const UFemMenuItemDescription& item : items) {
        if (item.isSeparator)
            menu.addSeparator();
        else
            addItem(menu, item.title, command, item.tag);
    }
}

std::unique_ptr<QMenu> UFemCasePopup::caseMenu()
{
    UFemWindowDocument* document = windowController_.ufemDocument();
    if (windowController_.mainViewController() == nullptr
        || windowController_.viewType() == UFemViewTypeInfo || document == nullptr
        || !document->hasModelData())
        return nullptr;
    auto menu = std::make_unique<QMenu>();
    addItem(*menu, tr("No Case"), UFemNoCasesCommand, UFemCaseMenuTagNoCase);
    addItem(*menu, tr("All Cases"), UFemAllCasesCommand, UFemCaseMenuTagAllCases);
    QAction* someCases = addItem(*menu, tr("Some Cases"), QString(), UFemCaseMenuTagSomeCases);
    auto* submenu = new QMenu(menu.get());
    addItem(*submenu, tr("Select All Cases"), UFemSelectAllCasesCommand, 0);
    addItem(*submenu, tr("Deselect All Cases"), UFemDeselectAllCasesCommand, 0);
    submenu->addSeparator();
    addCaseItems(*submenu, UFemSomeCasesCommand);
    someCases->setMenu(submenu);
    menu->addSeparator();
    addCaseItems(*menu, UFemOneCaseCommand);

    if (windowController_.currentCaseSelectMode() == UFemCaseSelectModeSomeCases) {
        UFemDataController& model = windowController_.dataController();
        for (const UFemCardPtr& caseCard : windowController_.currentCaseCardArray()) {
            if (QAction* item
                = findItem(*submenu, UFemSomeCasesCommand, model.caseMenuTagOfCaseCard(caseCard)))
                item->setChecked(true);
        }
    }
    return menu;
}

qint64 UFemCasePopup::selectedCaseMenuItemTag() const
{
    switch (windowController_.currentCaseSelectMode()) {
    case UFemCaseSelectModeNoCase:
        return UFemCaseMenuTagNoCase;
    case UFemCaseSelectModeAllCases:
        return UFemCaseMenuTagAllCases;
    case UFemCaseSelectModeSomeCases:
        return UFemCaseMenuTagSomeCases;
    case UFemCaseSelectModeOneCase: {
        const UFemCardPtr caseCard = windowController_.currentCaseCard();
        return caseCard != nullptr
            ? windowController_.dataController().caseMenuTagOfCaseCard(caseCard)
            : 0;
    }
    default:
        return 0;
    }
}

void UFemCasePopup::updateToolbarCaseMenu()
{
    std::unique_ptr<QMenu> menu = caseMenu();
    setMenu(menu.get());
    if (menu_ != nullptr)
        menu_.release()->deleteLater();
    menu_ = std::move(menu);
    setEnabled(menu_ != nullptr);
    if (menu_ == nullptr) {
        setText(tr("No Case"));
        return;
    }
    const qint64 tag = selectedCaseMenuItemTag();
    for (QAction* action : menu_->actions()) {
        if (!action->isSeparator() && action->data().toLongLong() == tag) {
            action->setChecked(true);
            setText(action->text());
        }
    }
}

bool UFemCasePopup::isCaseCommand(const QString& command)
{
    static const QString commands[]
        = { UFemNoCasesCommand, UFemAllCasesCommand, UFemSelectAllCasesCommand,
              UFemDeselectAllCasesCommand, UFemOneCaseCommand, UFemSomeCasesCommand };
    return std::find(std::begin(commands), std::end(commands), command) != std::end(commands);
}

void UFemCasePopup::performCaseCommand(const QString& command, qint64 tag)
{
    UFemWindowController& window = windowController_;
    if (command == UFemNoCasesCommand)
        window.selectNoCases();
    else if (command == UFemAllCasesCommand)
        window.selectAllCases();
    else if (command == UFemSelectAllCasesCommand)
        window.selectAllCasesInSomeCases();
    else if (command == UFemDeselectAllCasesCommand)
        window.deselectAllCasesInSomeCases();
    else if (command == UFemOneCaseCommand)
        window.selectOneCase(window.dataController().caseCardOfCaseMenuTag(tag));
    else if (command == UFemSomeCasesCommand)
        window.selectCaseInSomeCases(window.dataController().caseCardOfCaseMenuTag(tag));
}
