#include "graphicview/UFemGraphicViewController.h"

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
    if (!picker_->outdatePass())
        return;
    if (isMouseDragging_)
        isToolTipOutdatedByDrag_ = true;
    else
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
