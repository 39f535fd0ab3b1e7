#pragma once

#include "appkit/CommandTarget.h"

#include <QWidget>

#include <functional>

// The content of an information view. Undo and Redo stay disabled while it has the focus, since
// the model cannot be edited here; the menu items keep the titles the subclass gives.
class UFemInfoViewBoxView : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    bool respondsToCommand(const QString& command) const override;
    bool validateCommand(CommandItem& item) override;
    void performCommand(const CommandItem& sender) override;

protected:
    explicit UFemInfoViewBoxView(QWidget* parent = nullptr);
    virtual QString undoMenuItemTitle() const = 0;
    virtual QString redoMenuItemTitle() const = 0;
    virtual void undoOrRedoPressed() = 0;
};

// The project info view's content: the menu items show the document's undo titles, and the
// keys beep.
class UFemProjectInfoViewBoxView : public UFemInfoViewBoxView {
    Q_OBJECT
public:
    using TitleSource = std::function<QString(bool isRedo)>;
    explicit UFemProjectInfoViewBoxView(TitleSource titles, QWidget* parent = nullptr);

protected:
    QString undoMenuItemTitle() const override { return titles_(false); }
    QString redoMenuItemTitle() const override { return titles_(true); }
    void undoOrRedoPressed() override;

private:
    TitleSource titles_;
};

// The result info view's content: plain "Undo" and "Redo", and the keys do nothing.
class UFemResultInfoViewBoxView : public UFemInfoViewBoxView {
    Q_OBJECT
public:
    explicit UFemResultInfoViewBoxView(QWidget* parent = nullptr);

protected:
    QString undoMenuItemTitle() const override { return tr("Undo"); }
    QString redoMenuItemTitle() const override { return tr("Redo"); }
    void undoOrRedoPressed() override { }
};
