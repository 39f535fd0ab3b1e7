#include "foundation/UFemErrorsColorScale.h"

#include "foundation/UErrorTexts.h"
#include "foundation/UFemNumberText.h"
#include "foundation/UFormattedString.h"

UErrorPtr UFemColorScaleValueRangeMinValueBiggerThanMaxValueError()
{
    return UFemMakeSimpleError(51001,
        ULocalizedFormattedString(
            "Invalid Color Scale value range. 'Min value' is bigger than 'Max value'"),
        ULocalizedFormattedString("'Min value' must be smaller than 'Max value'."));
}

UErrorPtr UFemColorScaleValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
    double rangeMinValue, double rangeMaxValue)
{
    return UFemMakeSimpleError(51002,
        ULocalizedFormattedString(
            "Invalid Color Scale value range. 'Min value' (%@) and 'Max value' (%@) are equal "
            "or too close.",
            UFemNumberText(rangeMinValue), UFemNumberText(rangeMaxValue)),
        ULocalizedFormattedString("Set 'Min value' and 'Max value' away from each other."));
}
