#pragma once

#include "documents/mainview/UFemMainViewController.h"
#include "tables/resulttable/UFemWindowResultTableLink.h"

#include <memory>

class UFemResultTablePane;

// The middle class of the main views that show cards (the card table and the 3-D view): it puts
// the result table beside the subclass's own view in a split view and runs the sheet that
// switches the table on or off. The subclass puts its view in with setMainView() and answers
// mainViewBox() with resultTablePane() (or a box holding it).
class UFemMainViewWithResultTableController : public UFemMainViewController {
public:
    explicit UFemMainViewWithResultTableController(UFemWindowController& windowController);
    ~UFemMainViewWithResultTableController() override;

    void finish() override;

    UFemResultTablePane* resultTablePane() const { return resultTablePane_.get(); }
    void setMainView(QWidget* mainView);

    QString resultTableViewCardValueExprListString() const;
    [[nodiscard]] bool setResultTableViewCardValueExprListString(
        const QString& string, UErrorPtr* error);

    // Actions "displayResultTableViewSettingPanel:" and "changeResultTableViewSplitDirection:".
    void displayResultTableViewSettingPanel();
    void changeResultTableViewSplitDirection();

private:
    UFemWindowResultTableLink windowLink_;
    // Shown in the window while this view is in; the window controller lets this controller go
    // before the window, so the pane never dies with the window's view hierarchy.
    std::unique_ptr<UFemResultTablePane> resultTablePane_;
};
