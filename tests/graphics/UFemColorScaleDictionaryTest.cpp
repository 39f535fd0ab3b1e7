#include "ColorScaleTestSupport.h"

#include "foundation/UColorAddition.h"
#include "foundation/UFemFolderItemKeys.h"
#include "foundation/errors/UException.h"
#include "graphics/colorscale/UFemColorScaleKeys.h"
#include "platform/UUserDefaults.h"

#include <QTemporaryDir>

#include <functional>
#include <limits>

using namespace colorscaletest;

namespace {

constexpr qint64 unexpectedErrorCode = 81004;

QString missingKeyDescription(const QString& key)
{
    return "Unexpected error occurred. PreferenceColorScale doesn't contain a object for key: "
        + key + ".";
}

// Values spread over and beyond the unit range, for comparing two scales colour by colour.
const std::vector<double> sampleValues { -0.5, 0.0, 0.1, 0.25, 1.0 / 3, 0.5, 0.6, 0.75, 0.9, 1.0,
    1.5, 99, 100, 137.5, 150, 200, 201, std::numeric_limits<double>::quiet_NaN() };

void expectSameColors(const UFemColorScale& actual, const UFemColorScale& expected)
{
    for (double value : sampleValues) {
        SCOPED_TRACE(value);
        EXPECT_EQ(colorOf(actual, value), colorOf(expected, value));
    }
}

QVariantMap withBaseEntry(QVariantMap dictionary, const QString& key, const QVariant& value)
{
    QVariantMap base = dictionary[UFemColorScaleBaseColorScaleKey].toMap();
    if (value.isValid())
        base[key] = value;
    else
        base.remove(key);
    dictionary[UFemColorScaleBaseColorScaleKey] = base;
    return dictionary;
}

QVariantMap withFirstEntryOf(QVariantMap dictionary, const QString& arrayKey, const QVariant& entry)
{
    QVariantList list = dictionary[UFemColorScaleBaseColorScaleKey].toMap()[arrayKey].toList();
    list[0] = entry;
    return withBaseEntry(dictionary, arrayKey, list);
}

QVariantList colorEntry(const _UGLColor& color)
{
    return UPreferenceColorWithUGLColor(color);
}

} // namespace

TEST(ColorScaleDictionary, ValueRangeMapsTheUnitScaleAndRefusesBadRanges)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    EXPECT_TRUE(scale->canSetColorScaleValueRange());
    ASSERT_TRUE(scale->setColorScaleValueRangeWithRangeMinValue(100, 200, nullptr));
    EXPECT_TRUE(scale->isValuedColorScale());
    EXPECT_TRUE(scale->hasSetColorScaleValueRange());
    expectColorNear(colorOf(*scale, 100), blue);
    expectColorNear(colorOf(*scale, 150), green);
    expectColorNear(colorOf(*scale, 200), red);
    EXPECT_EQ(colorOf(*scale, 99), darkBlue);
    EXPECT_EQ(scale->colorScaleSeparateLineArray()[1].separateValue(), 125.0);

    const UFemColorScale before(*scale);
    UErrorPtr error;
    // 0.004 < 0.005 x 1.004: too close.
    EXPECT_FALSE(scale->setColorScaleValueRangeWithRangeMinValue(1, 1.004, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 51002);
    EXPECT_EQ(scale->preferenceColorScale(), before.preferenceColorScale());
    EXPECT_EQ(scale->colorScaleRangeMinValue(), 100.0);
    expectSameColors(*scale, before);

    error.reset();
    EXPECT_FALSE(scale->setColorScaleValueRangeWithRangeMinValue(2, 1, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 51001);
    EXPECT_EQ(scale->colorScaleRangeMaxValue(), 200.0);

    // Non-finite ends would make every colour NaN.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    for (const auto& [min, max] : { std::pair { nan, 1.0 }, std::pair { 0.0, nan },
             std::pair { 0.0, infinity }, std::pair { -infinity, 0.0 } }) {
        error.reset();
        EXPECT_FALSE(scale->setColorScaleValueRangeWithRangeMinValue(min, max, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 51002);
        expectSameColors(*scale, before);
    }
    EXPECT_THROW(static_cast<void>(scale->setColorScaleValueRangeWithRangeMinValue(2, 1, nullptr)),
        UException);
    expectSameColors(*scale, before);

    ASSERT_TRUE(scale->setColorScaleValueRangeWithRangeMinValue(1, 1.006, &error));
    EXPECT_EQ(scale->colorScaleRangeMaxValue(), 1.006);
    scale->clearColorScaleValueRange();
    EXPECT_FALSE(scale->hasSetColorScaleValueRange());
    EXPECT_FALSE(scale->isValuedColorScale());
    expectSameColors(*scale, *UFemColorScale::defaultUnitColorScale());
}

