#include "cards/elements/UFemElementCard.h"

#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "cards/Node.h"
#include "cards/UFemCardValueTypeRegistration.h"
#include "cards/elements/UFemElementMatrixAddition.h"
#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsRunCalculation.h"

#include <vector>

namespace {

constexpr quint64 UFemNodeTranslations = 3;
constexpr quint64 UFemNodePositionStride = 6;
constexpr quint64 UFemBlockEntryCount = 9;

} // namespace

UFemElementCard::UFemElementCard(const UFemCardClass& cardClass,
    const UFemConcreteCardClassShape& shape, UFemCardDataController* dataController,
    quint64 nodeCount)
    : UFemConcreteCard(cardClass, shape, dataController)
    , nodeCount_(nodeCount)
{
}

UFemCardName* UFemElementCard::nodeCardNameOrNull(quint64 nodeNo) const
{
    return nodeNo < nodeCount_ ? nodeNameColumn(nodeNo).cardName() : nullptr;
}

quint64 UFemElementCard::getNodeCardNamesForDrawingToNodeCardNameTable(
    UFemCardName** nodeCardNameTable, quint64 nodeCardNameTableSize,
    std::vector<UFemCardName*>* overflowNodeCardNameTable) const
{
    // A table too small gets the names in the overflow block instead of past its end.
    UFemCardName** names = nodeCardNameTable;
    if (nodeCardNameTableSize < nodeCount_) {
        if (overflowNodeCardNameTable == nullptr)
            return nodeCount_;
        overflowNodeCardNameTable->assign(nodeCount_, nullptr);
        names = overflowNodeCardNameTable->data();
    }
    for (quint64 nodeNo = 0; nodeNo < nodeCount_; ++nodeNo)
        names[nodeNo] = nodeCardNameOrNull(nodeNo);
    return nodeCount_;
}

bool UFemElementCard::getCenterPosition(
    double* centerPosition, const double* nodePositionTable) const
{
    for (quint64 axis = 0; axis < UFemNodeTranslations; ++axis) {
        double sum = 0.0;
        for (quint64 nodeNo = 0; nodeNo < nodeCount_; ++nodeNo)
            sum += nodePositionTable[UFemNodePositionStride * nodeNo + axis];
        centerPosition[axis] = sum * (1.0 / double(nodeCount_));
    }
    return true;
}

std::optional<QString> UFemElementCard::toolTipStringAddition() const
{
    return ULocalizedFormattedString(
        "( Property: %@ )", propertyNameColumn().columnString().value_or(QString()));
}

bool UFemElementCard::getNodeLocation(double* location, quint64 nodeNo, UErrorPtr* error) const
{
    const Node* node = Node::nodeCardOfColumn(nodeNameColumn(nodeNo), error);
    if (node == nullptr)
        return false;
    node->getNodeLocation(location);
    return true;
}

bool UFemElementCard::getNodeLocationTable(double* locationTable, UErrorPtr* error) const
{
    for (quint64 nodeNo = 0; nodeNo < nodeCount_; ++nodeNo) {
        if (!getNodeLocation(locationTable + UFemNodeTranslations * nodeNo, nodeNo, error))
            return false;
    }
    return true;
}

bool UFemElementCard::getNodeTranslationTable(
    double* displacement, const UFemCard* caseCard, UErrorPtr* error) const
{
    for (quint64 nodeNo = 0; nodeNo < nodeCount_; ++nodeNo) {
        const Node* node = Node::nodeCardOfColumn(nodeNameColumn(nodeNo), error);
        quint8 state[UFemNodeTranslations];
        if (node == nullptr
            || !node->getNodeDisplacement(displacement + UFemNodeTranslations * nodeNo, state,
                UFemRotationIndexSetTranslation, caseCard, error))
            return false;
    }
    return true;
}

