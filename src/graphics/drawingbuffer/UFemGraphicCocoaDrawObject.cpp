#include "graphics/drawingbuffer/UFemGraphicCocoaDrawObject.h"

#include <QColor>
#include <QPainter>

#include <utility>

UFemGraphicCocoaDrawObject::UFemGraphicCocoaDrawObject(DrawObject drawObject, QPointF drawPoint)
    : drawObject_(std::move(drawObject))
    , drawPoint_(drawPoint)
{
}

UFemGraphicCocoaDrawObject UFemGraphicCocoaDrawObject::cocoaDrawObjectWithDrawObject(
    DrawObject drawObject, QPointF drawPoint)
{
    return UFemGraphicCocoaDrawObject(std::move(drawObject), drawPoint);
}

void UFemGraphicCocoaDrawObject::draw(QPainter& painter) const
{
    if (const auto* image = std::get_if<QImage>(&drawObject_)) {
        painter.drawImage(drawPoint_, *image);
        return;
    }
    const Text& text = std::get<Text>(drawObject_);
    painter.save();
    painter.setFont(text.font);
    painter.setPen(QColor::fromRgbF(float(text.color.red), float(text.color.green),
        float(text.color.blue), float(text.color.alpha)));
    painter.drawText(drawPoint_, text.string);
    painter.restore();
}
