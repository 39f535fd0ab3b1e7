#include "cards/elements/Rod.h"

#include "cardmodel/card/UFemCardType.h"
#include "cards/UFemCardDrawing.h"
#include "cards/UFemCardValueTypeRegistration.h"
#include "cards/elements/UFemElementMatrixAddition.h"
#include "cards/elements/UFemRodElementMatrix.h"
#include "cards/properties/UFemSectionAreaSource.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "graphics/primitives/UGLCylinderPrimitives.h"

#include <cmath>

namespace {

constexpr quint64 RodNodeCount = 2;
constexpr int RodStiffnessEntryCount = 36;
constexpr int RodComponentCount = 6;

const UFemCardColumnShape rodColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemElementCardType },
    { "Rod Prop", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemElementPropCardType },
    { "Node 1", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 2", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
};

const UFemConcreteCardClassShape rodShape { "Rod", UFemElementCardType, 100, rodColumns };

// The same value at both ends.
void putAtBothNodes(double* cardValue, const double* value, int count)
{
    for (quint64 nodeNo = 0; nodeNo < RodNodeCount; ++nodeNo)
        for (int i = 0; i < count; ++i)
            cardValue[nodeNo * count + i] = value[i];
}

} // namespace

Rod::Rod(UFemCardDataController* dataController)
    : UFemElementCard(cardClassObject(), rodShape, dataController, RodNodeCount)
{
}

const UFemCardClass& Rod::cardClassObject()
{
    return UFemCardClassObject<Rod>(rodShape, registerCardValueTypes);
}

void Rod::registerCardValueTypes(UFemCardClassManager& cardClassManager)
{
    registerResultCardValueTypes(cardClassManager);
    rodForceCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "RodForce", 1, UFemCardValueResultRelated);
    lengthCardValueType_
        = UFemRegisterMajorCardValueType(cardClassManager, "Length", 1, UFemCardValueNotRelated);
    sectionAreaCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "SectionArea", 1, UFemCardValueNotRelated);
    registerMaterialAndNodeCardValueTypes(cardClassManager);
}

UFemCardName* Rod::nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const
{
    if (nodeNo >= RodNodeCount)
        return UFemCardAbst::nodeCardNameForDrawingWithNodeNo(nodeNo);
    return nodeCardNameOrNull(nodeNo);
}

UErrorPtr Rod::checkOwnErrorToRegister() const
{
    return sameNodeErrorToRegister("Node 1 and Node 2 are same.");
}

UErrorPtr Rod::checkOwnErrorToRun() const
{
    const UFemCard* property = rodPropNameColumn().card();
    if (dynamic_cast<const UFemSectionAreaSource*>(property) != nullptr
        && dynamic_cast<const UFemMaterialPropertySource*>(property) != nullptr)
        return nullptr;
    return UFemCardRunError(
        "Card '%@' (%@) does not return 'Section Area', or 'Material Property'.",
        rodPropNameColumn().cardNameString().value_or(QString()), "Rod Prop");
}

double Rod::length(UErrorPtr* error) const
{
    double locations[6];
    if (!getNodeLocationTable(locations, error))
        return 0.0;
    return UFemRodLength(locations, locations + 3);
}

double Rod::sectionArea(UErrorPtr* error) const
{
    const auto* source = dynamic_cast<const UFemSectionAreaSource*>(rodPropNameColumn().card());
    if (source == nullptr) {
        UFemSetError(error,
            UFemNoCardRegisteredToGetValueForCardNameError_withCardNameString(
                rodPropNameColumn().cardNameString().value_or(QString())));
        return 0.0;
    }
    return source->sectionArea(error);
}

bool Rod::getElementStiffnessMatrix(double* stiffnessMatrix, UErrorPtr* error) const
{
    double locations[6];
    _UFemMaterialProperty material;
    UErrorPtr areaError;
    if (!getNodeLocationTable(locations, error) || !getMaterialProperty(&material, error))
        return false;
    const double area = sectionArea(&areaError);
    if (areaError) {
        UFemSetError(error, areaError);
        return false;
    }
    UFemRodMakeElementStiffnessMatrix(
        stiffnessMatrix, locations, locations + 3, material.youngsModulus, area);
    return true;
}

