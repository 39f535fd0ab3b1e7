#pragma once

#include "foundation/errors/UError.h"

#include <QLineEdit>

#include <optional>

// The toolbar's card filter field. It shows the window's user filter text: black when the text
// parses, red with the parse error as tool tip when it does not. A refresh never disturbs the
// user while the field is being edited.
class UFemCardFilterField : public QLineEdit {
    Q_OBJECT
public:
    explicit UFemCardFilterField(QWidget* parent = nullptr);

    // Skipped while the user is typing in the field.
    void showFilter(const std::optional<QString>& filterString, const UErrorPtr& filterError);
    // Typed into and not yet entered.
    bool isBeingEdited() const { return hasFocus() && isModified(); }
    bool showsError() const { return showsError_; }

protected:
    // Esc gives up the typing and shows the window's filter again.
    void keyPressEvent(QKeyEvent* event) override;

signals:
    // Return pressed or the focus left after an edit: the text to filter with.
    void filterEntered(const QString& text);

private:
    bool showsError_ = false;
    QString shownText_;
};
