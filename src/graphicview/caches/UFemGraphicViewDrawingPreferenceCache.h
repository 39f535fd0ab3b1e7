#pragma once

#include "cardmodel/data/UFemCardSetManager.h"
#include "cardmodel/data/UFemCardTable.h"
#include "foundation/errors/UError.h"
#include "graphics/colorscale/UFemColorScale.h"
#include "graphicview/UFemGraphicViewSettings.h"
#include "graphicview/caches/UFemValueStatus.h"

#include <memory>
#include <vector>

class UFemCardFilter;
class UFemCardValueExpression;

// What one state of the view draws with displacement and colour, with which factors, and the
// errors found on the way. Built on the main thread from the settings; workers read it under the
// controller's preference cache lock.
struct UFemGraphicViewDrawingPreferenceCache {
    // What the view and its window give the cache when it is built.
    struct Inputs {
        UFemCardVector currentCaseCardArray;
        UFemCardPtr currentCaseCard;
        bool hasResultData = false;
        double objectLength = 0.0;
        quint64 foregroundTaskThreadCount = 1;
        // The model's cards (not owned) and cases, which the colour range covers.
        const UFemCardArray* modelCardArray = nullptr;
        UFemCardVector modelCaseCardArray;
    };

    bool doesDrawWithDisp = false;
    bool doesDrawWithColor = false;
    bool doesDrawWithNonDisplacementModel = false;
    bool doesDrawWithNonDisplacementModelNode = false;
    bool doesDrawWithNonDisplacementModelEdge = false;
    quint64 forceScaleFactorValueStatus = UFemValueStatusNotUsed;
    double forceScaleFactor = 0.0;
    double momentScaleFactor = 0.0;
    quint64 dispScaleFactorValueStatus = UFemValueStatusNotUsed;
    double dispScaleFactor = 0.0;
    std::shared_ptr<const UFemCardFilter> cardFilterForColor;
    std::shared_ptr<const UFemCardValueExpression> cardValueExpressionForColor;
    quint64 colorScaleRangeValueStatus = UFemValueStatusNotUsed;
    // The cache's own copy: settling the range writes into it.
    UFemColorScalePtr colorScaleForColor;
    // The automatic colour range failed; its errors are in drawingErrorArray once.
    bool didColorScaleRangeFail = false;
    quint64 numberOfCardValidByCardFilter = 0;
    quint64 numberOfCardRespondToValueExpression = 0;
    UFemCardVector currentCaseCardArray;
    UFemCardPtr currentCaseCard;
    std::vector<UErrorPtr> drawingErrorArray;
    // The settings and the view's state it was built from, for the workers.
    UFemGraphicViewSettings settings;
    double objectLength = 0.0;
    quint64 foregroundTaskThreadCount = 1;
    const UFemCardArray* modelCardArray = nullptr;
    UFemCardVector modelCaseCardArray;

    static UFemGraphicViewDrawingPreferenceCache cacheWithSettings(
        const UFemGraphicViewSettings& settings, Inputs inputs);

    // The colour range has arrived and is in the colour scale.
    bool isColorScaleRangeSettled() const
    {
        return colorScaleRangeValueStatus == UFemValueStatusGiven;
    }
};

// The automatic factors of the frame: the largest force and moment drawn at their arrow lengths,
// the largest translation at `perObjectLengthFactor` of the model's length; 0 for a range of 0.
double UFemAutoForceScaleFactor(double autoArrowLength, double maxForceValue);
double UFemAutoDisplacementScaleFactor(
    double objectLength, double maxDisplacementValue, double perObjectLengthFactor);