bool Rod::putElementStiffnessMatrixToMatrixCalculator(
    UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const
{
    double stiffness[RodStiffnessEntryCount];
    if (!getElementStiffnessMatrix(stiffness, error))
        return false;
    return putNodeBlocks(matrixCalculator, stiffness, error);
}

bool Rod::getAxialStrain(double* axialStrain, _UFemMaterialProperty* materialProperty,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    double locations[6];
    double displacement[6];
    if (!getNodeLocationTable(locations, error) || !getMaterialProperty(materialProperty, error)
        || !getNodeTranslationTable(displacement, caseCard, error))
        return false;
    *axialStrain = UFemRodAxialStrain(locations, locations + 3, displacement, displacement + 3);
    return true;
}

bool Rod::getRodStrainMatrix(double* strain, const UFemCard* caseCard, UErrorPtr* error) const
{
    double axialStrain = 0.0;
    _UFemMaterialProperty material;
    if (!getAxialStrain(&axialStrain, &material, caseCard, error))
        return false;
    UFemRodMakeStrainVector(strain, axialStrain, material.poissonsRatio);
    return true;
}

bool Rod::getRodStressMatrix(double* stress, const UFemCard* caseCard, UErrorPtr* error) const
{
    double axialStrain = 0.0;
    _UFemMaterialProperty material;
    if (!getAxialStrain(&axialStrain, &material, caseCard, error))
        return false;
    UFemRodMakeStressVector(stress, axialStrain, material.youngsModulus);
    return true;
}

bool Rod::respondsToCardValueType(_UFemCardValueType cardValueType) const
{
    if (isNodeResultCardValueType(cardValueType))
        return true;
    if (cardValueType.majorCardValueType == rodForceCardValueType_
        && (cardValueType.minorCardValueType == 0
            || cardValueType.minorCardValueType == nodeMinorCardValueType_))
        return cardValueType.majorCardValueType != 0;
    return isPlainCardValueType(cardValueType,
        { lengthCardValueType_, sectionAreaCardValueType_, youngsModulusCardValueType_,
            poissonsRatioCardValueType_ });
}

bool Rod::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType cardValueType) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemClearCardValueArraySize(cardValueArraySize);
    const quint32 major = cardValueType.majorCardValueType;
    if (major == vonMisesStressCardValueType_ || major == rodForceCardValueType_)
        UFemSetCardValueArraySize(cardValueArraySize, RodNodeCount, 1, 1);
    else if (isNodeResultCardValueType(cardValueType))
        UFemSetCardValueArraySize(cardValueArraySize, RodNodeCount, 1, RodComponentCount);
    else
        UFemSetCardValueArraySize(cardValueArraySize, 1, 1, 1);
    return true;
}

bool Rod::getNodeForceValue(double* cardValue, const UFemCard* caseCard, UErrorPtr* error) const
{
    double stiffness[RodStiffnessEntryCount];
    double displacement[6];
    if (!getElementStiffnessMatrix(stiffness, error)
        || !getNodeTranslationTable(displacement, caseCard, error))
        return false;
    UFemMakeElementNodeForceTable(cardValue, stiffness, displacement, RodNodeCount);
    return true;
}

bool Rod::getStressValue(
    double* cardValue, quint32 major, const UFemCard* caseCard, UErrorPtr* error) const
{
    double stress[RodComponentCount];
    if (!getRodStressMatrix(stress, caseCard, error))
        return false;
    if (major == elementStressCardValueType_) {
        putAtBothNodes(cardValue, stress, RodComponentCount);
        return true;
    }
    double value = std::abs(stress[0]);
    if (major == rodForceCardValueType_) {
        UErrorPtr areaError;
        value = sectionArea(&areaError) * stress[0];
        if (areaError) {
            UFemSetError(error, areaError);
            return false;
        }
    }
    putAtBothNodes(cardValue, &value, 1);
    return true;
}

bool Rod::getElementValue(double* cardValue, quint32 major, UErrorPtr* error) const
{
    if (major == youngsModulusCardValueType_ || major == poissonsRatioCardValueType_) {
        _UFemMaterialProperty material;
        if (!getMaterialProperty(&material, error))
            return false;
        *cardValue = major == youngsModulusCardValueType_ ? material.youngsModulus
                                                          : material.poissonsRatio;
        return true;
    }
    UErrorPtr valueError;
    *cardValue = major == lengthCardValueType_ ? length(&valueError) : sectionArea(&valueError);
    if (valueError)
        UFemSetError(error, valueError);
    return !valueError;
}

bool Rod::getCardValue(double* cardValue, _UFemCardValueType cardValueType,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemCardAbst::getCardValue(cardValue, cardValueType, caseCard, error);
    const quint32 major = cardValueType.majorCardValueType;
    if (major == elementStrainCardValueType_) {
        double strain[RodComponentCount];
        if (!getRodStrainMatrix(strain, caseCard, error))
            return false;
        putAtBothNodes(cardValue, strain, RodComponentCount);
        return true;
    }
    if (major == elementNodeForceCardValueType_)
        return getNodeForceValue(cardValue, caseCard, error);
    if (major == elementStressCardValueType_ || major == vonMisesStressCardValueType_
        || major == rodForceCardValueType_)
        return getStressValue(cardValue, major, caseCard, error);
    return getElementValue(cardValue, major, error);
}

bool Rod::drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, const _UGLColor* color,
    const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
    const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo, UErrorPtr* error) const
{
    constexpr quint64 nodeCount = 2;
    _UGLColor endColors[nodeCount];
    const _UGLColor* ends[nodeCount] = {};
    const UFemGraphicDrawingInfo* graphicDrawingInfo = UFemGraphicDrawingInfoOf(drawingInfo);
    if (!UFemGetElementNodeColors(cardInfoString(), nodeCount, colorCardValueArraySize,
            colorCardValue, colorScale, endColors, ends, error)
        || graphicDrawingInfo == nullptr)
        return true;
    UGLWriteRod(drawingBuffer, nodePositionTable, ends[0],
        nodePositionTable + UFemNodePositionTableStride, ends[1], color,
        graphicDrawingInfo->edgeDrawingInfoPtr(), graphicDrawingInfo,
        graphicDrawingInfo->rodDiaSize());
    return true;
}
