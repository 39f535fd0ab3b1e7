#pragma once

#include <QStringList>

class CommandTarget;
class QMenu;
class QWidget;

// The card table's context menu: the Edit menu's card commands (cut, copy, paste, delete,
// insert, the tab-separated variants, retrying error cards and the problem-card navigation),
// validated by the table's controller when the menu is made and performed by it when chosen.
class UFemCardTableContextMenu {
public:
    // The commands of the items, in menu order; empty entries are separators.
    static const QStringList& commands();
    // A menu owned by `parent` that deletes itself when closed.
    static QMenu* makeMenu(CommandTarget& target, QWidget* parent);
};
