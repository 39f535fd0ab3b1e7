#pragma once

#include <QAction>
#include <QPointer>
#include <QString>

// The on/off state of a menu item or control; Mixed shows as unchecked on a QAction.
enum class CommandState { Off = 0, On = 1, Mixed = -1 };

// What a command is validated and performed with: its name (the selector text, "copy:"), its tag
// and, when it comes from a menu item or toolbar action, that action, whose enabled state, check
// state and title validation may set.
class CommandItem {
public:
    CommandItem(QString command, int tag = 0);
    // The command and tag bound to `action` by bind().
    explicit CommandItem(QAction& action);

    // Stores the command in the action and the tag as its data.
    static void bind(QAction& action, const QString& command, int tag);
    static QString commandOf(const QAction& action);

    const QString& command() const { return command_; }
    int tag() const { return tag_; }
    QAction* action() const { return action_.data(); }

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    CommandState state() const { return state_; }
    void setState(CommandState state);
    QString title() const;
    void setTitle(const QString& title);

private:
    QString command_;
    int tag_ = 0;
    QPointer<QAction> action_;
    bool enabled_ = true;
    CommandState state_ = CommandState::Off;
    QString title_;
};
