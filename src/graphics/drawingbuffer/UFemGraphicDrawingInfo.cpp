#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"

std::optional<_UGLColor> UFemGraphicDrawingInfo::elementEdgeColor() const
{
    if (!isElementEdgeDraw_)
        return std::nullopt;
    return edgeDrawingInfo_static_.edgeColor_NSColor;
}

void UFemGraphicDrawingInfo::setElementEdgeColor(const std::optional<_UGLColor>& color)
{
    UGLEdgeDrawingInfoSetEdgeColor(&edgeDrawingInfo_static_, color);
}

bool UFemGraphicDrawingInfo::getUGLElementEdgeColor(_UGLColor* color) const
{
    const _UGLColor* edgeColor = isElementEdgeDraw_ ? edgeDrawingInfo_static_.edgeColor() : nullptr;
    *color = edgeColor != nullptr ? *edgeColor : _UGLColor();
    return edgeColor != nullptr;
}
