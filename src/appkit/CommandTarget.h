#pragma once

#include "appkit/CommandItem.h"

#include <QHash>
#include <QString>

#include <functional>

// An object in the command chain: it answers whether it handles a command, validates the items
// that send it and performs it. Subclasses register handlers, or override the three operations.
class CommandTarget {
public:
    using Handler = std::function<void(const CommandItem& sender)>;

    virtual ~CommandTarget() = default;

    virtual bool respondsToCommand(const QString& command) const;
    // Whether `item` is enabled; may also set its state and title. Every command is enabled
    // unless a subclass says otherwise.
    virtual bool validateCommand(CommandItem& item);
    virtual void performCommand(const CommandItem& sender);

protected:
    void addCommand(const QString& command, Handler handler);

private:
    QHash<QString, Handler> handlers_;
};
