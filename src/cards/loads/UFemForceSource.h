#pragma once

#include "foundation/errors/UError.h"

class UFemCardName;
class UFemMatrixCalculator;

// A force card's part in a calculation: its loads, times the factor, in the named case.
class UFemForceSource {
public:
    virtual ~UFemForceSource() = default;

    [[nodiscard]] virtual bool putForceMatrixToMatrixCalculator(
        UFemMatrixCalculator& matrixCalculator, double forceFactor, const UFemCardName& caseName,
        UErrorPtr* error) const = 0;
};
