#pragma once

#include "foundation/errors/UError.h"

// An isotropic linear elastic material: Young's modulus, Poisson's ratio, shear modulus. Filled by
// the callee into a record the caller owns.
struct _UFemMaterialProperty {
    double youngsModulus = 0.0;
    double poissonsRatio = 0.0;
    double shearModulus = 0.0;
};

// A card that gives a material property: the Material card and the property cards that pass
// their material on. Elements find it on the card their property column names.
class UFemMaterialPropertySource {
public:
    virtual ~UFemMaterialPropertySource() = default;

    // On failure sets the error (program stop without an error pointer) and returns false.
    [[nodiscard]] virtual bool getMaterialProperty(
        _UFemMaterialProperty* materialProperty, UErrorPtr* error) const = 0;
};
