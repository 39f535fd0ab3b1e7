#pragma once

#include "foundation/errors/UError.h"

// A card that gives the section area of a rod.
class UFemSectionAreaSource {
public:
    virtual ~UFemSectionAreaSource() = default;

    virtual double sectionArea(UErrorPtr* error) const = 0;
};
