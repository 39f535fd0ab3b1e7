#pragma once

#include "cards/properties/UFemElementPropertyCard.h"
#include "cards/properties/UFemSectionAreaSource.h"

// The property of Rod elements: a material and a section area.
class RodProp : public UFemElementPropertyCard, public UFemSectionAreaSource {
public:
    explicit RodProp(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

    // Never fails; no range test.
    double sectionArea(UErrorPtr* error) const override;

    const UFemCardColumn& sectionAreaValueColumn() const { return column(3); }

protected:
    quint32 sectionCardValueType() const override { return sectionAreaCardValueType_; }
    double sectionCardValue() const override { return sectionArea(nullptr); }
    quint32 acceptedMinorCardValueType() const override { return nodeMinorCardValueType_; }

private:
    static void registerCardValueTypes(UFemCardClassManager& cardClassManager);

    static inline quint32 sectionAreaCardValueType_ = 0;
    static inline quint32 nodeMinorCardValueType_ = 0;
};
