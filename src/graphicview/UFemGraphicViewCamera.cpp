#include "graphicview/UFemGraphicViewCamera.h"

#include "cardmodel/card/UFemNodeCard.h"
#include "cardmodel/data/UFemDataController.h"
#include "foundation/errors/UException.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double emptyObjectLength = 20.0;
constexpr double fitMargin = 1.2;
// Small models get more room around them.
constexpr double smallModelMargin = 1.5;
constexpr quint64 smallModelNodeCount = 20;
constexpr double defaultBaseDistance = 100.0;
constexpr double eyeUp[3] = { 0, 1, 0 };
constexpr double eyeDirection[3] = { 0, 0, -1 };

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

UFemGraphicViewCamera::UFemGraphicViewCamera(UFemDataController& dataController)
    : dataController_(dataController)
{
    const double position[3] = { 0, 0, 1000 };
    constexpr double initialDepthFar = 2000.0;
    constexpr double initialLengthPerPixel = 1.0 / 72.0;
    eyeLocation_.setEyeLocationWithPosition(
        position, eyeDirection, eyeUp, 0.0, initialDepthFar, initialLengthPerPixel);
    const double origin[3] = { 0, 0, 0 };
    const double rows[3][3] = { { 1, 0, 0 }, { 0, 0, -1 }, { 0, 1, 0 } };
    objectLocation_.setObjectLocationWithPosition(origin, rows);
}

void UFemGraphicViewCamera::getObjectCenter(double center[3]) const
{
    double box[6];
    dataController_.getObjectSize(box);
    centerOfBox(box, center);
}

void UFemGraphicViewCamera::getObjectCenter_rough(double center[3]) const
{
    double box[6];
    dataController_.getObjectSize_rough(box);
    centerOfBox(box, center);
}

double UFemGraphicViewCamera::objectLength() const
{
    double box[6];
    dataController_.getObjectSize(box);
    return lengthOfBox(box);
}

double UFemGraphicViewCamera::objectLength_rough() const
{
    double box[6];
    dataController_.getObjectSize_rough(box);
    return lengthOfBox(box);
}

bool UFemGraphicViewCamera::fitWithObjectDirection(const double* direction)
{
    if (!hasViewArea())
        return false;
    double length = objectLength();
    if (length == 0.0)
        length = emptyObjectLength;
    const double eyePosition[3] = { 0, 0, 2 * length };
    eyeLocation_.setEyeLocationWithPosition(eyePosition, eyeDirection, eyeUp, 0, 4 * length, 1);
    double rows[3][3];
    const _UGLObjectLocationStruct current = objectLocation_.objectLocationStruct();
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            rows[row][column] = direction != nullptr ? direction[3 * row + column]
                                                     : current.objectDirection[row][column];
    const double origin[3] = { 0, 0, 0 };
    objectLocation_.setObjectLocationWithPosition(origin, rows);

    // The projected extent of the nodes, in eye coordinates of one length per point. The
    // projection is affine: eye = origin + x·ex + y·ey + z·ez, taken once from the conversions.
    double projection[4][3];
    const double modelOrigin[3] = { 0, 0, 0 };
    getPositionOnEyeCoord(projection[3], modelOrigin);
    for (int axis = 0; axis < 3; ++axis) {
        double unit[3] = { 0, 0, 0 };
        unit[axis] = 1;
        getVectorOnEyeCoord(projection[axis], unit);
    }
    const UFemCardArray& nodes = dataController_.nodeCardArray();
    double low[2] = { 0, 0 };
    double high[2] = { 0, 0 };
    bool isFirst = true;
    for (const UFemCardPtr& card : nodes) {
        const auto* node = dynamic_cast<const UFemNodeCard*>(card.get());
        if (node == nullptr)
            UFemRaiseProgramError(QStringLiteral("This is not a Node card."));
        double model[3];
        node->getNodeLocation(model);
        for (int axis = 0; axis < 2; ++axis) {
            const double eye = projection[3][axis] + model[0] * projection[0][axis]
                + model[1] * projection[1][axis] + model[2] * projection[2][axis];
            low[axis] = isFirst ? eye : std::min(low[axis], eye);
            high[axis] = isFirst ? eye : std::max(high[axis], eye);
        }
        isFirst = false;
    }
    const double width = high[0] - low[0];
    const double height = high[1] - low[1];
    const double viewWidth = viewSize_.width();
    const double viewHeight = viewSize_.height();
    double lengthPerPixel = width == 0.0 && height == 0.0
        ? length / std::max(viewWidth, viewHeight) * fitMargin
        : std::max(width / viewWidth * fitMargin, height / viewHeight * fitMargin);
    if (nodes.count() <= smallModelNodeCount)
        lengthPerPixel *= smallModelMargin;
    eyeLocation_.setEyeLocationWithPosition(
        eyePosition, eyeDirection, eyeUp, 0, 4 * length, lengthPerPixel);

    const double centered[3] = { -(low[0] + high[0]) * 0.5, -(low[1] + high[1]) * 0.5, 0 };
    objectLocation_.setObjectLocationWithPosition(centered, rows);
    double center[3];
    getObjectCenter(center);
    objectLocation_.adjustObjectPositionZWithObjectCenter(center);
    isEyeLocationDepthValid_ = true;
    return true;
}

