#include "cards/properties/RodProp.h"

#include "cardmodel/card/UFemCardType.h"
#include "cards/UFemCardValueTypeRegistration.h"

namespace {

const UFemCardColumnShape rodPropColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemElementPropCardType },
    { "Material", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemMaterialCardType },
    { "Section Area", CARD_COLUMN_TYPE_FLOAT_VALUE },
};

const UFemConcreteCardClassShape rodPropShape { "RodProp", UFemElementPropCardType, 100,
    rodPropColumns };

} // namespace

RodProp::RodProp(UFemCardDataController* dataController)
    : UFemElementPropertyCard(cardClassObject(), rodPropShape, dataController)
{
}

const UFemCardClass& RodProp::cardClassObject()
{
    return UFemCardClassObject<RodProp>(rodPropShape, registerCardValueTypes);
}

void RodProp::registerCardValueTypes(UFemCardClassManager& cardClassManager)
{
    sectionAreaCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "SectionArea", 1, UFemCardValueNotRelated);
    registerMaterialCardValueTypes(cardClassManager);
    nodeMinorCardValueType_ = UFemRegisterMinorCardValueType(cardClassManager, "node");
}

double RodProp::sectionArea(UErrorPtr*) const
{
    return sectionAreaValueColumn().doubleValue();
}
