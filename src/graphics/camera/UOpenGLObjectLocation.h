#pragma once

// Where the model stands in the global frame: the position of its origin and its X, Y and Z
// axes as rows (orthonormal, right-handed).
struct _UGLObjectLocationStruct {
    double objectPosition[3];
    double objectDirection[3][3];
};

class UOpenGLObjectLocation {
public:
    // Position 0, identity direction.
    UOpenGLObjectLocation();

    // Refuse a frame that UGLCheckDirectionMatrixNormalized rejects with "UOpenGLException" and
    // keep the old location; otherwise store the corrected frame.
    void setObjectLocationWithPosition(const double position[3], const double directionXYZ[3][3]);
    void setObjectLocationWithObjectLocationStruct(const _UGLObjectLocationStruct& objectLocation);
    _UGLObjectLocationStruct objectLocationStruct() const { return _objectLocationStruct; }

    void translateWithVector(const double vector[3]);
    // Moves the model along global z so that `objectCenter` (object coordinates) lies at z = 0.
    void adjustObjectPositionZWithObjectCenter(const double objectCenter[3]);
    // Centre and axis in object coordinates, angle in radians; rows turn as row vectors do.
    void rotateWithCenterPoint(
        const double centerPoint[3], const double axisVector[3], double angle);

    // Column-major 4 x 4: the three axes, then the position, with the affine last row.
    void getObjectLocationAffineTransformMatrix(double matrix[16]) const;
    // Refuses a matrix that is not affine; stores the axes without a normalisation check.
    void setObjectLocationAffineTransformMatrix(const double matrix[16]);

    void getVectorOnGlobalCoord(double result[3], const double vectorOnObjectCoord[3]) const;
    void getPositionOnGlobalCoord(double result[3], const double positionOnObjectCoord[3]) const;
    void getVectorOnObjectCoord(double result[3], const double vectorOnGlobalCoord[3]) const;
    void getPositionOnObjectCoord(double result[3], const double positionOnGlobalCoord[3]) const;

private:
    _UGLObjectLocationStruct _objectLocationStruct;
};
