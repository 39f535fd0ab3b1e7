#pragma once

#include "calculation/UFemWFMatrixCalculationContext.h"

// The bytes the factor, the substitutions and the solution of a solver set-up will take at most:
// L filled over its whole page envelope (`envelopePageCount` pages below and on the diagonal, the
// widest row `maxPageBandWidth` pages), D, Y and X for the context's case blocks, and the rotating
// U records. Known before any of it is allocated.
quint64 UFemWFEstimateCalculationMatrixMemory(const _UFemWFMatrixCalculationContext& context,
    quint64 envelopePageCount, quint64 maxPageBandWidth);
