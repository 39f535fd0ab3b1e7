#pragma once

#include "foundation/errors/UError.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QSplitter;
class SheetPresenter;
class UFemResultTableSettingPanel;
class UFemResultTableView;
class UFemResultTableWindowLink;

// The split view a card-showing main view shares with its result table: the main view's own box
// first, the result table's box (a header with the table's buttons above the table) second. It
// also runs the sheet that switches the table on or off and sets its expression list.
class UFemResultTablePane : public QWidget {
    Q_OBJECT
public:
    // The first pane never gets smaller than this, whatever the divider is dragged to.
    static constexpr int mainViewMinimumSize = 100;

    explicit UFemResultTablePane(QWidget* parent = nullptr);
    ~UFemResultTablePane() override;

    // Ties the result table to the window; the link must outlive finish().
    void setUFemWindowController(UFemResultTableWindowLink* windowController);
    void finish();
    // Puts the subclass's own view into the first pane.
    void setMainView(QWidget* mainView);

    QSplitter* mainViewSplitView() const { return mainViewSplitView_; }
    QWidget* resultTableBox() const { return resultTableBox_; }
    QWidget* resultTableViewHeaderBox() const { return resultTableViewHeaderBox_; }
    UFemResultTableView* resultTableView() const { return resultTableView_; }
    // The sheet while it is up.
    UFemResultTableSettingPanel* resultTableViewSettingPanel() const;

    QString resultTableViewCardValueExprListString() const;
    [[nodiscard]] bool setResultTableViewCardValueExprListString(
        const QString& string, UErrorPtr* error);

    void displayResultTableViewSettingPanel();
    void changeResultTableViewSplitDirection();
    void resultTableViewSettingPanelButtonPushed(int tag);

private:
    void applyMainViewMinimumSize();
    // The window's presenter, else the pane's own.
    SheetPresenter& sheetPresenter();

    QSplitter* mainViewSplitView_;
    QWidget* mainViewBox_;
    QWidget* resultTableBox_;
    QWidget* resultTableViewHeaderBox_;
    UFemResultTableView* resultTableView_;
    QPointer<UFemResultTableSettingPanel> settingPanel_;
    UFemResultTableWindowLink* windowController_ = nullptr;
    std::unique_ptr<SheetPresenter> ownSheetPresenter_;
};
