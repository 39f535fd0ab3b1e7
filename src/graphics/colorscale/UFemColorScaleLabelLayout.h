#pragma once

#include "foundation/strings/UFemNumberFormatter.h"
#include "graphics/colorscale/UFemColorScaleImageLayout.h"

#include <QFont>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <vector>

// One value label of a colour-scale legend, in the image's upright points with y growing upwards.
struct UFemColorScaleLabel {
    double value = 0.0;
    QString text;
    // The tick line, or the three segments of a leader bent away from a crowded bar end.
    QList<QLineF> lines;
    // The lower-left corner of the text's box.
    QPointF textPoint;
};

// Where a legend puts its labels: ticks at round values through the range, and the range's own
// ends when they print differently from the nearest tick.
class UFemColorScaleLabelLayout {
public:
    // Round values from the first multiple of the step at or above `rangeMinValue`, while below
    // `rangeMaxValue`; the step is 1, 0.5, 0.25, 0.2 or 0.1 times a power of ten.
    static std::vector<double> labelValuesWithRangeMinValue(
        double rangeMinValue, double rangeMaxValue);

    // The legend's number formatter, fitted to the larger end of the range.
    static UFemNumberFormatter labelFormatterWithRangeMinValue(
        double rangeMinValue, double rangeMaxValue);
    // The formatter's font at its size in pixels of a resolution-1 image.
    static QFont labelFont(const UFemNumberFormatter& formatter);
    // The drawn size of one formatted number (the text of 0.0).
    static QSizeF attributedStringSize(const UFemNumberFormatter& formatter);

    static std::vector<UFemColorScaleLabel> labelsWithRangeMinValue(double rangeMinValue,
        double rangeMaxValue, const UFemNumberFormatter& formatter,
        const UFemColorScaleImageLayout& layout);
};
