#include "appkit/TextWidgetCommandTarget.h"

#include "appkit/CommandNames.h"
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// The slot of the text widgets that performs each command but delete.
const QHash<QString, const char*>& slotsByCommand()
{
    static const QHash<QString, const char*> commandSlots {
        { CutCommand, "cut" },
        { CopyCommand, "copy" },
        { PasteCommand, "paste" },
        { SelectAllCommand, "selectAll" },
        { UndoCommand, "undo" },
        { RedoCommand, "redo" },
    };
    return commandSlots;
}

// QTextEdit and QPlainTextEdit share these operations without sharing a base that has them.
template <typename State, typename TextEdit> State documentState(const TextEdit& text)
{
    const QTextDocument& document = *text.document();
    return { text.textCursor().hasSelection(), !document.isEmpty(), text.isReadOnly(),
        document.isUndoAvailable(), document.isRedoAvailable() };
}

template <typename TextEdit> void removeSelection(TextEdit& text)
{
    QTextCursor cursor = text.textCursor();
    cursor.removeSelectedText();
    text.setTextCursor(cursor);
}

} // namespace

std::unique_ptr<TextWidgetCommandTarget> TextWidgetCommandTarget::forWidget(QWidget* widget)
{
    if (qobject_cast<QLineEdit*>(widget) == nullptr && qobject_cast<QTextEdit*>(widget) == nullptr
        && qobject_cast<QPlainTextEdit*>(widget) == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<TextWidgetCommandTarget>(new TextWidgetCommandTarget(widget));
}

TextWidgetCommandTarget::TextWidgetCommandTarget(QWidget* widget)
    : widget_(widget)
{
}

bool TextWidgetCommandTarget::respondsToCommand(const QString& command) const
{
    return command == DeleteCommand || slotsByCommand().contains(command);
}

TextWidgetCommandTarget::TextState TextWidgetCommandTarget::state() const
{
    if (auto* line = qobject_cast<QLineEdit*>(widget_.data())) {
        return { line->hasSelectedText(), !line->text().isEmpty(), line->isReadOnly(),
            line->isUndoAvailable(), line->isRedoAvailable() };
    }
    if (auto* text = qobject_cast<QTextEdit*>(widget_.data())) {
        return documentState<TextState>(*text);
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_.data())) {
        return documentState<TextState>(*plain);
    }
    return {};
}

bool TextWidgetCommandTarget::validateCommand(CommandItem& item)
{
    const TextState text = state();
    const QString& command = item.command();
    if (command == CopyCommand) {
        return text.hasSelection;
    }
    if (command == CutCommand || command == DeleteCommand) {
        return text.hasSelection && !text.readOnly;
    }
    if (command == PasteCommand) {
        return !text.readOnly && !QApplication::clipboard()->text().isEmpty();
    }
    if (command == SelectAllCommand) {
        return text.hasText;
    }
    if (command == UndoCommand) {
        return text.canUndo && !text.readOnly;
    }
    if (command == RedoCommand) {
        return text.canRedo && !text.readOnly;
    }
    return false;
}

void TextWidgetCommandTarget::performCommand(const CommandItem& sender)
{
    if (!widget_) {
        return;
    }
    if (sender.command() == DeleteCommand) {
        if (auto* line = qobject_cast<QLineEdit*>(widget_.data())) {
            line->del();
        } else if (auto* text = qobject_cast<QTextEdit*>(widget_.data())) {
            removeSelection(*text);
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget_.data())) {
            removeSelection(*plain);
        }
        return;
    }
    const auto slot = slotsByCommand().constFind(sender.command());
    if (slot != slotsByCommand().cend()) {
        QMetaObject::invokeMethod(widget_.data(), slot.value());
    }
}
