#include "graphics/UFemGraphicCocoaDrawObject.h"

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
