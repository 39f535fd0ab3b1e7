// The preference dictionary of a colour scale: applying it, its additions and the stop builder.

#include "graphics/colorscale/UFemColorScale.h"

#include "foundation/UColorAddition.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/colorscale/UFemColorScaleBuilder.h"
#include "graphics/colorscale/UFemColorScaleKeys.h"

#include <QDebug>

namespace {

const QString programErrorWithoutErrorPointer
    = QStringLiteral("An error occurred though 'aErrorPtr==nil'.");

[[nodiscard]] bool failTo(UErrorPtr* error, const QString& description)
{
    if (error == nullptr)
        UFemRaiseErrorResponderError();
    *error = UFemUnexpectedError_withDescription(description);
    return false;
}

QVariant preferenceLineColor(const std::optional<_UGLColor>& color)
{
    return color ? QVariant(UPreferenceColorWithUGLColor(*color)) : QVariant(UFemPreferenceNil);
}

QVariantList separateLineEntry(double value, const QVariant& lineColor, double lineWidth,
    const _UGLColor& under, const _UGLColor& over)
{
    return { value, lineColor, lineWidth, UPreferenceColorWithUGLColor(under),
        UPreferenceColorWithUGLColor(over) };
}

// Each stop after the first must lie beyond the one before it, in the direction of the first two.
[[nodiscard]] bool checkStops(
    const std::vector<UFemColorScaleValueAndColor>& stops, UErrorPtr* error)
{
    if (stops.size() < 2)
        return failTo(error, QStringLiteral("At least two ValueAndColor are required."));
    const bool isAscending = stops[1].value > stops[0].value;
    if (!isAscending && !(stops[1].value < stops[0].value))
        return failTo(error, QStringLiteral("Values are same."));
    for (size_t index = 2; index < stops.size(); ++index) {
        const double previous = stops[index - 1].value;
        const double value = stops[index].value;
        if (!(isAscending ? value > previous : value < previous))
            return failTo(error, QStringLiteral("Value order is confused."));
    }
    return true;
}

} // namespace

bool UFemColorScale::rebuild(
    const std::optional<QVariantMap>& preferenceColorScale, UErrorPtr* error)
{
    dropCachedImages();
    if (!preferenceColorScale) {
        preferenceColorScale_.reset();
        fields_ = {};
        return true;
    }
    UFemColorScaleFields fields;
    if (!UFemColorScaleBuilder::buildFields(*preferenceColorScale, &fields, error))
        return false;
    preferenceColorScale_ = preferenceColorScale;
    fields_ = std::move(fields);
    return true;
}

bool UFemColorScale::setColorScaleWithPreferenceColorScale(
    const std::optional<QVariantMap>& preferenceColorScale, UErrorPtr* error)
{
    UErrorPtr buildError;
    if (rebuild(preferenceColorScale, &buildError))
        return true;
    if (error == nullptr)
        UFemRaiseErrorResponderError();
    *error = std::move(buildError);
    return false;
}

UFemColorScalePtr UFemColorScale::colorScaleWithPreferenceColorScale(
    const QVariantMap& preferenceColorScale)
{
    auto scale = std::make_shared<UFemColorScale>();
    UErrorPtr error;
    if (!scale->setColorScaleWithPreferenceColorScale(preferenceColorScale, &error))
        qWarning().noquote() << "A stored colour scale was not used:"
                             << error->localizedDescription();
    return scale;
}

UFemColorScalePtr UFemColorScale::baseColorScale() const
{
    auto scale = std::make_shared<UFemColorScale>();
    if (preferenceColorScale_) {
        const QVariantMap base { { UFemColorScaleBaseColorScaleKey,
            preferenceColorScale_->value(UFemColorScaleBaseColorScaleKey) } };
        // No error pointer: a failure is raised, not returned.
        static_cast<void>(scale->setColorScaleWithPreferenceColorScale(base, nullptr));
    }
    return scale;
}

bool UFemColorScale::isBaseColorScaleEqualToColorScale(const UFemColorScale& other) const
{
    return colorScaleNameString() == other.colorScaleNameString()
        && additionValue(UFemColorScaleBaseColorScaleKey)
        == other.additionValue(UFemColorScaleBaseColorScaleKey);
}

QVariant UFemColorScale::additionValue(const QString& key) const
{
    return preferenceColorScale_ ? preferenceColorScale_->value(key) : QVariant();
}

bool UFemColorScale::isValuedBaseColorScale() const
{
    return additionValue(UFemColorScaleBaseColorScaleKey)
        .toMap()
        .value(UFemColorScaleIsValuedColorScaleKey)
        .toBool();
}

bool UFemColorScale::isColorSwapped() const
{
    return additionValue(UFemColorScaleColorSwapAdditionKey).toBool();
}

bool UFemColorScale::hasSetColorScaleValueRange() const
{
    return additionValue(UFemColorScaleValueRangeAdditionKey).isValid();
}

bool UFemColorScale::isInstantStepColor() const
{
    return additionValue(UFemColorScaleStepColorAdditionKey).isValid();
}

