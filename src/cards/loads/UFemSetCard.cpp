#include "cards/loads/UFemSetCard.h"

#include "cardmodel/card/UFemCardName.h"
#include "cards/UFemCardDrawing.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"

UFemSetCard::UFemSetCard(const UFemCardClass& cardClass, const UFemConcreteCardClassShape& shape,
    UFemCardDataController* dataController, quint64 memberNameColumnIndex, const char* loopFormat)
    : UFemCaseLinkedCard(cardClass, shape, dataController)
    , memberNameColumnIndex_(memberNameColumnIndex)
    , loopFormat_(loopFormat)
{
}

std::vector<UFemCard*> UFemSetCard::memberCardArray() const
{
    const UFemCardName* name = memberNameColumn().cardName();
    return name != nullptr ? name->cardArray() : std::vector<UFemCard*> {};
}

std::optional<QString> UFemSetCard::toolTipStringAddition() const
{
    return UFormattedString(
        "( %@ ( %lu cards ) )", memberNameText(), quint64(memberCardArray().size()));
}

QString UFemSetCard::memberNameText() const
{
    return memberNameColumn().columnString().value_or(QString());
}

UErrorPtr UFemSetCard::checkOwnErrorToRegister() const
{
    const UFemCardName* ownName = cardName();
    const UFemCardName* memberName = memberNameColumn().cardName();
    if (ownName == nullptr || !ownName->isLinkedFromCardName(memberName))
        return nullptr;
    return UFemCardRegisterError(
        loopFormat_, ownName->cardNameString(), memberName->cardNameString());
}

quint64 UFemSetCard::numberOfNodeForDrawing() const
{
    quint64 count = 0;
    for (const UFemCard* member : memberCardArray())
        count += member->numberOfNodeForDrawing();
    return count;
}

void UFemSetCard::putNodeCardNamesForDrawing(UFemCardName** names, quint64 count) const
{
    quint64 offset = 0;
    for (const UFemCard* member : memberCardArray()) {
        const quint64 memberCount = member->numberOfNodeForDrawing();
        if (memberCount > count - offset)
            return;
        member->getNodeCardNamesForDrawingToNodeCardNameTable(names + offset, memberCount, nullptr);
        offset += memberCount;
    }
}

UFemCardName* UFemSetCard::nodeCardNameForDrawing(quint64 nodeNo) const
{
    quint64 first = 0;
    for (const UFemCard* member : memberCardArray()) {
        const quint64 count = member->numberOfNodeForDrawing();
        if (nodeNo - first < count)
            return member->nodeCardNameForDrawingWithNodeNo(nodeNo - first);
        first += count;
    }
    return nullptr;
}

bool UFemSetCard::checkSetColorCardValueArraySize(
    const _UFemCardValueArraySize* colorCardValueArraySize, UErrorPtr* error) const
{
    if (colorCardValueArraySize == nullptr || colorCardValueArraySize->numberOfPoints == 0)
        return true;
    const _UFemCardValueArraySize& size = *colorCardValueArraySize;
    if (size.numberOfSectionPoints == 1 && size.numberOfVectorValues == 1)
        return true;
    UFemSetError(error,
        UFemDrawingCardColorCardValueArraySizeError_withCardInfoString(cardInfoString(), size,
            QStringLiteral("Number of points: ---, Number of section points: 1, Number of vector "
                           "values: 1")));
    return false;
}

bool UFemSetCard::drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, const _UGLColor* color,
    const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
    const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo, UErrorPtr* error) const
{
    if (!checkSetColorCardValueArraySize(colorCardValueArraySize, error) || !drawsMembers())
        return true;
    std::optional<UFemGraphicDrawingInfo> changedDrawingInfo;
    const UGLDrawingInfo* memberDrawingInfo
        = drawingInfoForMembers(drawingInfo, &changedDrawingInfo);
    const bool splitsColors
        = colorCardValueArraySize != nullptr && colorCardValueArraySize->numberOfPoints >= 2;
    quint64 first = 0;
    for (const UFemCard* member : memberCardArray()) {
        const quint64 count = member->numberOfNodeForDrawing();
        _UFemCardValueArraySize memberSize {};
        const _UFemCardValueArraySize* size = colorCardValueArraySize;
        const double* values = colorCardValue;
        if (splitsColors) {
            memberSize = *colorCardValueArraySize;
            memberSize.numberOfPoints = quint16(count);
            size = &memberSize;
            values = colorCardValue + first;
        }
        UErrorPtr memberError;
        // Whether a member wrote its own colour does not change the set's answer.
        static_cast<void>(member->drawOpenGLToDrawingBuffer(drawingBuffer,
            nodePositionTable + first * UFemNodePositionTableStride, color, size, values,
            colorScale, memberDrawingInfo, &memberError));
        if (memberError) {
            UFemSetError(error, memberError);
            return true;
        }
        first += count;
    }
    return true;
}
