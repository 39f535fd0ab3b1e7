#include "graphics/opengl/UOpenGLImageFunctions.h"

#include <QImage>

#include "graphics/opengl/UGLOpenGL.h"

#include <cstring>
#include <utility>

namespace {

constexpr quint64 bytesPerPixel = 4;
constexpr double channelMaximum = 255.0;

} // namespace

void UOpenGLSetLightingEnabled(bool enabled)
{
    if (enabled)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
}

void UOpenGLSetFaceOffsetEnabled(bool enabled)
{
    // An edge band reaches half its width to either side of the edge, where a slanted face is
    // nearer than on the edge; one slope step covers a band of up to two pixels.
    constexpr GLfloat slopeFactor = 1.0F;
    constexpr GLfloat depthSteps = 2.0F;
    if (!enabled) {
        glDisable(GL_POLYGON_OFFSET_FILL);
        return;
    }
    glPolygonOffset(slopeFactor, depthSteps);
    glEnable(GL_POLYGON_OFFSET_FILL);
}

void UOpenGLSetClearColor(const _UGLColor& color)
{
    glClearColor(
        GLfloat(color.red), GLfloat(color.green), GLfloat(color.blue), GLfloat(color.alpha));
}

void UOpenGLCopyRawImageRows(uchar* destination, const uchar* source, quint64 mode,
    quint64 rowWidth, quint64 height, double opacity)
{
    const quint64 byteCount = rowWidth * height * bytesPerPixel;
    if (mode == UOpenGLCopyRawImageRowsModeCopy) {
        std::memcpy(destination, source, byteCount);
        return;
    }
    if (mode != UOpenGLCopyRawImageRowsModeBlend)
        return;
    for (quint64 pixel = 0; pixel < byteCount; pixel += bytesPerPixel) {
        const double a = source[pixel + 3] / channelMaximum * opacity;
        for (quint64 channel = 0; channel < bytesPerPixel; ++channel) {
            uchar& d = destination[pixel + channel];
            d = uchar(d * (1.0 - a) + source[pixel + channel] * a + 0.5);
        }
    }
}

void UOpenGLStandardizeRawImageRows(uchar* rawImageData, quint64 rowWidth, quint64 height)
{
    const quint64 rowBytes = rowWidth * bytesPerPixel;
    for (quint64 row = 0; row < height / 2; ++row) {
        uchar* top = rawImageData + row * rowBytes;
        uchar* bottom = rawImageData + (height - 1 - row) * rowBytes;
        std::swap_ranges(top, top + rowBytes, bottom);
    }
    const quint64 byteCount = rowBytes * height;
    for (quint64 pixel = 0; pixel < byteCount; pixel += bytesPerPixel)
        std::swap(rawImageData[pixel], rawImageData[pixel + 2]);
}

void UOpenGLMakeImageFromRawImageData(QPainter& painter, const uchar* rawImageData,
    QPainter::CompositionMode operation, quint64 pixelWidth, quint64 pixelHeight, quint64 rowWidth,
    QImage* cachedImage, double fraction)
{
    // OpenGL with blending off writes straight alpha.
    const QImage wrapped(rawImageData, int(pixelWidth), int(pixelHeight),
        qsizetype(rowWidth * bytesPerPixel), QImage::Format_RGBA8888);
    const QImage* drawn = &wrapped;
    if (cachedImage != nullptr) {
        if (cachedImage->size() != wrapped.size() || cachedImage->format() != wrapped.format())
            *cachedImage = QImage(wrapped.size(), QImage::Format_RGBA8888);
        for (int row = 0; row < wrapped.height(); ++row)
            std::memcpy(
                cachedImage->scanLine(row), wrapped.constScanLine(row), pixelWidth * bytesPerPixel);
        drawn = cachedImage;
    }
    painter.save();
    painter.setCompositionMode(operation);
    painter.setOpacity(fraction);
    painter.drawImage(QPointF(0.0, 0.0), *drawn);
    painter.restore();
}
