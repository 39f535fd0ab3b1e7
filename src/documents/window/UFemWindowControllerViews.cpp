#include "documents/mainview/UFemMainViewController.h"
#include "documents/mainview/UFemMainViewControllerMaker.h"
#include "documents/mainview/UFemPlainMainViewController.h"
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
    // The view settings of a newly made view come with the document's preferences, which its
    // views read themselves until those preferences exist.
    viewType_ = viewType;
    controller.viewDidSwapIn();
    post(UFemActiveMainViewDidChangeNotification);
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
