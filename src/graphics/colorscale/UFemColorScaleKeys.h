#pragma once

#include <QString>

// Keys of a colour scale's preference dictionary. They are stored in the user's preferences, so
// their texts never change.

// Top level: the base scale and the additions a user puts on top of it.
inline const QString UFemColorScaleBaseColorScaleKey
    = QStringLiteral("UFemColorScaleBaseColorScaleKey");
inline const QString UFemColorScaleValueRangeAdditionKey
    = QStringLiteral("UFemColorScaleValueRangeAdditionKey");
inline const QString UFemColorScaleColorSwapAdditionKey
    = QStringLiteral("UFemColorScaleColorSwapAdditionKey");
inline const QString UFemColorScaleStepColorAdditionKey
    = QStringLiteral("UFemColorScaleStepColorAdditionKey");

// The base scale (the range keys also serve the value-range addition).
inline const QString UFemColorScaleIsValuedColorScaleKey
    = QStringLiteral("UFemColorScaleIsValuedColorScaleKey");
inline const QString UFemColorScaleNameStringKey = QStringLiteral("UFemColorScaleNameStringKey");
inline const QString UFemColorScaleColorSlopeArray
    = QStringLiteral("UFemColorScaleColorSlopeArray");
inline const QString UFemColorScaleSeparateLineArray
    = QStringLiteral("UFemColorScaleSeparateLineArray");
inline const QString UFemColorScaleRangeMinValueKey
    = QStringLiteral("UFemColorScaleRangeMinValueKey");
inline const QString UFemColorScaleRangeMaxValueKey
    = QStringLiteral("UFemColorScaleRangeMaxValueKey");
inline const QString UFemColorScaleColorUnderRangeMinValueKey
    = QStringLiteral("UFemColorScaleColorUnderRangeMinValueKey");
inline const QString UFemColorScaleColorOverRangeMaxValueKey
    = QStringLiteral("UFemColorScaleColorOverRangeMaxValueKey");
inline const QString UFemColorScaleInvalidValueColorKey
    = QStringLiteral("UFemColorScaleInvalidValueColorKey");
