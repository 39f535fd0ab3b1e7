#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <vector>

// The kinds of value a view-preferences key holds.
enum class UFemGraphicViewPreferenceKind { boolean, number, integer, color, string, colorScale };

// One key of the 3-D view's settings dictionary with its base default. Base-only keys are
// view-independent tuning values that the named settings never hold.
struct UFemGraphicViewPreferenceKey {
    QString key;
    UFemGraphicViewPreferenceKind kind;
    QVariant baseDefault;
    bool isBaseOnly;
};

// The 55 keys, in the order they are applied, and the built-in folder array: the base (object
// only), then "Model", "Displacement", "VonMisesStress" and "Displacement & VonMisesStress".
class UFemGraphicViewPreferences {
public:
    static constexpr int keyCount = 55;

    static const std::vector<UFemGraphicViewPreferenceKey>& keyTable();
    static const UFemGraphicViewPreferenceKey& keyInfo(const QString& key);
    static QVariantMap baseGraphicViewPreferences();
    static QVariantList defaultGraphicViewPreferencesFolderArray();
    // The preferences dictionary of a default folder.
    static QVariantMap defaultGraphicViewPreferencesOfFolderIndex(int index);
    // The value of `key`, or its base default when the value is missing or of the wrong kind
    // (a hand-edited defaults file).
    static QVariant checkedValue(const QVariantMap& preferences, const QString& key);
};

#define UFEM_GRAPHIC_VIEW_KEY(name) inline const QString name = QStringLiteral(#name)
UFEM_GRAPHIC_VIEW_KEY(IsNodeDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(NodeColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(NodeSizeNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsElementDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ElementColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsElementEdgeActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ElementEdgeWidthNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ElementEdgeColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsRodAreaDiaSizeActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(RodAreaDiaSizeNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsForceDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ForceColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ForceArrowRodWidthNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ForceArrowHeadSizeNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ForceMomentHeadDiskDiaSizeNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsForceScaleFactorAutoActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ForceScaleFactorNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ForceMomentScaleFactorNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(AutoForceArrowLengthNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(AutoForceMomentArrowLengthNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsRestraintDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(RestraintColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(RestraintSizeNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsRestraintShowInnerRestraintActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsGlobalCoordDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(GlobalCoordColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(GlobalCoordDrawPositionNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsOtherCoordDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(OtherCoordColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(CoordArrowLengthNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(CoordArrowRodWidthNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(CoordArrowHeadSizeNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsBackgroundDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(BackgroundColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(PrintImageBackgroundColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsSelectionDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(SelectionColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsLightingActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsDisplacementDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsDisplacementScaleFactorAutoActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(DisplacementScaleFactorNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsNonDisplacementModelDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(NonDisplacementModelColorGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsNonDisplacementModelEdgeDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsNonDisplacementModelNodeDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(AutoDisplacementPerObjectLengthFactorNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(IsColorByValueDrawActiveGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ColorByValueCardFilterStringGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ColorByValueCardValueExpressionStringGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ColorByValueColorScaleGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ColorByValueDoesDrawColorScaleGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ScreenImageResolutionNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(PrintImageResolutionNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ObjectMoveRotateBaseDistanceNumberGraphicViewPreferenceKey);
UFEM_GRAPHIC_VIEW_KEY(ObjectMoveScaleBaseDistanceNumberGraphicViewPreferenceKey);
#undef UFEM_GRAPHIC_VIEW_KEY
