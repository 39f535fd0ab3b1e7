#pragma once

#include "cardmodel/expression/UFemCardValueExpression.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "foundation/UGLColor.h"
#include "graphics/colorscale/UFemColorScale.h"

#include <QtGlobal>

#include <memory>

// Every drawing setting of a 3-D view, in the order of the view-preferences keys; the values are
// those of a controller before any settings are applied. Only the controller's setters change
// them, so that each change drops the caches it makes stale.
struct UFemGraphicViewSettings {
    bool isNodeDraw = false;
    _UGLColor nodeColor;
    double nodeSize = 0.0;
    bool isElementDraw = false;
    _UGLColor elementColor;
    bool isElementEdgeDraw = false;
    double elementEdgeWidth = 0.0;
    _UGLColor elementEdgeColor;
    bool isRodAreaDiaSize = false;
    double rodDiaSize = 0.0;
    bool isForceDraw = false;
    _UGLColor forceColor;
    double forceArrowRodWidth = 0.0;
    double forceArrowHeadSize = 0.0;
    double forceMomentHeadDiskDiaSize = 0.0;
    bool isForceScaleFactorAuto = false;
    double forceScaleFactor = 0.0;
    double forceMomentScaleFactor = 0.0;
    double autoForceArrowLength = 0.0;
    double autoForceMomentArrowLength = 0.0;
    bool isRestraintDraw = false;
    _UGLColor restraintColor;
    double restraintSize = 0.0;
    bool isRestraintShowInnerRestraint = false;
    bool isGlobalCoordDraw = false;
    _UGLColor globalCoordColor;
    qint64 globalCoordDrawPosition = 0;
    bool isOtherCoordDraw = false;
    _UGLColor otherCoordColor;
    double coordArrowLength = 0.0;
    double coordArrowRodWidth = 0.0;
    double coordArrowHeadSize = 0.0;
    _UGLColor screenImageBackgroundColor;
    _UGLColor printImageBackgroundColor;
    bool isSelectionDraw = false;
    _UGLColor selectionColor;
    bool isLighting = false;
    bool isDrawWithDisplacement = false;
    bool isDisplacementScaleFactorAuto = false;
    double displacementScaleFactor = 0.0;
    double autoDisplacementPerObjectLengthFactor = 0.0;
    bool isNonDisplacementModelDraw = false;
    _UGLColor nonDisplacementModelColor;
    bool isNonDisplacementModelEdgeDraw = false;
    bool isNonDisplacementModelNodeDraw = false;
    bool isDrawWithColorByValue = false;
    // Null when none is set: colour by value then covers every card.
    std::shared_ptr<const UFemCardFilter> colorByValueCardFilter;
    // Null when none is set.
    std::shared_ptr<const UFemCardValueExpression> colorByValueCardValueExpression;
    UFemColorScalePtr colorByValueColorScale;
    bool isDrawColorByValueColorScale = false;
    double screenImageResolutionPer72 = 1.0;
    double printImageResolutionPer72 = 1.0;
    double objectMoveRotateBaseDistance = 100.0;
    double objectMoveScaleBaseDistance = 100.0;
};
