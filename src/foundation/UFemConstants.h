#pragma once

#include <QString>
#include <QVariant>

// The shared empty string: every place that returns or compares an empty result.
inline const QString UFemEmptyString = QStringLiteral("");

// The shared null object: a value that stands for "nothing" inside arrays and dictionaries,
// unlike an invalid QVariant, which stands for a missing entry.
inline const QVariant UFemNullObject = QVariant::fromValue(nullptr);

// The program's version: the About window shows it and the project files it writes record it as
// their creator's.
inline const QString UFemProgramVersionString = QStringLiteral("0.8.1.5.1");
