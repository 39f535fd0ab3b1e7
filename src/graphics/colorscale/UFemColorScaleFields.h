#pragma once

#include "foundation/UGLColor.h"
#include "graphics/colorscale/UFemColorScaleColorSlope.h"
#include "graphics/colorscale/UFemColorScaleSeparateLine.h"

#include <QString>

#include <vector>

// What a colour scale derives from its preference dictionary; built whole, so that a failed
// build leaves the scale's previous fields untouched.
struct UFemColorScaleFields {
    bool isValuedColorScale = false;
    QString colorScaleNameString;
    std::vector<UFemColorScaleColorSlope> colorScaleColorSlopeArray;
    std::vector<UFemColorScaleSeparateLine> colorScaleSeparateLineArray;
    double rangeMinValue = 0.0;
    double rangeMaxValue = 0.0;
    _UGLColor colorUnderRangeMinValue;
    _UGLColor colorOverRangeMaxValue;
    _UGLColor invalidValueColor;
};
