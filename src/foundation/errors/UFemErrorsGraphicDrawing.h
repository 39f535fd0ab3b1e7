#pragma once

#include "foundation/UFemCardValueArraySize.h"
#include "foundation/errors/UError.h"

// Errors of drawing the model (32xxx).

UErrorPtr UFemGraphicDrawingError_withDescription(const QString& description);
// The values print as the tables show them (UFemNumberFormatter::quickStringWithValue).
UErrorPtr
UFemAutoColorByValueValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
    double rangeMinValue, double rangeMaxValue);
// Shows the points, section points and vector values of the size; its leading count is not shown.
UErrorPtr UFemDrawingCardColorCardValueArraySizeError_withCardInfoString(
    const QString& cardInfoString, _UFemCardValueArraySize colorCardValueArraySize,
    const QString& requiredColorCardValueArraySizeString);
