#pragma once

#include "calculation/UFemWFCalculationSlotLayout.h"
#include "calculation/UFemWFMatrixCalculationThreadTaskContext.h"
#include "calculation/solver/UFemWFNodeMatrices.h"
#include "foundation/errors/UError.h"

#include <memory>

// Copying one restraint set's node equations into the solver's paged matrices, in slot order.
// Only degrees of freedom whose state is Valid are copied; the others stay zero rows and columns,
// which the solver leaves at a displacement of zero. Only the lower block triangle of the
// stiffness is written: the solver reads no other part.

// Writes (not adds) the 3x3 node block coupling the triples in rowSlot and columnSlot; a direction
// whose state byte is not Valid is left out.
void UFemWFWriteStiffnessBlockToCalculationMatrix(_USparseMatrix* matrix, const double* nodeBlock,
    quint64 rowSlot, quint64 columnSlot, const _UFemNode3DOFState& rowStates,
    const _UFemNode3DOFState& columnStates);
// Writes `count` (at most 12) consecutive cases from `firstCase` (a multiple of 12) of one slot;
// `vectors` holds three doubles per case.
void UFemWFWriteForceVectorsToCalculationMatrix(_USparseMatrix* matrix, const double* vectors,
    quint64 slot, quint64 firstCase, quint64 count, const _UFemNode3DOFState& states);
void UFemWFWriteForceVectorToCalculationMatrix(_USparseMatrix* matrix, const double* vector,
    quint64 slot, quint64 caseIndex, const _UFemNode3DOFState& states);

// A solver task, set up to run, holding the matrices' stiffness and loads in the layout's slots;
// null without an error when there is nothing to solve (no slot or no case), null with the
// error when the solver's set-up fails (81001 when the solution would take more than
// `memoryLimit` bytes; 0 takes the memory available). The stiffness's page rows are written on
// `threadCount` threads; the matrices' pages follow `pagePolicy`.
[[nodiscard]] std::unique_ptr<UFemWFMatrixCalculationThreadTaskContext>
UFemWFBuildCalculationThreadTaskContext(const UFemWFNodeMatrices& matrices,
    const UFemWFCalculationSlotLayout& layout, const UFemWFMatrixCalculationDelegate* delegate,
    quint64 memoryLimit, quint64 threadCount, UMemoryPagePolicy pagePolicy, UErrorPtr* error);
