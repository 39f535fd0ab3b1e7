#include "graphicview/UFemGraphicViewController.h"

#include "foundation/UColorAddition.h"
#include "graphicview/UFemGraphicViewPreferences.h"

namespace {

constexpr double pointsPerInch = 72.0;

// The typed values of one dictionary; a missing or wrongly typed value reads as its base default.
class PreferenceReader {
public:
    explicit PreferenceReader(const QVariantMap& preferences)
        : preferences_(preferences)
    {
    }
    bool flag(const QString& key) const { return value(key).toBool(); }
    double number(const QString& key) const { return value(key).toDouble(); }
    qint64 integer(const QString& key) const { return value(key).toLongLong(); }
    _UGLColor color(const QString& key) const { return UGLColorWithPreferenceColor(value(key)); }
    QString string(const QString& key) const { return value(key).toString(); }
    QVariantMap map(const QString& key) const { return value(key).toMap(); }

private:
    QVariant value(const QString& key) const
    {
        return UFemGraphicViewPreferences::checkedValue(preferences_, key);
    }
    const QVariantMap& preferences_;
};

} // namespace

bool UFemGraphicViewController::setViewPreferences(
    const QVariantMap& viewPreferences, UErrorPtr* error)
{
    quitAllBackgroundThreadIfCalculating();
    clearColorScaleRangeCache();
    clearGraphicViewDrawingCache();
    clearBaseImage();
    clearSelectModeObjectDisplayList();
    clearAllBackgroundThreadIfCanceled();
    const QVariantMap previous = currentViewPreferences_;
    currentViewPreferences_ = viewPreferences;
    UErrorPtr applyError;
    if (!applyViewPreferences(viewPreferences, &applyError)) {
        currentViewPreferences_.clear();
        // The settings before were applied once; going back to them cannot be refused.
        static_cast<void>(setViewPreferences(previous, nullptr));
        UFemSetError(error, applyError);
        return false;
    }
    reloadGraphicView();
    reloadResultTableView();
    return true;
}

