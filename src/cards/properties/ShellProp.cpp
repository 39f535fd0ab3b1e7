#include "cards/properties/ShellProp.h"

#include "cardmodel/card/UFemCardType.h"
#include "cards/UFemCardValueTypeRegistration.h"

namespace {

const UFemCardColumnShape shellPropColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemElementPropCardType },
    { "Material", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemMaterialCardType },
    { "Thickness", CARD_COLUMN_TYPE_FLOAT_VALUE },
};

const UFemConcreteCardClassShape shellPropShape { "ShellProp", UFemElementPropCardType, 120,
    shellPropColumns };

} // namespace

ShellProp::ShellProp(UFemCardDataController* dataController)
    : UFemElementPropertyCard(cardClassObject(), shellPropShape, dataController)
{
}

const UFemCardClass& ShellProp::cardClassObject()
{
    return UFemCardClassObject<ShellProp>(shellPropShape, registerCardValueTypes);
}

void ShellProp::registerCardValueTypes(UFemCardClassManager& cardClassManager)
{
    thicknessCardValueType_
        = UFemRegisterMajorCardValueType(cardClassManager, "Thickness", 1, UFemCardValueNotRelated);
    registerMaterialCardValueTypes(cardClassManager);
}

double ShellProp::thickness(UErrorPtr*) const
{
    return thicknessValueColumn().doubleValue();
}