TEST(ColorScaleDictionary, SwapMirrorsSlopesLinesAndRangeColours)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    ASSERT_TRUE(scale->setColorSwapped(true, nullptr));
    EXPECT_TRUE(scale->isColorSwapped());
    expectColorNear(colorOf(*scale, 0), red);
    expectColorNear(colorOf(*scale, 0.25), yellow);
    expectColorNear(colorOf(*scale, 0.875), mean(cyan, blue));
    expectColorNear(colorOf(*scale, 1), blue);
    EXPECT_EQ(colorOf(*scale, -0.01), darkRed);
    EXPECT_EQ(colorOf(*scale, 1.01), darkBlue);
    const auto& slopes = scale->_colorScaleColorSlopeArray();
    for (size_t index = 1; index < slopes.size(); ++index)
        EXPECT_EQ(slopes[index].rangeLowValue(), slopes[index - 1].rangeHighValue());
    const auto& lines = scale->colorScaleSeparateLineArray();
    EXPECT_EQ(lines.front().separateValue(), 0.0);
    EXPECT_EQ(lines.front().colorUnderSeparateValue(), darkRed);
    EXPECT_EQ(lines.front().colorOverSeparateValue(), red);
    EXPECT_EQ(lines.back().colorOverSeparateValue(), darkBlue);

    // Swapped and ranged together: red at the low end of the range.
    ASSERT_TRUE(scale->setColorScaleValueRangeWithRangeMinValue(-10, 10, nullptr));
    expectColorNear(colorOf(*scale, -10), red);
    expectColorNear(colorOf(*scale, 0), green);
    expectColorNear(colorOf(*scale, 10), blue);

    ASSERT_TRUE(scale->setColorSwapped(false, nullptr));
    EXPECT_FALSE(scale->preferenceColorScale()->contains(UFemColorScaleColorSwapAdditionKey));
    expectColorNear(colorOf(*scale, -10), blue);
}

TEST(ColorScaleDictionary, AdditionsAValuedBaseDoesNotAllowChangeNothing)
{
    UFemColorScale scale;
    ASSERT_TRUE(scale.setContinuousColorScaleWithIsValuedColorScale(true, "Stress",
        { { -50, blue }, { 50, red } }, darkBlue, darkRed, black, black, 2.0, -50, 50, nullptr));
    EXPECT_TRUE(scale.isValuedBaseColorScale());
    EXPECT_FALSE(scale.canSetColorSwapped());
    EXPECT_FALSE(scale.canSetColorScaleValueRange());
    const auto dictionary = scale.preferenceColorScale();
    EXPECT_TRUE(scale.setColorSwapped(true, nullptr));
    EXPECT_TRUE(scale.setColorScaleValueRangeWithRangeMinValue(0, 1, nullptr));
    scale.clearColorScaleValueRange();
    EXPECT_EQ(scale.preferenceColorScale(), dictionary);
    EXPECT_FALSE(scale.isColorSwapped());
    expectColorNear(colorOf(scale, 0), mean(blue, red));
    EXPECT_EQ(colorOf(scale, 60), darkRed);
}

