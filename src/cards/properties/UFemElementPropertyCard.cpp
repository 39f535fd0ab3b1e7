#include "cards/properties/UFemElementPropertyCard.h"

#include "cards/UFemCardValueTypeRegistration.h"
#include "foundation/errors/UFemErrorsCardValue.h"

void UFemElementPropertyCard::registerMaterialCardValueTypes(UFemCardClassManager& cardClassManager)
{
    youngsModulusCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "YoungsModulus", 1, UFemCardValueNotRelated);
    poissonsRatioCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "PoissonsRatio", 1, UFemCardValueNotRelated);
}

bool UFemElementPropertyCard::getMaterialProperty(
    _UFemMaterialProperty* materialProperty, UErrorPtr* error) const
{
    const UFemCard* material = materialNameColumn().card();
    const auto* source = dynamic_cast<const UFemMaterialPropertySource*>(material);
    if (source == nullptr) {
        UFemSetError(error,
            UFemNoCardRegisteredToGetValueForCardNameError_withCardNameString(
                materialNameColumn().cardNameString().value_or(QString())));
        return false;
    }
    UErrorPtr materialError;
    if (source->getMaterialProperty(materialProperty, &materialError))
        return true;
    UFemSetError(error, materialError);
    return false;
}

UErrorPtr UFemElementPropertyCard::checkOwnErrorToRun() const
{
    const UFemCard* material = materialNameColumn().card();
    if (dynamic_cast<const UFemMaterialPropertySource*>(material) != nullptr)
        return nullptr;
    return UFemCardRunError("Card '%@' (%@) does not return 'Material Property'.",
        materialNameColumn().cardNameString().value_or(QString()), "Material");
}

bool UFemElementPropertyCard::respondsToCardValueType(_UFemCardValueType cardValueType) const
{
    const quint32 minor = cardValueType.minorCardValueType;
    if (minor != 0 && (minor != acceptedMinorCardValueType() || acceptedMinorCardValueType() == 0))
        return false;
    const quint32 major = cardValueType.majorCardValueType;
    return major != 0
        && (major == sectionCardValueType() || major == youngsModulusCardValueType_
            || major == poissonsRatioCardValueType_);
}

bool UFemElementPropertyCard::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType cardValueType) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemClearCardValueArraySize(cardValueArraySize);
    UFemSetCardValueArraySize(cardValueArraySize, 1, 1, 1);
    return true;
}

bool UFemElementPropertyCard::getCardValue(double* cardValue, _UFemCardValueType cardValueType,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemConcreteCard::getCardValue(cardValue, cardValueType, caseCard, error);
    const quint32 major = cardValueType.majorCardValueType;
    if (major == sectionCardValueType()) {
        *cardValue = sectionCardValue();
        return true;
    }
    _UFemMaterialProperty property;
    if (!getMaterialProperty(&property, error))
        return false;
    *cardValue
        = major == youngsModulusCardValueType_ ? property.youngsModulus : property.poissonsRatio;
    return true;
}
