#include "graphicview/UFemGraphicViewController.h"

#include <QApplication>
#include <QPainter>

namespace {

constexpr double errorBoxPadding = 4.0;
// The largest side of a frame image; a larger request (a huge resolution) draws nothing.
constexpr double maximumPixelSide = 16384.0;

QColor qColor(const _UGLColor& color)
{
    return QColor::fromRgbF(
        float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

} // namespace

// Until the layers arrive a frame holds the background and the triad.
QImage UFemGraphicViewController::pixelSizeImageWithDrawRectInfo(
    const UGLDrawRectInfo& drawRectInfo) const
{
    const QSizeF pixelSize = drawRectInfo.imagePixelSize;
    if (pixelSize.isEmpty() || pixelSize.width() > maximumPixelSide
        || pixelSize.height() > maximumPixelSide)
        return {};
    QImage image(pixelSize.toSize(), QImage::Format_ARGB32_Premultiplied);
    const bool isPrint = drawRectInfo.drawingOutputType == UGLDrawingOutputTypePrint;
    drawBackgroundImage(image,
        isPrint ? std::optional<_UGLColor>(settings_.printImageBackgroundColor) : std::nullopt);
    if (settings_.isGlobalCoordDraw && openGLSetupErrors_.empty())
        drawGlobalCoordToImage(
            image, settings_.globalCoordDrawPosition, drawRectInfo.imageResolutionPer72);
    return image;
}

void UFemGraphicViewController::ufemGraphicViewDrawRect(UFemGraphicView& view, QPainter& painter,
    const QRectF& dirtyRect, const UGLDrawRectInfo& drawRectInfo)
{
    if (isFitPendingUntilFirstFrame_ && camera_.hasViewArea()) {
        isFitPendingUntilFirstFrame_ = false;
        setEyeLocationAndObjectLocationByObjectSizeWithObjectDirection(nullptr);
    }
    updateEyeLocationDepthRangeIfNeeded();
    const QImage image = pixelSizeImageWithDrawRectInfo(drawRectInfo);
    const QRectF bounds(QPointF(0, 0), QSizeF(view.size()));
    if (image.isNull())
        painter.fillRect(bounds, Qt::black);
    else
        painter.drawImage(bounds, image, QRectF(image.rect()));
    drawErrorBoxes(painter, openGLSetupErrors_);
    const QRectF visible(dirtyRect.x(), view.height() - dirtyRect.y() - dirtyRect.height(),
        dirtyRect.width(), dirtyRect.height());
    ufemMainView_drawOverlaidProjectInfoIfNeeded(painter, visible);
}

// Boxes stack downwards from the view's top edge, one per error.
void UFemGraphicViewController::drawErrorBoxes(
    QPainter& painter, const std::vector<UErrorPtr>& errors) const
{
    const QFont font = QApplication::font();
    const QFontMetricsF metrics(font);
    painter.save();
    painter.setFont(font);
    double top = 0.0;
    for (const UErrorPtr& error : errors) {
        const QString text = error->localizedDescription();
        const QSizeF size = metrics.size(0, text);
        const QRectF box(
            0, top, size.width() + 2 * errorBoxPadding, size.height() + 2 * errorBoxPadding);
        painter.fillRect(box, qColor(overlayColors_.errorMessageRectFillColor));
        painter.setPen(qColor(overlayColors_.errorMessageRectBoundsColor));
        painter.drawRect(box);
        painter.setPen(qColor(overlayColors_.errorMessageStringColor));
        painter.drawText(
            box.adjusted(errorBoxPadding, errorBoxPadding, -errorBoxPadding, -errorBoxPadding),
            Qt::AlignLeft | Qt::AlignTop, text);
        top += box.height();
    }
    painter.restore();
}

void UFemGraphicViewController::ufemGraphicViewMouseDown(
    UFemGraphicView&, const UFemGraphicViewMouseEvent& event)
{
    lastDragLocation_ = event.locationInView;
    isMouseDragging_ = false;
}

// The drag modes move the camera; the y of view points already points up.
void UFemGraphicViewController::ufemGraphicViewMouseDragged(
    UFemGraphicView&, const UFemGraphicViewMouseEvent& event)
{
    const QPointF delta = event.locationInView - lastDragLocation_;
    lastDragLocation_ = event.locationInView;
    isMouseDragging_ = true;
    if (updateEyeAndObjectLocationWithObjectMoveMode(objectMoveMode_, delta.x(), delta.y()))
        reloadGraphicView();
}

void UFemGraphicViewController::ufemGraphicViewMouseUp(
    UFemGraphicView&, const UFemGraphicViewMouseEvent&)
{
    isMouseDragging_ = false;
}

bool UFemGraphicViewController::ufemMainViewKeyDown(UFemGraphicView&, QKeyEvent&)
{
    return false;
}

bool UFemGraphicViewController::ufemMainViewKeyUp(UFemGraphicView&, QKeyEvent&)
{
    return false;
}
