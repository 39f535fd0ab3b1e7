#pragma once

#include <QRectF>
#include <QSizeF>

// Where the parts of a colour-scale image lie, in points with y growing upwards; a rectangle's y
// is its lower edge. The image is laid out upright and then turned by `rotateAnglePer90Degree`
// quarter turns (-1 clockwise, 1 anticlockwise, anything else upright).
struct UFemColorScaleImageLayout {
    QSizeF imagePointSize;
    int rotateAnglePer90Degree = 0;
    QRectF colorRectangleRect;
    // A null rectangle draws no box.
    QRectF colorUnderRangeMinValueRect;
    QRectF colorOverRangeMaxValueRect;
    bool doesDrawLabelValue = false;
    double labelValueLineLeftPositionX = 0.0;
    double labelValueLineMiddlePositionX = 0.0;
    double labelValueLineRightPositionX = 0.0;
    double labelValueStringPositionX = 0.0;
    double labelValueStringSizeHeight = 0.0;

    // The legend beside a model coloured by value, for labels of the given drawn size.
    static UFemColorScaleImageLayout standardLayout(const QSizeF& labelSize);
    // The strip of a menu item: no labels, the bar running from left to right.
    static UFemColorScaleImageLayout menuItemLayout();
};
