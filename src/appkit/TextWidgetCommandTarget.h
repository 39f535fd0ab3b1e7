#pragma once

#include "appkit/CommandTarget.h"

#include <QPointer>

#include <memory>

class QWidget;

// The standard edit commands ("cut:", "copy:", "paste:", "delete_:", "selectAll:", "undo:",
// "redo:") of a focused line edit or text edit, so that the Edit menu reaches a text field before
// the view behind it. Text fields keep their own undo.
class TextWidgetCommandTarget : public CommandTarget {
public:
    // Null unless `widget` is a QLineEdit, QTextEdit or QPlainTextEdit.
    static std::unique_ptr<TextWidgetCommandTarget> forWidget(QWidget* widget);

    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(CommandItem& item) override;
    void performCommand(const CommandItem& sender) override;

private:
    struct TextState {
        bool hasSelection = false;
        bool hasText = false;
        bool readOnly = true;
        bool canUndo = false;
        bool canRedo = false;
    };

    explicit TextWidgetCommandTarget(QWidget* widget);
    TextState state() const;

    QPointer<QWidget> widget_;
};