TEST(ColorScaleDictionary, StepColourIsKeptButChangesNoColour)
{
    const UFemColorScalePtr scale = UFemColorScale::blueToYellowAndRedContinuousUnitColorScale();
    const UFemColorScale before(*scale);
    EXPECT_FALSE(scale->isInstantStepColor());
    EXPECT_EQ(scale->numberOfStepColor(), 0u);
    ASSERT_TRUE(scale->setInstantStepColorWithNumberOfStepColor(7, nullptr));
    EXPECT_TRUE(scale->isInstantStepColor());
    EXPECT_EQ(scale->numberOfStepColor(), 7u);
    expectSameColors(*scale, before);
    scale->clearInstantStepColor();
    EXPECT_FALSE(scale->isInstantStepColor());
    EXPECT_EQ(scale->preferenceColorScale(), before.preferenceColorScale());
}

TEST(ColorScaleDictionary, MissingKeysAreNamedAndTheOldScaleKept)
{
    const QVariantMap good = *UFemColorScale::defaultUnitColorScale()->preferenceColorScale();
    struct Case {
        QString key;
        QVariantMap dictionary;
    };
    const std::vector<Case> cases {
        { UFemColorScaleBaseColorScaleKey,
            QVariantMap { { UFemColorScaleColorSwapAdditionKey, true } } },
        { UFemColorScaleIsValuedColorScaleKey,
            withBaseEntry(good, UFemColorScaleIsValuedColorScaleKey, {}) },
        { UFemColorScaleColorSlopeArray, withBaseEntry(good, UFemColorScaleColorSlopeArray, {}) },
        { UFemColorScaleSeparateLineArray,
            withBaseEntry(good, UFemColorScaleSeparateLineArray, {}) },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.key.toStdString());
        const UFemColorScalePtr scale = UFemColorScale::redBlueRedContinuousUnitColorScale();
        const UFemColorScale before(*scale);
        UErrorPtr error;
        EXPECT_FALSE(scale->setColorScaleWithPreferenceColorScale(test.dictionary, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), unexpectedErrorCode);
        EXPECT_EQ(error->localizedDescription(), missingKeyDescription(test.key));
        EXPECT_EQ(scale->preferenceColorScale(), before.preferenceColorScale());
        EXPECT_EQ(scale->colorScaleNameString(), before.colorScaleNameString());
        expectSameColors(*scale, before);
    }
}

