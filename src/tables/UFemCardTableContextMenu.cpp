#include "tables/UFemCardTableContextMenu.h"

#include "appkit/CommandItem.h"
#include "appkit/CommandTarget.h"
#include "appkit/Notifier.h"

#include <QCoreApplication>
#include <QMenu>

namespace {

struct ContextItem {
    const char* command;
    const char* title;
};

// A null command is a separator.
const ContextItem ContextItems[] = {
    { "cut:", QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Cut") },
    { "copy:", QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Copy") },
    { "paste:", QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Paste") },
    { "delete_:", QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Delete") },
    { nullptr, nullptr },
    { "insert:", QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Insert Card") },
    { nullptr, nullptr },
    { "cutAsTabSeparatedText:",
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Cut as Tab-Separated Text") },
    { "copyAsTabSeparatedText:",
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Copy as Tab-Separated Text") },
    { "pasteAsTabSeparatedText:",
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Paste as Tab-Separated Text") },
    { nullptr, nullptr },
    { "retryAllErrorCards:",
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Retry All Error Cards") },
    { "fineNextErrorCard:", QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Next Error Card") },
    { "findPreviousErrorCard:",
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Previous Error Card") },
    { "fineNextIncompleteCard:",
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Next Incomplete Card") },
    { "findPreviousIncompleteCard:",
        QT_TRANSLATE_NOOP("UFemCardTableContextMenu", "Previous Incomplete Card") },
};

} // namespace

const QStringList& UFemCardTableContextMenu::commands()
{
    static const QStringList list = [] {
        QStringList commands;
        for (const ContextItem& item : ContextItems)
            commands.append(
                item.command != nullptr ? QString::fromLatin1(item.command) : QString());
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
        CommandItem::bind(*action, QString::fromLatin1(entry.command), 0);
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
