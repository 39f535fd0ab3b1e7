#include "tables/UFemCardTableContextMenu.h"

#include "appkit/CommandItem.h"
#include "appkit/CommandTarget.h"
#include "appkit/Notifier.h"
#include "documents/application/UFemCommandNames.h"

#include <QCoreApplication>
#include <QMenu>

namespace {

struct ContextItem {
    const QString* command;
    const char* title;
};

// A null command is a separator.
const ContextItem ContextItems[] = {
    { &CutCommand, QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Cut") },
    { &CopyCommand, QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Copy") },
    { &PasteCommand, QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Paste") },
    { &DeleteCommand, QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Delete") },
    { nullptr, nullptr },
    { &UFemInsertCommand, QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Insert Card") },
    { nullptr, nullptr },
    { &UFemCutAsTabSeparatedTextCommand,
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Cut as Tab-Separated Text") },
    { &UFemCopyAsTabSeparatedTextCommand,
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Copy as Tab-Separated Text") },
    { &UFemPasteAsTabSeparatedTextCommand,
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Paste as Tab-Separated Text") },
    { nullptr, nullptr },
    { &UFemRetryAllErrorCardsCommand,
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Retry All Error Cards") },
    { &UFemFineNextErrorCardCommand,
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Next Error Card") },
    { &UFemFindPreviousErrorCardCommand,
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Previous Error Card") },
    { &UFemFineNextIncompleteCardCommand,
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Next Incomplete Card") },
    { &UFemFindPreviousIncompleteCardCommand,
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Previous Incomplete Card") },
};

} // namespace

const QStringList& UFemCardTableContextMenu::commands()
{
    static const QStringList list = [] {
        QStringList commands;
        for (const ContextItem& item : ContextItems)
            commands.append(item.command != nullptr ? *item.command : QString());
        return commands;
    }();
    return list;
}

QMenu* UFemCardTableContextMenu::makeMenu(CommandTarget& target, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const ContextItem& entry : ContextItems) {
        if (entry.command == nullptr) {
            menu->addSeparator();
            continue;
        }
        QAction* action
            = menu->addAction(QCoreApplication::translate("UFemCardTableContextMenu", entry.title));
        CommandItem::bind(*action, *entry.command, 0);
        CommandItem item(*action);
        item.setEnabled(target.validateCommand(item));
        QObject::connect(action, &QAction::triggered, menu, [&target, action] {
            CommandItem sender(*action);
            if (!target.validateCommand(sender)) {
                Notifier::beep();
                return;
            }
            target.performCommand(sender);
        });
    }
    return menu;
}
