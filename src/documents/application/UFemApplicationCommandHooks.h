#pragma once

#include "appkit/CommandItem.h"

#include <QString>

#include <functional>

// The commands of the menus and the toolbar that subsystems above the documents carry out (the
// model tools, the model edit window). The application fills the handlers at start; the
// application delegate and the window toolbar send those commands here. A command without a
// handler has no target, so its items stay disabled.
class UFemApplicationCommandHooks {
public:
    using Handler = std::function<void(const CommandItem& sender)>;
    // Whether the command may be sent now (it may also set the item's state and title).
    using Validator = std::function<bool(CommandItem& item)>;

    // Replaces the command's handler; without a validator the command is always enabled.
    static void setHandler(const QString& command, Handler handler, Validator validator = {});
    static void removeHandler(const QString& command);
    static void removeAllHandlers();

    static bool hasHandler(const QString& command);
    // False when the command has no handler or its validator refuses.
    static bool validate(CommandItem& item);
    // Validates and performs; false (and nothing done) when refused.
    static bool perform(CommandItem& item);
};
