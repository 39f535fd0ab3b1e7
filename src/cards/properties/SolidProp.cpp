#include "cards/properties/SolidProp.h"

#include "cardmodel/card/UFemCardType.h"

namespace {

const UFemCardColumnShape solidPropColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemElementPropCardType },
    { "Material", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemMaterialCardType },
};

const UFemConcreteCardClassShape solidPropShape { "SolidProp", UFemElementPropCardType, 130,
    solidPropColumns };

} // namespace

SolidProp::SolidProp(UFemCardDataController* dataController)
    : UFemElementPropertyCard(cardClassObject(), solidPropShape, dataController)
{
}

const UFemCardClass& SolidProp::cardClassObject()
{
    return UFemCardClassObject<SolidProp>(solidPropShape, registerCardValueTypes);
}

void SolidProp::registerCardValueTypes(UFemCardClassManager& cardClassManager)
{
    registerMaterialCardValueTypes(cardClassManager);
}
