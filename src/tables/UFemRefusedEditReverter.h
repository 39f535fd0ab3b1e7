#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLineEdit;

// Puts back the watched field's last approved text when an edit that no key filter saw (a paste
// from the context menu or the X11 selection, a drop, an input method, an editing shortcut) is
// refused. It has no parent: its owner ends the watching by destroying it.
class UFemRefusedEditReverter : public QObject {
public:
    using ChangeApproval = std::function<bool()>;

    UFemRefusedEditReverter(QLineEdit* field, ChangeApproval approval);

    // The text a refused edit goes back to; every approved edit becomes it too.
    void setApprovedText(const QString& text) { approvedText_ = text; }

private:
    void textEdited(const QString& text);

    QPointer<QLineEdit> field_;
    ChangeApproval approval_;
    QString approvedText_;
};
