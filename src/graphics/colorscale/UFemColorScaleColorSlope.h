#pragma once

#include "foundation/UGLColor.h"

// One linear blend of a colour scale: from a low-end colour at rangeLowValue, changing each
// component by a fixed amount per unit of value. A plain value; copies are independent.
class UFemColorScaleColorSlope {
public:
    void setColorScaleColorSlopeWithRangeLowValue(double rangeLowValue,
        const _UGLColor& rangeLowColor, double rangeHighValue, const _UGLColor& rangeHighColor);

    // The blend at `value`, extrapolated beyond the slope's ends, each component clamped to 0..1.
    void getRed(double* red, double* green, double* blue, double* alpha, double value) const;
    _UGLColor colorWithValue(double value) const;

    double rangeLowValue() const { return rangeLowValue_; }
    double rangeHighValue() const { return rangeHighValue_; }
    _UGLColor rangeLowColor() const { return rangeLowColor_; }
    // The change of each component per unit of value.
    _UGLColor valueLow2High() const { return valueLow2High_; }

private:
    double rangeLowValue_ = 0.0;
    double rangeHighValue_ = 0.0;
    _UGLColor rangeLowColor_;
    _UGLColor valueLow2High_;
};
