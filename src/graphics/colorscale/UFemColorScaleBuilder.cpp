#include "graphics/colorscale/UFemColorScaleBuilder.h"

#include "foundation/UColorAddition.h"
#include "foundation/errors/UFemErrorsColorScale.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/colorscale/UFemColorScaleKeys.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <ranges>

namespace {

// A range narrower than this share of its larger end cannot be told apart on a legend.
constexpr double minimumRelativeRangeWidth = 0.005;
constexpr int colorComponentCount = 4;
constexpr qsizetype slopeEntryCount = 4;
constexpr qsizetype lineEntryCount = 5;

struct SlopeEntry {
    double lowValue = 0.0;
    double highValue = 0.0;
    _UGLColor lowColor;
    _UGLColor highColor;
};

struct LineEntry {
    double value = 0.0;
    std::optional<_UGLColor> lineColor;
    double width = 0.0;
    _UGLColor colorUnder;
    _UGLColor colorOver;
};

[[nodiscard]] bool failWith(UErrorPtr error, UErrorPtr* errorOut)
{
    *errorOut = std::move(error);
    return false;
}

[[nodiscard]] bool failMissing(const QString& key, UErrorPtr* error)
{
    return failWith(
        UFemUnexpectedError_withDescription(
            QStringLiteral("PreferenceColorScale doesn't contain a object for key: %1.").arg(key)),
        error);
}

[[nodiscard]] bool failInvalid(const QString& key, UErrorPtr* error)
{
    return failWith(UFemUnexpectedError_withDescription(QStringLiteral(
                        "PreferenceColorScale contains an invalid object for key: %1.")
                                                            .arg(key)),
        error);
}

// A flag or count entry: a boolean or any number.
bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

bool isValue(const QVariant& value)
{
    return isNumber(value) && value.typeId() != QMetaType::Bool;
}

bool readFinite(const QVariant& value, double* out)
{
    if (!isValue(value))
        return false;
    *out = value.toDouble();
    return std::isfinite(*out);
}

// Entries a colour leaves out read as 0, as preference colours always have.
bool readColor(const QVariant& value, _UGLColor* out)
{
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList list = value.toList();
    if (list.size() > colorComponentCount)
        return false;
    double component = 0.0;
    if (!std::ranges::all_of(
            list, [&](const QVariant& entry) { return readFinite(entry, &component); }))
        return false;
    *out = UGLColorWithPreferenceColor(value);
    return true;
}

// A colour the dictionary does not hold reads as transparent black.
bool readOptionalColor(const QVariantMap& dictionary, const QString& key, _UGLColor* out)
{
    const auto found = dictionary.constFind(key);
    if (found == dictionary.cend()) {
        *out = {};
        return true;
    }
    return readColor(*found, out);
}

bool readSlopeEntry(const QVariant& value, SlopeEntry* out)
{
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList entry = value.toList();
    return entry.size() >= slopeEntryCount && readFinite(entry[0], &out->lowValue)
        && readFinite(entry[1], &out->highValue) && readColor(entry[2], &out->lowColor)
        && readColor(entry[3], &out->highColor);
}

bool readLineEntry(const QVariant& value, LineEntry* out)
{
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList entry = value.toList();
    if (entry.size() < lineEntryCount)
        return false;
    if (entry[1].typeId() == QMetaType::QString && entry[1].toString() == UFemPreferenceNil) {
        out->lineColor.reset();
    } else {
        _UGLColor lineColor;
        if (!readColor(entry[1], &lineColor))
            return false;
        out->lineColor = lineColor;
    }
    return readFinite(entry[0], &out->value) && readFinite(entry[2], &out->width)
        && readColor(entry[3], &out->colorUnder) && readColor(entry[4], &out->colorOver);
}

template <typename Entry, typename Reader>
bool readEntries(const QVariant& value, Reader reader, std::vector<Entry>* out)
{
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList list = value.toList();
    out->resize(size_t(list.size()));
    for (qsizetype index = 0; index < list.size(); ++index) {
        if (!reader(list[index], &(*out)[size_t(index)]))
            return false;
    }
    return true;
}

[[nodiscard]] bool failTooClose(double lowValue, double highValue, UErrorPtr* error)
{
    return failWith(
        UFemColorScaleValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
            lowValue, highValue),
        error);
}

// Written so that a NaN or infinite end fails too: every colour would come out NaN. So would a
// width that overflows (-1e308 to 1e308) or whose inverse does (a width of denormals).
bool isSpanDivisible(double lowValue, double highValue)
{
    const double width = highValue - lowValue;
    return std::isfinite(lowValue) && std::isfinite(highValue) && std::isfinite(width)
        && std::isfinite(1.0 / width);
}

