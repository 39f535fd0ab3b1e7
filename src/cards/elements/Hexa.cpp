#include "cards/elements/Hexa.h"

#include "cardmodel/card/UFemCardType.h"
#include "cards/UFemCardDrawing.h"
#include "cards/UFemCardValueTypeRegistration.h"
#include "cards/elements/UFemElementMatrixAddition.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "graphics/primitives/UGLSharedFaceTable.h"
#include "graphics/primitives/UGLSolidPrimitives.h"

#include <cmath>

namespace {

constexpr int HexaComponentCount = 6;
constexpr int HexaNodeValueCount = HexaComponentCount * int(UFemHexaNodeCount);

const UFemCardColumnShape hexaColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemElementCardType },
    { "Solid Prop", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemElementPropCardType },
    { "Node 1", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 2", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 3", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 4", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 5", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 6", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 7", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Node 8", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
};

const UFemConcreteCardClassShape hexaShape { "Hexa", UFemElementCardType, 160, hexaColumns };

const double* nodeNaturalPoints()
{
    return &UFemHexaNodeNaturalCoordinateTable[0][0];
}

void nodePointers(const double* nodePositionTable, const double* (&nodes)[UFemHexaNodeCount])
{
    for (quint64 node = 0; node < UFemHexaNodeCount; ++node)
        nodes[node] = nodePositionTable + node * UFemNodePositionTableStride;
}

} // namespace

Hexa::Hexa(UFemCardDataController* dataController)
    : UFemElementCard(cardClassObject(), hexaShape, dataController, UFemHexaNodeCount)
{
}

const UFemCardClass& Hexa::cardClassObject()
{
    return UFemCardClassObject<Hexa>(hexaShape, registerCardValueTypes);
}

void Hexa::registerCardValueTypes(UFemCardClassManager& cardClassManager)
{
    registerResultCardValueTypes(cardClassManager);
    volumeCardValueType_
        = UFemRegisterMajorCardValueType(cardClassManager, "Volume", 1, UFemCardValueNotRelated);
    registerMaterialAndNodeCardValueTypes(cardClassManager);
    gaussPointMinorCardValueType_ = UFemRegisterMinorCardValueType(cardClassManager, "gaussPoint");
}

UFemCardName* Hexa::nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const
{
    if (nodeNo >= UFemHexaNodeCount)
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    return nodeCardNameOrNull(nodeNo);
}

UErrorPtr Hexa::checkOwnErrorToRegister() const
{
    return sameNodeErrorToRegister("Some of Nodes ( Node 1 ~ Node 8 ) are same.");
}

UErrorPtr Hexa::checkOwnErrorToRun() const
{
    if (dynamic_cast<const UFemMaterialPropertySource*>(solidPropNameColumn().card()) != nullptr)
        return nullptr;
    return UFemCardRunError("Card '%@' (%@) does not return 'Material Property'.",
        solidPropNameColumn().cardNameString().value_or(QString()), "Solid Prop");
}

UErrorPtr Hexa::checkWarningToRun() const
{
    UErrorPtr error;
    const double elementVolume = volume(&error);
    if (error)
        return UFemUnexpectedError_withDescription(
            ULocalizedString("Failed while getting element volume."));
    // A NaN volume (a coordinate that is not a number) would otherwise run into the solver.
    if (!std::isfinite(elementVolume))
        return UFemCardWarningToRunWithErrorDescriptionString(
            ULocalizedString("Element Volume is not finite."));
    if (elementVolume <= 0.0)
        return UFemCardWarningToRunWithErrorDescriptionString(
            ULocalizedString("Element Volume is zero or negative."));
    return nullptr;
}

bool Hexa::getHexaElementMatrixWholeElementInfo(
    __UFemHexaElementMatrixWholeElementInfo* info, UErrorPtr* error) const
{
    return getMaterialProperty(&info->materialProperty, error)
        && getNodeLocationTable(&info->nodeLocationTable[0][0], error);
}

bool Hexa::getElementStiffnessMatrix(double* stiffnessMatrix, UErrorPtr* error) const
{
    __UFemHexaElementMatrixWholeElementInfo info;
    if (!getHexaElementMatrixWholeElementInfo(&info, error))
        return false;
    UFemHexaMakeElementStiffnessMatrix(stiffnessMatrix, info);
    return true;
}

