#include "documents/application/UFemApplicationCommandHooks.h"

#include <QHash>

namespace {

struct Hook {
    UFemApplicationCommandHooks::Handler handler;
    UFemApplicationCommandHooks::Validator validator;
};

QHash<QString, Hook>& hooks()
{
    static QHash<QString, Hook> registered;
    return registered;
}

} // namespace

void UFemApplicationCommandHooks::setHandler(
    const QString& command, Handler handler, Validator validator)
{
    hooks().insert(command, Hook { std::move(handler), std::move(validator) });
}

void UFemApplicationCommandHooks::removeHandler(const QString& command)
{
    hooks().remove(command);
}

void UFemApplicationCommandHooks::removeAllHandlers()
{
    hooks().clear();
}

bool UFemApplicationCommandHooks::hasHandler(const QString& command)
{
    return hooks().contains(command);
}

bool UFemApplicationCommandHooks::validate(CommandItem& item)
{
    const auto it = hooks().constFind(item.command());
    if (it == hooks().cend())
        return false;
    return !it->validator || it->validator(item);
}

bool UFemApplicationCommandHooks::perform(CommandItem& item)
{
    if (!validate(item))
        return false;
    // A copy: the handler may replace the hooks.
    const Handler handler = hooks().value(item.command()).handler;
    handler(item);
    return true;
}
