#pragma once

#include <QPlainTextEdit>

// A multi-line text field inside a panel: Tab and Shift-Tab move the focus to the next and
// previous control, and Return presses the window's default button (or beeps when it has none),
// so neither key ever enters the text.
class UFemInsidePanelTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit UFemInsidePanelTextView(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void insertNewline();
};