bool Hexa::putElementStiffnessMatrixToMatrixCalculator(
    UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const
{
    double stiffness[UFemHexaStiffnessEntryCount];
    if (!getElementStiffnessMatrix(stiffness, error))
        return false;
    return putNodeBlocks(matrixCalculator, stiffness, error);
}

double Hexa::volume(UErrorPtr* error) const
{
    __UFemHexaElementMatrixWholeElementInfo info;
    if (!getHexaElementMatrixWholeElementInfo(&info, error))
        return 0.0;
    return UFemHexaVolume(info.nodeLocationTable);
}

bool Hexa::getElementInfoAndTranslations(__UFemHexaElementMatrixWholeElementInfo* info,
    double* displacement, const UFemCard* caseCard, UErrorPtr* error) const
{
    return getHexaElementMatrixWholeElementInfo(info, error)
        && getNodeTranslationTable(displacement, caseCard, error);
}

bool Hexa::getStrainMatrixTable(double* strainTable, const double* eTable, quint64 numberOfPoint,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    __UFemHexaElementMatrixWholeElementInfo info;
    double displacement[UFemHexaElementDOFCount];
    if (!getElementInfoAndTranslations(&info, displacement, caseCard, error))
        return false;
    UFemHexaMakeStrainTable(
        strainTable, eTable, numberOfPoint, info.nodeLocationTable, displacement);
    return true;
}

bool Hexa::getStressMatrixTable(double* stressTable, const double* eTable, quint64 numberOfPoint,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    __UFemHexaElementMatrixWholeElementInfo info;
    double displacement[UFemHexaElementDOFCount];
    if (!getElementInfoAndTranslations(&info, displacement, caseCard, error))
        return false;
    UFemHexaMakeStressTable(stressTable, eTable, numberOfPoint, info, displacement);
    return true;
}

bool Hexa::respondsToCardValueType(_UFemCardValueType cardValueType) const
{
    return isNodeResultCardValueType(cardValueType)
        || isPlainCardValueType(cardValueType,
            { volumeCardValueType_, youngsModulusCardValueType_, poissonsRatioCardValueType_ });
}

bool Hexa::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType cardValueType) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemClearCardValueArraySize(cardValueArraySize);
    if (!isNodeResultCardValueType(cardValueType))
        UFemSetCardValueArraySize(cardValueArraySize, 1, 1, 1);
    else if (cardValueType.majorCardValueType == vonMisesStressCardValueType_)
        UFemSetCardValueArraySize(cardValueArraySize, UFemHexaNodeCount, 1, 1);
    else
        UFemSetCardValueArraySize(cardValueArraySize, UFemHexaNodeCount, 1, HexaComponentCount);
    return true;
}

bool Hexa::getNodeForceValue(double* cardValue, const UFemCard* caseCard, UErrorPtr* error) const
{
    double stiffness[UFemHexaStiffnessEntryCount];
    double displacement[UFemHexaElementDOFCount];
    if (!getElementStiffnessMatrix(stiffness, error)
        || !getNodeTranslationTable(displacement, caseCard, error))
        return false;
    UFemMakeElementNodeForceTable(cardValue, stiffness, displacement, UFemHexaNodeCount);
    return true;
}

bool Hexa::getNodeStressValue(
    double* cardValue, bool isVonMises, const UFemCard* caseCard, UErrorPtr* error) const
{
    if (!isVonMises)
        return getStressMatrixTable(
            cardValue, nodeNaturalPoints(), UFemHexaNodeCount, caseCard, error);
    double stress[HexaNodeValueCount];
    if (!getStressMatrixTable(stress, nodeNaturalPoints(), UFemHexaNodeCount, caseCard, error))
        return false;
    for (quint64 node = 0; node < UFemHexaNodeCount; ++node)
        cardValue[node] = UFemHexaVonMisesStress(stress + HexaComponentCount * node);
    return true;
}

bool Hexa::getCardValue(double* cardValue, _UFemCardValueType cardValueType,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    if (!respondsToCardValueType(cardValueType))
        return UFemCardAbst::getCardValue(cardValue, cardValueType, caseCard, error);
    const quint32 major = cardValueType.majorCardValueType;
    if (major == elementStrainCardValueType_)
        return getStrainMatrixTable(
            cardValue, nodeNaturalPoints(), UFemHexaNodeCount, caseCard, error);
    if (major == elementStressCardValueType_ || major == vonMisesStressCardValueType_)
        return getNodeStressValue(
            cardValue, major == vonMisesStressCardValueType_, caseCard, error);
    if (major == elementNodeForceCardValueType_)
        return getNodeForceValue(cardValue, caseCard, error);
    if (major == volumeCardValueType_) {
        UErrorPtr volumeError;
        *cardValue = volume(&volumeError);
        if (volumeError)
            UFemSetError(error, volumeError);
        return !volumeError;
    }
    _UFemMaterialProperty material;
    if (!getMaterialProperty(&material, error))
        return false;
    *cardValue
        = major == youngsModulusCardValueType_ ? material.youngsModulus : material.poissonsRatio;
    return true;
}

bool Hexa::addSolidFacesToSharedFaceTable(
    UGLSharedFaceTable* table, const double* nodePositionTable) const
{
    const double* nodes[UFemHexaNodeCount];
    nodePointers(nodePositionTable, nodes);
    table->addHexahedron(nodes);
    return true;
}

bool Hexa::drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, const _UGLColor* color,
    const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
    const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo, UErrorPtr* error) const
{
    constexpr quint64 nodeCount = 8;
    _UGLColor nodeColors[nodeCount];
    const _UGLColor* nodeColorTable[nodeCount] = {};
    const UFemGraphicDrawingInfo* graphicDrawingInfo = UFemGraphicDrawingInfoOf(drawingInfo);
    if (!UFemGetElementNodeColors(cardInfoString(), nodeCount, colorCardValueArraySize,
            colorCardValue, colorScale, nodeColors, nodeColorTable, error)
        || graphicDrawingInfo == nullptr)
        return true;
    const double* nodes[UFemHexaNodeCount];
    nodePointers(nodePositionTable, nodes);
    UGLWriteHexahedronWithTables(drawingBuffer, nodes, nodeColorTable, color,
        graphicDrawingInfo->edgeDrawingInfoPtr(), graphicDrawingInfo);
    return true;
}
