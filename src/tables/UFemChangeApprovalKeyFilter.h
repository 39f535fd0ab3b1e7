#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

// Asks its approval before a keystroke that would change the watched field's text and swallows
// the key when refused. It has no parent: its owner ends the watching by destroying it.
class UFemChangeApprovalKeyFilter : public QObject {
public:
    using ChangeApproval = std::function<bool()>;

    UFemChangeApprovalKeyFilter(QObject* watched, ChangeApproval approval);

    // Typing, deleting, pasting or cutting.
    static bool isChangingKey(const QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ChangeApproval approval_;
};
