#include "graphics/camera/UGLDrawRectInfo.h"

#include "graphics/primitives/UGLScaledRoundedSize.h"

UGLDrawRectInfo UGLDrawRectInfo::drawRectInfoWithDrawingOutputType(
    UGLDrawingOutputType drawingOutputType, QSizeF imageSize, double imageResolution,
    UGLImageQuality imageQuality)
{
    UGLDrawRectInfo info;
    info.drawingOutputType = drawingOutputType;
    info.imageSize = imageSize;
    info.imagePixelSize
        = UGLScaledRoundedSize(imageSize.width(), imageSize.height(), imageResolution);
    info.imageResolutionPer72 = imageResolution;
    info.imageQuality = imageQuality;
    return info;
}