[[nodiscard]] bool checkRange(double rangeMinValue, double rangeMaxValue, UErrorPtr* error)
{
    if (rangeMinValue > rangeMaxValue)
        return failWith(UFemColorScaleValueRangeMinValueBiggerThanMaxValueError(), error);
    const double largerEnd = std::max(std::fabs(rangeMinValue), std::fabs(rangeMaxValue));
    const bool isWideEnough = rangeMinValue != rangeMaxValue
        && isSpanDivisible(rangeMinValue, rangeMaxValue)
        && rangeMaxValue - rangeMinValue >= minimumRelativeRangeWidth * largerEnd;
    return isWideEnough || failTooClose(rangeMinValue, rangeMaxValue, error);
}

// A slope divides its colour change by its span as the range does; one of no width is a step
// and divides nothing. No share of the range is asked of it: a scale may have many slopes.
[[nodiscard]] bool checkSlope(double lowValue, double highValue, UErrorPtr* error)
{
    const bool isStep = lowValue == highValue && std::isfinite(lowValue);
    return isStep || isSpanDivisible(lowValue, highValue)
        || failTooClose(lowValue, highValue, error);
}

// Maps the base scale's values onto the range when the range differs from the base's ends.
class ValueMapping {
public:
    ValueMapping(double baseLow, double baseHigh, double rangeMinValue, double rangeMaxValue)
        : baseLow_(baseLow)
        , rangeMinValue_(rangeMinValue)
        , factor_((rangeMaxValue - rangeMinValue) / (baseHigh - baseLow))
        , maps_(!(rangeMinValue == baseLow && rangeMaxValue == baseHigh))
    {
    }

    double operator()(double value) const
    {
        return maps_ ? rangeMinValue_ + (value - baseLow_) * factor_ : value;
    }

private:
    double baseLow_;
    double rangeMinValue_;
    double factor_;
    bool maps_;
};

// The entries of the top-level dictionary and its base, read and checked.
struct Reading {
    QVariantMap base;
    bool isValuedBase = false;
    bool isSwapped = false;
    std::optional<QVariantMap> valueRange;
};

[[nodiscard]] bool readTopLevel(const QVariantMap& dictionary, Reading* reading, UErrorPtr* error)
{
    const auto base = dictionary.constFind(UFemColorScaleBaseColorScaleKey);
    if (base == dictionary.cend())
        return failMissing(UFemColorScaleBaseColorScaleKey, error);
    if (base->typeId() != QMetaType::QVariantMap)
        return failInvalid(UFemColorScaleBaseColorScaleKey, error);
    reading->base = base->toMap();
    for (const QString& key :
        { UFemColorScaleIsValuedColorScaleKey, UFemColorScaleColorSlopeArray }) {
        if (!reading->base.contains(key))
            return failMissing(key, error);
    }
    if (!isNumber(reading->base.value(UFemColorScaleIsValuedColorScaleKey)))
        return failInvalid(UFemColorScaleIsValuedColorScaleKey, error);
    reading->isValuedBase = reading->base.value(UFemColorScaleIsValuedColorScaleKey).toBool();
    for (const QString& key :
        { UFemColorScaleColorSwapAdditionKey, UFemColorScaleStepColorAdditionKey }) {
        if (dictionary.contains(key) && !isNumber(dictionary.value(key)))
            return failInvalid(key, error);
    }
    reading->isSwapped = dictionary.value(UFemColorScaleColorSwapAdditionKey).toBool();
    const auto valueRange = dictionary.constFind(UFemColorScaleValueRangeAdditionKey);
    if (valueRange != dictionary.cend()) {
        if (valueRange->typeId() != QMetaType::QVariantMap)
            return failInvalid(UFemColorScaleValueRangeAdditionKey, error);
        reading->valueRange = valueRange->toMap();
    }
    return true;
}

// A valued scale's range, or a unit scale's given range, must be a number pair that passes the
// range check; a unit scale without a range runs over 0..1.
[[nodiscard]] bool readRange(const Reading& reading, UFemColorScaleFields* fields, UErrorPtr* error)
{
    const bool hasRange = reading.isValuedBase || reading.valueRange;
    fields->isValuedColorScale = hasRange;
    if (!hasRange) {
        fields->rangeMinValue = 0.0;
        fields->rangeMaxValue = 1.0;
        return true;
    }
    const QVariantMap& source = reading.isValuedBase ? reading.base : *reading.valueRange;
    const QString& sourceKey = reading.isValuedBase ? UFemColorScaleBaseColorScaleKey
                                                    : UFemColorScaleValueRangeAdditionKey;
    const QVariant minValue = source.value(UFemColorScaleRangeMinValueKey, 0.0);
    const QVariant maxValue = source.value(UFemColorScaleRangeMaxValueKey, 0.0);
    if (!isValue(minValue) || !isValue(maxValue))
        return failInvalid(sourceKey, error);
    fields->rangeMinValue = minValue.toDouble();
    fields->rangeMaxValue = maxValue.toDouble();
    return checkRange(fields->rangeMinValue, fields->rangeMaxValue, error);
}

