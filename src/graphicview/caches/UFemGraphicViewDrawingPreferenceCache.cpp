#include "graphicview/caches/UFemGraphicViewDrawingPreferenceCache.h"

#include "cardmodel/expression/UFemCardValueExpression.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "foundation/strings/UFormattedString.h"

#include <limits>

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

using Cache = UFemGraphicViewDrawingPreferenceCache;

void addError(Cache& cache, const QString& description)
{
    cache.drawingErrorArray.push_back(UFemGraphicDrawingError_withDescription(description));
}

void setForce(Cache& cache, const UFemGraphicViewSettings& settings)
{
    if (!settings.isForceDraw) {
        cache.forceScaleFactorValueStatus = UFemValueStatusNotUsed;
        cache.forceScaleFactor = cache.momentScaleFactor = notANumber;
    } else if (settings.isForceScaleFactorAuto) {
        cache.forceScaleFactorValueStatus = UFemValueStatusAuto;
        cache.forceScaleFactor = cache.momentScaleFactor = notANumber;
    } else {
        cache.forceScaleFactorValueStatus = UFemValueStatusGiven;
        cache.forceScaleFactor = settings.forceScaleFactor;
        cache.momentScaleFactor = settings.forceMomentScaleFactor;
    }
}

// Displacement that is not drawn needs no range: its status is "not used", so that no frame
// starts the walk over every node and case for it.
void setDisplacement(Cache& cache, const UFemGraphicViewSettings& settings, const Cache::Inputs& in)
{
    cache.dispScaleFactorValueStatus = UFemValueStatusNotUsed;
    cache.dispScaleFactor = notANumber;
    if (!settings.isDrawWithDisplacement)
        return;
    if (!in.hasResultData) {
        addError(cache, QStringLiteral("( Error - Drawing Displacement...) No FEM result data."));
        return;
    }
    if (!in.currentCaseCard) {
        addError(cache,
            in.currentCaseCardArray.empty()
                ? QStringLiteral("( Error - Drawing Displacement...) No case selected. Select a "
                                 "case.")
                : QStringLiteral("( Error - Drawing Displacement...) Several cases selected. "
                                 "Select one case."));
        return;
    }
    cache.doesDrawWithDisp = true;
    if (settings.isDisplacementScaleFactorAuto) {
        cache.dispScaleFactorValueStatus = UFemValueStatusAuto;
    } else {
        cache.dispScaleFactorValueStatus = UFemValueStatusGiven;
        cache.dispScaleFactor = settings.displacementScaleFactor;
    }
    cache.doesDrawWithNonDisplacementModel = settings.isNonDisplacementModelDraw;
    cache.doesDrawWithNonDisplacementModelNode = settings.isNonDisplacementModelNodeDraw;
    cache.doesDrawWithNonDisplacementModelEdge = settings.isNonDisplacementModelEdgeDraw;
}

// The first reason colour by value cannot draw, or an empty text.
QString colorByValueError(const UFemGraphicViewSettings& settings, const Cache::Inputs& in)
{
    const UFemCardValueExpression* expression = settings.colorByValueCardValueExpression.get();
    if (expression == nullptr)
        return QStringLiteral("( Error - Drawing Color by Value...) No Card Value Expression.");
    if (!settings.colorByValueColorScale)
        return QStringLiteral("( Error - Drawing Color by Value...) No color scale selected. ( "
                              "Unexpected Error )");
    const QString text = expression->cardValueExpressionString().value_or(QString());
    const quint64 vectorValues = expression->numberOfVectorValues();
    if (vectorValues == 0)
        return UFormattedString("( Error - Drawing Color by Value...) Card Value Expression does "
                                "not return value. ( Value '%@' returns 0 values vector. ) ( It "
                                "might contain unknown Card Value Type. )",
            text);
    if (vectorValues > 1)
        return UFormattedString("( Error - Drawing Color by Value...) Card Value Expression does "
                                "not return scalar value. ( Value '%@' returns %lu values "
                                "vector. )",
            text, vectorValues);
    if (!in.hasResultData && expression->isCalcResultRelated())
        return UFormattedString("( Error - Drawing Color by Value...) No FEM result data. ( Value "
                                "'%@' requires result data. )",
            text);
    if (in.currentCaseCardArray.empty() && expression->isCaseRelated())
        return UFormattedString("( Error - Drawing Color by Value...) No case selected. ( Value "
                                "'%@' requires specifying cases. )",
            text);
    if (in.currentCaseCardArray.size() > 1 && expression->isCaseRelated()
        && !expression->doesMergeCases())
        return UFormattedString("( Error - Drawing Color by Value...) Several cases selected. "
                                "Select one case. ( Value '%@' doesn't merge cases. )",
            text);
    return QString();
}

void setColor(Cache& cache, const UFemGraphicViewSettings& settings, const Cache::Inputs& in)
{
    if (!settings.isDrawWithColorByValue)
        return;
    const QString error = colorByValueError(settings, in);
    if (!error.isEmpty()) {
        addError(cache, error);
        return;
    }
    cache.doesDrawWithColor = true;
    cache.cardFilterForColor = settings.colorByValueCardFilter;
    cache.cardValueExpressionForColor = settings.colorByValueCardValueExpression;
    cache.colorScaleForColor = std::make_shared<UFemColorScale>(*settings.colorByValueColorScale);
    cache.colorScaleRangeValueStatus = cache.colorScaleForColor->isValuedColorScale()
        ? UFemValueStatusGiven
        : UFemValueStatusAuto;
}

} // namespace

UFemGraphicViewDrawingPreferenceCache UFemGraphicViewDrawingPreferenceCache::cacheWithSettings(
    const UFemGraphicViewSettings& settings, Inputs inputs)
{
    Cache cache;
    setForce(cache, settings);
    setDisplacement(cache, settings, inputs);
    setColor(cache, settings, inputs);
    cache.currentCaseCardArray = std::move(inputs.currentCaseCardArray);
    cache.currentCaseCard = std::move(inputs.currentCaseCard);
    cache.settings = settings;
    cache.objectLength = inputs.objectLength;
    cache.foregroundTaskThreadCount = inputs.foregroundTaskThreadCount;
    cache.modelCardArray = inputs.modelCardArray;
    cache.modelCaseCardArray = std::move(inputs.modelCaseCardArray);
    return cache;
}

double UFemAutoForceScaleFactor(double autoArrowLength, double maxForceValue)
{
    return maxForceValue > 0.0 ? autoArrowLength / maxForceValue : 0.0;
}

double UFemAutoDisplacementScaleFactor(
    double objectLength, double maxDisplacementValue, double perObjectLengthFactor)
{
    return maxDisplacementValue != 0.0 ? objectLength / maxDisplacementValue * perObjectLengthFactor
                                       : 0.0;
}
