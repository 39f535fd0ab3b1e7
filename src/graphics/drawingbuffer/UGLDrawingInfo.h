#pragma once

#include "graphics/drawingbuffer/UGLDrawingTypes.h"

#include <QSizeF>

#include <array>

class UGLSharedFaceTable;

// The parameters every drawing primitive reads. The 3-D view fills one per frame before the
// drawing threads start; while they run it is only read, so it needs no lock.
class UGLDrawingInfo {
public:
    UGLDrawingInfo();
    virtual ~UGLDrawingInfo() = default;

    UGLDrawingOutputType drawingOutputType() const { return drawingOutputType_; }
    void setDrawingOutputType(UGLDrawingOutputType type) { drawingOutputType_ = type; }
    // Points.
    QSizeF imageSize() const { return imageSize_; }
    void setImageSize(QSizeF size) { imageSize_ = size; }
    QSizeF imagePixelSize() const { return imagePixelSize_; }
    void setImagePixelSize(QSizeF size) { imagePixelSize_ = size; }
    // Model length of one image point: symbol sizes in points times this give model lengths.
    double lengthPerPixel() const { return lengthPerPixel_; }
    void setLengthPerPixel(double length) { lengthPerPixel_ = length; }
    // Device pixels per point.
    double imageResolutionPer72() const { return imageResolutionPer72_; }
    void setImageResolutionPer72(double resolution) { imageResolutionPer72_ = resolution; }
    UGLImageQuality imageQuality() const { return imageQuality_; }
    void setImageQuality(UGLImageQuality quality) { imageQuality_ = quality; }
    bool isRequiredNormalVector() const { return isRequiredNormalVector_; }
    void setRequiredNormalVector(bool flag) { isRequiredNormalVector_ = flag; }
    // Faces that the solids drawn with this info share, which they leave out; null draws every
    // face. Not owned.
    const UGLSharedFaceTable* sharedFaceTable() const { return sharedFaceTable_; }
    void setSharedFaceTable(const UGLSharedFaceTable* table) { sharedFaceTable_ = table; }

    // Rows: the eye's X (screen right), Y (screen up) and Z (towards the viewer) axes as unit
    // vectors in object coordinates. Setting them recomputes the point tables.
    void getEyeCoordOnObjectCoord(double eyeCoordOnObjectCoord[3][3]) const;
    void setEyeCoordOnObjectCoord(const double eyeCoordOnObjectCoord[3][3]);
    const double (&eyeCoordOnObjectCoord() const)[3][3] { return eyeCoordOnObjectCoord_; }

    // Unit circles in the screen plane, in object coordinates (x, y, z per vertex), made once per
    // frame so that every disc-like symbol is a scale and a shift of one of them.
    const std::array<double, 6 * 3>& pointVertexTableFor6Vertex() const
    {
        return pointVertexTableFor6Vertex_;
    }
    const std::array<double, 8 * 3>& pointVertexTableFor8Vertex() const
    {
        return pointVertexTableFor8Vertex_;
    }
    const std::array<double, 10 * 3>& pointVertexTableFor10Vertex() const
    {
        return pointVertexTableFor10Vertex_;
    }
    const std::array<double, 12 * 3>& pointVertexTableFor12Vertex() const
    {
        return pointVertexTableFor12Vertex_;
    }

private:
    UGLDrawingOutputType drawingOutputType_ = UGLDrawingOutputTypeScreen;
    QSizeF imageSize_;
    QSizeF imagePixelSize_;
    double lengthPerPixel_ = 1.0;
    double imageResolutionPer72_ = 1.0;
    UGLImageQuality imageQuality_ = UGLImageQualityScreen;
    bool isRequiredNormalVector_ = true;
    const UGLSharedFaceTable* sharedFaceTable_ = nullptr;
    double eyeCoordOnObjectCoord_[3][3] {};
    std::array<double, 6 * 3> pointVertexTableFor6Vertex_ {};
    std::array<double, 8 * 3> pointVertexTableFor8Vertex_ {};
    std::array<double, 10 * 3> pointVertexTableFor10Vertex_ {};
    std::array<double, 12 * 3> pointVertexTableFor12Vertex_ {};
};
