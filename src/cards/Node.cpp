#include "cards/Node.h"

#include "cards/UFemCardDrawing.h"
#include "graphics/colorscale/UFemColorScale.h"
#include "graphics/primitives/UGLBallPrimitives.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "cards/UFemCardValueTypeRegistration.h"
#include "cards/loads/Case.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsCardValue.h"

namespace {

constexpr quint16 displacementVectorCount = 6;
constexpr quint16 locationVectorCount = 3;

const UFemCardColumnShape nodeColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemNodeCardType },
    { "Coord", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemCoordCardType, false },
    { "X", CARD_COLUMN_TYPE_FLOAT_VALUE },
    { "Y", CARD_COLUMN_TYPE_FLOAT_VALUE },
    { "Z", CARD_COLUMN_TYPE_FLOAT_VALUE },
};

const UFemConcreteCardClassShape nodeShape { "Node", UFemNodeCardType, 100, nodeColumns };

quint64 caseNumberOf(const UFemCard* caseCard)
{
    const auto* typed = dynamic_cast<const Case*>(caseCard);
    return typed != nullptr ? typed->caseNo() : UFemNotFound;
}

} // namespace

Node::Node(UFemCardDataController* dataController)
    : UFemNodeDrawnCard(cardClassObject(), nodeShape, dataController)
{
}

const UFemCardClass& Node::cardClassObject()
{
    return UFemCardClassObject<Node>(nodeShape, registerCardValueTypes);
}

void Node::registerCardValueTypes(UFemCardClassManager& cardClassManager)
{
    displacementCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "Displacement", displacementVectorCount, UFemCardValueResultRelated);
    locationCardValueType_ = UFemRegisterMajorCardValueType(
        cardClassManager, "Location", locationVectorCount, UFemCardValuePointRelated);
}

const Node* Node::nodeCardOfColumn(const UFemCardColumn& column, UErrorPtr* error)
{
    const auto* node = dynamic_cast<const Node*>(column.card());
    if (node == nullptr) {
        UFemSetError(error,
            UFemNoCardRegisteredToGetValueForCardNameError_withCardNameString(
                column.cardNameString().value_or(QString())));
    }
    return node;
}

void Node::getNodeLocation(double nodeLocation[3]) const
{
    nodeLocation[0] = xValueColumn().doubleValue();
    nodeLocation[1] = yValueColumn().doubleValue();
    nodeLocation[2] = zValueColumn().doubleValue();
}

UErrorPtr Node::checkOwnErrorToRegister() const
{
    if (coordNameColumn().isEmptyColumn())
        return nullptr;
    return UFemCardRegisterError("Column '%@' (column 3) must be empty.", "Coord");
}

const UFemResultDataManager* Node::resultDataManager() const
{
    const auto* controller = dynamic_cast<const UFemDataController*>(dataController());
    return controller != nullptr ? controller->resultDataManager() : nullptr;
}

bool Node::getNodeDisplacement(double* nodeDisplacement, quint8* nodeDOFState,
    quint64 translationOrRotation, const UFemCard* caseCard, UErrorPtr* error) const
{
    return getNodeDisplacement(
        nodeDisplacement, nodeDOFState, translationOrRotation, caseCard, nullptr, error);
}

bool Node::getNodeDisplacement(double* nodeDisplacement, quint8* nodeDOFState,
    quint64 translationOrRotation, const UFemCard* caseCard,
    std::optional<QString>* calculationErrorString, UErrorPtr* error) const
{
    const UFemResultDataManager* manager = resultDataManager();
    const quint64 caseNo = caseNumberOf(caseCard);
    // A node or a case added after the calculation, or no calculation at all, has no result.
    if (manager == nullptr || nodeNo_ == UFemNotFound || caseNo == UFemNotFound) {
        const int count = ((translationOrRotation & UFemRotationIndexSetTranslation) != 0 ? 3 : 0)
            + ((translationOrRotation & UFemRotationIndexSetRotation) != 0 ? 3 : 0);
        for (int i = 0; i < count; ++i) {
            nodeDisplacement[i] = 0.0;
            if (nodeDOFState != nullptr)
                nodeDOFState[i] = noResultDOFState;
        }
        if (calculationErrorString != nullptr)
            calculationErrorString->reset();
        return true;
    }
    UErrorPtr resultError;
    if (manager->getNodeDisplacement(nodeDisplacement, nodeDOFState, nodeNo_, translationOrRotation,
            caseNo, calculationErrorString, &resultError))
        return true;
    UFemSetError(error, resultError);
    return false;
}

bool Node::respondsToCardValueType(_UFemCardValueType cardValueType) const
{
    return UFemIsCardValueType(cardValueType, displacementCardValueType_)
        || UFemIsCardValueType(cardValueType, locationCardValueType_)
        || UFemCardAbst::respondsToCardValueType(cardValueType);
}

bool Node::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType cardValueType) const
{
    if (UFemIsCardValueType(cardValueType, displacementCardValueType_)) {
        UFemSetCardValueArraySize(cardValueArraySize, 1, 1, displacementVectorCount);
        return true;
    }
    if (UFemIsCardValueType(cardValueType, locationCardValueType_)) {
        UFemSetCardValueArraySize(cardValueArraySize, 1, 1, locationVectorCount);
        return true;
    }
    return UFemCardAbst::getCardValueArraySize(cardValueArraySize, cardValueType);
}

bool Node::getCardValue(double* cardValue, _UFemCardValueType cardValueType,
    const UFemCard* caseCard, UErrorPtr* error) const
{
    if (UFemIsCardValueType(cardValueType, locationCardValueType_)) {
        getNodeLocation(cardValue);
        return true;
    }
    if (UFemIsCardValueType(cardValueType, displacementCardValueType_)) {
        quint8 states[displacementVectorCount];
        return getNodeDisplacement(
            cardValue, states, UFemRotationIndexSetBoth, caseCard, nullptr, error);
    }
    return UFemCardAbst::getCardValue(cardValue, cardValueType, caseCard, error);
}

std::optional<QString> Node::toolTipStringAddition() const
{
    const auto text
        = [](const UFemCardColumn& c) { return c.columnString().value_or(QStringLiteral("0.0")); };
    return UFormattedString(
        "( %@, %@, %@ )", text(xValueColumn()), text(yValueColumn()), text(zValueColumn()));
}

void Node::drawAtNodes(UGLDrawingBuffer* drawingBuffer, const double* nodePositionTable,
    const _UGLColor* color, const _UFemCardValueArraySize* colorCardValueArraySize,
    const double* colorCardValue, const UFemColorScale* colorScale,
    const UFemGraphicDrawingInfo& drawingInfo) const
{
    _UGLColor valueColor;
    if (colorCardValueArraySize != nullptr && colorCardValueArraySize->numberOfPoints != 0
        && colorScale != nullptr) {
        colorScale->getUGLColor(&valueColor, colorCardValue[0]);
        color = &valueColor;
    }
    UGLWriteNodeMarker(
        drawingBuffer, nodePositionTable, color, &drawingInfo, drawingInfo.nodeSize());
}

bool Node::getCenterPosition(double* centerPosition, const double* nodePositionTable) const
{
    for (int i = 0; i < 3; ++i)
        centerPosition[i] = nodePositionTable[i];
    return true;
}
