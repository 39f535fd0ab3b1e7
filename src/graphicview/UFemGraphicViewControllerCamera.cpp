#include "graphicview/UFemGraphicViewController.h"

#include "cardmodel/card/UFemNodeCard.h"
#include "cardmodel/data/UFemDataController.h"
#include "foundation/errors/UException.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double emptyObjectLength = 20.0;
constexpr double fitMargin = 1.2;
// Small models get more room around them.
constexpr double smallModelMargin = 1.5;
constexpr quint64 smallModelNodeCount = 20;
constexpr double defaultBaseDistance = 100.0;

constexpr double directionXRightZUp[9] = { 1, 0, 0, 0, 0, -1, 0, 1, 0 };
constexpr double directionXRightYUp[9] = { 1, 0, 0, 0, 1, 0, 0, 0, 1 };
constexpr double directionYRightZUp[9] = { 0, 0, 1, 1, 0, 0, 0, 1, 0 };

double lengthOfBox(const double box[6])
{
    return std::max({ box[1] - box[0], box[3] - box[2], box[5] - box[4] });
}

void centerOfBox(const double box[6], double center[3])
{
    for (int axis = 0; axis < 3; ++axis)
        center[axis] = (box[2 * axis] + box[2 * axis + 1]) * 0.5;
}

double effectiveBaseDistance(double distance)
{
    return std::isfinite(distance) && distance > 0.0 ? distance : defaultBaseDistance;
}

} // namespace

void UFemGraphicViewController::setUpCamera()
{
    const double position[3] = { 0, 0, 1000 };
    const double direction[3] = { 0, 0, -1 };
    const double up[3] = { 0, 1, 0 };
    constexpr double initialDepthFar = 2000.0;
    constexpr double initialLengthPerPixel = 1.0 / 72.0;
    eyeLocation_.setEyeLocationWithPosition(
        position, direction, up, 0.0, initialDepthFar, initialLengthPerPixel);
    const double origin[3] = { 0, 0, 0 };
    const double rows[3][3] = { { 1, 0, 0 }, { 0, 0, -1 }, { 0, 1, 0 } };
    objectLocation_.setObjectLocationWithPosition(origin, rows);
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
            manager->setEyeLocation(eyeLocation_);
}

void UFemGraphicViewController::handObjectLocationToManagers()
{
    for (const std::unique_ptr<UOpenGLManager>& manager : openGLManagerTable_)
        if (manager != nullptr)
            manager->setObjectLocation(objectLocation_);
}

void UFemGraphicViewController::getObjectCenter(double center[3]) const
{
    double box[6];
    dataController().getObjectSize(box);
    centerOfBox(box, center);
}

void UFemGraphicViewController::getObjectCenter_rough(double center[3]) const
{
    double box[6];
    dataController().getObjectSize_rough(box);
    centerOfBox(box, center);
}

double UFemGraphicViewController::objectLength() const
{
    double box[6];
    dataController().getObjectSize(box);
    return lengthOfBox(box);
}

double UFemGraphicViewController::objectLength_rough() const
{
    double box[6];
    dataController().getObjectSize_rough(box);
    return lengthOfBox(box);
}

