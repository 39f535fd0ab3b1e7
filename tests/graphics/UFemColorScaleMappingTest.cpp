#include "ColorScaleTestSupport.h"

#include "foundation/UColorAddition.h"
#include "graphics/colorscale/UFemColorScaleKeys.h"

#include <cmath>
#include <limits>
#include <thread>

using namespace colorscaletest;

namespace {

constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

struct Preset {
    const char* name;
    UFemColorScalePtr (*make)();
    std::vector<UFemColorScaleValueAndColor> stops;
    _UGLColor under;
    _UGLColor over;
};

std::vector<Preset> presets()
{
    return {
        { "Blue-Red ColorScale", &UFemColorScale::blueToRedContinuousUnitColorScale,
            { { 0, blue }, { 0.25, cyan }, { 0.5, green }, { 0.75, yellow }, { 1, red } }, darkBlue,
            darkRed },
        { "Blue-Yellow|Red ColorScale", &UFemColorScale::blueToYellowAndRedContinuousUnitColorScale,
            { { 0, blue }, { 1.0 / 3, cyan }, { 2.0 / 3, green }, { 1, yellow } }, blue, red },
        { "Red-Blue-Red ColorScale", &UFemColorScale::redBlueRedContinuousUnitColorScale,
            { { 0, red }, { 0.125, yellow }, { 0.25, green }, { 0.375, cyan }, { 0.5, blue },
                { 0.625, cyan }, { 0.75, green }, { 0.875, yellow }, { 1, red } },
            darkRed, darkRed },
        { "Yellow-Blue-Yellow|Red ColorScale",
            &UFemColorScale::yellowBlueYellowAndRedContinuousUnitColorScale,
            { { 0, yellow }, { 1.0 / 6, green }, { 1.0 / 3, cyan }, { 0.5, blue },
                { 2.0 / 3, cyan }, { 5.0 / 6, green }, { 1, yellow } },
            red, red },
    };
}

// Two slopes that do not meet: blue to green over 0..0.5, red to yellow over 0.5..1.
QVariantMap splitScaleDictionary()
{
    const QVariantList slopes {
        QVariantList {
            0.0, 0.5, UPreferenceColorWithUGLColor(blue), UPreferenceColorWithUGLColor(green) },
        QVariantList {
            0.5, 1.0, UPreferenceColorWithUGLColor(red), UPreferenceColorWithUGLColor(yellow) },
    };
    const QVariantMap base {
        { UFemColorScaleIsValuedColorScaleKey, false },
        { UFemColorScaleNameStringKey, QStringLiteral("Split") },
        { UFemColorScaleColorSlopeArray, slopes },
        { UFemColorScaleSeparateLineArray, QVariantList() },
        { UFemColorScaleInvalidValueColorKey, UPreferenceColorWithUGLColor(black) },
    };
    return { { UFemColorScaleBaseColorScaleKey, base } };
}

} // namespace

TEST(ColorScaleMapping, BlueRedPresetMatchesHandValues)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    EXPECT_EQ(scale->colorScaleNameString(), "Blue-Red ColorScale");
    EXPECT_FALSE(scale->isValuedColorScale());
    EXPECT_EQ(scale->colorScaleRangeMinValue(), 0.0);
    EXPECT_EQ(scale->colorScaleRangeMaxValue(), 1.0);
    expectColorNear(colorOf(*scale, 0.0), blue);
    expectColorNear(colorOf(*scale, 0.125), { 0, 0.5, 1, 1 });
    expectColorNear(colorOf(*scale, 0.25), cyan);
    expectColorNear(colorOf(*scale, 1.0), red);
    EXPECT_EQ(colorOf(*scale, -0.01), darkBlue);
    EXPECT_EQ(colorOf(*scale, 1.01), darkRed);
    EXPECT_EQ(colorOf(*scale, notANumber), black);
    EXPECT_EQ(colorOf(*scale, -std::numeric_limits<double>::infinity()), darkBlue);
    EXPECT_EQ(colorOf(*scale, std::numeric_limits<double>::infinity()), darkRed);
    double r = -1, g = -1, b = -1, a = -1;
    scale->getRed(&r, &g, &b, &a, 0.375);
    expectColorNear({ r, g, b, a }, mean(cyan, green));
    EXPECT_EQ(scale->colorWithValue(0.375), colorOf(*scale, 0.375));
}

