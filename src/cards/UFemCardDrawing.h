#pragma once

#include "foundation/UFemCardValueArraySize.h"
#include "foundation/UGLColor.h"
#include "foundation/errors/UError.h"
#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"
#include "graphics/drawingbuffer/UGLDrawingBuffer.h"

#include <QString>
#include <QtGlobal>

class UFemColorScale;
class UGLDrawingInfo;

// Doubles per drawing node in a node position table; the first three are the drawn position.
inline constexpr quint64 UFemNodePositionTableStride = 6;

// The symbol sizes and edge settings of a drawing; null when the caller passed plain drawing
// parameters, and the card then draws nothing.
inline const UFemGraphicDrawingInfo* UFemGraphicDrawingInfoOf(const UGLDrawingInfo* drawingInfo)
{
    return dynamic_cast<const UFemGraphicDrawingInfo*>(drawingInfo);
}

// The node colours of an element drawn by value: none without colour values or scale; with one
// value every node takes its colour, with one value per node each node its own (`nodeColors[k]`
// pointing into `colors`). Any other size sets the drawing error 32003 (a program stop without
// an error pointer) and answers false: the element is not drawn.
[[nodiscard]] bool UFemGetElementNodeColors(const QString& cardInfoString, quint64 nodeCount,
    const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
    const UFemColorScale* colorScale, _UGLColor* colors, const _UGLColor** nodeColors,
    UErrorPtr* error);
