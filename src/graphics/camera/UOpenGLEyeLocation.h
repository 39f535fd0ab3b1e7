#pragma once

// The camera in global coordinates; eye coordinates have X to the right of the screen, Y up it
// and Z towards the viewer, measured in image points.
struct _UGLEyeLocationStruct {
    double eyePosition[3];
    double eyeDirection[3];
    // Perpendicular to eyeDirection, up on the screen.
    double eyeUp[3];
    double depthNear;
    double depthFar;
    // Global length that one image point covers.
    double lengthPerPixel;
};

class UOpenGLEyeLocation {
public:
    // Eye at (0, 0, 1000) looking down -z with y up, depths 0 to 2000, 1/72 per point.
    UOpenGLEyeLocation();

    // The direction is normalised and the up vector made perpendicular to it and normalised.
    void setEyeLocationWithPosition(const double position[3], const double direction[3],
        const double upVector[3], double depthNear, double depthFar, double lengthPerPixel);
    void setEyeLocationWithEyeLocationStruct(const _UGLEyeLocationStruct& eyeLocation);
    _UGLEyeLocationStruct eyeLocationStruct() const { return _eyeLocationStruct; }

    // All take the result first and the argument second, each three doubles.
    void getVectorOnGlobalCoord(double result[3], const double vectorOnEyeCoord[3]) const;
    void getPositionOnGlobalCoord(double result[3], const double positionOnEyeCoord[3]) const;
    void getVectorOnEyeCoord(double result[3], const double vectorOnGlobalCoord[3]) const;
    void getPositionOnEyeCoord(double result[3], const double positionOnGlobalCoord[3]) const;

private:
    // The eye's X, Y and Z axes in global coordinates.
    void getEyeAxes(double x[3], double y[3], double z[3]) const;

    _UGLEyeLocationStruct _eyeLocationStruct;
};
