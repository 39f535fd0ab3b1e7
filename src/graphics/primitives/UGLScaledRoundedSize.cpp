#include "graphics/primitives/UGLScaledRoundedSize.h"

#include <cmath>
#include <limits>

namespace {

quint64 scaledRounded(double value, double scale)
{
    // 2^64 as a double; anything at or above it has no unsigned 64-bit value.
    constexpr double unsignedLimit = 18446744073709551616.0;
    const double rounded = value * scale + 0.5;
    if (!(rounded >= 0.0))
        return 0;
    if (rounded >= unsignedLimit)
        return std::numeric_limits<quint64>::max();
    return quint64(rounded);
}

} // namespace

void UGLScaledRoundedIntegerSize(
    double width, double height, double scale, quint64* outWidth, quint64* outHeight)
{
    *outWidth = scaledRounded(width, scale);
    *outHeight = scaledRounded(height, scale);
}

QSizeF UGLScaledRoundedSize(double width, double height, double scale)
{
    quint64 pixelWidth = 0;
    quint64 pixelHeight = 0;
    UGLScaledRoundedIntegerSize(width, height, scale, &pixelWidth, &pixelHeight);
    return QSizeF(double(pixelWidth), double(pixelHeight));
}
