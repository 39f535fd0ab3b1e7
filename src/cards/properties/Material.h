#pragma once

#include "cards/UFemConcreteCard.h"
#include "cards/properties/UFemMaterialPropertySource.h"

// An isotropic linear elastic material: Young's modulus and Poisson's ratio.
class Material : public UFemConcreteCard, public UFemMaterialPropertySource {
public:
    explicit Material(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    // Never fails; G = E / (2 (1 + nu)).
    [[nodiscard]] bool getMaterialProperty(
        _UFemMaterialProperty* materialProperty, UErrorPtr* error) const override;

    UErrorPtr checkErrorToRun() const override { return nullptr; }
    bool respondsToCardValueType(_UFemCardValueType cardValueType) const override;
    bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        _UFemCardValueType cardValueType) const override;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const override;

    const UFemCardColumn& youngsModulusValueColumn() const { return column(2); }
    const UFemCardColumn& poissonsRatioValueColumn() const { return column(3); }

protected:
    UErrorPtr checkOwnErrorToRegister() const override;

private:
    _UFemMaterialProperty materialProperty() const;
    static void registerCardValueTypes(UFemCardClassManager& cardClassManager);

    static inline quint32 youngsModulusCardValueType_ = 0;
    static inline quint32 poissonsRatioCardValueType_ = 0;
};
