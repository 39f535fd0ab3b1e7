#pragma once

#include "cardmodel/text/UFemModelTextTypes.h"

#include <QtGlobal>

// A stretch of the texts of a card array: from a location in the start card's text to an
// exclusive location in the end card's text. UFemRangeNotFound in a field means the field is not
// given: no start card is the first card, no start location 0, no end card the last card, no end
// location the end of the end card's text. All four not given as a result means nothing found.
struct _UFemSearchCardStringRange {
    quint64 startCardIndex = UFemRangeNotFound;
    quint64 startStringLocation = UFemRangeNotFound;
    quint64 endCardIndex = UFemRangeNotFound;
    quint64 endStringLocation = UFemRangeNotFound;

    bool isNotFound() const
    {
        return startCardIndex == UFemRangeNotFound && startStringLocation == UFemRangeNotFound
            && endCardIndex == UFemRangeNotFound && endStringLocation == UFemRangeNotFound;
    }

    friend bool operator==(const _UFemSearchCardStringRange&, const _UFemSearchCardStringRange&)
        = default;
};