[[nodiscard]] bool buildSlopes(const Reading& reading, UFemColorScaleFields* fields,
    std::optional<ValueMapping>* mapping, UErrorPtr* error)
{
    std::vector<SlopeEntry> entries;
    if (!readEntries(reading.base.value(UFemColorScaleColorSlopeArray), readSlopeEntry, &entries)
        || entries.empty())
        return failInvalid(UFemColorScaleColorSlopeArray, error);
    const double baseLow = reading.isSwapped ? entries.back().highValue : entries.front().lowValue;
    const double baseHigh = reading.isSwapped ? entries.front().lowValue : entries.back().highValue;
    if (baseLow == baseHigh)
        return failInvalid(UFemColorScaleColorSlopeArray, error);
    mapping->emplace(baseLow, baseHigh, fields->rangeMinValue, fields->rangeMaxValue);
    if (reading.isSwapped)
        std::ranges::reverse(entries);
    for (const SlopeEntry& entry : entries) {
        const double lowValue = (**mapping)(reading.isSwapped ? entry.highValue : entry.lowValue);
        const double highValue = (**mapping)(reading.isSwapped ? entry.lowValue : entry.highValue);
        if (!checkSlope(lowValue, highValue, error))
            return false;
        fields->colorScaleColorSlopeArray.emplace_back().setColorScaleColorSlopeWithRangeLowValue(
            lowValue, reading.isSwapped ? entry.highColor : entry.lowColor, highValue,
            reading.isSwapped ? entry.lowColor : entry.highColor);
    }
    return true;
}

[[nodiscard]] bool buildLines(const Reading& reading, const ValueMapping& mapping,
    UFemColorScaleFields* fields, UErrorPtr* error)
{
    const auto found = reading.base.constFind(UFemColorScaleSeparateLineArray);
    if (found == reading.base.cend())
        return failMissing(UFemColorScaleSeparateLineArray, error);
    std::vector<LineEntry> entries;
    if (!readEntries(*found, readLineEntry, &entries))
        return failInvalid(UFemColorScaleSeparateLineArray, error);
    if (reading.isSwapped)
        std::ranges::reverse(entries);
    for (const LineEntry& entry : entries) {
        const _UGLColor& under = reading.isSwapped ? entry.colorOver : entry.colorUnder;
        const _UGLColor& over = reading.isSwapped ? entry.colorUnder : entry.colorOver;
        fields->colorScaleSeparateLineArray.emplace_back()
            .setColorScaleSeparateLineWithSeparateValue(
                mapping(entry.value), entry.lineColor, entry.width, under, over);
    }
    return true;
}

[[nodiscard]] bool buildColors(
    const Reading& reading, UFemColorScaleFields* fields, UErrorPtr* error)
{
    _UGLColor under;
    _UGLColor over;
    const std::pair<const QString&, _UGLColor*> colors[] = {
        { UFemColorScaleColorUnderRangeMinValueKey, &under },
        { UFemColorScaleColorOverRangeMaxValueKey, &over },
        { UFemColorScaleInvalidValueColorKey, &fields->invalidValueColor },
    };
    for (const auto& [key, color] : colors) {
        if (!readOptionalColor(reading.base, key, color))
            return failInvalid(key, error);
    }
    fields->colorUnderRangeMinValue = reading.isSwapped ? over : under;
    fields->colorOverRangeMaxValue = reading.isSwapped ? under : over;
    return true;
}

} // namespace

bool UFemColorScaleBuilder::buildFields(
    const QVariantMap& preferenceColorScale, UFemColorScaleFields* fields, UErrorPtr* error)
{
    Reading reading;
    if (!readTopLevel(preferenceColorScale, &reading, error))
        return false;
    UFemColorScaleFields built;
    const QVariant name = reading.base.value(UFemColorScaleNameStringKey, QString());
    if (name.typeId() != QMetaType::QString)
        return failInvalid(UFemColorScaleNameStringKey, error);
    built.colorScaleNameString = name.toString();
    std::optional<ValueMapping> mapping;
    if (!readRange(reading, &built, error) || !buildSlopes(reading, &built, &mapping, error)
        || !buildLines(reading, *mapping, &built, error) || !buildColors(reading, &built, error))
        return false;
    *fields = std::move(built);
    return true;
}
