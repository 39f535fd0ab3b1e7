#include "graphics/colorscale/UFemColorScaleImageLayout.h"

namespace {

constexpr double standardTextX = 65.0;
constexpr double standardRightMargin = 12.0;
constexpr double standardHeight = 305.0;
constexpr QSizeF menuItemSize(111.0, 17.0);

} // namespace

UFemColorScaleImageLayout UFemColorScaleImageLayout::standardLayout(const QSizeF& labelSize)
{
    UFemColorScaleImageLayout layout;
    layout.imagePointSize
        = QSizeF(labelSize.width() + standardTextX + standardRightMargin, standardHeight);
    layout.colorRectangleRect = QRectF(12.5, 32.5, 32.0, 240.0);
    layout.colorUnderRangeMinValueRect = QRectF(12.5, 12.5, 32.0, 20.0);
    layout.colorOverRangeMaxValueRect = QRectF(12.5, 272.5, 32.0, 20.0);
    layout.doesDrawLabelValue = true;
    layout.labelValueLineLeftPositionX = 46.5;
    layout.labelValueLineMiddlePositionX = 54.5;
    layout.labelValueLineRightPositionX = 62.5;
    layout.labelValueStringPositionX = standardTextX;
    layout.labelValueStringSizeHeight = labelSize.height();
    return layout;
}

UFemColorScaleImageLayout UFemColorScaleImageLayout::menuItemLayout()
{
    UFemColorScaleImageLayout layout;
    layout.imagePointSize = menuItemSize;
    layout.rotateAnglePer90Degree = -1;
    layout.colorRectangleRect = QRectF(0.5, 15.5, 16.0, 80.0);
    layout.colorUnderRangeMinValueRect = QRectF(0.5, 0.5, 16.0, 15.0);
    layout.colorOverRangeMaxValueRect = QRectF(0.5, 95.5, 16.0, 15.0);
    return layout;
}
