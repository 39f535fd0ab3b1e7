#include "graphicview/UFemGraphicViewController.h"

#include "graphicview/UGLScreenFacingArrowOutline.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr double opaqueAlpha = 0.999;
constexpr double checkerCellSize = 60.0;
constexpr double checkerLightWhite = 1.0;
constexpr double checkerDarkWhite = 0.8;
// Below this side the raw background is plain white.
constexpr quint64 rawCheckerMinimumSide = 5;
constexpr double triadCornerMargin = 24.0;
constexpr double triadCornerDepth = -100.0;
constexpr double triadLabelSize = 16.0;
constexpr double triadLabelMinimumLength = 0.01;

QColor qColor(const _UGLColor& color)
{
    return QColor::fromRgbF(
        float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

// The checkerboard's cells: columns and rows of 60 pixels centred on the image, counted from the
// lower-left corner.
struct Checkerboard {
    Checkerboard(double width, double height)
        : columns(2 * qint64(std::ceil(width / (2 * checkerCellSize))))
        , rows(2 * qint64(std::ceil(height / (2 * checkerCellSize))))
        , originX(width / 2 - checkerCellSize * double(columns) / 2)
        , originY(height / 2 - checkerCellSize * double(rows) / 2)
    {
    }
    bool isDark(qint64 row, qint64 column) const
    {
        return (row + column + rows / 2 + columns / 2) % 2 == 0;
    }
    // The cell of a pixel centre, y up.
    bool isDarkAt(double x, double yUp) const
    {
        const auto column = qint64(std::floor((x - originX) / checkerCellSize));
        const auto row = qint64(std::floor((yUp - originY) / checkerCellSize));
        return isDark(row, column);
    }
    qint64 columns;
    qint64 rows;
    double originX;
    double originY;
};

uchar compositeOver(double component, double alpha, double under)
{
    constexpr double byteMax = 255.0;
    return uchar(std::lround((component * alpha + under * (1.0 - alpha)) * byteMax));
}

void writePixel(uchar* pixel, const _UGLColor& color, double under)
{
    pixel[0] = compositeOver(color.red, color.alpha, under);
    pixel[1] = compositeOver(color.green, color.alpha, under);
    pixel[2] = compositeOver(color.blue, color.alpha, under);
    pixel[3] = uchar(255);
}

} // namespace

void UFemGraphicViewController::drawBackgroundImage(
    QImage& image, const std::optional<_UGLColor>& backgroundColorForPrint) const
{
    const _UGLColor color = backgroundColorForPrint.value_or(settings_.screenImageBackgroundColor);
    QPainter painter(&image);
    if (backgroundColorForPrint.has_value() || color.alpha > opaqueAlpha) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(image.rect(), qColor(color));
        return;
    }
    const Checkerboard board(image.width(), image.height());
    painter.fillRect(image.rect(), Qt::white);
    const QColor dark = QColor::fromRgbF(
        float(checkerDarkWhite), float(checkerDarkWhite), float(checkerDarkWhite));
    for (qint64 row = 0; row < board.rows; ++row)
        for (qint64 column = 0; column < board.columns; ++column)
            if (board.isDark(row, column)) {
                const double top
                    = image.height() - (board.originY + checkerCellSize * double(row + 1));
                painter.fillRect(QRectF(board.originX + checkerCellSize * double(column), top,
                                     checkerCellSize, checkerCellSize),
                    dark);
            }
    if (color.alpha != 0.0)
        painter.fillRect(image.rect(), qColor(color));
}

