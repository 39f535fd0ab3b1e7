// Builds colour scales and number formatters from preference dictionaries: a preset (picked by the
// first byte) with arbitrary entries laid over it, read from a keyed archive ("bplist00") or a
// CBOR map as the settings file holds them. A refused scale keeps its old state and says why; a
// built one colours every value with finite components and builds again alike from its own
// dictionary. A formatter gives the same text again after a trip through its dictionary.
#include "foundation/UFemFolderItemKeys.h"
#include "foundation/strings/UFemNumberFormatter.h"
#include "graphics/colorscale/UFemColorScale.h"
#include "platform/KeyedArchive.h"

#include <QCborValue>
#include <QGuiApplication>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

void require(bool condition, unsigned line = __builtin_LINE())
{
    if (!condition) {
        std::fprintf(stderr, "oracle failed at line %u\n", line);
        std::abort();
    }
}

// Entries of `over` replace those of `base`; where both hold a dictionary, they merge.
QVariantMap merged(QVariantMap base, const QVariantMap& over)
{
    for (auto entry = over.cbegin(); entry != over.cend(); ++entry) {
        const QVariant old = base.value(entry.key());
        if (old.typeId() == QMetaType::QVariantMap
            && entry.value().typeId() == QMetaType::QVariantMap)
            base.insert(entry.key(), merged(old.toMap(), entry.value().toMap()));
        else
            base.insert(entry.key(), entry.value());
    }
    return base;
}

QVariantMap overridesFrom(const QByteArray& data)
{
    QVariantMap overrides;
    if (data.startsWith("bplist00")) {
        if (const std::optional<KeyedArchive> archive = KeyedArchive::fromData(data)) {
            for (const KeyedArchiveField& field : archive->fields())
                overrides.insert(field.key, archive->decodeObjectForKey(field.key));
        }
        return overrides;
    }
    // Only a value read without error: Qt's conversion of a broken one may crash.
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(data, &error);
    return error.error == QCborError::NoError ? value.toVariant().toMap() : overrides;
}

QVariantMap presetObject(const QVariantList& folder, quint8 pick)
{
    if (folder.isEmpty())
        return {};
    return folder[pick % folder.size()].toMap().value(UFemFolderItemObjectPreferencesKey).toMap();
}

bool isFinite(const _UGLColor& color)
{
    return std::isfinite(color.red) && std::isfinite(color.green) && std::isfinite(color.blue)
        && std::isfinite(color.alpha);
}

std::vector<double> probeValues(const UFemColorScale& scale)
{
    const double low = scale.colorScaleRangeMinValue();
    const double high = scale.colorScaleRangeMaxValue();
    return { low, high, low / 2 + high / 2, low + (high - low) / 3, -infinity, infinity,
        std::numeric_limits<double>::quiet_NaN(), 0.0, -1e308, 1e308, 5e-324 };
}

void checkColorScale(const QVariantMap& dictionary)
{
    UFemColorScale scale;
    UErrorPtr error;
    if (!scale.setColorScaleWithPreferenceColorScale(dictionary, &error)) {
        require(error != nullptr);
        require(!scale.preferenceColorScale() && scale._colorScaleColorSlopeArray().empty());
        return;
    }
    require(error == nullptr && scale.preferenceColorScale() == dictionary);
    UFemColorScale again;
    require(again.setColorScaleWithPreferenceColorScale(scale.preferenceColorScale(), nullptr));
    for (const double value : probeValues(scale)) {
        const _UGLColor color = scale.colorWithValue(value);
        require(isFinite(color));
        // The legend's bar asks only for values inside the range.
        const bool isInside
            = value >= scale.colorScaleRangeMinValue() && value <= scale.colorScaleRangeMaxValue();
        require(!isInside || isFinite(scale.slopeColorWithValue(value)));
        require(again.colorWithValue(value) == color);
    }
    require(scale.baseColorScale() != nullptr);
}

void checkNumberFormatter(const QVariantMap& dictionary)
{
    const UFemNumberFormatter formatter
        = UFemNumberFormatter::numberFormatterWithPreferenceNumberFormatter(dictionary);
    const UFemNumberFormatter again
        = UFemNumberFormatter::numberFormatterWithPreferenceNumberFormatter(
            formatter.preferenceNumberFormatter());
    for (const double value : { 0.0, -1.5, 123456.789, 1e-300, -1e300, infinity,
             std::numeric_limits<double>::quiet_NaN() })
        require(again.stringWithValue(value) == formatter.stringWithValue(value));
    require(again.hash() == formatter.hash());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size < 1)
        return 0;
    const QVariantMap overrides
        = overridesFrom(QByteArray(reinterpret_cast<const char*>(bytes + 1), qsizetype(size - 1)));
    checkColorScale(
        merged(presetObject(UFemColorScale::defaultPreferenceColorScaleFolderArray(), bytes[0]),
            overrides));
    checkNumberFormatter(merged(
        presetObject(UFemNumberFormatter::defaultPreferenceNumberFormatterFolderArray(), bytes[0]),
        overrides));
    return 0;
}