// Dictionaries come from a preferences file a user or a crash may have damaged: each malformed
// entry is refused as a whole, never read out of range or divided by zero.
TEST(ColorScaleDictionary, EveryMalformedEntryIsRefusedWithTheOldScaleKept)
{
    const QVariantMap good = *UFemColorScale::defaultUnitColorScale()->preferenceColorScale();
    const QVariantList slope { 0.0, 0.5, colorEntry(blue), colorEntry(red) };
    const QVariantList line { 0.0, colorEntry(black), 1.0, colorEntry(blue), colorEntry(red) };
    const auto replaced = [](QVariantList list, int index, const QVariant& value) {
        list[index] = value;
        return QVariant(list);
    };
    const std::vector<std::pair<const char*, QVariantMap>> cases {
        { "base not a dictionary",
            QVariantMap { { UFemColorScaleBaseColorScaleKey, QVariantList() } } },
        { "valued flag a text", withBaseEntry(good, UFemColorScaleIsValuedColorScaleKey, "no") },
        { "name a number", withBaseEntry(good, UFemColorScaleNameStringKey, 3) },
        { "slopes not an array", withBaseEntry(good, UFemColorScaleColorSlopeArray, "slopes") },
        { "no slopes", withBaseEntry(good, UFemColorScaleColorSlopeArray, QVariantList()) },
        { "short slope",
            withFirstEntryOf(good, UFemColorScaleColorSlopeArray, QVariantList { 0.0, 0.5 }) },
        { "slope not an array", withFirstEntryOf(good, UFemColorScaleColorSlopeArray, 0.5) },
        { "slope value a text",
            withFirstEntryOf(good, UFemColorScaleColorSlopeArray, replaced(slope, 1, "0.5")) },
        { "slope value NaN",
            withFirstEntryOf(good, UFemColorScaleColorSlopeArray,
                replaced(slope, 0, std::numeric_limits<double>::quiet_NaN())) },
        { "slope colour a text",
            withFirstEntryOf(good, UFemColorScaleColorSlopeArray, replaced(slope, 2, "blue")) },
        { "slope colour of five",
            withFirstEntryOf(good, UFemColorScaleColorSlopeArray,
                replaced(slope, 3, QVariantList { 1, 0, 0, 1, 0 })) },
        { "slope colour entry a text",
            withFirstEntryOf(good, UFemColorScaleColorSlopeArray,
                replaced(slope, 3, QVariantList { 1, "0", 0, 1 })) },
        { "equal base ends",
            withBaseEntry(good, UFemColorScaleColorSlopeArray,
                QVariantList { QVariantList { 0.5, 0.5, colorEntry(blue), colorEntry(red) } }) },
        { "lines not an array",
            withBaseEntry(good, UFemColorScaleSeparateLineArray, QVariantMap()) },
        { "short line",
            withFirstEntryOf(good, UFemColorScaleSeparateLineArray, QVariantList { 0.0 }) },
        { "line colour another text",
            withFirstEntryOf(good, UFemColorScaleSeparateLineArray, replaced(line, 1, "Nil")) },
        { "line width a colour",
            withFirstEntryOf(
                good, UFemColorScaleSeparateLineArray, replaced(line, 2, colorEntry(red))) },
        { "line colour over missing",
            withFirstEntryOf(
                good, UFemColorScaleSeparateLineArray, replaced(line, 4, QVariant())) },
        { "under colour a number",
            withBaseEntry(good, UFemColorScaleColorUnderRangeMinValueKey, 1.0) },
        { "invalid colour a text",
            withBaseEntry(good, UFemColorScaleInvalidValueColorKey, "black") },
        { "range addition a number",
            [&] {
                QVariantMap dictionary = good;
                dictionary[UFemColorScaleValueRangeAdditionKey] = 5;
                return dictionary;
            }() },
        { "range addition without numbers",
            [&] {
                QVariantMap dictionary = good;
                dictionary[UFemColorScaleValueRangeAdditionKey]
                    = QVariantMap { { UFemColorScaleRangeMinValueKey, "0" },
                          { UFemColorScaleRangeMaxValueKey, 1 } };
                return dictionary;
            }() },
        { "swap a text",
            [&] {
                QVariantMap dictionary = good;
                dictionary[UFemColorScaleColorSwapAdditionKey] = "YES";
                return dictionary;
            }() },
        { "step count a list",
            [&] {
                QVariantMap dictionary = good;
                dictionary[UFemColorScaleStepColorAdditionKey] = QVariantList { 3 };
                return dictionary;
            }() },
    };
    for (const auto& [name, dictionary] : cases) {
        SCOPED_TRACE(name);
        const UFemColorScalePtr scale
            = UFemColorScale::yellowBlueYellowAndRedContinuousUnitColorScale();
        const UFemColorScale before(*scale);
        UErrorPtr error;
        EXPECT_FALSE(scale->setColorScaleWithPreferenceColorScale(dictionary, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), unexpectedErrorCode);
        EXPECT_EQ(scale->preferenceColorScale(), before.preferenceColorScale());
        expectSameColors(*scale, before);
        EXPECT_THROW(
            static_cast<void>(scale->setColorScaleWithPreferenceColorScale(dictionary, nullptr)),
            UException);
        expectSameColors(*scale, before);
        // Read from the preferences, the same dictionary gives an empty scale, not a stop.
        const UFemColorScalePtr stored
            = UFemColorScale::colorScaleWithPreferenceColorScale(dictionary);
        EXPECT_FALSE(stored->preferenceColorScale());
        EXPECT_EQ(colorOf(*stored, 0.5), _UGLColor());
    }
}

