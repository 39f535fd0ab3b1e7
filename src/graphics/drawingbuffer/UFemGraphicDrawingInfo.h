#pragma once

#include "graphics/drawingbuffer/UGLDrawingInfo.h"
#include "graphics/drawingbuffer/UGLEdgeDrawingInfo.h"

#include <optional>

// The symbol sizes, scale factors and edge settings the cards' drawing operations read, on top of
// the primitives' parameters. Sizes are in image points. A ForceSet card changes the force scale
// factor while its members draw, so every drawing thread works on a copy of its own; a copy
// shares nothing with its source (the edge record's pointers are derived from the copy itself).
class UFemGraphicDrawingInfo : public UGLDrawingInfo {
public:
    UFemGraphicDrawingInfo() = default;
    UFemGraphicDrawingInfo(const UFemGraphicDrawingInfo&) = default;
    UFemGraphicDrawingInfo& operator=(const UFemGraphicDrawingInfo&) = default;
    ~UFemGraphicDrawingInfo() override = default;

    double nodeSize() const { return nodeSize_; }
    void setNodeSize(double size) { nodeSize_ = size; }

    // The edge record while element edges are drawn; null otherwise (the settings are kept).
    const _UGLEdgeDrawingInfo* edgeDrawingInfoPtr() const
    {
        return isElementEdgeDraw_ ? &edgeDrawingInfo_static_ : nullptr;
    }
    bool isElementEdgeDraw() const { return isElementEdgeDraw_; }
    void setElementEdgeDraw(bool flag) { isElementEdgeDraw_ = flag; }
    // Stored also while edges are off; reads 0 while they are off.
    double elementEdgeWidth() const
    {
        return isElementEdgeDraw_ ? edgeDrawingInfo_static_.edgeWidth : 0.0;
    }
    void setElementEdgeWidth(double width) { edgeDrawingInfo_static_.edgeWidth = width; }
    // None while edges are off.
    std::optional<_UGLColor> elementEdgeColor() const;
    void setElementEdgeColor(const std::optional<_UGLColor>& color);
    // False, with a zero colour, while edges are off or no colour is set.
    bool getUGLElementEdgeColor(_UGLColor* color) const;

    // Named for rod diameters taken from the section area; the 3-D view always sets false.
    bool isRodAreaDiaSizeActive() const { return isRodAreaDiaSizeActive_; }
    void setRodAreaDiaSizeActive(bool flag) { isRodAreaDiaSizeActive_ = flag; }
    double rodDiaSize() const { return rodDiaSize_; }
    void setRodDiaSize(double size) { rodDiaSize_ = size; }
    double restraintSize() const { return restraintSize_; }
    void setRestraintSize(double size) { restraintSize_ = size; }
    // 1 when inner restraints are shown, else 0.
    quint64 restraintDrawingType() const { return restraintDrawingType_; }
    void setRestraintDrawingType(quint64 type) { restraintDrawingType_ = type; }
    double forceArrowRodWidth() const { return forceArrowRodWidth_; }
    void setForceArrowRodWidth(double width) { forceArrowRodWidth_ = width; }
    double forceArrowHeadSize() const { return forceArrowHeadSize_; }
    void setForceArrowHeadSize(double size) { forceArrowHeadSize_ = size; }
    double forceMomentHeadDiskDiaSize() const { return forceMomentHeadDiskDiaSize_; }
    void setForceMomentHeadDiskDiaSize(double size) { forceMomentHeadDiskDiaSize_ = size; }
    // Force value to arrow length.
    double forceScaleFactor() const { return forceScaleFactor_; }
    void setForceScaleFactor(double factor) { forceScaleFactor_ = factor; }
    double forceMomentScaleFactor() const { return forceMomentScaleFactor_; }
    void setForceMomentScaleFactor(double factor) { forceMomentScaleFactor_ = factor; }
    double coordArrowLength() const { return coordArrowLength_; }
    void setCoordArrowLength(double length) { coordArrowLength_ = length; }
    double coordArrowRodWidth() const { return coordArrowRodWidth_; }
    void setCoordArrowRodWidth(double width) { coordArrowRodWidth_ = width; }
    double coordArrowHeadSize() const { return coordArrowHeadSize_; }
    void setCoordArrowHeadSize(double size) { coordArrowHeadSize_ = size; }
    double displacementScaleFactor() const { return displacementScaleFactor_; }
    void setDisplacementScaleFactor(double factor) { displacementScaleFactor_ = factor; }

private:
    double nodeSize_ = 0.0;
    bool isElementEdgeDraw_ = false;
    _UGLEdgeDrawingInfo edgeDrawingInfo_static_;
    bool isRodAreaDiaSizeActive_ = false;
    double rodDiaSize_ = 0.0;
    double restraintSize_ = 0.0;
    quint64 restraintDrawingType_ = 0;
    double forceArrowRodWidth_ = 0.0;
    double forceArrowHeadSize_ = 0.0;
    double forceMomentHeadDiskDiaSize_ = 0.0;
    double forceScaleFactor_ = 1.0;
    double forceMomentScaleFactor_ = 1.0;
    double coordArrowLength_ = 0.0;
    double coordArrowRodWidth_ = 0.0;
    double coordArrowHeadSize_ = 0.0;
    double displacementScaleFactor_ = 1.0;
};
