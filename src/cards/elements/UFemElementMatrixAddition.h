#pragma once

#include <QtGlobal>

// Small helpers that the element cards share. Plain loops over the caller's arrays: they keep no
// state and allocate nothing, so any thread may call them.

// True when none of the `count` values is infinite or NaN. A non-finite stiffness term handed to
// the solver would come back as a NaN result reported as success.
bool UFemIsEveryEntryFinite(const double* values, quint64 count);

// Node forces f = K u of an element whose degrees of freedom are the three translations of each of
// its `numberOfNode` nodes (K is square, row-major, 3 x numberOfNode rows). Writes six values per
// node into `nodeForceTable`: the three forces, then three zero moments.
void UFemMakeElementNodeForceTable(double* nodeForceTable, const double* stiffnessMatrix,
    const double* displacement, quint64 numberOfNode);
