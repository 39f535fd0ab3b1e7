#include "appkit/CommandItem.h"

#include <QAction>

namespace {

const char* const CommandProperty = "vantrelCommand";
const char* const StateProperty = "vantrelCommandState";

} // namespace

CommandItem::CommandItem(QString command, int tag)
    : command_(std::move(command))
    , tag_(tag)
{
}

CommandItem::CommandItem(QAction& action)
    : command_(commandOf(action))
    , tag_(action.data().toInt())
    , action_(&action)
    , enabled_(action.isEnabled())
    , state_(CommandState(action.property(StateProperty).toInt()))
    , title_(action.text())
{
}

void CommandItem::bind(QAction& action, const QString& command, int tag)
{
    action.setProperty(CommandProperty, command);
    action.setData(tag);
}

QString CommandItem::commandOf(const QAction& action)
{
    return action.property(CommandProperty).toString();
}

void CommandItem::setEnabled(bool enabled)
{
    enabled_ = enabled;
    if (action_) {
        action_->setEnabled(enabled);
    }
}

void CommandItem::setState(CommandState state)
{
    state_ = state;
    if (action_) {
        action_->setProperty(StateProperty, int(state));
        action_->setCheckable(true);
        action_->setChecked(state == CommandState::On);
    }
}

QString CommandItem::title() const
{
    return title_;
}

void CommandItem::setTitle(const QString& title)
{
    title_ = title;
    if (action_) {
        action_->setText(title);
    }
}
