#pragma once

#include "cards/properties/UFemElementPropertyCard.h"
#include "cards/properties/UFemThicknessSource.h"

// The property of Quad elements: a material and a thickness.
class ShellProp : public UFemElementPropertyCard, public UFemThicknessSource {
public:
    explicit ShellProp(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    // Never fails; no range test.
    double thickness(UErrorPtr* error) const override;

    const UFemCardColumn& thicknessValueColumn() const { return column(3); }

protected:
    quint32 sectionCardValueType() const override { return thicknessCardValueType_; }
    double sectionCardValue() const override { return thickness(nullptr); }

private:
    static void registerCardValueTypes(UFemCardClassManager& cardClassManager);

    static inline quint32 thicknessCardValueType_ = 0;
};
