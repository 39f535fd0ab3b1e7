#include "cards/loads/UFemCaseLinkedCard.h"

#include "cards/UFemCardDrawing.h"
#include "graphics/primitives/UGLBallPrimitives.h"

#include "cardmodel/card/UFemCardName.h"
#include "foundation/errors/UException.h"

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

UFemCardName** UFemCaseLinkedCard::nodeCardNameTableFor(quint64 count,
    UFemCardName** nodeCardNameTable, quint64 nodeCardNameTableSize,
    std::vector<UFemCardName*>* overflowNodeCardNameTable)
{
    if (count <= nodeCardNameTableSize)
        return nodeCardNameTable;
    if (overflowNodeCardNameTable == nullptr)
        return nullptr;
    overflowNodeCardNameTable->assign(count, nullptr);
    return overflowNodeCardNameTable->data();
}

quint64 UFemOneNodeCaseLinkedCard::getNodeCardNamesForDrawingToNodeCardNameTable(
    UFemCardName** nodeCardNameTable, quint64 nodeCardNameTableSize,
    std::vector<UFemCardName*>* overflowNodeCardNameTable) const
{
    return putOneNodeCardName(
        drawingNodeCardName(), nodeCardNameTable, nodeCardNameTableSize, overflowNodeCardNameTable);
}

UFemCardName* UFemOneNodeCaseLinkedCard::nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const
{
    if (nodeNo != 0)
        UFemRaiseProgramError(QStringLiteral("Out of range."));
    return drawingNodeCardName();
}

bool UFemOneNodeCaseLinkedCard::drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, const _UGLColor* color,
    const _UFemCardValueArraySize* colorCardValueArraySize, const double*, const UFemColorScale*,
    const UGLDrawingInfo* drawingInfo, UErrorPtr* error) const
{
    const UFemGraphicDrawingInfo* graphicDrawingInfo = UFemGraphicDrawingInfoOf(drawingInfo);
    if (checkOneNodeColorCardValueArraySize(colorCardValueArraySize, error)
        && graphicDrawingInfo != nullptr)
        drawAtNode(drawingBuffer, nodePositionTable, color, *graphicDrawingInfo);
    return true;
}

void UFemOneNodeCaseLinkedCard::drawAtNode(UGLDrawingBuffer* drawingBuffer,
    const double* nodePosition, const _UGLColor* color,
    const UFemGraphicDrawingInfo& drawingInfo) const
{
    UGLWriteNodeMarker(
        drawingBuffer, nodePosition, color, &drawingInfo, drawingInfo.restraintSize());
}
