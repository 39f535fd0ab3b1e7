#pragma once

#include <QtGlobal>

// The shape of the value array a card fills: a leading count that the caller sets, then the
// number of points, of section points and of vector values. A card without values clears all four.
struct _UFemCardValueArraySize {
    quint16 leadingCount = 0;
    quint16 numberOfPoints = 0;
    quint16 numberOfSectionPoints = 0;
    quint16 numberOfVectorValues = 0;
};
