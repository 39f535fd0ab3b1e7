#include "graphicview/UFemGraphicViewPreferences.h"

#include "foundation/UColorAddition.h"
#include "foundation/UFemFolderItemKeys.h"
#include "graphics/colorscale/UFemColorScale.h"

#include <QMetaType>

#include <stdexcept>

namespace {

using Kind = UFemGraphicViewPreferenceKind;

QVariant color(double red, double green, double blue, double alpha)
{
    return UPreferenceColorWithUGLColor({ red, green, blue, alpha });
}

QVariant unitColorScale()
{
    return UFemColorScale::defaultUnitColorScale()->preferenceColorScale().value_or(QVariantMap());
}

std::vector<UFemGraphicViewPreferenceKey> makeKeyTable()
{
    const QVariant black = color(0, 0, 0, 1);
    return {
        { IsNodeDrawActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { NodeColorGraphicViewPreferenceKey, Kind::color, black, false },
        { NodeSizeNumberGraphicViewPreferenceKey, Kind::number, 8.0, false },
        { IsElementDrawActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { ElementColorGraphicViewPreferenceKey, Kind::color, color(0, 0.5, 1, 1), false },
        { IsElementEdgeActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { ElementEdgeWidthNumberGraphicViewPreferenceKey, Kind::number, 1.0, false },
        { ElementEdgeColorGraphicViewPreferenceKey, Kind::color, black, false },
        { IsRodAreaDiaSizeActiveGraphicViewPreferenceKey, Kind::boolean, false, false },
        { RodAreaDiaSizeNumberGraphicViewPreferenceKey, Kind::number, 4.0, false },
        { IsForceDrawActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { ForceColorGraphicViewPreferenceKey, Kind::color, color(1, 0, 1, 0.6), false },
        { ForceArrowRodWidthNumberGraphicViewPreferenceKey, Kind::number, 4.0, true },
        { ForceArrowHeadSizeNumberGraphicViewPreferenceKey, Kind::number, 16.0, true },
        { ForceMomentHeadDiskDiaSizeNumberGraphicViewPreferenceKey, Kind::number, 32.0, true },
        { IsForceScaleFactorAutoActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { ForceScaleFactorNumberGraphicViewPreferenceKey, Kind::number, 1.0, false },
        { ForceMomentScaleFactorNumberGraphicViewPreferenceKey, Kind::number, 1.0, false },
        { AutoForceArrowLengthNumberGraphicViewPreferenceKey, Kind::number, 100.0, true },
        { AutoForceMomentArrowLengthNumberGraphicViewPreferenceKey, Kind::number, 100.0, true },
        { IsRestraintDrawActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { RestraintColorGraphicViewPreferenceKey, Kind::color, color(0.6, 0.4, 0.2, 0.7), false },
        { RestraintSizeNumberGraphicViewPreferenceKey, Kind::number, 20.0, false },
        { IsRestraintShowInnerRestraintActiveGraphicViewPreferenceKey, Kind::boolean, false,
            false },
        { IsGlobalCoordDrawActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { GlobalCoordColorGraphicViewPreferenceKey, Kind::color, color(1, 0, 0, 0.5), false },
        { GlobalCoordDrawPositionNumberGraphicViewPreferenceKey, Kind::integer, qint64(1), false },
        { IsOtherCoordDrawActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { OtherCoordColorGraphicViewPreferenceKey, Kind::color, color(1, 0, 0, 0.5), false },
        { CoordArrowLengthNumberGraphicViewPreferenceKey, Kind::number, 60.0, true },
        { CoordArrowRodWidthNumberGraphicViewPreferenceKey, Kind::number, 3.0, true },
        { CoordArrowHeadSizeNumberGraphicViewPreferenceKey, Kind::number, 12.0, true },
        { IsBackgroundDrawActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { BackgroundColorGraphicViewPreferenceKey, Kind::color, color(0.6, 0.75, 0.75, 1), false },
        { PrintImageBackgroundColorGraphicViewPreferenceKey, Kind::color, color(0, 0, 0, 0), true },
        { IsSelectionDrawActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { SelectionColorGraphicViewPreferenceKey, Kind::color, color(1, 0.5, 1, 0.5), false },
        { IsLightingActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { IsDisplacementDrawActiveGraphicViewPreferenceKey, Kind::boolean, false, false },
        { IsDisplacementScaleFactorAutoActiveGraphicViewPreferenceKey, Kind::boolean, true, false },
        { DisplacementScaleFactorNumberGraphicViewPreferenceKey, Kind::number, 100.0, false },
        { IsNonDisplacementModelDrawActiveGraphicViewPreferenceKey, Kind::boolean, false, false },
        { NonDisplacementModelColorGraphicViewPreferenceKey, Kind::color, color(0, 0.5, 1, 0.3),
            false },
        { IsNonDisplacementModelEdgeDrawActiveGraphicViewPreferenceKey, Kind::boolean, true,
            false },
        { IsNonDisplacementModelNodeDrawActiveGraphicViewPreferenceKey, Kind::boolean, false,
            false },
        { AutoDisplacementPerObjectLengthFactorNumberGraphicViewPreferenceKey, Kind::number, 0.12,
            true },
        { IsColorByValueDrawActiveGraphicViewPreferenceKey, Kind::boolean, false, false },
        { ColorByValueCardFilterStringGraphicViewPreferenceKey, Kind::string, QString(), false },
        { ColorByValueCardValueExpressionStringGraphicViewPreferenceKey, Kind::string, QString(),
            false },
        { ColorByValueColorScaleGraphicViewPreferenceKey, Kind::colorScale, unitColorScale(),
            false },
        { ColorByValueDoesDrawColorScaleGraphicViewPreferenceKey, Kind::boolean, true, false },
        { ScreenImageResolutionNumberGraphicViewPreferenceKey, Kind::number, 72.0, true },
        { PrintImageResolutionNumberGraphicViewPreferenceKey, Kind::number, 72.0, true },
        { ObjectMoveRotateBaseDistanceNumberGraphicViewPreferenceKey, Kind::number, 100.0, true },
        { ObjectMoveScaleBaseDistanceNumberGraphicViewPreferenceKey, Kind::number, 100.0, true },
    };
}

QVariantMap folder(const QString& name, quint64 orderHint, const QVariantMap& object)
{
    return { { UFemFolderItemNameStringPreferencesKey, name },
        { UFemFolderItemOrderHintNumberPreferencesKey, orderHint },
        { UFemFolderItemObjectPreferencesKey, object } };
}

// The drawing keys of the base with the differences every result setting shares.
QVariantMap resultSetting(bool lighting, bool displacement, bool colorByValue)
{
    QVariantMap setting;
    for (const UFemGraphicViewPreferenceKey& info : UFemGraphicViewPreferences::keyTable())
        if (!info.isBaseOnly)
            setting.insert(info.key, info.baseDefault);
    setting.insert(NodeSizeNumberGraphicViewPreferenceKey, 6.0);
    setting.insert(IsForceDrawActiveGraphicViewPreferenceKey, false);
    setting.insert(IsRestraintDrawActiveGraphicViewPreferenceKey, false);
    setting.insert(GlobalCoordDrawPositionNumberGraphicViewPreferenceKey, qint64(2));
    setting.insert(IsOtherCoordDrawActiveGraphicViewPreferenceKey, false);
    setting.insert(IsLightingActiveGraphicViewPreferenceKey, lighting);
    setting.insert(IsDisplacementDrawActiveGraphicViewPreferenceKey, displacement);
    setting.insert(IsColorByValueDrawActiveGraphicViewPreferenceKey, colorByValue);
    if (colorByValue) {
        setting.insert(
            ColorByValueCardFilterStringGraphicViewPreferenceKey, QStringLiteral("type:Element"));
        setting.insert(ColorByValueCardValueExpressionStringGraphicViewPreferenceKey,
            QStringLiteral("VonMisesStress"));
    }
    return setting;
}

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool isPreferenceColor(const QVariant& value)
{
    constexpr qsizetype componentCount = 4;
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList components = value.toList();
    if (components.size() != componentCount)
        return false;
    for (const QVariant& component : components)
        if (!isNumber(component))
            return false;
    return true;
}

bool isOfKind(const QVariant& value, UFemGraphicViewPreferenceKind kind)
{
    switch (kind) {
    case Kind::boolean:
        return value.typeId() == QMetaType::Bool || isNumber(value);
    case Kind::number:
    case Kind::integer:
        return isNumber(value);
    case Kind::color:
        return isPreferenceColor(value);
    case Kind::string:
        return value.typeId() == QMetaType::QString;
    case Kind::colorScale:
        return value.typeId() == QMetaType::QVariantMap;
    }
    return false;
}

} // namespace

const std::vector<UFemGraphicViewPreferenceKey>& UFemGraphicViewPreferences::keyTable()
{
    static const std::vector<UFemGraphicViewPreferenceKey> table = makeKeyTable();
    return table;
}

const UFemGraphicViewPreferenceKey& UFemGraphicViewPreferences::keyInfo(const QString& key)
{
    for (const UFemGraphicViewPreferenceKey& info : keyTable())
        if (info.key == key)
            return info;
    throw std::out_of_range("no such graphic view preference key");
}

QVariantMap UFemGraphicViewPreferences::baseGraphicViewPreferences()
{
    QVariantMap base;
    for (const UFemGraphicViewPreferenceKey& info : keyTable())
        base.insert(info.key, info.baseDefault);
    return base;
}

QVariantList UFemGraphicViewPreferences::defaultGraphicViewPreferencesFolderArray()
{
    return { QVariantMap { { UFemFolderItemObjectPreferencesKey, baseGraphicViewPreferences() } },
        folder(QStringLiteral("Model"), 1100, QVariantMap()),
        folder(QStringLiteral("Displacement"), 2100, resultSetting(true, true, false)),
        folder(QStringLiteral("VonMisesStress"), 2200, resultSetting(false, false, true)),
        folder(QStringLiteral("Displacement & VonMisesStress"), 2300,
            resultSetting(false, true, true)) };
}

QVariantMap UFemGraphicViewPreferences::defaultGraphicViewPreferencesOfFolderIndex(int index)
{
    return defaultGraphicViewPreferencesFolderArray()
        .at(index)
        .toMap()
        .value(UFemFolderItemObjectPreferencesKey)
        .toMap();
}

QVariant UFemGraphicViewPreferences::checkedValue(
    const QVariantMap& preferences, const QString& key)
{
    const UFemGraphicViewPreferenceKey& info = keyInfo(key);
    const auto found = preferences.constFind(key);
    if (found == preferences.constEnd() || !isOfKind(*found, info.kind))
        return info.baseDefault;
    return *found;
}
