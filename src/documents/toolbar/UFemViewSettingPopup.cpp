#include "documents/toolbar/UFemViewSettingPopup.h"

#include "appkit/Alert.h"
#include "appkit/Notifier.h"
#include "appkit/SheetPresenter.h"
#include "documents/application/UFemNotImplementedNotice.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/preferences/UFemPreferencesViewController.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/window/UFemWindowController.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

UFemUserPreferencesPtr preferencesOf(const UFemWindowController& windowController)
{
    UFemUserPreferencesPtr preferences = windowController.documentUserPreferences();
    return preferences != nullptr ? preferences : UFemUserPreferences::applicationUserPreferences();
}

QVariantMap mergedOver(QVariantMap base, const QVariantMap& entries)
{
    for (auto entry = entries.begin(); entry != entries.end(); ++entry)
        base.insert(entry.key(), entry.value());
    return base;
}

UFemPreferencesViewController* preferencesViewControllerOf(UFemMainViewController* controller)
{
    auto* owner = dynamic_cast<UFemPreferencesViewControllerOwner*>(controller);
    return owner != nullptr ? owner->preferencesViewController() : nullptr;
}

} // namespace

UFemViewSettingPopup::UFemViewSettingPopup(UFemWindowController& windowController, QWidget* parent)
    : QToolButton(parent)
    , windowController_(windowController)
{
    setObjectName(QStringLiteral("toolbarViewSettingMenuOutlet"));
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setText(tr("View Setting"));
}

UFemViewSettingPopup::~UFemViewSettingPopup() = default;

void UFemViewSettingPopup::updateViewSettingMenuAndMenuContextWithViewType(UFemViewType viewType)
{
    setMenu(nullptr);
    if (menu_ != nullptr)
        menu_.release()->deleteLater();
    menuContext_.clear();
    if (viewType != UFemViewTypeCard && viewType != UFemViewTypeGraphic)
        return;
    auto select = [this](qint64 tag) {
        QMetaObject::invokeMethod(
            this, [this, tag] { viewSettingMenuItemSelected(tag); }, Qt::QueuedConnection);
    };
    preferencesOf(windowController_)
        ->getViewPreferencesMenu(
            &menu_, &menuContext_, UFemViewSettingMenuTagOffset, select, std::nullopt, viewType);
    if (menu_ == nullptr)
        menu_ = std::make_unique<QMenu>();
    menu_->addSeparator();
    QAction* open = menu_->addAction(tr("Open View Setting Panel..."));
    open->setData(UFemOpenViewSettingPanelMenuTag);
    connect(open, &QAction::triggered, this, [select] { select(UFemOpenViewSettingPanelMenuTag); });
}

void UFemViewSettingPopup::updateToolbarViewSettingMenu()
{
    setEnabled(menu_ != nullptr);
    setMenu(menu_.get());
}

void UFemViewSettingPopup::viewSettingMenuItemSelected(qint64 tag)
{
    UFemMainViewController* controller = windowController_.mainViewController();
    if (controller == nullptr)
        return;
    if (tag == UFemOpenViewSettingPanelMenuTag) {
        openPreferencesViewPanel();
        return;
    }
    const QVariantMap settings
        = mergedOver(preferencesOf(windowController_)
                         ->baseViewPreferencesForViewType(windowController_.viewType()),
            UFemUserPreferences::viewPreferencesWithMenuContext(
                menuContext_, tag, UFemViewSettingMenuTagOffset));
    UErrorPtr error;
    if (!controller->setViewPreferences(settings, &error))
        showModalError(error);
}

void UFemViewSettingPopup::openPreferencesViewPanel()
{
    UFemPreferencesViewController* content
        = preferencesViewControllerOf(windowController_.mainViewController());
    SheetPresenter* sheets = windowController_.sheetPresenter();
    if (content == nullptr || sheets == nullptr || panel_ != nullptr) {
        Notifier::beep();
        return;
    }
    UErrorPtr error;
    if (!content->setViewPreferences(
            windowController_.mainViewController()->viewPreferences(), &error)) {
        showModalError(error);
        return;
    }
    QWidget* box = content->preferencesViewBox();
    sheets->beginSheet(
        windowController_.window(),
        [this, box, content](QWidget* window) {
            panel_ = new QDialog(window);
            panel_->setObjectName(QStringLiteral("preferencesViewPanelOutlet"));
            auto* layout = new QVBoxLayout(panel_);
            box->setMinimumSize(content->preferencesViewBoxSize());
            layout->addWidget(box);
            auto* buttons = new QDialogButtonBox;
            const std::pair<QString, int> titles[]
                = { { tr("Save Setting"), UFemViewSettingPanelSave },
                      { tr("Close"), UFemViewSettingPanelClose },
                      { tr("Apply"), UFemViewSettingPanelApply } };
            for (const auto& entry : titles) {
                const int tag = entry.second;
                QPushButton* button = buttons->addButton(entry.first, QDialogButtonBox::ActionRole);
                connect(button, &QPushButton::clicked, panel_, [this, tag] {
                    if (preferencesViewPanelButtonPushed(tag))
                        panel_->done(tag);
                });
            }
            layout->addWidget(buttons);
            return panel_;
        },
        [this, box](QDialog&, int) {
            // The box belongs to its controller, not to the sheet.
            box->setParent(nullptr);
            panel_ = nullptr;
        });
}

bool UFemViewSettingPopup::preferencesViewPanelButtonPushed(int tag)
{
    switch (tag) {
    case UFemViewSettingPanelApply:
        return applyPanelSettings();
    case UFemViewSettingPanelClose:
        return true;
    case UFemViewSettingPanelSave:
        UFemNotifyThisFunctionIsNotImplementedYet(
            QStringLiteral("Saving View Preferences Setting"));
        return false;
    default:
        return false;
    }
}

bool UFemViewSettingPopup::applyPanelSettings()
{
    UFemMainViewController* controller = windowController_.mainViewController();
    UFemPreferencesViewController* content = preferencesViewControllerOf(controller);
    if (content == nullptr)
        return true;
    UErrorPtr error;
    const QVariantMap edited = content->viewPreferences(&error);
    if (error == nullptr
        && controller->setViewPreferences(
            mergedOver(preferencesOf(windowController_)
                           ->baseViewPreferencesForViewType(windowController_.viewType()),
                edited),
            &error))
        return true;
    showModalError(error);
    return false;
}

void UFemViewSettingPopup::showModalError(const UErrorPtr& error) const
{
    if (SheetPresenter* sheets = windowController_.sheetPresenter(); sheets && error)
        sheets->runModalAlert(Alert::fromError(*error));
}