void UFemGraphicViewController::setViewSize(QSizeF size)
{
    viewSize_ = size;
    for (const std::unique_ptr<UOpenGLManager>& manager : openGLManagerTable_)
        if (manager != nullptr)
            manager->setSize(size);
    clearBaseImage();
    clearSelectModeObjectDisplayList();
    if (isFitPendingUntilViewHasArea_ && size.width() > 0 && size.height() > 0) {
        isFitPendingUntilViewHasArea_ = false;
        setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(nullptr);
    }
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

// The view's width and height divide the fit, so a view without an area keeps the camera.
void UFemGraphicViewController::setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(
    const double* direction)
{
    const double viewWidth = viewSize_.width();
    const double viewHeight = viewSize_.height();
    if (!(viewWidth > 0 && viewHeight > 0))
        return;
    double length = objectLength();
    if (length == 0.0)
        length = emptyObjectLength;
    const double eyePosition[3] = { 0, 0, 2 * length };
    const double eyeDirection[3] = { 0, 0, -1 };
    const double eyeUp[3] = { 0, 1, 0 };
    eyeLocation_.setEyeLocationWithPosition(eyePosition, eyeDirection, eyeUp, 0, 4 * length, 1);
    const double origin[3] = { 0, 0, 0 };
    double rows[3][3];
    const _UGLObjectLocationStruct current = objectLocation_.objectLocationStruct();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            rows[row][column] = direction != nullptr ? direction[3 * row + column]
                                                     : current.objectDirection[row][column];
    objectLocation_.setObjectLocationWithPosition(origin, rows);

    const UFemCardArray& nodes = dataController().nodeCardArray();
    double low[2] = { 0, 0 };
    double high[2] = { 0, 0 };
    bool isFirst = true;
    for (const UFemCardPtr& card : nodes) {
        const auto* node = dynamic_cast<const UFemNodeCard*>(card.get());
        if (node == nullptr)
            UFemRaiseProgramError(QStringLiteral("This is not a Node card."));
        double model[3];
        double global[3];
        double eye[3];
        node->getNodeLocation(model);
        objectLocation_.getPositionOnGlobalCoord(global, model);
        eyeLocation_.getPositionOnEyeCoord(eye, global);
        for (int axis = 0; axis < 2; ++axis) {
            low[axis] = isFirst ? eye[axis] : std::min(low[axis], eye[axis]);
            high[axis] = isFirst ? eye[axis] : std::max(high[axis], eye[axis]);
        }
        isFirst = false;
    }
    const double width = high[0] - low[0];
    const double height = high[1] - low[1];
    double lengthPerPixel = width == 0.0 && height == 0.0
        ? length / std::max(viewWidth, viewHeight) * fitMargin
        : std::max(width / viewWidth * fitMargin, height / viewHeight * fitMargin);
    if (nodes.count() <= smallModelNodeCount)
        lengthPerPixel *= smallModelMargin;
    eyeLocation_.setEyeLocationWithPosition(
        eyePosition, eyeDirection, eyeUp, 0, 4 * length, lengthPerPixel);
    handEyeLocationToManagers();

    const double centered[3] = { -(low[0] + high[0]) * 0.5, -(low[1] + high[1]) * 0.5, 0 };
    objectLocation_.setObjectLocationWithPosition(centered, rows);
    double center[3];
    getObjectCenter(center);
    objectLocation_.adjustObjectPositionZWithObjectCenter(center);
    handObjectLocationToManagers();
    isEyeLocationDepthValid_ = true;
}

void UFemGraphicViewController::updateEyeLocationDepthRangeIfNeeded()
{
    if (isEyeLocationDepthValid_)
        return;
    double length = objectLength_rough();
    if (length == 0.0)
        length = emptyObjectLength;
    _UGLEyeLocationStruct eye = eyeLocation_.eyeLocationStruct();
    eye.eyePosition[2] = 2 * length;
    eye.depthNear = 0;
    eye.depthFar = 4 * length;
    eyeLocation_.setEyeLocationWithEyeLocationStruct(eye);
    handEyeLocationToManagers();
    isEyeLocationDepthValid_ = true;
}

void UFemGraphicViewController::fitWithDirectionAndRedraw(const double* direction)
{
    setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(direction);
    clearBaseImage();
    clearSelectModeObjectDisplayList();
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

double UFemGraphicViewController::effectiveObjectMoveRotateBaseDistance() const
{
    return effectiveBaseDistance(settings_.objectMoveRotateBaseDistance);
}

double UFemGraphicViewController::effectiveObjectMoveScaleBaseDistance() const
{
    return effectiveBaseDistance(settings_.objectMoveScaleBaseDistance);
}

bool UFemGraphicViewController::updateEyeAndObjectLocationWithObjectMoveMode(
    quint64 mode, double dx, double dy)
{
    constexpr quint64 move = 2;
    constexpr quint64 rotate = 3;
    constexpr quint64 zoom = 5;
    if ((dx == 0.0 && dy == 0.0) || mode < move || mode > zoom)
        return false;
    if (mode == zoom) {
        _UGLEyeLocationStruct eye = eyeLocation_.eyeLocationStruct();
        eye.lengthPerPixel /= std::pow(2.0, dy / effectiveObjectMoveScaleBaseDistance());
        eyeLocation_.setEyeLocationWithEyeLocationStruct(eye);
        handEyeLocationToManagers();
    } else if (mode == move) {
        const double onEye[3] = { dx, dy, 0 };
        double onGlobal[3];
        eyeLocation_.getVectorOnGlobalCoord(onGlobal, onEye);
        objectLocation_.translateWithVector(onGlobal);
    } else {
        double center[3];
        getObjectCenter(center);
        double rotationCenter[3];
        double axis[3];
        double angle;
        if (mode == rotate) {
            std::copy(center, center + 3, rotationCenter);
            const double onEye[3] = { dy, -dx, 0 };
            getVectorOnObjectCoord(axis, onEye);
            angle = std::sqrt(dx * dx + dy * dy) / effectiveObjectMoveRotateBaseDistance();
        } else { // roll
            const double eyePoint[3] = { 0, 0, 0 };
            getPositionOnObjectCoord(rotationCenter, eyePoint);
            const double viewAxis[3] = { 0, 0, 1 };
            getVectorOnObjectCoord(axis, viewAxis);
            angle = dx / effectiveObjectMoveRotateBaseDistance();
        }
        objectLocation_.rotateWithCenterPoint(rotationCenter, axis, angle);
        objectLocation_.adjustObjectPositionZWithObjectCenter(center);
    }
    if (mode != zoom)
        handObjectLocationToManagers();
    clearBaseImage();
    clearSelectModeObjectDisplayList();
    return true;
}

void UFemGraphicViewController::getPositionOnEyeCoord(
    double result[3], const double positionOnObjectCoord[3]) const
{
    double global[3];
    objectLocation_.getPositionOnGlobalCoord(global, positionOnObjectCoord);
    eyeLocation_.getPositionOnEyeCoord(result, global);
}

void UFemGraphicViewController::getPositionOnObjectCoord(
    double result[3], const double positionOnEyeCoord[3]) const
{
    double global[3];
    eyeLocation_.getPositionOnGlobalCoord(global, positionOnEyeCoord);
    objectLocation_.getPositionOnObjectCoord(result, global);
}

void UFemGraphicViewController::getVectorOnEyeCoord(
    double result[3], const double vectorOnObjectCoord[3]) const
{
    double global[3];
    objectLocation_.getVectorOnGlobalCoord(global, vectorOnObjectCoord);
    eyeLocation_.getVectorOnEyeCoord(result, global);
}

void UFemGraphicViewController::getVectorOnObjectCoord(
    double result[3], const double vectorOnEyeCoord[3]) const
{
    double global[3];
    eyeLocation_.getVectorOnGlobalCoord(global, vectorOnEyeCoord);
    objectLocation_.getVectorOnObjectCoord(result, global);
}