// Top row first, bytes red, green, blue, alpha.
void UFemGraphicViewController::writeBackgroundImageToRawImageData(quint32* rawImageData,
    quint64 pixelWidth, quint64 pixelHeight, quint64 pixelBufferWidth,
    const std::optional<_UGLColor>& backgroundColorForPrint) const
{
    const _UGLColor color = backgroundColorForPrint.value_or(settings_.screenImageBackgroundColor);
    const bool isPlain = backgroundColorForPrint.has_value() || color.alpha > opaqueAlpha;
    const bool isTiny = pixelWidth < rawCheckerMinimumSide || pixelHeight < rawCheckerMinimumSide;
    const _UGLColor opaque { color.red, color.green, color.blue, 1.0 };
    const Checkerboard board { double(pixelWidth), double(pixelHeight) };
    for (quint64 y = 0; y < pixelHeight; ++y) {
        auto* row = reinterpret_cast<uchar*>(rawImageData + y * pixelBufferWidth);
        const double yUp = double(pixelHeight - y) - 0.5;
        for (quint64 x = 0; x < pixelWidth; ++x) {
            uchar* pixel = row + 4 * x;
            if (isPlain) {
                writePixel(pixel, opaque, 0.0);
                continue;
            }
            const bool isDark = !isTiny && board.isDarkAt(double(x) + 0.5, yUp);
            writePixel(pixel, color, isDark ? checkerDarkWhite : checkerLightWhite);
        }
    }
}

void UFemGraphicViewController::drawGlobalCoordToImage(
    QImage& image, qint64 position, double resolution) const
{
    tellPipelineStep("drawGlobalCoordToImage");
    const double length = settings_.coordArrowLength;
    double base[3] = { 0, 0, 0 };
    if (position == 2) {
        const double corner[3] = { -image.width() / (2 * resolution) + length + triadCornerMargin,
            -image.height() / (2 * resolution) + length + triadCornerMargin, triadCornerDepth };
        camera_.getPositionOnObjectCoord(base, corner);
    } else if (position != 1) {
        return;
    }
    const double lengthPerPixel = camera_.eyeLocation().eyeLocationStruct().lengthPerPixel;
    const double eyeAxis[3] = { 0, 0, 1 };
    double viewAxis[3];
    camera_.getVectorOnObjectCoord(viewAxis, eyeAxis);
    double baseOnEye[3];
    camera_.getPositionOnEyeCoord(baseOnEye, base);
    const double halfWidth = image.width() / 2.0;
    const double halfHeight = image.height() / 2.0;
    auto toImage = [&](const double onEye[3]) {
        return QPointF(onEye[0] * resolution + halfWidth,
            image.height() - (onEye[1] * resolution + halfHeight));
    };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    QPointF labelPoints[3];
    for (int axis = 0; axis < 3; ++axis) {
        double vector[3] = { 0, 0, 0 };
        vector[axis] = length * lengthPerPixel;
        double outline[21];
        if (UGLMakeScreenFacingArrowOutline(settings_.coordArrowRodWidth * lengthPerPixel,
                settings_.coordArrowHeadSize * lengthPerPixel, outline, base, vector, viewAxis)) {
            QPolygonF polygon;
            for (int point = 0; point < 7; ++point) {
                double onEye[3];
                camera_.getPositionOnEyeCoord(onEye, outline + 3 * point);
                polygon << toImage(onEye);
            }
            polygon << polygon.first();
            path.addPolygon(polygon);
        }
        double tip[3] = { base[0], base[1], base[2] };
        tip[axis] += vector[axis];
        double tipOnEye[3];
        camera_.getPositionOnEyeCoord(tipOnEye, tip);
        const double dx = tipOnEye[0] - baseOnEye[0];
        const double dy = tipOnEye[1] - baseOnEye[1];
        const double projected = std::sqrt(dx * dx + dy * dy);
        const double factor
            = projected <= triadLabelMinimumLength ? 0.0 : (projected + triadLabelSize) / projected;
        const double labelOnEye[3] = { baseOnEye[0] + dx * factor, baseOnEye[1] + dy * factor, 0 };
        labelPoints[axis] = toImage(labelOnEye);
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color = qColor(settings_.globalCoordColor);
    painter.fillPath(path, color);
    QFont font = QApplication::font();
    font.setPixelSize(qMax(1, int(std::lround(triadLabelSize * resolution))));
    painter.setFont(font);
    painter.setPen(color);
    const QString labels[3] = { QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z") };
    const QFontMetricsF metrics(font);
    for (int axis = 0; axis < 3; ++axis) {
        const QSizeF size = metrics.size(0, labels[axis]);
        painter.drawText(
            QRectF(labelPoints[axis] - QPointF(size.width() / 2, size.height() / 2), size),
            Qt::AlignCenter, labels[axis]);
    }
}
