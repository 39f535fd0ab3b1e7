#include "ColorScaleTestSupport.h"

#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/colorscale/UFemColorScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace colorscaletest;

TEST(ColorScaleOverflow, RangesWhoseWidthOverflowsOrUnderflowsAreRefused)
{
    const UFemColorScalePtr scale = UFemColorScale::defaultUnitColorScale();
    const double largest = std::numeric_limits<double>::max();
    for (const auto& [min, max] : { std::pair { -1e308, 1e308 }, std::pair { -largest, largest },
             std::pair { 1e-320, 3e-320 } }) {
        SCOPED_TRACE(max);
        UErrorPtr error;
        EXPECT_FALSE(scale->setColorScaleValueRangeWithRangeMinValue(min, max, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 51002);
    }
    // Just inside both limits the colours are numbers.
    for (const auto& [min, max] : { std::pair { -1e307, 1e307 }, std::pair { 1e-300, 3e-300 } }) {
        ASSERT_TRUE(scale->setColorScaleValueRangeWithRangeMinValue(min, max, nullptr));
        expectColorNear(colorOf(*scale, (min + max) / 2), green);
        expectColorNear(colorOf(*scale, max), red);
    }
}

namespace {

// A unit scale (0..1, no range of its own) through the given stops, blue to red.
UErrorPtr unitScaleError(UFemColorScale& scale, const std::vector<double>& stops)
{
    std::vector<UFemColorScaleValueAndColor> points;
    for (double stop : stops)
        points.push_back({ stop, stop == stops.back() ? red : blue });
    UErrorPtr error;
    if (scale.setContinuousColorScaleWithIsValuedColorScale(
            false, "Tiny", points, darkBlue, darkRed, black, black, 1.0, 0.0, 1.0, &error))
        return nullptr;
    return error ? error : UFemUnexpectedError_withDescription("refused without an error");
}

} // namespace

TEST(ColorSlopeUnderflow, SlopesWhoseSpanUnderflowsAreRefusedAndNoColourIsNaN)
{
    // 1 / 1e-320 overflows: a slope of that span, or base ends that close, would give NaN colours.
    for (const std::vector<double>& stops :
        { std::vector { 0.0, 1e-320, 1.0 }, std::vector { 0.0, 1e-320 } }) {
        SCOPED_TRACE(stops.size());
        UFemColorScale scale;
        const UErrorPtr error = unitScaleError(scale, stops);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), 51002);
        EXPECT_TRUE(scale._colorScaleColorSlopeArray().empty());
    }

    // A slope of 1e-300 is fine on 0..1, but a range of 1e-10 maps it to 1e-310.
    UFemColorScale scale;
    ASSERT_FALSE(unitScaleError(scale, { 0.0, 1e-300, 1.0 }));
    const UFemColorScale before(scale);
    UErrorPtr error;
    EXPECT_FALSE(scale.setColorScaleValueRangeWithRangeMinValue(0.0, 1e-10, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), 51002);
    EXPECT_EQ(scale.preferenceColorScale(), before.preferenceColorScale());
    EXPECT_EQ(colorOf(scale, 0.5), colorOf(before, 0.5));

    // End colours far outside 0..1 overflow the blend itself; every colour is still a number.
    const double largest = std::numeric_limits<double>::max();
    ASSERT_TRUE(scale.setContinuousColorScaleWithIsValuedColorScale(false, "Wild",
        { { 0.0, { -largest, largest, 0.5, 1 } }, { 1.0, { largest, -largest, 0.5, 1 } } },
        darkBlue, darkRed, black, black, 1.0, 0.0, 1.0, nullptr));
    for (double value : { 0.0, 1e-300, 0.25, 0.5, 1.0 }) {
        const _UGLColor color = colorOf(scale, value);
        for (double component : { color.red, color.green, color.blue, color.alpha }) {
            EXPECT_GE(component, 0.0) << value;
            EXPECT_LE(component, 1.0) << value;
        }
    }
}
