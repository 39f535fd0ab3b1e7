#pragma once

#include "foundation/UGLColor.h"
#include "graphics/colorscale/UFemColorScale.h"

#include <gtest/gtest.h>

#include <QVariantMap>

namespace colorscaletest {

constexpr _UGLColor black { 0, 0, 0, 1 };
constexpr _UGLColor blue { 0, 0, 1, 1 };
constexpr _UGLColor cyan { 0, 1, 1, 1 };
constexpr _UGLColor green { 0, 1, 0, 1 };
constexpr _UGLColor yellow { 1, 1, 0, 1 };
constexpr _UGLColor red { 1, 0, 0, 1 };
constexpr _UGLColor darkBlue { 0, 0, 0.4, 1 };
constexpr _UGLColor darkRed { 0.4, 0, 0, 1 };

inline _UGLColor mean(const _UGLColor& a, const _UGLColor& b)
{
    return { (a.red + b.red) / 2, (a.green + b.green) / 2, (a.blue + b.blue) / 2,
        (a.alpha + b.alpha) / 2 };
}

inline void expectColorNear(
    const _UGLColor& actual, const _UGLColor& expected, double tolerance = 1e-12)
{
    EXPECT_NEAR(actual.red, expected.red, tolerance);
    EXPECT_NEAR(actual.green, expected.green, tolerance);
    EXPECT_NEAR(actual.blue, expected.blue, tolerance);
    EXPECT_NEAR(actual.alpha, expected.alpha, tolerance);
}

inline _UGLColor colorOf(const UFemColorScale& scale, double value)
{
    _UGLColor color { -1, -1, -1, -1 };
    scale.getUGLColor(&color, value);
    return color;
}

} // namespace colorscaletest
