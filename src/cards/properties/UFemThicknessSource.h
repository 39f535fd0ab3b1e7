#pragma once

#include "foundation/errors/UError.h"

// A card that gives the thickness of a shell.
class UFemThicknessSource {
public:
    virtual ~UFemThicknessSource() = default;

    virtual double thickness(UErrorPtr* error) const = 0;
};
