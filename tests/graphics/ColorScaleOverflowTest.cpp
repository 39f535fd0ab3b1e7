#include "ColorScaleTestSupport.h"

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