TEST(ColorScaleDictionary, WithoutAnErrorPointerTheResponderErrorIsRaised)
{
    UFemColorScale scale;
    try {
        EXPECT_TRUE(scale.setColorScaleWithPreferenceColorScale(QVariantMap(), nullptr));
        FAIL() << "no exception";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.name(), "Program Error.");
        EXPECT_EQ(exception.reason(), "Error Responder Error");
    }
    EXPECT_FALSE(scale.preferenceColorScale());
}

TEST(ColorScaleDictionary, StopBuilderChecksItsStopsAndHandsErrorsOn)
{
    UFemColorScale scale;
    const auto build = [&](const std::vector<UFemColorScaleValueAndColor>& stops, double min,
                           double max, UErrorPtr* error) {
        return scale.setContinuousColorScaleWithIsValuedColorScale(
            true, "Built", stops, darkBlue, darkRed, black, std::nullopt, 1.0, min, max, error);
    };
    const std::vector<std::pair<std::vector<UFemColorScaleValueAndColor>, QString>> refused {
        { { { 0, blue } }, "At least two ValueAndColor are required." },
        { { { 1, blue }, { 1, red } }, "Values are same." },
        { { { std::numeric_limits<double>::quiet_NaN(), blue }, { 1, red } }, "Values are same." },
        { { { 0, blue }, { 1, green }, { 0.5, red } }, "Value order is confused." },
        { { { 2, blue }, { 1, green }, { 1, red } }, "Value order is confused." },
    };
    for (const auto& [stops, text] : refused) {
        SCOPED_TRACE(text.toStdString());
        UErrorPtr error;
        EXPECT_FALSE(build(stops, 0, 1, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), unexpectedErrorCode);
        EXPECT_EQ(error->localizedDescription(), "Unexpected error occurred. " + text);
        EXPECT_THROW(build(stops, 0, 1, nullptr), UException);
    }
    EXPECT_FALSE(scale.preferenceColorScale());

    // A refused range reaches the caller's error instead of stopping the program.
    UErrorPtr error;
    EXPECT_FALSE(build({ { 0, blue }, { 1, red } }, 5, 5, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 51002);

    // Descending stops run ascending once built, mirrored onto the range.
    ASSERT_TRUE(build({ { 10, blue }, { 5, green }, { 0, red } }, -20, 20, nullptr));
    expectColorNear(colorOf(scale, -20), blue);
    expectColorNear(colorOf(scale, 0), green);
    expectColorNear(colorOf(scale, 20), red);
    const auto& lines = scale.colorScaleSeparateLineArray();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].separateValue(), -20.0);
    EXPECT_EQ(lines[1].separateValue(), 0.0);
    EXPECT_FALSE(lines[0].separateLineColor());
    const QVariantList storedLine = scale.preferenceColorScale()
                                        ->value(UFemColorScaleBaseColorScaleKey)
                                        .toMap()[UFemColorScaleSeparateLineArray]
                                        .toList()[0]
                                        .toList();
    EXPECT_EQ(storedLine[1], UFemPreferenceNil);
}

