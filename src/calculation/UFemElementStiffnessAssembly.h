#pragma once

#include "foundation/errors/UError.h"

#include <QtGlobal>

#include <functional>

class UFemMatrixCalculator;

// Puts one element's stiffness into a calculator; false with an error when it cannot.
using UFemPutElementStiffness
    = std::function<bool(quint64 elementNo, UFemMatrixCalculator& target, UErrorPtr* error)>;

// Puts the stiffness of elements 0 .. elementCount - 1 into `calculator`, stopping at the first
// element that fails. With more than one thread the elements' matrices are made on the foreground
// thread pool a slice of elements per thread, and the calling thread puts them in element order,
// so that the assembled stiffness is the same bit for bit whatever the thread count.
// `putElement` must be safe to call for different elements at once.
[[nodiscard]] bool UFemPutElementStiffnessInOrder(quint64 elementCount, quint64 threadCount,
    const UFemPutElementStiffness& putElement, UFemMatrixCalculator& calculator, UErrorPtr* error);
