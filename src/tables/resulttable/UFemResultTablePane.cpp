#include "tables/resulttable/UFemResultTablePane.h"

#include "appkit/Alert.h"
#include "appkit/SheetPresenter.h"
#include "tables/resulttable/UFemResultTableSettingPanel.h"
#include "tables/resulttable/UFemResultTableView.h"
#include "tables/resulttable/UFemResultTableWindowLink.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

UFemResultTablePane::UFemResultTablePane(QWidget* parent)
    : QWidget(parent)
    , mainViewSplitView_(new QSplitter(Qt::Vertical, this))
    , mainViewBox_(new QWidget(mainViewSplitView_))
    , resultTableBox_(new QWidget(mainViewSplitView_))
    , resultTableViewHeaderBox_(new QWidget(resultTableBox_))
    , resultTableView_(new UFemResultTableView(resultTableBox_))
{
    mainViewSplitView_->setObjectName(QStringLiteral("mainViewSplitViewOutlet"));
    resultTableBox_->setObjectName(QStringLiteral("resultTableBoxOutlet"));
    resultTableViewHeaderBox_->setObjectName(QStringLiteral("resultTableViewHeaderBoxOutlet"));
    resultTableView_->setObjectName(QStringLiteral("resultTableViewOutlet"));
    mainViewSplitView_->setChildrenCollapsible(false);
    auto* mainViewLayout = new QVBoxLayout(mainViewBox_);
    mainViewLayout->setContentsMargins(0, 0, 0, 0);

    auto* headerLayout = new QHBoxLayout(resultTableViewHeaderBox_);
    headerLayout->setContentsMargins(4, 2, 4, 2);
    headerLayout->addWidget(new QLabel(tr("Result Table"), resultTableViewHeaderBox_));
    headerLayout->addStretch();
    auto* settingButton = new QToolButton(resultTableViewHeaderBox_);
    settingButton->setText(tr("Setting..."));
    connect(settingButton, &QToolButton::clicked, this,
        &UFemResultTablePane::displayResultTableViewSettingPanel);
    auto* directionButton = new QToolButton(resultTableViewHeaderBox_);
    directionButton->setText(tr("Split Direction"));
    connect(directionButton, &QToolButton::clicked, this,
        &UFemResultTablePane::changeResultTableViewSplitDirection);
    headerLayout->addWidget(settingButton);
    headerLayout->addWidget(directionButton);

    auto* boxLayout = new QVBoxLayout(resultTableBox_);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->setSpacing(0);
    boxLayout->addWidget(resultTableViewHeaderBox_);
    boxLayout->addWidget(resultTableView_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mainViewSplitView_);
    applyMainViewMinimumSize();
}

UFemResultTablePane::~UFemResultTablePane()
{
    finish();
}

void UFemResultTablePane::setUFemWindowController(UFemResultTableWindowLink* windowController)
{
    windowController_ = windowController;
    resultTableView_->setUFemWindowController(windowController);
}

void UFemResultTablePane::finish()
{
    if (settingPanel_)
        settingPanel_->disconnect(this);
    resultTableView_->finish();
    windowController_ = nullptr;
}

UFemResultTableSettingPanel* UFemResultTablePane::resultTableViewSettingPanel() const
{
    return settingPanel_;
}

void UFemResultTablePane::setMainView(QWidget* mainView)
{
    mainViewBox_->layout()->addWidget(mainView);
}

void UFemResultTablePane::applyMainViewMinimumSize()
{
    const bool vertical = mainViewSplitView_->orientation() == Qt::Vertical;
    mainViewBox_->setMinimumSize(
        vertical ? 0 : mainViewMinimumSize, vertical ? mainViewMinimumSize : 0);
}

QString UFemResultTablePane::resultTableViewCardValueExprListString() const
{
    return resultTableView_->cardValueExprListString();
}

bool UFemResultTablePane::setResultTableViewCardValueExprListString(
    const QString& string, UErrorPtr* error)
{
    return resultTableView_->setCardValueExprListString(string, error);
}

SheetPresenter& UFemResultTablePane::sheetPresenter()
{
    if (windowController_ && windowController_->sheetPresenter())
        return *windowController_->sheetPresenter();
    if (!ownSheetPresenter_)
        ownSheetPresenter_ = std::make_unique<SheetPresenter>();
    return *ownSheetPresenter_;
}

void UFemResultTablePane::changeResultTableViewSplitDirection()
{
    mainViewSplitView_->setOrientation(
        mainViewSplitView_->orientation() == Qt::Vertical ? Qt::Horizontal : Qt::Vertical);
    applyMainViewMinimumSize();
}

void UFemResultTablePane::displayResultTableViewSettingPanel()
{
    if (!windowController_ || settingPanel_)
        return;
    const QString current = resultTableView_->cardValueExprListString();
    sheetPresenter().beginSheet(
        windowController_->documentWindow(),
        [this, current](QWidget* window) {
            auto* panel = new UFemResultTableSettingPanel(window);
            panel->setResultTableViewActiveState_settingPanel(current.isEmpty() ? 0 : 1);
            panel->setResultTableViewCardValueExprListString_settingPanel(current);
            connect(panel, &UFemResultTableSettingPanel::buttonPushed, this,
                &UFemResultTablePane::resultTableViewSettingPanelButtonPushed);
            settingPanel_ = panel;
            return panel;
        },
        [this](QDialog&, int) { settingPanel_ = nullptr; });
}

void UFemResultTablePane::resultTableViewSettingPanelButtonPushed(int tag)
{
    if (!settingPanel_)
        return;
    if (tag == UFemResultTableSettingPanel::okButtonTag) {
        const QString string = settingPanel_->resultTableViewActiveState_settingPanel() != 0
            ? settingPanel_->resultTableViewCardValueExprListString_settingPanel()
            : QString();
        UErrorPtr error;
        if (!resultTableView_->setCardValueExprListString(string, &error)) {
            if (error)
                sheetPresenter().runModalAlert(Alert::fromError(*error));
            return;
        }
    }
    settingPanel_->done(tag);
}
