#pragma once

#include "cards/UFemConcreteCard.h"
#include "cards/properties/UFemMaterialPropertySource.h"

// What the element property cards share: column 2 names a Material card whose property they pass
// on to the elements, and they answer that material's values beside their own section value.
class UFemElementPropertyCard : public UFemConcreteCard, public UFemMaterialPropertySource {
public:
    static constexpr quint64 materialNameColumnIndex = 2;

    // The property of the card that defines the Material name; error 42014 naming it when none.
    [[nodiscard]] bool getMaterialProperty(
        _UFemMaterialProperty* materialProperty, UErrorPtr* error) const override;

    bool respondsToCardValueType(_UFemCardValueType cardValueType) const override;
    bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        _UFemCardValueType cardValueType) const override;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const override;

    const UFemCardColumn& materialNameColumn() const { return column(materialNameColumnIndex); }

protected:
    using UFemConcreteCard::UFemConcreteCard;

    UErrorPtr checkOwnErrorToRun() const override;
    // The word of the class's own section value ("SectionArea", "Thickness"); 0 for none.
    virtual quint32 sectionCardValueType() const { return 0; }
    virtual double sectionCardValue() const { return 0.0; }
    // The minor type besides none that the class accepts; 0 for none.
    virtual quint32 acceptedMinorCardValueType() const { return 0; }

    static void registerMaterialCardValueTypes(UFemCardClassManager& cardClassManager);

private:
    static inline quint32 youngsModulusCardValueType_ = 0;
    static inline quint32 poissonsRatioCardValueType_ = 0;
};
