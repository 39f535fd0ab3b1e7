#pragma once

#include "documents/application/UFemCommandNames.h"

#include <QString>
#include <QToolButton>

#include <memory>

class QMenu;
class UFemWindowController;

// Tags of the case menu; a single case card's item carries 1000 plus its index among the
// model's case cards.
enum UFemCaseMenuTag : qint64 {
    UFemCaseMenuTagNoCase = 1,
    UFemCaseMenuTagAllCases = 2,
    UFemCaseMenuTagSomeCases = 3,
};

// The toolbar's case popup: the four case select modes, one item per case card for a single
// case, and a submenu of the case cards for some cases. A tool button with a menu, since the
// popup holds a submenu.
class UFemCasePopup : public QToolButton {
    Q_OBJECT
public:
    explicit UFemCasePopup(UFemWindowController& windowController, QWidget* parent = nullptr);
    ~UFemCasePopup() override;

    // Null in the information view and without model data. Items are checkable and bound to the
    // case commands with their tags.
    std::unique_ptr<QMenu> caseMenu();
    qint64 selectedCaseMenuItemTag() const;
    // Enabled with the menu of the moment and the chosen item shown, or disabled without one.
    void updateToolbarCaseMenu();
    QMenu* shownMenu() const { return menu_.get(); }

    static bool isCaseCommand(const QString& command);
    // Sets the case select mode, then the current cases.
    void performCaseCommand(const QString& command, qint64 tag);

private:
    void addCaseItems(QMenu& menu, const QString& command);
    QAction* addItem(QMenu& menu, const QString& title, const QString& command, qint64 tag);

    UFemWindowController& windowController_;
    std::unique_ptr<QMenu> menu_;
};
