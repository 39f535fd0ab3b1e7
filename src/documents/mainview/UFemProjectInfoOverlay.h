#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

#include <optional>

class QPainter;
class UFemDataController;
class UFemWindowDocument;

// The texts of the project information overlay; empty fields already read "---".
struct UFemProjectInfoTexts {
    QString title;
    QString version;
    QString comment;
    std::optional<QString> calculationError;
};

// Where the overlay's parts go in a y-down view.
struct UFemProjectInfoOverlayGeometry {
    QRectF box;
    // The right edge of the right-aligned labels.
    double labelRightEdge = 0;
    double valueLeft = 0;
    double valueRight = 0;
};

// The document's project texts, or nothing to draw when title, version, comment and the
// calculation error are all empty.
std::optional<UFemProjectInfoTexts> UFemProjectInfoTextsOfDocument(
    const UFemWindowDocument& document, const UFemDataController& dataController);

// The box centred across the visible rectangle, 40% down the free height; `labelWidth` and
// `valueWidth` are the widest label and value texts.
UFemProjectInfoOverlayGeometry UFemProjectInfoOverlayGeometryOf(
    const QRectF& visibleRect, double labelWidth, double valueWidth, bool hasCalculationError);

QFont UFemProjectInfoOverlayFont();
// The widest of the three labels, measured once for the run.
double UFemProjectInfoOverlayLabelWidth();
double UFemProjectInfoOverlayValueWidth(const UFemProjectInfoTexts& texts);

void UFemDrawProjectInfoOverlay(
    QPainter& painter, const QRectF& visibleRect, const UFemProjectInfoTexts& texts);
