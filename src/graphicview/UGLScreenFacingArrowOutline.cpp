#include "graphicview/UGLScreenFacingArrowOutline.h"

#include <cmath>

namespace {

// Below this squared sine between arrow and view axis the arrow points at the viewer.
constexpr double parallelLimit = 2.5e-7;

} // namespace

bool UGLMakeScreenFacingArrowOutline(double rodWidth, double headSize, double outline[21],
    const double base[3], const double vector[3], const double viewAxis[3])
{
    const double length
        = std::sqrt(vector[0] * vector[0] + vector[1] * vector[1] + vector[2] * vector[2]);
    const double axisLength = std::sqrt(
        viewAxis[0] * viewAxis[0] + viewAxis[1] * viewAxis[1] + viewAxis[2] * viewAxis[2]);
    if (length == 0.0 || axisLength == 0.0)
        return false;
    double u[3];
    double a[3];
    for (int i = 0; i < 3; ++i) {
        u[i] = vector[i] / length;
        a[i] = viewAxis[i] / axisLength;
    }
    double s[3]
        = { u[1] * a[2] - u[2] * a[1], u[2] * a[0] - u[0] * a[2], u[0] * a[1] - u[1] * a[0] };
    const double sideSquared = s[0] * s[0] + s[1] * s[1] + s[2] * s[2];
    if (sideSquared <= parallelLimit)
        return false;
    const double sideLength = std::sqrt(sideSquared);
    const double rod = rodWidth / 2.0;
    const double halfHead = headSize / 2.0;
    for (int i = 0; i < 3; ++i) {
        s[i] /= sideLength;
        const double tip = base[i] + vector[i];
        const double neck = tip - headSize * u[i];
        outline[0 + i] = base[i] + s[i] * rod;
        outline[3 + i] = neck + s[i] * rod;
        outline[6 + i] = neck + s[i] * halfHead;
        outline[9 + i] = tip;
        outline[12 + i] = neck - s[i] * halfHead;
        outline[15 + i] = neck - s[i] * rod;
        outline[18 + i] = base[i] - s[i] * rod;
    }
    return true;
}
