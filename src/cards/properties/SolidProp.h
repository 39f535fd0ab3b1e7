#pragma once

#include "cards/properties/UFemElementPropertyCard.h"

// The property of Hexa elements: a material.
class SolidProp : public UFemElementPropertyCard {
public:
    explicit SolidProp(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();

private:
    static void registerCardValueTypes(UFemCardClassManager& cardClassManager);
};
