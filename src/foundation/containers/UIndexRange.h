#pragma once

#include <cstdint>

// A run of indexes: `length` indexes from `location`.
struct UIndexRange {
    uint64_t location = 0;
    uint64_t length = 0;
};

// The "not found" answer of index searches in arrays: the largest signed 64-bit value, distinct
// from the all-ones word that stands for "none" elsewhere.
inline constexpr uint64_t UNSNotFound = uint64_t(INT64_MAX);
