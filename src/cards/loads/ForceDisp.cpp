#include "cards/loads/ForceDisp.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/card/UFemMatrixCalculator.h"
#include "cards/UFemDegreeOfFreedom.h"

namespace {

const UFemCardColumnShape forceDispColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemRestraintCardType },
    { "DOF", UFemDegreeOfFreedomColumnType, UFemNodeCardType },
    { "Value", CARD_COLUMN_TYPE_FLOAT_VALUE },
};

const UFemConcreteCardClassShape forceDispShape { "ForceDisp", UFemRestraintCardType, 120,
    forceDispColumns };

} // namespace

ForceDisp::ForceDisp(UFemCardDataController* dataController)
    : UFemOneNodeCaseLinkedCard(cardClassObject(), forceDispShape, dataController)
{
}

const UFemCardClass& ForceDisp::cardClassObject()
{
    return UFemCardClassObject<ForceDisp>(forceDispShape);
}

UFemCardName* ForceDisp::drawingNodeCardName() const
{
    return restraintDegreeOfFreedomColumn().nodeCardName();
}

bool ForceDisp::putRestraintToMatrixCalculator(
    UFemMatrixCalculator& matrixCalculator, UErrorPtr*) const
{
    const UFemCardColumn& dofColumn = restraintDegreeOfFreedomColumn();
    const UFemCardName* nodeName = dofColumn.nodeCardName();
    if (nodeName == nullptr)
        return true;
    const UFemDegreeOfFreedom dof = UFemDegreeOfFreedomOfDirection6(dofColumn.direction6());
    matrixCalculator.addForceDisplacementRestraintWithDisplacementValue(
        displacementValueColumn().doubleValue(), *nodeName, dof.rotation, dof.direction);
    return true;
}

std::optional<QString> ForceDisp::toolTipStringAddition() const
{
    const UFemCardColumn& dofColumn = restraintDegreeOfFreedomColumn();
    const QString dofText = dofColumn.isEmptyColumn()
        ? QString()
        : UFormattedString("%@@%@", dofColumn.nodeCardNameString().value_or(QString()),
            UFemDirection6String(dofColumn.direction6()));
    return UFormattedString(
        "( %@ = %@ )", dofText, displacementValueColumn().columnString().value_or(QString()));
}
