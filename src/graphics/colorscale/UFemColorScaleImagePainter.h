#pragma once

#include "foundation/UGLColor.h"
#include "graphics/colorscale/UFemColorScaleImageLayout.h"
#include "graphics/colorscale/UFemColorScaleLabelLayout.h"

#include <QImage>
#include <QTransform>

class UFemColorScale;
class QPainter;

// Draws one colour-scale image: the under and over boxes, the colour bar, the separating lines,
// the labels and the frames. The layout is in upright points with y growing upwards; the
// transform turns it and maps it onto the image's pixels, and text is set upright within it.
class UFemColorScaleImagePainter {
public:
    UFemColorScaleImagePainter(const UFemColorScale& colorScale,
        const UFemColorScaleImageLayout& layout, double imageResolutionPer72);

    QImage image() const;

    // Upright points (y up) to image pixels (y down).
    static QTransform pointToPixelTransform(
        const UFemColorScaleImageLayout& layout, double imageResolutionPer72);

private:
    void fillBox(QPainter* painter, const QRectF& box, const _UGLColor& color) const;
    void drawColorBar(QPainter* painter, const QSize& pixelSize) const;
    void drawSeparateLines(QPainter* painter) const;
    void drawLabels(QPainter* painter) const;
    void drawText(QPainter* painter, const QPointF& lowerLeft, const QString& text) const;
    void drawFrames(QPainter* painter) const;
    double barYWithValue(double value) const;

    const UFemColorScale& colorScale_;
    const UFemColorScaleImageLayout layout_;
    const double imageResolutionPer72_;
    const QTransform transform_;
};
