#pragma once

#include "foundation/errors/UError.h"

#include <QMetaObject>
#include <QString>

#include <functional>
#include <memory>

class QLineEdit;
class QObject;
class UFemCard;
class UFemChangeApprovalKeyFilter;
class UFemEscapeKeyFilter;
class UFemMainViewController;
class UFemRefusedEditReverter;
class UFemWindowController;

// The window's optional card string editor as one main view drives it. Every main view of a
// window shares that one editor; the view that opened it last is its delegate and alone answers
// the end of editing.
class UFemOptionalCardStringEditor {
public:
    // `senderKey` and `sender` name the owner in the notice that closes the other views' editors.
    UFemOptionalCardStringEditor(UFemMainViewController& owner, QString senderKey, quintptr sender);
    ~UFemOptionalCardStringEditor();
    UFemOptionalCardStringEditor(const UFemOptionalCardStringEditor&) = delete;
    UFemOptionalCardStringEditor& operator=(const UFemOptionalCardStringEditor&) = delete;

    // `didEndEditing` runs when editing ends in the field while the owner is its delegate; Esc
    // closes the editor without applying it; any edit of a locked model's card is refused.
    void connectDidEndEditing(QObject* context, std::function<void()> didEndEditing);
    void disconnect();

    // Set while the owner changes the editor or applies its text: the will-change notices this
    // posts must not apply it again.
    bool isBusy() const { return isDriving_ || isApplying_; }
    bool isValid() const;

    void postShouldClose();
    // Applies `text` to the card of window `row`; unchanged text does nothing unless
    // `rereadsErrorCard` and the card is an error card. *isSameCard: the row still shows the card
    // the text went to (a row past the end shows none).
    [[nodiscard]] bool applyCardStringOfRow(quint64 row, const QString& text, bool rereadsErrorCard,
        bool* isSameCard, UErrorPtr* error);
    // The open editor's text applied to the one selected card at `selectedRow`; the editor when
    // it stays open, else null. *row is the edited row, UFemNotFound on failure.
    [[nodiscard]] QLineEdit* fieldEditor(quint64 selectedCardCount, quint64 selectedRow,
        quint64* row, bool doesApply, bool doesClose, UErrorPtr* error);
    void deactivateTemporary();
    // Opens the editor on `text` of `card` with characters first..last selected; the owner
    // becomes the delegate.
    void open(const UFemCard& card, const QString& text, quint64 first, quint64 last);

private:
    UFemWindowController& window() const;
    bool isDelegate() const;
    void endEditing();
    void closeWithoutApplying();
    bool approvesChange() const;

    UFemMainViewController& owner_;
    QString senderKey_;
    quintptr sender_;
    bool isDriving_ = false;
    bool isApplying_ = false;
    std::function<void()> didEndEditing_;
    QMetaObject::Connection connection_;
    std::unique_ptr<UFemEscapeKeyFilter> escapeFilter_;
    std::unique_ptr<UFemChangeApprovalKeyFilter> changeFilter_;
    std::unique_ptr<UFemRefusedEditReverter> reverter_;
};