// Every key in the order of the key table; false with the error of the first colour-by-value
// setting that is refused.
bool UFemGraphicViewController::applyViewPreferences(
    const QVariantMap& preferences, UErrorPtr* error)
{
    const PreferenceReader read(preferences);
    setNodeDraw(read.flag(IsNodeDrawActiveGraphicViewPreferenceKey));
    setNodeColor(read.color(NodeColorGraphicViewPreferenceKey));
    setNodeSize(read.number(NodeSizeNumberGraphicViewPreferenceKey));
    setElementDraw(read.flag(IsElementDrawActiveGraphicViewPreferenceKey));
    setElementColor(read.color(ElementColorGraphicViewPreferenceKey));
    setElementEdgeDraw(read.flag(IsElementEdgeActiveGraphicViewPreferenceKey));
    setElementEdgeWidth(read.number(ElementEdgeWidthNumberGraphicViewPreferenceKey));
    setElementEdgeColor(read.color(ElementEdgeColorGraphicViewPreferenceKey));
    setRodAreaDiaSize(read.flag(IsRodAreaDiaSizeActiveGraphicViewPreferenceKey));
    setRodDiaSize(read.number(RodAreaDiaSizeNumberGraphicViewPreferenceKey));
    setForceDraw(read.flag(IsForceDrawActiveGraphicViewPreferenceKey));
    setForceColor(read.color(ForceColorGraphicViewPreferenceKey));
    setForceArrowRodWidth(read.number(ForceArrowRodWidthNumberGraphicViewPreferenceKey));
    setForceArrowHeadSize(read.number(ForceArrowHeadSizeNumberGraphicViewPreferenceKey));
    setForceMomentHeadDiskDiaSize(
        read.number(ForceMomentHeadDiskDiaSizeNumberGraphicViewPreferenceKey));
    setForceScaleFactorAuto(read.flag(IsForceScaleFactorAutoActiveGraphicViewPreferenceKey));
    setForceScaleFactor(read.number(ForceScaleFactorNumberGraphicViewPreferenceKey));
    setForceMomentScaleFactor(read.number(ForceMomentScaleFactorNumberGraphicViewPreferenceKey));
    setAutoForceArrowLength(read.number(AutoForceArrowLengthNumberGraphicViewPreferenceKey));
    setAutoForceMomentArrowLength(
        read.number(AutoForceMomentArrowLengthNumberGraphicViewPreferenceKey));
    setRestraintDraw(read.flag(IsRestraintDrawActiveGraphicViewPreferenceKey));
    setRestraintColor(read.color(RestraintColorGraphicViewPreferenceKey));
    setRestraintSize(read.number(RestraintSizeNumberGraphicViewPreferenceKey));
    setRestraintShowInnerRestraint(
        read.flag(IsRestraintShowInnerRestraintActiveGraphicViewPreferenceKey));
    setGlobalCoordDraw(read.flag(IsGlobalCoordDrawActiveGraphicViewPreferenceKey));
    setGlobalCoordColor(read.color(GlobalCoordColorGraphicViewPreferenceKey));
    setGlobalCoordDrawPosition(read.integer(GlobalCoordDrawPositionNumberGraphicViewPreferenceKey));
    setOtherCoordDraw(read.flag(IsOtherCoordDrawActiveGraphicViewPreferenceKey));
    setOtherCoordColor(read.color(OtherCoordColorGraphicViewPreferenceKey));
    setCoordArrowLength(read.number(CoordArrowLengthNumberGraphicViewPreferenceKey));
    setCoordArrowRodWidth(read.number(CoordArrowRodWidthNumberGraphicViewPreferenceKey));
    setCoordArrowHeadSize(read.number(CoordArrowHeadSizeNumberGraphicViewPreferenceKey));
    setScreenImageBackgroundColor(read.flag(IsBackgroundDrawActiveGraphicViewPreferenceKey)
            ? read.color(BackgroundColorGraphicViewPreferenceKey)
            : _UGLColor { 0, 0, 0, 0 });
    setPrintImageBackgroundColor(read.color(PrintImageBackgroundColorGraphicViewPreferenceKey));
    setSelectionDraw(read.flag(IsSelectionDrawActiveGraphicViewPreferenceKey));
    setSelectionColor(read.color(SelectionColorGraphicViewPreferenceKey));
    setLighting(read.flag(IsLightingActiveGraphicViewPreferenceKey));
    setDrawWithDisplacement(read.flag(IsDisplacementDrawActiveGraphicViewPreferenceKey));
    setDisplacementScaleFactorAuto(
        read.flag(IsDisplacementScaleFactorAutoActiveGraphicViewPreferenceKey));
    setDisplacementScaleFactor(read.number(DisplacementScaleFactorNumberGraphicViewPreferenceKey));
    setNonDisplacementModelDraw(
        read.flag(IsNonDisplacementModelDrawActiveGraphicViewPreferenceKey));
    setNonDisplacementModelColor(read.color(NonDisplacementModelColorGraphicViewPreferenceKey));
    setNonDisplacementModelEdgeDraw(
        read.flag(IsNonDisplacementModelEdgeDrawActiveGraphicViewPreferenceKey));
    setNonDisplacementModelNodeDraw(
        read.flag(IsNonDisplacementModelNodeDrawActiveGraphicViewPreferenceKey));
    setAutoDisplacementPerObjectLengthFactor(
        read.number(AutoDisplacementPerObjectLengthFactorNumberGraphicViewPreferenceKey));

    setDrawWithColorByValue(read.flag(IsColorByValueDrawActiveGraphicViewPreferenceKey));
    UErrorPtr settingError;
    setColorByValueCardFilterString(
        read.string(ColorByValueCardFilterStringGraphicViewPreferenceKey), &settingError);
    if (settingError == nullptr)
        setColorByValueCardValueExpressionString(
            read.string(ColorByValueCardValueExpressionStringGraphicViewPreferenceKey),
            &settingError);
    if (settingError == nullptr) {
        auto scale = std::make_shared<UFemColorScale>();
        if (scale->setColorScaleWithPreferenceColorScale(
                read.map(ColorByValueColorScaleGraphicViewPreferenceKey), &settingError))
            setColorByValueColorScale(std::move(scale));
    }
    if (settingError != nullptr) {
        *error = settingError;
        return false;
    }
    setDrawColorByValueColorScale(
        read.flag(ColorByValueDoesDrawColorScaleGraphicViewPreferenceKey));
    setScreenImageResolutionPer72(
        read.number(ScreenImageResolutionNumberGraphicViewPreferenceKey) / pointsPerInch);
    setPrintImageResolutionPer72(
        read.number(PrintImageResolutionNumberGraphicViewPreferenceKey) / pointsPerInch);
    setObjectMoveRotateBaseDistance(
        read.number(ObjectMoveRotateBaseDistanceNumberGraphicViewPreferenceKey));
    setObjectMoveScaleBaseDistance(
        read.number(ObjectMoveScaleBaseDistanceNumberGraphicViewPreferenceKey));
    return true;
}
