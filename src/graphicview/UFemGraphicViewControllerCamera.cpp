#include "graphicview/UFemGraphicViewController.h"

#include <utility>

namespace {

constexpr double directionXRightZUp[9] = { 1, 0, 0, 0, 0, -1, 0, 1, 0 };
constexpr double directionXRightYUp[9] = { 1, 0, 0, 0, 1, 0, 0, 0, 1 };
constexpr double directionYRightZUp[9] = { 0, 0, 1, 1, 0, 0, 0, 1, 0 };

} // namespace

void UFemGraphicViewController::setUpCamera()
{
    handEyeLocationToManagers();
    handObjectLocationToManagers();
    objectMoveMode_ = objectMoveModePointer;
    doesDrawRubberbandCard_ = false;
    doesDrawRubberbandRect_ = false;
    rubberbandRect_ = QRectF();
}

void UFemGraphicViewController::handEyeLocationToManagers()
{
    for (const std::unique_ptr<UOpenGLManager>& manager : openGLManagerTable_)
        if (manager != nullptr)
            manager->setEyeLocation(camera_.eyeLocation());
}

void UFemGraphicViewController::handObjectLocationToManagers()
{
    for (const std::unique_ptr<UOpenGLManager>& manager : openGLManagerTable_)
        if (manager != nullptr)
            manager->setObjectLocation(camera_.objectLocation());
}

void UFemGraphicViewController::outdatePickingPass()
{
    tellPipelineStep("outdatePickingPass");
    picker_->outdatePass();
    outdateToolTip();
}

// A tip picked just before a resize (its pointer move handled before the window's new size) would
// otherwise name what lay under the pointer in the old view for as long as the pointer rests. It
// is asked for again once the new view is drawn, so that the frame does not wait for the pass a
// tip may start.
void UFemGraphicViewController::outdateToolTip()
{
    if (graphicViewOutlet_ == nullptr)
        return;
    graphicViewOutlet_->closeOutdatedToolTipWindow();
    isToolTipOutdated_ = true;
}

void UFemGraphicViewController::redisplayOutdatedToolTipUnlessDragging()
{
    if (isMouseDragging_ || !std::exchange(isToolTipOutdated_, false))
        return;
    redisplayToolTipLater();
}

void UFemGraphicViewController::setViewSize(QSizeF size)
{
    outdatePickingPass();
    camera_.setViewSize(size);
    for (const std::unique_ptr<UOpenGLManager>& manager : openGLManagerTable_)
        if (manager != nullptr)
            manager->setSize(size);
    clearBaseImage();
    clearViewDependentSelectModeObjectDisplayList();
}

void UFemGraphicViewController::updateViewSize()
{
    if (graphicViewOutlet_ != nullptr)
        setViewSize(QSizeF(graphicViewOutlet_->size()));
}

void UFemGraphicViewController::ufemGraphicViewSizeDidChange(UFemGraphicView&)
{
    updateViewSize();
}

void UFemGraphicViewController::setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(
    const double* direction)
{
    outdatePickingPass();
    if (!camera_.fitWithObjectDirection(direction))
        return;
    handEyeLocationToManagers();
    handObjectLocationToManagers();
}

void UFemGraphicViewController::updateEyeLocationDepthRangeIfNeeded()
{
    if (camera_.isEyeLocationDepthValid())
        return;
    outdatePickingPass();
    if (camera_.updateEyeLocationDepthRangeIfNeeded())
        handEyeLocationToManagers();
}

void UFemGraphicViewController::fitWithDirectionAndRedraw(const double* direction)
{
    setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(direction);
    clearBaseImage();
    clearViewDependentSelectModeObjectDisplayList();
    reloadGraphicView();
}

void UFemGraphicViewController::fitObjectInView()
{
    fitWithDirectionAndRedraw(nullptr);
}

void UFemGraphicViewController::setDirection_X_Right_Z_Up()
{
    fitWithDirectionAndRedraw(directionXRightZUp);
}

void UFemGraphicViewController::setDirection_X_Right_Y_Up()
{
    fitWithDirectionAndRedraw(directionXRightYUp);
}

void UFemGraphicViewController::setDirection_Y_Right_Z_Up()
{
    fitWithDirectionAndRedraw(directionYRightZUp);
}

bool UFemGraphicViewController::updateEyeAndObjectLocationWithObjectMoveMode(
    quint64 mode, double dx, double dy)
{
    outdatePickingPass();
    const UFemGraphicViewCamera::Change change = camera_.moveWithObjectMoveMode(mode, dx, dy,
        settings_.objectMoveRotateBaseDistance, settings_.objectMoveScaleBaseDistance);
    if (change == UFemGraphicViewCamera::Change::none)
        return false;
    if (change == UFemGraphicViewCamera::Change::eyeLocation)
        handEyeLocationToManagers();
    else
        handObjectLocationToManagers();
    clearBaseImage();
    clearViewDependentSelectModeObjectDisplayList();
    return true;
}