TEST(ColorScaleDictionary, RoundTripsKeepTheScaleEqualAlsoThroughUserDefaults)
{
    QTemporaryDir directory;
    const QString path = directory.filePath("Vantrel.cbor");
    std::vector<UFemColorScalePtr> scales { UFemColorScale::blueToRedContinuousUnitColorScale(),
        UFemColorScale::blueToYellowAndRedContinuousUnitColorScale(),
        UFemColorScale::redBlueRedContinuousUnitColorScale(),
        UFemColorScale::yellowBlueYellowAndRedContinuousUnitColorScale() };
    ASSERT_TRUE(scales[1]->setColorScaleValueRangeWithRangeMinValue(-0.3, 7.1, nullptr));
    ASSERT_TRUE(scales[2]->setColorSwapped(true, nullptr));
    ASSERT_TRUE(scales[3]->setInstantStepColorWithNumberOfStepColor(12, nullptr));
    {
        UUserDefaults defaults(path);
        for (size_t index = 0; index < scales.size(); ++index)
            ASSERT_TRUE(defaults.setObject(
                *scales[index]->preferenceColorScale(), QString("Scale%1").arg(index)));
    }
    const UUserDefaults reopened(path);
    for (size_t index = 0; index < scales.size(); ++index) {
        const UFemColorScale& original = *scales[index];
        SCOPED_TRACE(original.colorScaleNameString().toStdString());
        const UFemColorScalePtr copied
            = UFemColorScale::colorScaleWithPreferenceColorScale(*original.preferenceColorScale());
        const UFemColorScalePtr stored = UFemColorScale::colorScaleWithPreferenceColorScale(
            reopened.dictionaryForKey(QString("Scale%1").arg(index)));
        for (const UFemColorScalePtr& trip : { copied, stored }) {
            EXPECT_TRUE(trip->isBaseColorScaleEqualToColorScale(original));
            EXPECT_TRUE(original.isBaseColorScaleEqualToColorScale(*trip));
            EXPECT_EQ(trip->preferenceColorScale(), original.preferenceColorScale());
            EXPECT_EQ(trip->isColorSwapped(), original.isColorSwapped());
            EXPECT_EQ(trip->numberOfStepColor(), original.numberOfStepColor());
            expectSameColors(*trip, original);
        }
    }
}

TEST(ColorScaleDictionary, BaseScaleEqualityIgnoresAdditions)
{
    const UFemColorScalePtr scale = UFemColorScale::redBlueRedContinuousUnitColorScale();
    ASSERT_TRUE(scale->setColorScaleValueRangeWithRangeMinValue(3, 4, nullptr));
    ASSERT_TRUE(scale->setColorSwapped(true, nullptr));
    const UFemColorScalePtr base = scale->baseColorScale();
    EXPECT_FALSE(base->hasSetColorScaleValueRange());
    EXPECT_FALSE(base->isColorSwapped());
    EXPECT_TRUE(base->isBaseColorScaleEqualToColorScale(*scale));
    EXPECT_TRUE(
        UFemColorScale::redBlueRedContinuousUnitColorScale()->isBaseColorScaleEqualToColorScale(
            *scale));
    expectSameColors(*base, *UFemColorScale::redBlueRedContinuousUnitColorScale());
    EXPECT_FALSE(
        UFemColorScale::defaultUnitColorScale()->isBaseColorScaleEqualToColorScale(*scale));
    EXPECT_TRUE(UFemColorScale().isBaseColorScaleEqualToColorScale(UFemColorScale()));
}

TEST(ColorScaleDictionary, DefaultFolderArrayHoldsThePresetsInOrder)
{
    const QVariantList folder = UFemColorScale::defaultPreferenceColorScaleFolderArray();
    const std::vector<std::tuple<QString, qint64, UFemColorScalePtr>> expected {
        { "Blue-Red ColorScale", 1100, UFemColorScale::blueToRedContinuousUnitColorScale() },
        { "Blue-Yellow|Red ColorScale", 1200,
            UFemColorScale::blueToYellowAndRedContinuousUnitColorScale() },
        { "Red-Blue-Red ColorScale", 1200, UFemColorScale::redBlueRedContinuousUnitColorScale() },
        { "Yellow-Blue-Yellow|Red ColorScale", 1200,
            UFemColorScale::yellowBlueYellowAndRedContinuousUnitColorScale() },
    };
    ASSERT_EQ(folder.size(), qsizetype(expected.size()));
    for (size_t index = 0; index < expected.size(); ++index) {
        const QVariantMap item = folder[qsizetype(index)].toMap();
        const auto& [name, hint, scale] = expected[index];
        EXPECT_EQ(item[UFemFolderItemNameStringPreferencesKey].toString(), name);
        EXPECT_EQ(item[UFemFolderItemOrderHintNumberPreferencesKey].toLongLong(), hint);
        EXPECT_EQ(item[UFemFolderItemObjectPreferencesKey].toMap(), *scale->preferenceColorScale());
    }
}
