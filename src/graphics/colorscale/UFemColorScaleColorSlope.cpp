#include "graphics/colorscale/UFemColorScaleColorSlope.h"

namespace {

// NaN reads as 0: end colours far outside 0..1 can overflow the blend to 0 x infinity, and a NaN
// colour must never reach a drawing.
double clampedComponent(double component)
{
    if (!(component >= 0.0))
        return 0.0;
    if (component > 1.0)
        return 1.0;
    return component;
}

} // namespace

void UFemColorScaleColorSlope::setColorScaleColorSlopeWithRangeLowValue(double rangeLowValue,
    const _UGLColor& rangeLowColor, double rangeHighValue, const _UGLColor& rangeHighColor)
{
    rangeLowValue_ = rangeLowValue;
    rangeHighValue_ = rangeHighValue;
    rangeLowColor_ = rangeLowColor;
    const double width = rangeHighValue - rangeLowValue;
    // A slope of no width is a step: it keeps its low colour rather than dividing by zero.
    if (width == 0.0) {
        valueLow2High_ = {};
        return;
    }
    valueLow2High_ = {
        (rangeHighColor.red - rangeLowColor.red) / width,
        (rangeHighColor.green - rangeLowColor.green) / width,
        (rangeHighColor.blue - rangeLowColor.blue) / width,
        (rangeHighColor.alpha - rangeLowColor.alpha) / width,
    };
}

void UFemColorScaleColorSlope::getRed(
    double* red, double* green, double* blue, double* alpha, double value) const
{
    const double offset = value - rangeLowValue_;
    *red = clampedComponent(rangeLowColor_.red + offset * valueLow2High_.red);
    *green = clampedComponent(rangeLowColor_.green + offset * valueLow2High_.green);
    *blue = clampedComponent(rangeLowColor_.blue + offset * valueLow2High_.blue);
    *alpha = clampedComponent(rangeLowColor_.alpha + offset * valueLow2High_.alpha);
}

_UGLColor UFemColorScaleColorSlope::colorWithValue(double value) const
{
    _UGLColor color;
    getRed(&color.red, &color.green, &color.blue, &color.alpha, value);
    return color;
}
