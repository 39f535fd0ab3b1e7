#pragma once

#include "foundation/UGLColor.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

// Preference colours are arrays of four numbers (red, green, blue, alpha). They are converted to
// and from _UGLColor without passing through any colour class, so that a stored colour compares
// equal after any number of round trips.

// Stands where a preference array must hold an entry but no colour is given.
inline const QString UFemPreferenceNil = QStringLiteral("UFemPreferenceNil");

// The colour of a preference array; a missing or non-numeric entry reads as 0.
_UGLColor UGLColorWithPreferenceColor(const QVariant& preferenceColor);
QVariantList UPreferenceColorWithUGLColor(const _UGLColor& color);

// A gray: red, green and blue all `white`.
_UGLColor UGLColorWithWhite(double white, double alpha);

// The label colour of a flag, for forms that gray out what is switched off: black when the value
// is true, gray (white 0.5) when it is false, null or missing.
_UGLColor UTextLabelColorForFlag(const QVariant& flag);