TEST(ColorScaleMapping, EveryPresetAtStopsMidpointsAndOutsideTheRange)
{
    for (const Preset& preset : presets()) {
        SCOPED_TRACE(preset.name);
        const UFemColorScalePtr scale = preset.make();
        EXPECT_EQ(scale->colorScaleNameString(), preset.name);
        ASSERT_EQ(scale->_colorScaleColorSlopeArray().size(), preset.stops.size() - 1);
        for (size_t index = 0; index < preset.stops.size(); ++index) {
            expectColorNear(colorOf(*scale, preset.stops[index].value), preset.stops[index].color);
            if (index == 0)
                continue;
            const auto& previous = preset.stops[index - 1];
            const auto& stop = preset.stops[index];
            expectColorNear(colorOf(*scale, (previous.value + stop.value) / 2),
                mean(previous.color, stop.color));
        }
        EXPECT_EQ(colorOf(*scale, -1e-9), preset.under);
        EXPECT_EQ(colorOf(*scale, 1 + 1e-9), preset.over);
        EXPECT_EQ(colorOf(*scale, notANumber), black);
    }
}

TEST(ColorScaleMapping, BoundaryTakesTheLowerSlopeAndExtrapolationIsClamped)
{
    UFemColorScale scale;
    ASSERT_TRUE(scale.setColorScaleWithPreferenceColorScale(splitScaleDictionary(), nullptr));
    EXPECT_EQ(colorOf(scale, 0.5), green);
    EXPECT_EQ(colorOf(scale, std::nextafter(0.5, 1.0)).red, 1.0);
    // Colours missing from the dictionary read as transparent black.
    EXPECT_EQ(colorOf(scale, -0.5), _UGLColor());

    // A gap between two slopes is served by the upper one extrapolated backwards: over 0.75..1
    // red rises and blue falls by 4 per unit, so at 0.5 they would be -1 and 2 unclamped.
    UFemColorScale extrapolated;
    QVariantMap dictionary = splitScaleDictionary();
    QVariantMap base = dictionary[UFemColorScaleBaseColorScaleKey].toMap();
    base[UFemColorScaleColorSlopeArray] = QVariantList {
        QVariantList {
            0.0, 0.25, UPreferenceColorWithUGLColor(blue), UPreferenceColorWithUGLColor(cyan) },
        QVariantList { 0.75, 1.0, UPreferenceColorWithUGLColor({ 0, 0.5, 1, 1 }),
            UPreferenceColorWithUGLColor({ 1, 0.5, 0, 1 }) },
    };
    dictionary[UFemColorScaleBaseColorScaleKey] = base;
    ASSERT_TRUE(extrapolated.setColorScaleWithPreferenceColorScale(dictionary, nullptr));
    EXPECT_EQ(colorOf(extrapolated, 0.5), _UGLColor({ 0, 0.5, 1, 1 }));
    expectColorNear(colorOf(extrapolated, 0.875), { 0.5, 0.5, 0.5, 1 });
    EXPECT_EQ(extrapolated.slopeColorWithValue(2.0), _UGLColor({ 1, 0.5, 0, 1 }));
}

TEST(ColorScaleMapping, EmptyScaleGivesTransparentBlack)
{
    UFemColorScale scale;
    EXPECT_EQ(colorOf(scale, 0.5), _UGLColor());
    EXPECT_EQ(colorOf(scale, notANumber), _UGLColor());
    double r = -1, g = -1, b = -1, a = -1;
    scale.getRed(&r, &g, &b, &a, 0.5);
    EXPECT_EQ(_UGLColor({ r, g, b, a }), _UGLColor());
    EXPECT_FALSE(scale.preferenceColorScale());
    EXPECT_TRUE(scale.separateLineArrayWithRangeLowValue(-1, 2).empty());

    // Applying none empties a built scale again.
    const UFemColorScalePtr preset = UFemColorScale::defaultUnitColorScale();
    ASSERT_TRUE(preset->setColorScaleWithPreferenceColorScale(std::nullopt, nullptr));
    EXPECT_EQ(colorOf(*preset, 0.5), _UGLColor());
    EXPECT_TRUE(preset->colorScaleNameString().isEmpty());
}