bool UFemElementCard::getMaterialProperty(
    _UFemMaterialProperty* materialProperty, UErrorPtr* error) const
{
    const auto* source
        = dynamic_cast<const UFemMaterialPropertySource*>(propertyNameColumn().card());
    if (source == nullptr) {
        UFemSetError(error,
            UFemNoCardRegisteredToGetValueForCardNameError_withCardNameString(
                propertyNameColumn().cardNameString().value_or(QString())));
        return false;
    }
    return source->getMaterialProperty(materialProperty, error);
}

bool UFemElementCard::putNodeBlocks(
    UFemMatrixCalculator& matrixCalculator, const double* stiffnessMatrix, UErrorPtr* error) const
{
    const quint64 size = UFemNodeTranslations * nodeCount_;
    if (!UFemIsEveryEntryFinite(stiffnessMatrix, size * size)) {
        UFemSetError(error,
            UFemCalculationFailedWhileSetupError_withDescription(
                ULocalizedFormattedString("The stiffness of %@ '%@' is not finite.",
                    cardLabelString(), cardNameString().value_or(QString())),
                ULocalizedString("Check that the element's nodes are apart and that its length, "
                                 "area or volume, section and material are not zero.")));
        return false;
    }
    for (quint64 i = 0; i < nodeCount_; ++i) {
        for (quint64 j = 0; j < nodeCount_; ++j) {
            double block[UFemBlockEntryCount];
            for (quint64 r = 0; r < UFemNodeTranslations; ++r)
                for (quint64 c = 0; c < UFemNodeTranslations; ++c)
                    block[UFemNodeTranslations * r + c]
                        = stiffnessMatrix[(UFemNodeTranslations * i + r) * size
                            + UFemNodeTranslations * j + c];
            matrixCalculator.addStiffnessMatrix(
                block, *nodeCardNameOrNull(i), 0, *nodeCardNameOrNull(j), 0);
        }
    }
    return true;
}

UErrorPtr UFemElementCard::sameNodeErrorToRegister(const char* message) const
{
    std::vector<const UFemCardColumn*> nodeColumns;
    for (quint64 nodeNo = 0; nodeNo < nodeCount_; ++nodeNo)
        nodeColumns.push_back(&nodeNameColumn(nodeNo));
    if (!UFemCardColumn::existsSameCardNameWithCardColumnArray(nodeColumns))
        return nullptr;
    return UFemCardRegisterError(message);
}

void UFemElementCard::registerResultCardValueTypes(UFemCardClassManager& cardClassManager)
{
    vonMisesStressCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "VonMisesStress", 1, UFemCardValueResultRelated);
    elementStressCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "ElementStress", 6, UFemCardValueResultRelated);
    elementStrainCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "ElementStrain", 6, UFemCardValueResultRelated);
    elementNodeForceCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "ElementNodeForce", 6, UFemCardValueResultRelated);
}

void UFemElementCard::registerMaterialAndNodeCardValueTypes(UFemCardClassManager& cardClassManager)
{
    youngsModulusCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "YoungsModulus", 1, UFemCardValueNotRelated);
    poissonsRatioCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "PoissonsRatio", 1, UFemCardValueNotRelated);
    nodeMinorCardValueType_ = UFemRegisterMinorCardValueType(cardClassManager, "node");
}

bool UFemElementCard::isNodeResultCardValueType(_UFemCardValueType cardValueType)
{
    const quint32 minor = cardValueType.minorCardValueType;
    if (minor != 0 && minor != nodeMinorCardValueType_)
        return false;
    const quint32 major = cardValueType.majorCardValueType;
    return major != 0
        && (major == vonMisesStressCardValueType_ || major == elementStressCardValueType_
            || major == elementStrainCardValueType_ || major == elementNodeForceCardValueType_);
}

bool UFemElementCard::isPlainCardValueType(
    _UFemCardValueType cardValueType, std::initializer_list<quint32> majors)
{
    if (cardValueType.minorCardValueType != 0 || cardValueType.majorCardValueType == 0)
        return false;
    for (quint32 major : majors) {
        if (cardValueType.majorCardValueType == major)
            return true;
    }
    return false;
}
