#include "graphics/colorscale/UFemColorScaleImagePainter.h"

#include "graphics/colorscale/UFemColorScale.h"
#include "graphics/primitives/UGLScaledRoundedSize.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double frameWidth = 1.0;
constexpr double defaultSeparateLineWidth = 1.0;
constexpr int channelMaximum = 255;
// Far beyond any print; bounds the allocation a wild resolution would ask for.
constexpr double maximumPixelSide = 32768.0;

QColor paintColor(const _UGLColor& color)
{
    return QColor::fromRgbF(
        float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

int channel(double component)
{
    return int(std::lround(std::clamp(component, 0.0, 1.0) * channelMaximum));
}

QPen linePen(const QColor& color, double width)
{
    QPen pen(color, width);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

bool isDrawnBox(const QRectF& box)
{
    return box != QRectF();
}

} // namespace

UFemColorScaleImagePainter::UFemColorScaleImagePainter(const UFemColorScale& colorScale,
    const UFemColorScaleImageLayout& layout, double imageResolutionPer72)
    : colorScale_(colorScale)
    , layout_(layout)
    , imageResolutionPer72_(imageResolutionPer72)
    , transform_(pointToPixelTransform(layout, imageResolutionPer72))
{
}

QTransform UFemColorScaleImagePainter::pointToPixelTransform(
    const UFemColorScaleImageLayout& layout, double imageResolutionPer72)
{
    const double width = layout.imagePointSize.width();
    const double height = layout.imagePointSize.height();
    QTransform turn(1.0, 0.0, 0.0, -1.0, 0.0, height);
    if (layout.rotateAnglePer90Degree == -1)
        turn = QTransform(0.0, 1.0, 1.0, 0.0, 0.0, 0.0);
    else if (layout.rotateAnglePer90Degree == 1)
        turn = QTransform(0.0, -1.0, -1.0, 0.0, width, height);
    return turn * QTransform::fromScale(imageResolutionPer72, imageResolutionPer72);
}

QImage UFemColorScaleImagePainter::image() const
{
    const QSizeF pixelSize = UGLScaledRoundedSize(
        layout_.imagePointSize.width(), layout_.imagePointSize.height(), imageResolutionPer72_);
    if (pixelSize.isEmpty() || pixelSize.width() > maximumPixelSide
        || pixelSize.height() > maximumPixelSide)
        return QImage();
    QImage image(pixelSize.toSize(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setTransform(transform_);
    if (isDrawnBox(layout_.colorUnderRangeMinValueRect))
        fillBox(
            &painter, layout_.colorUnderRangeMinValueRect, colorScale_.colorUnderRangeMinValue());
    if (isDrawnBox(layout_.colorOverRangeMaxValueRect))
        fillBox(&painter, layout_.colorOverRangeMaxValueRect, colorScale_.colorOverRangeMaxValue());
    drawColorBar(&painter, image.size());
    drawSeparateLines(&painter);
    if (layout_.doesDrawLabelValue)
        drawLabels(&painter);
    drawFrames(&painter);
    painter.end();
    return image;
}

void UFemColorScaleImagePainter::fillBox(
    QPainter* painter, const QRectF& box, const _UGLColor& color) const
{
    painter->fillRect(box, paintColor(color));
}

// Every pixel whose centre lies in the bar takes the scale's colour at its own position, so the
// bar is exact wherever a slope is clamped or bends.
void UFemColorScaleImagePainter::drawColorBar(QPainter* painter, const QSize& pixelSize) const
{
    const QRectF& bar = layout_.colorRectangleRect;
    const QRect pixels
        = transform_.mapRect(bar).toAlignedRect().intersected(QRect(QPoint(0, 0), pixelSize));
    if (pixels.isEmpty() || !(bar.height() > 0.0))
        return;
    const QTransform pixelToPoint = transform_.inverted();
    const double minValue = colorScale_.colorScaleRangeMinValue();
    const double valueRange = colorScale_.colorScaleRangeMaxValue() - minValue;
    QImage shading(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    shading.fill(Qt::transparent);
    for (int row = 0; row < pixels.height(); ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(shading.scanLine(row));
        for (int column = 0; column < pixels.width(); ++column) {
            const QPointF point
                = pixelToPoint.map(QPointF(pixels.left() + column + 0.5, pixels.top() + row + 0.5));
            if (!bar.contains(point))
                continue;
            const double t = std::clamp((point.y() - bar.y()) / bar.height(), 0.0, 1.0);
            const _UGLColor color = colorScale_.slopeColorWithValue(minValue + valueRange * t);
            line[column] = qPremultiply(qRgba(channel(color.red), channel(color.green),
                channel(color.blue), channel(color.alpha)));
        }
    }
    painter->save();
    painter->resetTransform();
    painter->drawImage(pixels.topLeft(), shading);
    painter->restore();
}

double UFemColorScaleImagePainter::barYWithValue(double value) const
{
    const QRectF& bar = layout_.colorRectangleRect;
    const double minValue = colorScale_.colorScaleRangeMinValue();
    return (value - minValue) * bar.height() / (colorScale_.colorScaleRangeMaxValue() - minValue)
        + bar.y();
}

// The first line of the window is the bar's lower end, which the frame draws; only scales with
// lines inside the bar draw any.
void UFemColorScaleImagePainter::drawSeparateLines(QPainter* painter) const
{
    const std::vector<UFemColorScaleSeparateLine> lines
        = colorScale_.separateLineArrayWithRangeLowValue(
            colorScale_.colorScaleRangeMinValue() - 1.0,
            colorScale_.colorScaleRangeMaxValue() + 1.0);
    if (lines.size() <= 2)
        return;
    const QRectF& bar = layout_.colorRectangleRect;
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) {
        if (!line->separateLineColor())
            continue;
        const double y = barYWithValue(line->separateValue());
        const double width = line->separateLineWidth() > 0.0 ? line->separateLineWidth()
                                                             : defaultSeparateLineWidth;
        painter->setPen(linePen(paintColor(*line->separateLineColor()), width));
        painter->drawLine(QLineF(bar.x(), y, bar.x() + bar.width(), y));
    }
}

void UFemColorScaleImagePainter::drawLabels(QPainter* painter) const
{
    const double minValue = colorScale_.colorScaleRangeMinValue();
    const double maxValue = colorScale_.colorScaleRangeMaxValue();
    const UFemNumberFormatter formatter
        = UFemColorScaleLabelLayout::labelFormatterWithRangeMinValue(minValue, maxValue);
    painter->setFont(UFemColorScaleLabelLayout::labelFont(formatter));
    painter->setPen(linePen(Qt::black, frameWidth));
    for (const UFemColorScaleLabel& label : UFemColorScaleLabelLayout::labelsWithRangeMinValue(
             minValue, maxValue, formatter, layout_)) {
        for (const QLineF& line : label.lines)
            painter->drawLine(line);
        drawText(painter, label.textPoint, label.text);
    }
}

// Text is set in a frame whose y runs down from the text's lower-left corner, so that it reads
// upright however the image is turned; the box's lower edge lies at the descent below the baseline.
void UFemColorScaleImagePainter::drawText(
    QPainter* painter, const QPointF& lowerLeft, const QString& text) const
{
    painter->save();
    painter->setTransform(QTransform::fromScale(1.0, -1.0)
        * QTransform::fromTranslate(lowerLeft.x(), lowerLeft.y()) * transform_);
    painter->drawText(QPointF(0.0, -QFontMetricsF(painter->font()).descent()), text);
    painter->restore();
}

void UFemColorScaleImagePainter::drawFrames(QPainter* painter) const
{
    painter->setPen(linePen(Qt::black, frameWidth));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(layout_.colorRectangleRect);
    for (const QRectF& box :
        { layout_.colorUnderRangeMinValueRect, layout_.colorOverRangeMaxValueRect }) {
        if (isDrawnBox(box))
            painter->drawRect(box);
    }
}
