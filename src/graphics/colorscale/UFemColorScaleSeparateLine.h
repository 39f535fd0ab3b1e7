#pragma once

#include "foundation/UGLColor.h"

#include <optional>

// A value of a colour scale at which the legend may draw a line, with the colours just below and
// just above it. A line without a colour is not drawn. A plain value; copies are independent.
class UFemColorScaleSeparateLine {
public:
    void setColorScaleSeparateLineWithSeparateValue(double separateValue,
        const std::optional<_UGLColor>& separateLineColor, double separateLineWidth,
        const _UGLColor& colorUnderSeparateValue, const _UGLColor& colorOverSeparateValue)
    {
        separateValue_ = separateValue;
        separateLineColor_ = separateLineColor;
        separateLineWidth_ = separateLineWidth;
        colorUnderSeparateValue_ = colorUnderSeparateValue;
        colorOverSeparateValue_ = colorOverSeparateValue;
    }

    double separateValue() const { return separateValue_; }
    const std::optional<_UGLColor>& separateLineColor() const { return separateLineColor_; }
    double separateLineWidth() const { return separateLineWidth_; }
    _UGLColor colorUnderSeparateValue() const { return colorUnderSeparateValue_; }
    _UGLColor colorOverSeparateValue() const { return colorOverSeparateValue_; }

private:
    double separateValue_ = 0.0;
    std::optional<_UGLColor> separateLineColor_;
    double separateLineWidth_ = 0.0;
    _UGLColor colorUnderSeparateValue_;
    _UGLColor colorOverSeparateValue_;
};
