#include "cards/loads/RestraintSet.h"

#include "cardmodel/card/UFemCardType.h"

namespace {

const UFemCardColumnShape restraintSetColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemRestraintCardType },
    { "Restraint", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemRestraintCardType },
};

const UFemConcreteCardClassShape restraintSetShape { "RestraintSet", UFemRestraintCardType, 100,
    restraintSetColumns };

} // namespace

RestraintSet::RestraintSet(UFemCardDataController* dataController)
    : UFemSetCard(cardClassObject(), restraintSetShape, dataController, restraintNameColumnIndex,
        "Card Name '%@' is called from Restraint Card '%@'. They make a loop reference.")
{
}

const UFemCardClass& RestraintSet::cardClassObject()
{
    return UFemCardClassObject<RestraintSet>(restraintSetShape);
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
