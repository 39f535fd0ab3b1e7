#include "cards/loads/RestraintSet.h"

#include "cardmodel/card/UFemCardType.h"

namespace {

const UFemCardColumnSpec restraintSetColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemRestraintCardType },
    { "Restraint", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemRestraintCardType },
};

const UFemConcreteCardClassSpec restraintSetSpec { "RestraintSet", UFemRestraintCardType, 100,
    restraintSetColumns };

} // namespace

RestraintSet::RestraintSet(UFemCardDataController* dataController)
    : UFemSetCard(cardClassObject(), restraintSetSpec, dataController, restraintNameColumnIndex,
        "Card Name '%@' is called from Restraint Card '%@'. They make a loop reference.")
{
}

const UFemCardClass& RestraintSet::cardClassObject()
{
    static const UFemCardClass cardClass(
        UFemMakeCardClassDescription<RestraintSet>(restraintSetSpec));
    return cardClass;
}

bool RestraintSet::putRestraintToMatrixCalculator(
    UFemMatrixCalculator& matrixCalculator, UErrorPtr* error) const
{
    return putMembers<RestraintSet, UFemRestraintSource>(
        1.0, [](const RestraintSet&) { return 1.0; },
        [&](const UFemRestraintSource& member, double, UErrorPtr* memberError) {
            return member.putRestraintToMatrixCalculator(matrixCalculator, memberError);
        },
        error);
}

std::optional<QString> RestraintSet::toolTipStringAddition() const
{
    return UFormattedString("( %@ ( %lu cards ) )",
        restraintNameColumn().columnString().value_or(QString()),
        quint64(memberCardArray().size()));
}
