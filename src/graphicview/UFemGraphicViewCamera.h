#pragma once

#include "graphics/camera/UOpenGLEyeLocation.h"
#include "graphics/camera/UOpenGLObjectLocation.h"

#include <QSizeF>
#include <QtGlobal>

class UFemDataController;

// The orthographic camera of a 3-D view and the placement of the model in the global frame:
// fitting the model's nodes into the view, the depth range, and the drags that move, rotate,
// roll and zoom. Sizes and drag distances are in view points.
class UFemGraphicViewCamera {
public:
    enum class Change { none, eyeLocation, objectLocation };
    static constexpr quint64 objectMoveModeMove = 2;
    static constexpr quint64 objectMoveModeRotate = 3;
    static constexpr quint64 objectMoveModeRoll = 4;
    static constexpr quint64 objectMoveModeZoom = 5;

    // Eye at (0, 0, 1000) looking down -z, depths 0 to 2000, 1/72 per point; model X to the
    // right, Z up and Y into the screen.
    explicit UFemGraphicViewCamera(UFemDataController& dataController);

    const UOpenGLEyeLocation& eyeLocation() const { return eyeLocation_; }
    const UOpenGLObjectLocation& objectLocation() const { return objectLocation_; }
    QSizeF viewSize() const { return viewSize_; }
    void setViewSize(QSizeF size) { viewSize_ = size; }
    bool hasViewArea() const { return viewSize_.width() > 0 && viewSize_.height() > 0; }
    bool isEyeLocationDepthValid() const { return isEyeLocationDepthValid_; }
    void invalidateEyeLocationDepth() { isEyeLocationDepthValid_ = false; }

    void getObjectCenter(double center[3]) const;
    void getObjectCenter_rough(double center[3]) const;
    double objectLength() const;
    double objectLength_rough() const;

    // Fits the model; `direction` is 9 doubles (the model axes as rows), null keeps the current
    // one. The view's width and height divide the fit, so without an area it answers false and
    // changes nothing.
    bool fitWithObjectDirection(const double* direction);
    // True when the depth range was refitted.
    bool updateEyeLocationDepthRangeIfNeeded();
    // dx, dy with y up. Base distances that are not positive and finite count as 100.
    Change moveWithObjectMoveMode(
        quint64 mode, double dx, double dy, double rotateBaseDistance, double scaleBaseDistance);

    // Conversions through global coordinates.
    void getPositionOnEyeCoord(double result[3], const double positionOnObjectCoord[3]) const;
    void getPositionOnObjectCoord(double result[3], const double positionOnEyeCoord[3]) const;
    void getVectorOnEyeCoord(double result[3], const double vectorOnObjectCoord[3]) const;
    void getVectorOnObjectCoord(double result[3], const double vectorOnEyeCoord[3]) const;

private:
    void rotate(quint64 mode, double dx, double dy, double rotateBaseDistance);

    UFemDataController& dataController_;
    QSizeF viewSize_;
    UOpenGLObjectLocation objectLocation_;
    UOpenGLEyeLocation eyeLocation_;
    bool isEyeLocationDepthValid_ = false;
};
