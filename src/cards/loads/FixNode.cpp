#include "cards/loads/FixNode.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "cards/UFemDegreeOfFreedom.h"

namespace {

const UFemCardColumnShape fixNodeColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemRestraintCardType },
    { "Node", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemNodeCardType },
    { "Tx", CARD_COLUMN_TYPE_BOOL_VALUE, 0, false },
    { "Ty", CARD_COLUMN_TYPE_BOOL_VALUE, 0, false },
    { "Tz", CARD_COLUMN_TYPE_BOOL_VALUE, 0, false },
    { "Rx", CARD_COLUMN_TYPE_BOOL_VALUE, 0, false },
    { "Ry", CARD_COLUMN_TYPE_BOOL_VALUE, 0, false },
    { "Rz", CARD_COLUMN_TYPE_BOOL_VALUE, 0, false },
};

const UFemConcreteCardClassShape fixNodeShape { "FixNode", UFemRestraintCardType, 110,
    fixNodeColumns };

} // namespace

FixNode::FixNode(UFemCardDataController* dataController)
    : UFemOneNodeCaseLinkedCard(cardClassObject(), fixNodeShape, dataController)
{
}

const UFemCardClass& FixNode::cardClassObject()
{
    return UFemCardClassObject<FixNode>(fixNodeShape);
}

UFemCardName* FixNode::drawingNodeCardName() const
{
    return fixNodeNameColumn().cardName();
}

bool FixNode::putRestraintToMatrixCalculator(
    UFemMatrixCalculator& matrixCalculator, UErrorPtr*) const
{
    const UFemCardName* nodeName = fixNodeNameColumn().cardName();
    if (nodeName == nullptr)
        return true;
    for (quint64 direction6 = 0; direction6 < UFemNumberOfDirections6; ++direction6) {
        if (!fixFlagColumn(direction6).boolValue())
            continue;
        const UFemDegreeOfFreedom dof = UFemDegreeOfFreedomOfDirection6(direction6);
        matrixCalculator.addFixDisplacementRestraintWithNodeName(
            *nodeName, dof.rotation, dof.direction);
    }
    return true;
}

std::optional<QString> FixNode::toolTipStringAddition() const
{
    QString flags[UFemNumberOfDirections6];
    for (quint64 i = 0; i < UFemNumberOfDirections6; ++i)
        flags[i] = fixFlagColumn(i).boolValue() ? QStringLiteral("1") : QStringLiteral("0");
    return UFormattedString(
        "( Fix: %@ %@ %@ %@ %@ %@ )", flags[0], flags[1], flags[2], flags[3], flags[4], flags[5]);
}
