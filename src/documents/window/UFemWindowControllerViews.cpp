#include "documents/mainview/UFemMainViewController.h"
#include "documents/mainview/UFemMainViewControllerMaker.h"
#include "documents/mainview/UFemPlainMainViewController.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "documents/toolbar/UFemViewSettingPopup.h"
#include "documents/toolbar/UFemWindowToolbar.h"
#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowController.h"
#include "documents/window/UFemWindowNotifications.h"
#include "foundation/errors/UException.h"

#include <QFrame>

namespace {

UFemWindowController::MainViewControllerMaker& registeredMaker()
{
    static UFemWindowController::MainViewControllerMaker maker;
    return maker;
}

} // namespace

void UFemWindowController::setRegisteredMainViewControllerMaker(MainViewControllerMaker maker)
{
    registeredMaker() = std::move(maker);
}

UFemViewType UFemWindowController::viewType() const
{
    if (mainViewController_ == nullptr)
        UFemRaiseProgramError(QStringLiteral("mainViewController == nil"));
    return viewType_;
}

void UFemWindowController::setViewType(UFemViewType viewType)
{
    if (mainViewController_ != nullptr && viewType == viewType_)
        return;
    swapMainViewToViewType(viewType);
}

UFemMainViewController& UFemWindowController::mainViewControllerOfViewType(
    UFemViewType viewType, bool* created)
{
    if (viewType != UFemViewTypeCard && viewType != UFemViewTypeGraphic
        && viewType != UFemViewTypeInfo) {
        viewType_ = UFemViewTypeNone;
        UFemRaiseProgramError(QStringLiteral("Unexpected ViewType has come."));
    }
    std::unique_ptr<UFemMainViewController>& slot = viewControllers_[viewType];
    *created = slot == nullptr;
    if (slot == nullptr) {
        const MainViewControllerMaker& maker = maker_ ? maker_ : registeredMaker();
        slot = maker ? maker(*this, viewType) : nullptr;
        if (slot == nullptr)
            slot = UFemMakeMainViewController(*this, viewType);
        if (slot == nullptr)
            slot = std::make_unique<UFemPlainMainViewController>(*this, viewType);
    }
    return *slot;
}

void UFemWindowController::swapMainViewToViewType(UFemViewType viewType)
{
    if (mainViewController_ != nullptr && viewType == viewType_)
        return;
    post(UFemActiveMainViewWillChangeNotification);
    if (mainViewController_ != nullptr)
        mainViewController_->viewWillSwapOut();
    bool created = false;
    UFemMainViewController& controller = mainViewControllerOfViewType(viewType, &created);
    mainViewController_ = &controller;
    growWindowToMinimumSize(controller.minimumMainViewBoxSize());
    ufemWindow().setMainViewContent(controller.mainViewBox());
    // A stand-in that takes no view settings offers none.
    toolbar_->viewSettingPopup()->updateViewSettingMenuAndMenuContextWithViewType(
        controller.useViewPreferences() || viewType == UFemViewTypeInfo ? viewType
                                                                        : UFemViewTypeNone);
    if (created && controller.useViewPreferences())
        setFirstViewPreferences(controller, viewType);
    viewType_ = viewType;
    controller.viewDidSwapIn();
    post(UFemActiveMainViewDidChangeNotification);
}

// A view shown for the first time: the base settings of its type with the first saved setting
// over them.
void UFemWindowController::setFirstViewPreferences(
    UFemMainViewController& controller, UFemViewType viewType)
{
    UFemUserPreferencesPtr preferences = documentUserPreferences();
    if (preferences == nullptr)
        preferences = UFemUserPreferences::applicationUserPreferences();
    QVariantMap viewPreferences = preferences->baseViewPreferencesForViewType(viewType);
    const UFemFolderArray& menuContext = toolbar_->viewSettingPopup()->viewSettingMenuContext();
    if (UFemUserPreferences::viewPreferencesCountWithMenuContext(menuContext) != 0)
        viewPreferences.insert(UFemUserPreferences::viewPreferencesWithMenuContext(menuContext, 0));
    // Without any known setting the view keeps those it was made with; settings it refuses
    // leave it as it was made too.
    if (viewPreferences.isEmpty())
        return;
    UErrorPtr dropped;
    static_cast<void>(controller.setViewPreferences(viewPreferences, &dropped));
}

// Grows the window, never shrinks it, keeping its top-left corner, so that the new view fits.
void UFemWindowController::growWindowToMinimumSize(QSize mainViewMinimum)
{
    const QSize contentMinimum = mainViewMinimum + contentDiffSize_;
    QWidget& window = *this->window();
    const QSize grown = window.size().expandedTo(contentMinimum);
    if (grown != window.size())
        window.resize(grown);
    window.setMinimumSize(contentMinimum);
}
