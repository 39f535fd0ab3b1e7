// The preset unit scales and their folder array.

#include "graphics/colorscale/UFemColorScale.h"

#include "foundation/UFemFolderItemKeys.h"
#include "foundation/errors/UException.h"

namespace {

constexpr _UGLColor black { 0.0, 0.0, 0.0, 1.0 };
constexpr _UGLColor blue { 0.0, 0.0, 1.0, 1.0 };
constexpr _UGLColor cyan { 0.0, 1.0, 1.0, 1.0 };
constexpr _UGLColor green { 0.0, 1.0, 0.0, 1.0 };
constexpr _UGLColor yellow { 1.0, 1.0, 0.0, 1.0 };
constexpr _UGLColor red { 1.0, 0.0, 0.0, 1.0 };
constexpr _UGLColor darkBlue { 0.0, 0.0, 0.4, 1.0 };
constexpr _UGLColor darkRed { 0.4, 0.0, 0.0, 1.0 };
constexpr double endLineWidth = 1.0;

constexpr qulonglong firstOrderHint = 1100;
constexpr qulonglong laterOrderHint = 1200;

UFemColorScalePtr unitPreset(const QString& name,
    const std::vector<UFemColorScaleValueAndColor>& stops, const _UGLColor& colorUnder,
    const _UGLColor& colorOver)
{
    auto scale = std::make_shared<UFemColorScale>();
    UErrorPtr error;
    if (!scale->setContinuousColorScaleWithIsValuedColorScale(false, name, stops, colorUnder,
            colorOver, black, black, endLineWidth, 0.0, 1.0, &error))
        UFemRaiseProgramError(QStringLiteral("An error occurred though 'aErrorPtr==nil'."));
    return scale;
}

QVariant folderItem(const UFemColorScalePtr& scale, qulonglong orderHint)
{
    return QVariantMap {
        { UFemFolderItemNameStringPreferencesKey, scale->colorScaleNameString() },
        { UFemFolderItemOrderHintNumberPreferencesKey, orderHint },
        { UFemFolderItemObjectPreferencesKey,
            scale->preferenceColorScale().value_or(QVariantMap()) },
    };
}

} // namespace

UFemColorScalePtr UFemColorScale::blueToRedContinuousUnitColorScale()
{
    return unitPreset(QStringLiteral("Blue-Red ColorScale"),
        { { 0.0, blue }, { 0.25, cyan }, { 0.5, green }, { 0.75, yellow }, { 1.0, red } }, darkBlue,
        darkRed);
}

UFemColorScalePtr UFemColorScale::blueToYellowAndRedContinuousUnitColorScale()
{
    return unitPreset(QStringLiteral("Blue-Yellow|Red ColorScale"),
        { { 0.0, blue }, { 1.0 / 3.0, cyan }, { 2.0 / 3.0, green }, { 1.0, yellow } }, blue, red);
}

UFemColorScalePtr UFemColorScale::redBlueRedContinuousUnitColorScale()
{
    return unitPreset(QStringLiteral("Red-Blue-Red ColorScale"),
        { { 0.0, red }, { 0.125, yellow }, { 0.25, green }, { 0.375, cyan }, { 0.5, blue },
            { 0.625, cyan }, { 0.75, green }, { 0.875, yellow }, { 1.0, red } },
        darkRed, darkRed);
}

UFemColorScalePtr UFemColorScale::yellowBlueYellowAndRedContinuousUnitColorScale()
{
    return unitPreset(QStringLiteral("Yellow-Blue-Yellow|Red ColorScale"),
        { { 0.0, yellow }, { 1.0 / 6.0, green }, { 1.0 / 3.0, cyan }, { 0.5, blue },
            { 2.0 / 3.0, cyan }, { 5.0 / 6.0, green }, { 1.0, yellow } },
        red, red);
}

QVariantList UFemColorScale::defaultPreferenceColorScaleFolderArray()
{
    return {
        folderItem(blueToRedContinuousUnitColorScale(), firstOrderHint),
        folderItem(blueToYellowAndRedContinuousUnitColorScale(), laterOrderHint),
        folderItem(redBlueRedContinuousUnitColorScale(), laterOrderHint),
        folderItem(yellowBlueYellowAndRedContinuousUnitColorScale(), laterOrderHint),
    };
}
