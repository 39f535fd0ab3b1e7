#pragma once

#include "foundation/UError.h"
#include "foundation/UFemCardValueArraySize.h"

// Errors of drawing the model (32xxx).

UErrorPtr UFemGraphicDrawingError_withDescription(const QString& description);
// The values print through the number text installed by the card model (UFemNumberText).
UErrorPtr
UFemAutoColorByValueValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
    double rangeMinValue, double rangeMaxValue);
// Shows the points, section points and vector values of the size; its leading count is not shown.
UErrorPtr UFemDrawingCardColorCardValueArraySizeError_withCardInfoString(
    const QString& cardInfoString, _UFemCardValueArraySize colorCardValueArraySize,
    const QString& requiredColorCardValueArraySizeString);
