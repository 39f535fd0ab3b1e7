#include "graphicview/UFemGraphicViewController.h"

template <typename T>
void UFemGraphicViewController::changeSetting(
    T UFemGraphicViewSettings::*field, const T& value, CacheDrop drop)
{
    if (drop != CacheDrop::none)
        clearBaseImage();
    if (drop == CacheDrop::imageAndPick)
        clearSelectModeObjectDisplayList();
    settings_.*field = value;
}

using S = UFemGraphicViewSettings;

void UFemGraphicViewController::setNodeDraw(bool value)
{
    changeSetting(&S::isNodeDraw, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setNodeColor(const _UGLColor& value)
{
    changeSetting(&S::nodeColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setNodeSize(double value)
{
    changeSetting(&S::nodeSize, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setElementDraw(bool value)
{
    changeSetting(&S::isElementDraw, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setElementColor(const _UGLColor& value)
{
    changeSetting(&S::elementColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setElementEdgeDraw(bool value)
{
    changeSetting(&S::isElementEdgeDraw, value, CacheDrop::image);
}

void UFemGraphicViewController::setElementEdgeWidth(double value)
{
    changeSetting(&S::elementEdgeWidth, value, CacheDrop::image);
}

void UFemGraphicViewController::setElementEdgeColor(const _UGLColor& value)
{
    changeSetting(&S::elementEdgeColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setRodAreaDiaSize(bool value)
{
    changeSetting(&S::isRodAreaDiaSize, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setRodDiaSize(double value)
{
    changeSetting(&S::rodDiaSize, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setForceDraw(bool value)
{
    changeSetting(&S::isForceDraw, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setForceColor(const _UGLColor& value)
{
    changeSetting(&S::forceColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setForceArrowRodWidth(double value)
{
    changeSetting(&S::forceArrowRodWidth, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setForceArrowHeadSize(double value)
{
    changeSetting(&S::forceArrowHeadSize, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setForceMomentHeadDiskDiaSize(double value)
{
    changeSetting(&S::forceMomentHeadDiskDiaSize, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setForceScaleFactorAuto(bool value)
{
    changeSetting(&S::isForceScaleFactorAuto, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setForceScaleFactor(double value)
{
    changeSetting(&S::forceScaleFactor, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setForceMomentScaleFactor(double value)
{
    changeSetting(&S::forceMomentScaleFactor, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setAutoForceArrowLength(double value)
{
    changeSetting(&S::autoForceArrowLength, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setAutoForceMomentArrowLength(double value)
{
    changeSetting(&S::autoForceMomentArrowLength, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setRestraintDraw(bool value)
{
    changeSetting(&S::isRestraintDraw, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setRestraintColor(const _UGLColor& value)
{
    changeSetting(&S::restraintColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setRestraintSize(double value)
{
    changeSetting(&S::restraintSize, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setRestraintShowInnerRestraint(bool value)
{
    changeSetting(&S::isRestraintShowInnerRestraint, value, CacheDrop::image);
}

void UFemGraphicViewController::setGlobalCoordDraw(bool value)
{
    changeSetting(&S::isGlobalCoordDraw, value, CacheDrop::image);
}

void UFemGraphicViewController::setGlobalCoordColor(const _UGLColor& value)
{
    changeSetting(&S::globalCoordColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setGlobalCoordDrawPosition(qint64 value)
{
    changeSetting(&S::globalCoordDrawPosition, value, CacheDrop::image);
}

void UFemGraphicViewController::setOtherCoordDraw(bool value)
{
    changeSetting(&S::isOtherCoordDraw, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setOtherCoordColor(const _UGLColor& value)
{
    changeSetting(&S::otherCoordColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setCoordArrowLength(double value)
{
    changeSetting(&S::coordArrowLength, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setCoordArrowRodWidth(double value)
{
    changeSetting(&S::coordArrowRodWidth, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setCoordArrowHeadSize(double value)
{
    changeSetting(&S::coordArrowHeadSize, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setScreenImageBackgroundColor(const _UGLColor& value)
{
    changeSetting(&S::screenImageBackgroundColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setPrintImageBackgroundColor(const _UGLColor& value)
{
    changeSetting(&S::printImageBackgroundColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setSelectionDraw(bool value)
{
    changeSetting(&S::isSelectionDraw, value, CacheDrop::none);
}

void UFemGraphicViewController::setSelectionColor(const _UGLColor& value)
{
    changeSetting(&S::selectionColor, value, CacheDrop::none);
}

void UFemGraphicViewController::setLighting(bool value)
{
    changeSetting(&S::isLighting, value, CacheDrop::image);
}

void UFemGraphicViewController::setDrawWithDisplacement(bool value)
{
    changeSetting(&S::isDrawWithDisplacement, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setDisplacementScaleFactorAuto(bool value)
{
    changeSetting(&S::isDisplacementScaleFactorAuto, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setDisplacementScaleFactor(double value)
{
    changeSetting(&S::displacementScaleFactor, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setAutoDisplacementPerObjectLengthFactor(double value)
{
    changeSetting(&S::autoDisplacementPerObjectLengthFactor, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setNonDisplacementModelDraw(bool value)
{
    changeSetting(&S::isNonDisplacementModelDraw, value, CacheDrop::image);
}

void UFemGraphicViewController::setNonDisplacementModelColor(const _UGLColor& value)
{
    changeSetting(&S::nonDisplacementModelColor, value, CacheDrop::image);
}

void UFemGraphicViewController::setNonDisplacementModelEdgeDraw(bool value)
{
    changeSetting(&S::isNonDisplacementModelEdgeDraw, value, CacheDrop::image);
}

void UFemGraphicViewController::setNonDisplacementModelNodeDraw(bool value)
{
    changeSetting(&S::isNonDisplacementModelNodeDraw, value, CacheDrop::image);
}

void UFemGraphicViewController::setDrawWithColorByValue(bool value)
{
    changeSetting(&S::isDrawWithColorByValue, value, CacheDrop::image);
}

void UFemGraphicViewController::setColorByValueCardFilterString(
    const QString& string, UErrorPtr* error)
{
    clearBaseImage();
    settings_.colorByValueCardFilter.reset();
    if (string.isEmpty())
        return;
    auto filter = std::make_shared<UFemCardFilter>();
    UErrorPtr parseError;
    // The answer is in parseError.
    static_cast<void>(filter->setCardFilterString(string, &parseError));
    if (parseError != nullptr) {
        UFemSetError(error, parseError);
        return;
    }
    if (filter->isCardFilterValid())
        settings_.colorByValueCardFilter = std::move(filter);
}

void UFemGraphicViewController::setColorByValueCardValueExpressionString(
    const QString& string, UErrorPtr* error)
{
    clearBaseImage();
    if (string.isEmpty()) {
        settings_.colorByValueCardValueExpression.reset();
        return;
    }
    auto expression = std::make_shared<UFemCardValueExpression>();
    UErrorPtr parseError;
    if (!expression->setCardValueExpressionString(string, &parseError)) {
        if (parseError != nullptr)
            UFemSetError(error, parseError);
        else
            settings_.colorByValueCardValueExpression.reset();
        return;
    }
    settings_.colorByValueCardValueExpression = std::move(expression);
}

std::optional<QString> UFemGraphicViewController::colorByValueCardFilterString() const
{
    if (settings_.colorByValueCardFilter == nullptr)
        return std::nullopt;
    return settings_.colorByValueCardFilter->cardFilterString();
}

std::optional<QString> UFemGraphicViewController::colorByValueCardValueExpressionString() const
{
    if (settings_.colorByValueCardValueExpression == nullptr)
        return std::nullopt;
    return settings_.colorByValueCardValueExpression->cardValueExpressionString();
}

void UFemGraphicViewController::setColorByValueColorScale(UFemColorScalePtr colorScale)
{
    changeSetting(&S::colorByValueColorScale, colorScale, CacheDrop::image);
}

void UFemGraphicViewController::setDrawColorByValueColorScale(bool value)
{
    changeSetting(&S::isDrawColorByValueColorScale, value, CacheDrop::image);
}

void UFemGraphicViewController::setScreenImageResolutionPer72(double value)
{
    changeSetting(&S::screenImageResolutionPer72, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setPrintImageResolutionPer72(double value)
{
    changeSetting(&S::printImageResolutionPer72, value, CacheDrop::imageAndPick);
}

void UFemGraphicViewController::setObjectMoveRotateBaseDistance(double value)
{
    settings_.objectMoveRotateBaseDistance = value;
}

void UFemGraphicViewController::setObjectMoveScaleBaseDistance(double value)
{
    settings_.objectMoveScaleBaseDistance = value;
}
