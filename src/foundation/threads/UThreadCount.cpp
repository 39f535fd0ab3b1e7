#include "foundation/threads/UThreadCount.h"

namespace {
constexpr double RoundingOffset = 0.6;
constexpr double UInt64Range = 18446744073709551616.0; // 2^64
} // namespace

quint64 UThreadCountWithThreadCountFactor(quint64 count, quint64 maximum, double factor)
{
    const double product = double(count) * factor + RoundingOffset;
    // Negative, NaN and below-one products all truncate to 0; converting them would be undefined.
    if (!(product >= 1.0))
        return 1;
    if (product >= UInt64Range)
        return maximum;
    const quint64 n = quint64(product);
    return n < maximum ? n : maximum;
}
