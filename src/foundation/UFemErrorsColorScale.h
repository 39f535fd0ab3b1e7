#pragma once

#include "foundation/UError.h"

// Errors of the colour scale's value range (51xxx).

UErrorPtr UFemColorScaleValueRangeMinValueBiggerThanMaxValueError();
// The values print through the number text installed by the card model (UFemNumberText).
UErrorPtr UFemColorScaleValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
    double rangeMinValue, double rangeMaxValue);
