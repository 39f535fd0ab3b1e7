#include "cards/loads/UFemCaseLinkedCard.h"

#include "cards/UFemCardDrawing.h"
#include "graphics/primitives/UGLBallPrimitives.h"

#include "cardmodel/card/UFemCardName.h"

bool UFemCaseLinkedCard::isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const
{
    const UFemCardName* name = cardName();
    return name != nullptr && name->isLinkedFromCardName(caseCard.cardName());
}

bool UFemCaseLinkedCard::isRelatedToCaseWithCaseCardArray(
    const std::vector<UFemCard*>& caseCardArray) const
{
    const UFemCardName* name = cardName();
    if (name == nullptr)
        return false;
    std::vector<const UFemCardName*> caseNames;
    caseNames.reserve(caseCardArray.size());
    for (const UFemCard* caseCard : caseCardArray) {
        if (const UFemCardName* caseName = caseCard->cardName())
            caseNames.push_back(caseName);
    }
    return name->isLinkedFromCardNameArray(caseNames);
}

void UFemOneNodeCaseLinkedCard::drawAtNodes(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, const _UGLColor* color, const _UFemCardValueArraySize*,
    const double*, const UFemColorScale*, const UFemGraphicDrawingInfo& drawingInfo) const
{
    drawAtNode(drawingBuffer, nodePositionTable, color, drawingInfo);
}

void UFemOneNodeCaseLinkedCard::drawAtNode(UGLDrawingBuffer* drawingBuffer,
    const double* nodePosition, const _UGLColor* color,
    const UFemGraphicDrawingInfo& drawingInfo) const
{
    UGLWriteNodeMarker(
        drawingBuffer, nodePosition, color, &drawingInfo, drawingInfo.restraintSize());
}