bool UFemGraphicViewCamera::updateEyeLocationDepthRangeIfNeeded()
{
    if (isEyeLocationDepthValid_)
        return false;
    double length = objectLength_rough();
    if (length == 0.0)
        length = emptyObjectLength;
    _UGLEyeLocationStruct eye = eyeLocation_.eyeLocationStruct();
    eye.eyePosition[2] = 2 * length;
    eye.depthNear = 0;
    eye.depthFar = 4 * length;
    eyeLocation_.setEyeLocationWithEyeLocationStruct(eye);
    isEyeLocationDepthValid_ = true;
    return true;
}

UFemGraphicViewCamera::Change UFemGraphicViewCamera::moveWithObjectMoveMode(
    quint64 mode, double dx, double dy, double rotateBaseDistance, double scaleBaseDistance)
{
    if ((dx == 0.0 && dy == 0.0) || mode < objectMoveModeMove || mode > objectMoveModeZoom)
        return Change::none;
    if (mode == objectMoveModeZoom) {
        _UGLEyeLocationStruct eye = eyeLocation_.eyeLocationStruct();
        eye.lengthPerPixel /= std::pow(2.0, dy / effectiveBaseDistance(scaleBaseDistance));
        eyeLocation_.setEyeLocationWithEyeLocationStruct(eye);
        return Change::eyeLocation;
    }
    if (mode == objectMoveModeMove) {
        const double onEye[3] = { dx, dy, 0 };
        double onGlobal[3];
        eyeLocation_.getVectorOnGlobalCoord(onGlobal, onEye);
        objectLocation_.translateWithVector(onGlobal);
    } else {
        rotate(mode, dx, dy, effectiveBaseDistance(rotateBaseDistance));
    }
    return Change::objectLocation;
}

// Rotate turns about the model's centre, perpendicular to the drag; roll turns about the view
// axis through the eye and takes only the horizontal movement.
void UFemGraphicViewCamera::rotate(quint64 mode, double dx, double dy, double rotateBaseDistance)
{
    double center[3];
    getObjectCenter(center);
    double rotationCenter[3];
    double axis[3];
    double angle;
    if (mode == objectMoveModeRotate) {
        std::copy(center, center + 3, rotationCenter);
        const double onEye[3] = { dy, -dx, 0 };
        getVectorOnObjectCoord(axis, onEye);
        angle = std::sqrt(dx * dx + dy * dy) / rotateBaseDistance;
    } else {
        const double eyePoint[3] = { 0, 0, 0 };
        getPositionOnObjectCoord(rotationCenter, eyePoint);
        const double viewAxis[3] = { 0, 0, 1 };
        getVectorOnObjectCoord(axis, viewAxis);
        angle = dx / rotateBaseDistance;
    }
    objectLocation_.rotateWithCenterPoint(rotationCenter, axis, angle);
    objectLocation_.adjustObjectPositionZWithObjectCenter(center);
}

void UFemGraphicViewCamera::getPositionOnEyeCoord(
    double result[3], const double positionOnObjectCoord[3]) const
{
    double global[3];
    objectLocation_.getPositionOnGlobalCoord(global, positionOnObjectCoord);
    eyeLocation_.getPositionOnEyeCoord(result, global);
}

void UFemGraphicViewCamera::getPositionOnObjectCoord(
    double result[3], const double positionOnEyeCoord[3]) const
{
    double global[3];
    eyeLocation_.getPositionOnGlobalCoord(global, positionOnEyeCoord);
    objectLocation_.getPositionOnObjectCoord(result, global);
}

void UFemGraphicViewCamera::getVectorOnEyeCoord(
    double result[3], const double vectorOnObjectCoord[3]) const
{
    double global[3];
    objectLocation_.getVectorOnGlobalCoord(global, vectorOnObjectCoord);
    eyeLocation_.getVectorOnEyeCoord(result, global);
}

void UFemGraphicViewCamera::getVectorOnObjectCoord(
    double result[3], const double vectorOnEyeCoord[3]) const
{
    double global[3];
    eyeLocation_.getVectorOnGlobalCoord(global, vectorOnEyeCoord);
    objectLocation_.getVectorOnObjectCoord(result, global);
}