TEST(ColorScaleMapping, SeparateLinesInsideAWindow)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    const auto values = [](const std::vector<UFemColorScaleSeparateLine>& lines) {
        std::vector<double> result;
        for (const auto& line : lines)
            result.push_back(line.separateValue());
        return result;
    };
    EXPECT_EQ(values(scale->separateLineArrayWithRangeLowValue(0, 1)),
        std::vector<double>({ 0.25, 0.5, 0.75 }));
    EXPECT_EQ(values(scale->separateLineArrayWithRangeLowValue(-1, 2)),
        std::vector<double>({ 0, 0.25, 0.5, 0.75, 1 }));
    EXPECT_TRUE(scale->separateLineArrayWithRangeLowValue(0.3, 0.45).empty());
    EXPECT_TRUE(scale->separateLineArrayWithRangeLowValue(1, 5).empty());

    // The end lines carry the black line and the range colours; the middle ones no line.
    const auto& lines = scale->colorScaleSeparateLineArray();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].separateLineColor(), black);
    EXPECT_EQ(lines[0].separateLineWidth(), 1.0);
    EXPECT_EQ(lines[0].colorUnderSeparateValue(), darkBlue);
    EXPECT_EQ(lines[0].colorOverSeparateValue(), blue);
    EXPECT_FALSE(lines[2].separateLineColor());
    EXPECT_EQ(lines[2].colorUnderSeparateValue(), green);
    EXPECT_EQ(lines[4].colorOverSeparateValue(), darkRed);

    const UFemColorScaleSeparateLine copy = lines[4];
    EXPECT_EQ(copy.separateLineColor(), lines[4].separateLineColor());
    EXPECT_EQ(copy.colorUnderSeparateValue(), lines[4].colorUnderSeparateValue());
    EXPECT_EQ(copy.colorOverSeparateValue(), lines[4].colorOverSeparateValue());
}

TEST(ColorScaleMapping, CopyIsDeep)
{
    const UFemColorScalePtr original = UFemColorScale::defaultUnitColorScale();
    const QImage legend = original->colorScaleLabelImageForMenuItem();
    const UFemColorScale copy(*original);
    ASSERT_TRUE(original->setColorScaleValueRangeWithRangeMinValue(100, 200, nullptr));
    ASSERT_TRUE(original->setColorSwapped(true, nullptr));
    EXPECT_EQ(colorOf(copy, 0.0), blue);
    EXPECT_EQ(copy.colorScaleRangeMaxValue(), 1.0);
    EXPECT_FALSE(copy.isColorSwapped());
    EXPECT_EQ(copy.colorScaleLabelImageForMenuItem(), legend);
    EXPECT_NE(original->colorScaleLabelImageForMenuItem(), legend);
}

// Drawing threads read one built scale at once, and may ask for its legend.
TEST(ColorScaleThreads, ConcurrentColoursAndLegendsAgree)
{
    const UFemColorScalePtr scale = UFemColorScale::redBlueRedContinuousUnitColorScale();
    constexpr int threadCount = 4;
    constexpr int sampleCount = 2000;
    std::vector<_UGLColor> expected;
    for (int index = 0; index <= sampleCount; ++index)
        expected.push_back(colorOf(*scale, double(index) / sampleCount));
    std::vector<int> mismatches(threadCount, 0);
    std::vector<QImage> legends(threadCount);
    std::vector<std::thread> threads;
    for (int thread = 0; thread < threadCount; ++thread) {
        threads.emplace_back([&, thread] {
            legends[size_t(thread)]
                = scale->colorScaleLabelImageForMenuItemWithImageResolutionPer72(1.0 + thread % 2);
            for (int index = 0; index <= sampleCount; ++index)
                mismatches[size_t(thread)]
                    += colorOf(*scale, double(index) / sampleCount) != expected[size_t(index)];
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int thread = 0; thread < threadCount; ++thread) {
        EXPECT_EQ(mismatches[size_t(thread)], 0);
        EXPECT_EQ(legends[size_t(thread)].width(), thread % 2 == 0 ? 111 : 222);
    }
}
