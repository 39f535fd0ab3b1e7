#pragma once

#include "cardmodel/data/UFemCardSetManager.h"

#include <QtGlobal>

// What dividing the cards will hold at its fullest, known before any of it is made. The run goes
// through four stages, each holding more than the one before lets go of:
//   - the grids: per point a name, a location and a registry entry, and the element lines so far;
//   - writing the Node lines beside the names, the registry and the element lines;
//   - the finished text beside the element lines it is copied from (the registry freed);
//   - the text on the clipboard beside the UTF-8 copy a paste into another program takes.
// Points shared by neighbouring elements are counted for each, so that the estimate errs high.
struct UFemToolElementDividerMemoryEstimate {
    quint64 peakBytes = 0;
    // The characters of the element lines, so that their block is allocated once.
    quint64 dividedElementCharacters = 0;

    static UFemToolElementDividerMemoryEstimate forDivision(
        const UFemCardVector& cards, quint64 numberOfDivide);
};
