#include "documents/mainview/UFemProjectInfoOverlay.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "documents/window/UFemWindowDocument.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

constexpr double margin = 20;
constexpr double valueGap = 8;
constexpr double labelColumnMinimum = 112;
constexpr double widthExtra = 120 + 40;
constexpr double minimumBoxWidth = 480;
constexpr double maximumBoxWidth = 650;
constexpr double boxHeight = 184;
constexpr double boxHeightWithError = 316;
constexpr double cornerRadius = 8;
constexpr double rowHeight = 20;
constexpr double titleTop = 20;
constexpr double versionTop = 52;
constexpr double commentTop = 84;
constexpr double commentHeight = 80;
constexpr double errorTop = 176;
constexpr double errorHeight = 120;
constexpr double flippedFreeHeightShare = 0.4;
constexpr double strokeAlpha = 0.6;
constexpr double fillAlpha = 0.8;

QString tr(const char* text)
{
    return QCoreApplication::translate("UFemMainViewController", text);
}

QString shownText(const std::optional<QString>& text)
{
    return text.value_or(QString()).isEmpty() ? QStringLiteral("---") : *text;
}

bool isEmpty(const std::optional<QString>& text)
{
    return !text.has_value() || text->isEmpty();
}

void drawRow(QPainter& painter, const UFemProjectInfoOverlayGeometry& geometry, double top,
    double height, const QString& label, const QString& value, bool wraps)
{
    const QRectF labelRect(geometry.box.left(), geometry.box.top() + top,
        geometry.labelRightEdge - geometry.box.left(), rowHeight);
    painter.drawText(labelRect, Qt::AlignRight | Qt::AlignTop, label);
    const QRectF valueRect(geometry.valueLeft, geometry.box.top() + top,
        geometry.valueRight - geometry.valueLeft, height);
    if (wraps) {
        painter.drawText(valueRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, value);
        return;
    }
    const QString elided
        = painter.fontMetrics().elidedText(value, Qt::ElideRight, int(valueRect.width()));
    painter.drawText(valueRect, Qt::AlignLeft | Qt::AlignTop, elided);
}

} // namespace

std::optional<UFemProjectInfoTexts> UFemProjectInfoTextsOfDocument(
    const UFemWindowDocument& document, const UFemDataController& dataController)
{
    std::optional<QString> error;
    if (document.documentType() == UFemDocumentTypeResult
        && dataController.resultDataManager() != nullptr)
        error = dataController.resultDataManager()->calculationErrorString();
    if (isEmpty(document.projectTitleString()) && isEmpty(document.projectVersionString())
        && isEmpty(document.projectCommentString()) && !error.has_value())
        return std::nullopt;
    return UFemProjectInfoTexts { shownText(document.projectTitleString()),
        shownText(document.projectVersionString()), shownText(document.projectCommentString()),
        error };
}

UFemProjectInfoOverlayGeometry UFemProjectInfoOverlayGeometryOf(
    const QRectF& visibleRect, double labelWidth, double valueWidth, bool hasCalculationError)
{
    const double width = visibleRect.width();
    const double height = visibleRect.height();
    const double fitting = std::clamp(widthExtra + valueWidth, minimumBoxWidth, maximumBoxWidth);
    const double boxWidth = std::min(width - 2 * margin, fitting);
    const double fullHeight = hasCalculationError ? boxHeightWithError : boxHeight;
    const double boxHeightShown
        = height < fullHeight + 2 * margin ? height - 2 * margin : fullHeight;
    const double x = visibleRect.left() + (width - boxWidth) / 2;
    const double y = visibleRect.top() + margin
        + flippedFreeHeightShare * (height - boxHeightShown - 2 * margin);
    UFemProjectInfoOverlayGeometry geometry;
    geometry.box = QRectF(x, y, boxWidth, boxHeightShown);
    const double column = std::max(
        labelColumnMinimum, labelWidth + (boxWidth - (labelWidth + valueGap + valueWidth)) / 2);
    geometry.labelRightEdge = x + column;
    geometry.valueLeft = geometry.labelRightEdge + valueGap;
    geometry.valueRight = x + boxWidth - margin;
    return geometry;
}

QFont UFemProjectInfoOverlayFont()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
}

double UFemProjectInfoOverlayLabelWidth()
{
    static const double width = [] {
        const QFontMetricsF metrics(UFemProjectInfoOverlayFont());
        return std::max({ metrics.horizontalAdvance(tr("Project Title:")),
            metrics.horizontalAdvance(tr("Version:")), metrics.horizontalAdvance(tr("Comment:")) });
    }();
    return width;
}

double UFemProjectInfoOverlayValueWidth(const UFemProjectInfoTexts& texts)
{
    const QFontMetricsF metrics(UFemProjectInfoOverlayFont());
    return std::max({ metrics.horizontalAdvance(texts.title),
        metrics.horizontalAdvance(texts.version), metrics.horizontalAdvance(texts.comment) });
}

void UFemDrawProjectInfoOverlay(
    QPainter& painter, const QRectF& visibleRect, const UFemProjectInfoTexts& texts)
{
    const UFemProjectInfoOverlayGeometry geometry
        = UFemProjectInfoOverlayGeometryOf(visibleRect, UFemProjectInfoOverlayLabelWidth(),
            UFemProjectInfoOverlayValueWidth(texts), texts.calculationError.has_value());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(geometry.box, cornerRadius, cornerRadius);
    painter.fillPath(path, QColor::fromRgbF(0, 0, 0, fillAlpha));
    painter.setPen(QColor::fromRgbF(0, 0, 0, strokeAlpha));
    painter.drawPath(path);
    painter.setFont(UFemProjectInfoOverlayFont());
    painter.setPen(Qt::white);
    drawRow(painter, geometry, titleTop, rowHeight, tr("Project Title:"), texts.title, false);
    drawRow(painter, geometry, versionTop, rowHeight, tr("Version:"), texts.version, false);
    drawRow(painter, geometry, commentTop, commentHeight, tr("Comment:"), texts.comment, true);
    if (texts.calculationError)
        drawRow(painter, geometry, errorTop, errorHeight, tr("Calculation Error:"),
            *texts.calculationError, true);
    painter.restore();
}
