#pragma once

#include "graphics/drawingbuffer/UGLDrawingTypes.h"

#include <QSizeF>

// What one draw request of the 3-D view asks for; the view reads the fields directly.
struct UGLDrawRectInfo {
    UGLDrawingOutputType drawingOutputType = UGLDrawingOutputTypeScreen;
    QSizeF imageSize; // points
    QSizeF imagePixelSize; // pixels, rounded as every other conversion of the engine
    double imageResolutionPer72 = 1.0; // pixels per point
    UGLImageQuality imageQuality = UGLImageQualityScreen;

    static UGLDrawRectInfo drawRectInfoWithDrawingOutputType(UGLDrawingOutputType drawingOutputType,
        QSizeF imageSize, double imageResolution, UGLImageQuality imageQuality);
};
