#include "cards/loads/ForceSet.h"

#include "cardmodel/card/UFemCardType.h"

namespace {

const UFemCardColumnShape forceSetColumns[] = {
    { "Card Name", CARD_COLUMN_TYPE_CARD_NAME, UFemForceCardType },
    { "Factor", CARD_COLUMN_TYPE_FLOAT_VALUE },
    { "Force", CARD_COLUMN_TYPE_REF_CARD_NAME, UFemForceCardType },
};

const UFemConcreteCardClassShape forceSetShape { "ForceSet", UFemForceCardType, 100,
    forceSetColumns };

} // namespace

ForceSet::ForceSet(UFemCardDataController* dataController)
    : UFemSetCard(cardClassObject(), forceSetShape, dataController, forceNameColumnIndex,
        "Card Name '%@' is called from Force Card '%@'. They make a loop reference")
{
}

const UFemCardClass& ForceSet::cardClassObject()
{
    return UFemCardClassObject<ForceSet>(forceSetShape);
}

bool ForceSet::putForceMatrixToMatrixCalculator(UFemMatrixCalculator& matrixCalculator,
    double forceFactor, const UFemCardName& caseName, UErrorPtr* error) const
{
    const double total = forceMultipleValueColumn().doubleValue() * forceFactor;
    if (total == 0.0)
        return true;
    return putMembers<ForceSet, UFemForceSource>(
        total, [](const ForceSet& set) { return set.forceMultipleValueColumn().doubleValue(); },
        [&](const UFemForceSource& member, double factor, UErrorPtr* memberError) {
            return member.putForceMatrixToMatrixCalculator(
                matrixCalculator, factor, caseName, memberError);
        },
        error);
}

QString ForceSet::memberNameText() const
{
    return UFormattedString("(%@)×%@",
        forceMultipleValueColumn().columnString().value_or(QString()),
        UFemSetCard::memberNameText());
}

bool ForceSet::drawsMembers() const
{
    return forceMultipleValueColumn().doubleValue() != 0.0;
}

const UGLDrawingInfo* ForceSet::drawingInfoForMembers(const UGLDrawingInfo* drawingInfo,
    std::optional<UFemGraphicDrawingInfo>* changedDrawingInfo) const
{
    const auto* graphicDrawingInfo = dynamic_cast<const UFemGraphicDrawingInfo*>(drawingInfo);
    if (graphicDrawingInfo == nullptr)
        return drawingInfo;
    // Drawing threads may share the caller's info: the change lives in a copy of this call's own.
    changedDrawingInfo->emplace(*graphicDrawingInfo);
    (*changedDrawingInfo)
        ->setForceScaleFactor(
            graphicDrawingInfo->forceScaleFactor() * forceMultipleValueColumn().doubleValue());
    return &**changedDrawingInfo;
}
