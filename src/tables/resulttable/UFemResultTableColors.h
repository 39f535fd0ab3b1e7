#pragma once

#include <QColor>

// The fill colours of the result table's rows and messages. An invalid colour falls back as the
// table draws it: name, label and first case rows and Max/Min to the table's background, the
// second case row to the first, the case-name column to no fill.
struct UFemResultTableColors {
    QColor cardNameRowColor = QColor::fromRgbF(0.9f, 0.85f, 0.8f, 1.0f);
    QColor valueLabelRowColor = QColor::fromRgbF(0.925f, 0.95f, 1.0f, 1.0f);
    QColor caseNameColumnColor;
    QColor caseValueRow1Color;
    QColor caseValueRow2Color;
    QColor maxMinValueRowColor = QColor::fromRgbF(0.925f, 0.95f, 1.0f, 1.0f);
    QColor viewCenterMessageRectBoundsColor = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 1.0f);
    QColor viewCenterMessageRectFillColor = QColor::fromRgbF(1.0f, 1.0f, 1.0f, 1.0f);
    QColor viewCenterMessageStringColor = QColor::fromRgbF(0.0f, 0.0f, 0.0f, 0.5f);
    QColor errorMessageRectBoundsColor = QColor::fromRgbF(1.0f, 0.0f, 0.0f, 0.75f);
    QColor errorMessageRectFillColor = QColor::fromRgbF(1.0f, 0.5f, 0.5f, 0.75f);
    QColor errorMessageStringColor = QColor::fromRgbF(0.0f, 0.0f, 0.0f, 1.0f);
};
