#pragma once

#include <cmath>

// The merge rule of the value ranges: a number replaces a maximum that is not a number or smaller.
inline void UFemMergeValueRangeMaximum(double* maximum, double value)
{
    if (!std::isnan(value) && (std::isnan(*maximum) || *maximum < value))
        *maximum = value;
}
