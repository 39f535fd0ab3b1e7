#pragma once

#include <QtGlobal>

// How a scale factor or the colour range of the 3-D view is known.
enum UFemValueStatus : quint64 {
    UFemValueStatusNotUsed = 0,
    // Given by the settings, or already settled from a value range.
    UFemValueStatusGiven = 1,
    // To be settled from a background value range.
    UFemValueStatusAuto = 2,
};
