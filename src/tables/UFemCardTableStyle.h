#pragma once

#include <QColor>
#include <QHash>
#include <QString>
#include <QTextCharFormat>

// The card model names four style keys; the card table adds the one of warnings.
inline const QString UFemCardStringAttributesKeyForWarning
    = QStringLiteral("UFemCardStringAttributesKeyForWarning");

// Text attributes per card string style key.
using UFemCardStringAttributesDictionary = QHash<QString, QTextCharFormat>;

// The colours of the card table's cells.
class UFemCardTableStyle {
public:
    static UFemCardStringAttributesDictionary defaultCardStringAttributesDictionary();
    static QColor rowIndexColor() { return QColor::fromRgbF(0.5f, 0, 0.5f, 1); }
    static QColor commentColor() { return QColor::fromRgbF(0, 0.5f, 0, 1); }
};