quint64 UFemColorScale::numberOfStepColor() const
{
    const QVariant count = additionValue(UFemColorScaleStepColorAdditionKey);
    return count.toDouble() > 0.0 ? count.toULongLong() : 0;
}

bool UFemColorScale::setAddition(const QString& key, const QVariant& value, UErrorPtr* error)
{
    QVariantMap changed = preferenceColorScale_.value_or(QVariantMap());
    if (value.isValid())
        changed.insert(key, value);
    else
        changed.remove(key);
    return setColorScaleWithPreferenceColorScale(changed, error);
}

void UFemColorScale::clearAddition(const QString& key)
{
    UErrorPtr error;
    if (!setAddition(key, QVariant(), &error))
        UFemRaiseProgramError(programErrorWithoutErrorPointer);
}

bool UFemColorScale::setColorScaleValueRangeWithRangeMinValue(
    double rangeMinValue, double rangeMaxValue, UErrorPtr* error)
{
    if (!canSetColorScaleValueRange()) {
        qWarning("[self canSetColorScaleValueRange]");
        return true;
    }
    const QVariantMap range { { UFemColorScaleRangeMinValueKey, rangeMinValue },
        { UFemColorScaleRangeMaxValueKey, rangeMaxValue } };
    return setAddition(UFemColorScaleValueRangeAdditionKey, range, error);
}

void UFemColorScale::clearColorScaleValueRange()
{
    if (canSetColorScaleValueRange())
        clearAddition(UFemColorScaleValueRangeAdditionKey);
}

bool UFemColorScale::setColorSwapped(bool isColorSwapped, UErrorPtr* error)
{
    if (!canSetColorSwapped())
        return true;
    return setAddition(
        UFemColorScaleColorSwapAdditionKey, isColorSwapped ? QVariant(true) : QVariant(), error);
}

bool UFemColorScale::setInstantStepColorWithNumberOfStepColor(
    quint64 numberOfStepColor, UErrorPtr* error)
{
    return setAddition(UFemColorScaleStepColorAdditionKey,
        QVariant::fromValue<qulonglong>(numberOfStepColor), error);
}

void UFemColorScale::clearInstantStepColor()
{
    clearAddition(UFemColorScaleStepColorAdditionKey);
}

bool UFemColorScale::setContinuousColorScaleWithIsValuedColorScale(bool isValuedColorScale,
    const QString& nameString, const std::vector<UFemColorScaleValueAndColor>& valueAndColorArray,
    const _UGLColor& colorUnderMinValue, const _UGLColor& colorOverMaxValue,
    const _UGLColor& invalidValueColor, const std::optional<_UGLColor>& overMinMaxSeparateLineColor,
    double overMinMaxSeparateLineWidth, double rangeMinValue, double rangeMaxValue,
    UErrorPtr* error)
{
    if (!checkStops(valueAndColorArray, error))
        return false;
    const QVariant endLineColor = preferenceLineColor(overMinMaxSeparateLineColor);
    const UFemColorScaleValueAndColor& first = valueAndColorArray.front();
    QVariantList slopes;
    // Appended, not braced: braces around one list copy it on some compilers instead of nesting.
    QVariantList lines;
    lines.append(QVariant(separateLineEntry(
        first.value, endLineColor, overMinMaxSeparateLineWidth, colorUnderMinValue, first.color)));
    for (size_t index = 1; index < valueAndColorArray.size(); ++index) {
        const UFemColorScaleValueAndColor& previous = valueAndColorArray[index - 1];
        const UFemColorScaleValueAndColor& stop = valueAndColorArray[index];
        slopes.append(QVariant(
            QVariantList { previous.value, stop.value, UPreferenceColorWithUGLColor(previous.color),
                UPreferenceColorWithUGLColor(stop.color) }));
        const bool isLast = index + 1 == valueAndColorArray.size();
        lines.append(QVariant(isLast
                ? separateLineEntry(stop.value, endLineColor, overMinMaxSeparateLineWidth,
                    stop.color, colorOverMaxValue)
                : separateLineEntry(stop.value, UFemPreferenceNil, 0.0, stop.color, stop.color)));
    }
    const QVariantMap base {
        { UFemColorScaleIsValuedColorScaleKey, isValuedColorScale },
        { UFemColorScaleNameStringKey, nameString },
        { UFemColorScaleColorSlopeArray, slopes },
        { UFemColorScaleSeparateLineArray, lines },
        { UFemColorScaleRangeMinValueKey, rangeMinValue },
        { UFemColorScaleRangeMaxValueKey, rangeMaxValue },
        { UFemColorScaleColorUnderRangeMinValueKey,
            UPreferenceColorWithUGLColor(colorUnderMinValue) },
        { UFemColorScaleColorOverRangeMaxValueKey,
            UPreferenceColorWithUGLColor(colorOverMaxValue) },
        { UFemColorScaleInvalidValueColorKey, UPreferenceColorWithUGLColor(invalidValueColor) },
    };
    // The caller's error pointer goes on, so that a refused range is reported rather than raised.
    return setColorScaleWithPreferenceColorScale(
        QVariantMap { { UFemColorScaleBaseColorScaleKey, base } }, error);
}
