#pragma once

#include "foundation/errors/UError.h"

#include <QtGlobal>

#include <functional>

class UFemMatrixCalculator;
class UFemNodeStiffnessTarget;

// Puts one element's stiffness into a calculator; false with an error when it cannot. Elements put
// stiffness blocks only.
using UFemPutElementStiffness
    = std::function<bool(quint64 elementNo, UFemMatrixCalculator& target, UErrorPtr* error)>;

// Puts the stiffness of elements 0 .. elementCount - 1 into `target`, stopping at the first element
// that fails (the blocks of every element before it are put). Node names become node numbers once
// per element. With more than one thread, slices of elements are made on the foreground thread
// pool, then each thread puts the blocks of the rows it owns, in element order: every block of the
// target takes its sums in the same order whatever the thread count, so the assembled stiffness is
// the same bit for bit. `putElement` must be safe to call for different elements at once.
[[nodiscard]] bool UFemPutElementStiffnessInOrder(quint64 elementCount, quint64 threadCount,
    const UFemPutElementStiffness& putElement, UFemNodeStiffnessTarget& target, UErrorPtr* error);
