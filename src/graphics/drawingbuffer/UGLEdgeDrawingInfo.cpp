#include "graphics/drawingbuffer/UGLEdgeDrawingInfo.h"

void UGLEdgeDrawingInfoClear(_UGLEdgeDrawingInfo* edgeDrawingInfo)
{
    *edgeDrawingInfo = _UGLEdgeDrawingInfo();
}

void UGLEdgeDrawingInfoSetEdgeColor(
    _UGLEdgeDrawingInfo* edgeDrawingInfo, const std::optional<_UGLColor>& color)
{
    edgeDrawingInfo->edgeColor_static = color.value_or(_UGLColor());
    edgeDrawingInfo->edgeColor_NSColor = color;
}

void UGLEdgeDrawingInfoCopy(_UGLEdgeDrawingInfo* destination, const _UGLEdgeDrawingInfo* source)
{
    *destination = *source;
}
