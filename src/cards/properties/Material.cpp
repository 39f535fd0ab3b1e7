#include "cards/properties/Material.h"

#include "cardmodel/card/UFemCardType.h"
#include "cards/UFemCardValueTypeRegistration.h"

namespace {

constexpr double poissonsRatioLimit = 0.5;

const UFemCardColumnShape materialColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemMaterialCardType },
    { "Youngs Modulus", CARD_COLUMN_TYPE_FLOAT_VALUE },
    { "Poissons Ratio", CARD_COLUMN_TYPE_FLOAT_VALUE },
};

const UFemConcreteCardClassShape materialShape { "Material", UFemMaterialCardType, 100,
    materialColumns };

} // namespace

Material::Material(UFemCardDataController* dataController)
    : UFemConcreteCard(cardClassObject(), materialShape, dataController)
{
}

const UFemCardClass& Material::cardClassObject()
{
    return UFemCardClassObject<Material>(materialShape, registerCardValueTypes);
}

void Material::registerCardValueTypes(UFemCardClassManager& cardClassManager)
{
    youngsModulusCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "YoungsModulus", 1, UFemCardValueNotRelated);
    poissonsRatioCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "PoissonsRatio", 1, UFemCardValueNotRelated);
}

_UFemMaterialProperty Material::materialProperty() const
{
    const double e = youngsModulusValueColumn().doubleValue();
    const double nu = poissonsRatioValueColumn().doubleValue();
    return _UFemMaterialProperty { e, nu, 0.5 * e / (nu + 1.0) };
}

bool Material::getMaterialProperty(_UFemMaterialProperty* materialProperty, UErrorPtr*) const
{
    *materialProperty = this->materialProperty();
    return true;
}

UErrorPtr Material::checkOwnErrorToRegister() const
{
    const double nu = materialProperty().poissonsRatio;
    if (nu < 0.0 || nu >= poissonsRatioLimit) {
        return UFemCardRegisterError(
            "'%@' value (column 4) must be in range '0.0 ~ 0.5'. ( %@ = %f )", "Poissons Ratio",
            "Poissons Ratio", nu);
    }
    return nullptr;
}

bool Material::respondsToCardValueType(_UFemCardValueType cardValueType) const
{
    return UFemIsCardValueType(cardValueType, youngsModulusCardValueType_)
        || UFemIsCardValueType(cardValueType, poissonsRatioCardValueType_);
}

bool Material::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType cardValueType) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemClearCardValueArraySize(cardValueArraySize);
    UFemSetCardValueArraySize(cardValueArraySize, 1, 1, 1);
    return true;
}

bool Material::getCardValue(double* cardValue, _UFemCardValueType cardValueType,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemConcreteCard::getCardValue(cardValue, cardValueType, caseCard, error);
    const _UFemMaterialProperty property = materialProperty();
    *cardValue = UFemIsCardValueType(cardValueType, youngsModulusCardValueType_)
        ? property.youngsModulus
        : property.poissonsRatio;
    return true;
}
