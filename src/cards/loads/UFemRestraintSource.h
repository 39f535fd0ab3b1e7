#pragma once

#include "foundation/errors/UError.h"

class UFemMatrixCalculator;

// A restraint card's part in a calculation: its restraints.
class UFemRestraintSource {
public:
    virtual ~UFemRestraintSource() = default;

    [[nodiscard]] virtual bool putRestraintToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const = 0;
};
