#pragma once

#include "foundation/errors/UError.h"

class UFemMatrixCalculator;

// An element card's part in a calculation: its stiffness blocks. The calculation finds it on the
// model's element cards; the card never keeps the calculator.
class UFemElementStiffnessSource {
public:
    virtual ~UFemElementStiffnessSource() = default;

    [[nodiscard]] virtual bool putElementStiffnessMatrixToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const = 0;
};
