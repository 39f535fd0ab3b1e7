#include "tables/resulttable/UFemMainViewWithResultTableController.h"

#include "documents/application/UFemCommandNames.h"
#include "tables/resulttable/UFemResultTablePane.h"

UFemMainViewWithResultTableController::UFemMainViewWithResultTableController(
    UFemWindowController& windowController)
    : UFemMainViewController(windowController)
    , windowLink_(windowController)
    , resultTablePane_(std::make_unique<UFemResultTablePane>())
{
    resultTablePane_->setUFemWindowController(&windowLink_);
    addCommand(UFemDisplayResultTableViewSettingPanelCommand,
        [this](const CommandItem&) { displayResultTableViewSettingPanel(); });
    addCommand(UFemChangeResultTableViewSplitDirectionCommand,
        [this](const CommandItem&) { changeResultTableViewSplitDirection(); });
}

UFemMainViewWithResultTableController::~UFemMainViewWithResultTableController()
{
    finish();
}

void UFemMainViewWithResultTableController::finish()
{
    if (resultTablePane_)
        resultTablePane_->finish();
    UFemMainViewController::finish();
}

void UFemMainViewWithResultTableController::setMainView(QWidget* mainView)
{
    resultTablePane_->setMainView(mainView);
}

QString UFemMainViewWithResultTableController::resultTableViewCardValueExprListString() const
{
    return resultTablePane_ ? resultTablePane_->resultTableViewCardValueExprListString()
                            : QString();
}

bool UFemMainViewWithResultTableController::setResultTableViewCardValueExprListString(
    const QString& string, UErrorPtr* error)
{
    return resultTablePane_
        && resultTablePane_->setResultTableViewCardValueExprListString(string, error);
}

void UFemMainViewWithResultTableController::displayResultTableViewSettingPanel()
{
    if (resultTablePane_)
        resultTablePane_->displayResultTableViewSettingPanel();
}

void UFemMainViewWithResultTableController::changeResultTableViewSplitDirection()
{
    if (resultTablePane_)
        resultTablePane_->changeResultTableViewSplitDirection();
}
