#pragma once

#include "appkit/CommandItem.h"

#include <QAction>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <vector>

class CommandTarget;
class QMenu;
class QMenuBar;
class QWidget;
class WindowTracker;

// Sends commands by name along a chain, as a desktop program's responder chain does: the focus
// widget of the key window and its ancestors (a focused text field handles the edit commands
// first), the key window's controller, then, when the main window is another one, its focus
// chain and controller, the main window's document, the application delegate and the document
// controller. The first that responds handles the command.
//
// Menu items are validated when their menu is shown, and enabled again when it hides so that
// their shortcuts fire; a command is validated again when it is triggered, and an invalid one
// beeps. Toolbar actions are validated after focus and window changes, on a coalesced timer.
class CommandRouter : public QObject {
    Q_OBJECT
public:
    explicit CommandRouter(WindowTracker& tracker, QObject* parent = nullptr);
    ~CommandRouter() override;

    void setApplicationDelegate(CommandTarget* delegate) { delegate_ = delegate; }
    void setDocumentController(CommandTarget* controller) { documentController_ = controller; }
    // Puts `target` in the chain at `widget` (a view controller at its view), before the widget's
    // ancestors.
    // The target must be detached before it is destroyed, unless the widget goes first.
    void attachTarget(QWidget* widget, CommandTarget* target);
    void detachTarget(const QWidget* widget);

    // The chain for the current key and main windows, first to last.
    std::vector<CommandTarget*> responderChain();
    CommandTarget* targetForCommand(const QString& command);

    // Sets the item enabled when a target responds and validates it; answers that.
    bool validate(CommandItem& item);
    // Validates and performs; an invalid command beeps and is not performed.
    bool perform(CommandItem& item);
    bool perform(const QString& command, int tag = 0);

    // Binds `action` to `command` (and `tag`): triggering it performs the command.
    void bindAction(QAction* action, const QString& command, int tag = 0);
    // Validates the menu's bound actions on show (and those of its submenus on theirs).
    void bindMenu(QMenu* menu);
    void bindMenuBar(QMenuBar* menuBar);
    // A bound action outside menus (toolbar), kept validated.
    void addValidatedAction(QAction* action);
    void scheduleValidation();
    void validateActions(const QList<QAction*>& actions);

private:
    void appendWindowChain(QWidget* window, std::vector<CommandTarget*>& chain);
    void enableActions(const QList<QAction*>& actions);

    WindowTracker& tracker_;
    CommandTarget* delegate_ = nullptr;
    CommandTarget* documentController_ = nullptr;
    QHash<const QWidget*, CommandTarget*> attached_;
    // Text-field targets made for the current chain.
    std::vector<std::unique_ptr<CommandTarget>> textTargets_;
    QList<QPointer<QAction>> validatedActions_;
    QTimer validationTimer_;
};
