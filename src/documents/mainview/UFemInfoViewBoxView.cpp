#include "documents/mainview/UFemInfoViewBoxView.h"

#include "appkit/Notifier.h"
#include "documents/application/UFemCommandNames.h"

namespace {

} // namespace

UFemInfoViewBoxView::UFemInfoViewBoxView(QWidget* parent)
    : QWidget(parent)
{
}

bool UFemInfoViewBoxView::respondsToCommand(const QString& command) const
{
    return command == UndoCommand || command == RedoCommand
        || CommandTarget::respondsToCommand(command);
}

bool UFemInfoViewBoxView::validateCommand(CommandItem& item)
{
    if (item.command() == UndoCommand) {
        item.setTitle(undoMenuItemTitle());
        return false;
    }
    if (item.command() == RedoCommand) {
        item.setTitle(redoMenuItemTitle());
        return false;
    }
    return true;
}

void UFemInfoViewBoxView::performCommand(const CommandItem& sender)
{
    if (sender.command() == UndoCommand || sender.command() == RedoCommand)
        undoOrRedoPressed();
    else
        CommandTarget::performCommand(sender);
}

UFemProjectInfoViewBoxView::UFemProjectInfoViewBoxView(TitleSource titles, QWidget* parent)
    : UFemInfoViewBoxView(parent)
    , titles_(std::move(titles))
{
}

void UFemProjectInfoViewBoxView::undoOrRedoPressed()
{
    Notifier::beep();
}

UFemResultInfoViewBoxView::UFemResultInfoViewBoxView(QWidget* parent)
    : UFemInfoViewBoxView(parent)
{
}
