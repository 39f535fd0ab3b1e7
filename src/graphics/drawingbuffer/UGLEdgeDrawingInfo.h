#pragma once

#include "foundation/UGLColor.h"

#include <optional>

// Element-edge settings the primitives read. The colour pointer is derived, not stored: a record
// copied by value (every drawing thread gets its own drawing info) then always points into
// itself, never into the record it was copied from.
struct _UGLEdgeDrawingInfo {
    double edgeWidth = 0.0; // points
    _UGLColor edgeColor_static;
    // The colour last set; none when no colour is set.
    std::optional<_UGLColor> edgeColor_NSColor;

    // `edgeColor_static` when a colour is set, null otherwise.
    const _UGLColor* edgeColor() const { return edgeColor_NSColor ? &edgeColor_static : nullptr; }
};

// Width, colour and colour pointer to zero.
void UGLEdgeDrawingInfoClear(_UGLEdgeDrawingInfo* edgeDrawingInfo);
// Clears the colour, then keeps `color` when given.
void UGLEdgeDrawingInfoSetEdgeColor(
    _UGLEdgeDrawingInfo* edgeDrawingInfo, const std::optional<_UGLColor>& color);
void UGLEdgeDrawingInfoCopy(_UGLEdgeDrawingInfo* destination, const _UGLEdgeDrawingInfo* source);
