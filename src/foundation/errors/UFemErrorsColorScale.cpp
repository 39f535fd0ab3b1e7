#include "foundation/errors/UFemErrorsColorScale.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFemNumberFormatter.h"
#include "foundation/strings/UFormattedString.h"

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
            UFemNumberFormatter::quickStringWithValue(rangeMinValue),
            UFemNumberFormatter::quickStringWithValue(rangeMaxValue)),
        ULocalizedFormattedString("Set 'Min value' and 'Max value' away from each other."));
}
