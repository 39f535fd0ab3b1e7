#include "cards/loads/Case.h"

#include "cardmodel/card/UFemCardType.h"

#include <algorithm>

namespace {

const QString linearStatic = QStringLiteral("LINEAR_STATIC");

const UFemCardColumnShape caseColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemCaseCardType },
    { "Calc Type", CARD_COLUMN_TYPE_STRING_VALUE },
    { "Restraint", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemRestraintCardType },
    { "Force", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemForceCardType },
};

const UFemConcreteCardClassShape caseShape { "Case", UFemCaseCardType, 100, caseColumns };

} // namespace

Case::Case(UFemCardDataController* dataController)
    : UFemConcreteCard(cardClassObject(), caseShape, dataController)
{
}

const QStringList& Case::calculationTypeStrings()
{
    static const QStringList strings { linearStatic };
    return strings;
}

const UFemCardClass& Case::cardClassObject()
{
    return UFemCardClassObject<Case>(caseShape);
}

UFemCardName* Case::restraintCardName() const
{
    const UFemCardColumn& c = restraintNameColumn();
    return c.isEmptyColumn() ? nullptr : c.cardName();
}

UFemCardName* Case::forceCardName() const
{
    const UFemCardColumn& c = forceNameColumn();
    return c.isEmptyColumn() ? nullptr : c.cardName();
}

bool Case::isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const
{
    return &caseCard == this;
}

bool Case::isRelatedToCaseWithCaseCardArray(const std::vector<UFemCard*>& caseCardArray) const
{
    return std::find(caseCardArray.begin(), caseCardArray.end(), this) != caseCardArray.end();
}

UErrorPtr Case::checkOwnErrorToRegister() const
{
    if (calculationTypeStringColumn().stringValue() == linearStatic)
        return nullptr;
    return UFemCardRegisterError("Column '%@' (Column 3) must be \"LINEAR_STATIC\".", "Calc Type");
}
