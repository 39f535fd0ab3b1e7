#pragma once

#include "foundation/errors/UError.h"

// Errors of the colour scale's value range (51xxx).

UErrorPtr UFemColorScaleValueRangeMinValueBiggerThanMaxValueError();
// The values print as the tables show them (UFemNumberFormatter::quickStringWithValue).
UErrorPtr UFemColorScaleValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
    double rangeMinValue, double rangeMaxValue);
