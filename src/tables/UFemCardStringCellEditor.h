#pragma once

#include "appkit/WholeTextField.h"

#include <functional>

// The one editor of a card table's card string cells, laid over the edited cell by its
// controller. It lives as long as the table, so that applying a change (which re-makes the card
// and reloads the table) leaves its text and selection alone. Tab and Backtab end editing rather
// than moving to another cell; Esc abandons the change; losing the focus applies it.
class UFemCardStringCellEditor : public WholeTextField {
public:
    enum class Ending {
        Abort,
        Apply,
        ApplyAndSelectNextRow,
        ApplyAndSelectPreviousRow,
    };
    using EndingHandler = std::function<void(Ending)>;
    // Asked before the first change of an editing session; false refuses the keystroke.
    using ChangeApproval = std::function<bool()>;

    explicit UFemCardStringCellEditor(QWidget* parent);

    void setEndingHandler(EndingHandler handler) { endingHandler_ = std::move(handler); }
    void setChangeApproval(ChangeApproval approval) { changeApproval_ = std::move(approval); }
    // A new session: the text, the selection [start, end) and a fresh change approval.
    void beginSession(const QString& text, qsizetype start, qsizetype end);
    bool isEditing() const { return !isHidden(); }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void end(Ending ending);
    bool approvesChange(const QKeyEvent& event);

    EndingHandler endingHandler_;
    ChangeApproval changeApproval_;
    bool isChangeApproved_ = false;
};
