#pragma once

#include "documents/mainview/UFemMainViewController.h"
#include "tables/UFemWindowResultTableLink.h"

#include <QPointer>

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

    UFemResultTablePane* resultTablePane() const { return resultTablePane_; }
    void setMainView(QWidget* mainView);

    QString resultTableViewCardValueExprListString() const;
    bool setResultTableViewCardValueExprListString(const QString& string, UErrorPtr* error);

    // Actions "displayResultTableViewSettingPanel:" and "changeResultTableViewSplitDirection:".
    void displayResultTableViewSettingPanel();
    void changeResultTableViewSplitDirection();

private:
    UFemWindowResultTableLink windowLink_;
    // The window deletes the pane with its view hierarchy once it holds it.
    QPointer<UFemResultTablePane> resultTablePane_;
};
