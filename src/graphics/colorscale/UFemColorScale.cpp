#include "graphics/colorscale/UFemColorScale.h"

#include <cmath>

UFemColorScale::UFemColorScale(const UFemColorScale& other)
    : preferenceColorScale_(other.preferenceColorScale_)
    , fields_(other.fields_)
{
    const std::scoped_lock lock(other.imageCacheMutex_);
    colorScaleLabelImage_standard_ = other.colorScaleLabelImage_standard_;
    colorScaleLabelImage_forMenuItem_ = other.colorScaleLabelImage_forMenuItem_;
}

void UFemColorScale::getRed(
    double* red, double* green, double* blue, double* alpha, double value) const
{
    _UGLColor color;
    getUGLColor(&color, value);
    *red = color.red;
    *green = color.green;
    *blue = color.blue;
    *alpha = color.alpha;
}

void UFemColorScale::getUGLColor(_UGLColor* color, double value) const
{
    if (fields_.colorScaleColorSlopeArray.empty())
        *color = {};
    else if (std::isnan(value))
        *color = fields_.invalidValueColor;
    else if (fields_.rangeMinValue > value)
        *color = fields_.colorUnderRangeMinValue;
    else if (value > fields_.rangeMaxValue)
        *color = fields_.colorOverRangeMaxValue;
    else
        *color = slopeColorWithValue(value);
}

_UGLColor UFemColorScale::colorWithValue(double value) const
{
    _UGLColor color;
    getUGLColor(&color, value);
    return color;
}

_UGLColor UFemColorScale::slopeColorWithValue(double value) const
{
    const std::vector<UFemColorScaleColorSlope>& slopes = fields_.colorScaleColorSlopeArray;
    if (slopes.empty())
        return {};
    for (const UFemColorScaleColorSlope& slope : slopes) {
        if (slope.rangeHighValue() >= value)
            return slope.colorWithValue(value);
    }
    return slopes.back().colorWithValue(value);
}

std::vector<UFemColorScaleSeparateLine> UFemColorScale::separateLineArrayWithRangeLowValue(
    double rangeLowValue, double rangeHighValue) const
{
    const std::vector<UFemColorScaleSeparateLine>& lines = fields_.colorScaleSeparateLineArray;
    auto line = lines.begin();
    while (line != lines.end() && !(line->separateValue() > rangeLowValue))
        ++line;
    std::vector<UFemColorScaleSeparateLine> inside;
    for (; line != lines.end() && line->separateValue() < rangeHighValue; ++line)
        inside.push_back(*line);
    return inside;
}
