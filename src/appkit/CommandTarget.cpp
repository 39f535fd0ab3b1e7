#include "appkit/CommandTarget.h"

bool CommandTarget::respondsToCommand(const QString& command) const
{
    return handlers_.contains(command);
}

bool CommandTarget::validateCommand(CommandItem&)
{
    return true;
}

void CommandTarget::performCommand(const CommandItem& sender)
{
    const auto it = handlers_.constFind(sender.command());
    if (it != handlers_.cend()) {
        it.value()(sender);
    }
}

void CommandTarget::addCommand(const QString& command, Handler handler)
{
    handlers_.insert(command, std::move(handler));
}
