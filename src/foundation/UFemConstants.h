#pragma once

#include <QString>
#include <QVariant>

// The shared empty string: every place that returns or compares an empty result.
inline const QString UFemEmptyString = QStringLiteral("");

// The shared null object: a value that stands for "nothing" inside arrays and dictionaries,
// unlike an invalid QVariant, which stands for a missing entry.
inline const QVariant UFemNullObject = QVariant::fromValue(nullptr);
