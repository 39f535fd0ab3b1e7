#include "appkit/CommandRouter.h"

#include "appkit/CommandTarget.h"
#include "appkit/Document.h"
#include "appkit/Notifier.h"
#include "appkit/TextWidgetCommandTarget.h"
#include "appkit/WindowController.h"
#include "appkit/WindowTracker.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include <algorithm>

CommandRouter::CommandRouter(WindowTracker& tracker, QObject* parent)
    : QObject(parent)
    , tracker_(tracker)
{
    validationTimer_.setSingleShot(true);
    validationTimer_.setInterval(0);
    connect(&validationTimer_, &QTimer::timeout, this, [this] {
        QList<QAction*> actions;
        for (const QPointer<QAction>& action : validatedActions_) {
            if (action) {
                actions.append(action.data());
            }
        }
        validateActions(actions);
    });
    connect(qApp, &QApplication::focusChanged, this, &CommandRouter::scheduleValidation);
    connect(&tracker_, &WindowTracker::keyWindowChanged, this, &CommandRouter::scheduleValidation);
    connect(&tracker_, &WindowTracker::mainWindowChanged, this, &CommandRouter::scheduleValidation);
}

CommandRouter::~CommandRouter() = default;

void CommandRouter::attachTarget(QWidget* widget, CommandTarget* target)
{
    attached_.insert(widget, target);
    connect(widget, &QObject::destroyed, this, [this, widget] { detachTarget(widget); });
}

void CommandRouter::detachTarget(const QWidget* widget)
{
    attached_.remove(widget);
}

void CommandRouter::appendWindowChain(QWidget* window, std::vector<CommandTarget*>& chain)
{
    QWidget* focus = window->focusWidget();
    if (focus == nullptr || focus->window() != window) {
        return;
    }
    if (auto text = TextWidgetCommandTarget::forWidget(focus)) {
        chain.push_back(text.get());
        textTargets_.push_back(std::move(text));
    }
    for (QWidget* widget = focus; widget != nullptr && widget != window;
         widget = widget->parentWidget()) {
        if (CommandTarget* target = attached_.value(widget)) {
            chain.push_back(target);
        } else if (auto* own = dynamic_cast<CommandTarget*>(widget)) {
            chain.push_back(own);
        }
    }
}

std::vector<CommandTarget*> CommandRouter::responderChain()
{
    textTargets_.clear();
    std::vector<CommandTarget*> chain;
    WindowController* key = tracker_.keyWindowController();
    WindowController* main = tracker_.mainWindowController();
    if (key != nullptr) {
        appendWindowChain(key->window(), chain);
        chain.push_back(key);
    }
    if (main != nullptr && main != key) {
        appendWindowChain(main->window(), chain);
        chain.push_back(main);
    }
    if (main != nullptr && main->document() != nullptr) {
        chain.push_back(main->document());
    }
    for (CommandTarget* target : { delegate_, documentController_ }) {
        if (target != nullptr) {
            chain.push_back(target);
        }
    }
    return chain;
}

CommandTarget* CommandRouter::targetForCommand(const QString& command)
{
    const std::vector<CommandTarget*> chain = responderChain();
    const auto it = std::find_if(chain.begin(), chain.end(),
        [&command](CommandTarget* target) { return target->respondsToCommand(command); });
    return it == chain.end() ? nullptr : *it;
}

bool CommandRouter::validate(CommandItem& item)
{
    CommandTarget* target = targetForCommand(item.command());
    const bool enabled = target != nullptr && target->validateCommand(item);
    item.setEnabled(enabled);
    return enabled;
}

bool CommandRouter::perform(CommandItem& item)
{
    CommandTarget* target = targetForCommand(item.command());
    if (target == nullptr || !target->validateCommand(item)) {
        Notifier::beep();
        return false;
    }
    target->performCommand(item);
    return true;
}

bool CommandRouter::perform(const QString& command, int tag)
{
    CommandItem item(command, tag);
    return perform(item);
}

void CommandRouter::bindAction(QAction* action, const QString& command, int tag)
{
    CommandItem::bind(*action, command, tag);
    connect(action, &QAction::triggered, this, [this, action] {
        CommandItem item(*action);
        perform(item);
    });
}

void CommandRouter::bindMenu(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { validateActions(menu->actions()); });
    connect(menu, &QMenu::aboutToHide, this, [this, menu] { enableActions(menu->actions()); });
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr) {
            bindMenu(action->menu());
        }
    }
}

void CommandRouter::bindMenuBar(QMenuBar* menuBar)
{
    for (QAction* action : menuBar->actions()) {
        if (action->menu() != nullptr) {
            bindMenu(action->menu());
        }
    }
}

void CommandRouter::addValidatedAction(QAction* action)
{
    validatedActions_.append(action);
    scheduleValidation();
}

void CommandRouter::scheduleValidation()
{
    if (!validatedActions_.isEmpty()) {
        validationTimer_.start();
    }
}

void CommandRouter::validateActions(const QList<QAction*>& actions)
{
    for (QAction* action : actions) {
        if (!CommandItem::commandOf(*action).isEmpty()) {
            CommandItem item(*action);
            validate(item);
        }
    }
}

void CommandRouter::enableActions(const QList<QAction*>& actions)
{
    for (QAction* action : actions) {
        if (!CommandItem::commandOf(*action).isEmpty()) {
            action->setEnabled(true);
        }
    }
}
