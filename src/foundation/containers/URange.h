#pragma once

#include <QtGlobal>

// A range of UTF-16 code units (or of any indexes): a start and a count.
struct URange {
    quint64 location = 0;
    quint64 length = 0;

    friend bool operator==(const URange&, const URange&) = default;
};

// Whether `range` lies inside [0, size), written so that location + length cannot overflow.
inline bool URangeIsWithin(const URange& range, quint64 size)
{
    return range.location <= size && range.length <= size - range.location;
}
