#include "foundation/errors/UFemErrorsGraphicDrawing.h"

#include "foundation/errors/UErrorTexts.h"
#include "foundation/strings/UFemNumberFormatter.h"
#include "foundation/strings/UFormattedString.h"

UErrorPtr UFemGraphicDrawingError_withDescription(const QString& description)
{
    return UFemMakeSimpleError(32001, description, QStringLiteral(""));
}

UErrorPtr
UFemAutoColorByValueValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
    double rangeMinValue, double rangeMaxValue)
{
    return UFemMakeSimpleError(32002,
        ULocalizedFormattedString(
            "( Error on Calculating Auto Color Value Range ) 'min value' (%@) and 'max value' "
            "(%@) are equal or too close.",
            UFemNumberFormatter::quickStringWithValue(rangeMinValue),
            UFemNumberFormatter::quickStringWithValue(rangeMaxValue)),
        ULocalizedFormattedString(
            "Only one object returns a value, or all objects return almost same value."));
}

UErrorPtr UFemDrawingCardColorCardValueArraySizeError_withCardInfoString(
    const QString& cardInfoString, _UFemCardValueArraySize colorCardValueArraySize,
    const QString& requiredColorCardValueArraySizeString)
{
    const QString description = ULocalizedFormattedString(
        "( Error on Drawing Card ) Card Value Array Size for color doesn't match.");
    const quint64 points = colorCardValueArraySize.numberOfPoints;
    const quint64 sectionPoints = colorCardValueArraySize.numberOfSectionPoints;
    const quint64 vectorValues = colorCardValueArraySize.numberOfVectorValues;
    return UFemMakeError(32003,
        {
            .description = description,
            .failureReason = description,
            .recoverySuggestion
            = ULocalizedFormattedString("Check Card Value Expression for color.\ncard: "
                                        "%@\nCardValueArraySize: ( Number of points: %lu, Number "
                                        "of section points: %lu, Number of vector values: %lu "
                                        ")\nRequired CardValueArraySize: ( %@ )",
                cardInfoString, points, sectionPoints, vectorValues,
                requiredColorCardValueArraySizeString),
            .oneLineDescription
            = ULocalizedFormattedString("( Error on Drawing Card ) Card Value Array Size for color "
                                        "doesn't match. ( card: %@, "
                                        "CardValueArraySize: ( Number of points: %lu, Number of "
                                        "section points: %lu, Number of vector values: "
                                        "%lu ), Required CardValueArraySize: ( %@ ) )",
                cardInfoString, points, sectionPoints, vectorValues,
                requiredColorCardValueArraySizeString),
        });
}
