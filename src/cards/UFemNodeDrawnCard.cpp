#include "cards/UFemNodeDrawnCard.h"

#include "cards/UFemCardDrawing.h"
#include "foundation/errors/UException.h"

quint64 UFemNodeDrawnCard::getNodeCardNamesForDrawingToNodeCardNameTable(
    UFemCardName** nodeCardNameTable, quint64 nodeCardNameTableSize,
    std::vector<UFemCardName*>* overflowNodeCardNameTable) const
{
    const quint64 count = numberOfNodeForDrawing();
    // A table too small gets the names in the overflow block instead of past its end.
    UFemCardName** names = nodeCardNameTable;
    if (count > nodeCardNameTableSize) {
        if (overflowNodeCardNameTable == nullptr)
            return count;
        overflowNodeCardNameTable->assign(count, nullptr);
        names = overflowNodeCardNameTable->data();
    }
    putNodeCardNamesForDrawing(names, count);
    return count;
}

UFemCardName* UFemNodeDrawnCard::nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const
{
    if (nodeNo >= numberOfNodeForDrawing())
        UFemRaiseProgramError(drawingNodeOutOfRangeReason());
    return nodeCardNameForDrawing(nodeNo);
}

void UFemNodeDrawnCard::putNodeCardNamesForDrawing(UFemCardName** names, quint64 count) const
{
    for (quint64 nodeNo = 0; nodeNo < count; ++nodeNo)
        names[nodeNo] = nodeCardNameForDrawing(nodeNo);
}

void UFemNodeDrawnCard::drawAtNodes(UGLDrawingBuffer*, const double*, const _UGLColor*,
    const _UFemCardValueArraySize*, const double*, const UFemColorScale*,
    const UFemGraphicDrawingInfo&) const
{
}

bool UFemNodeDrawnCard::drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
    const double* nodePositionTable, const _UGLColor* color,
    const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
    const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo, UErrorPtr* error) const
{
    const UFemGraphicDrawingInfo* graphicDrawingInfo = UFemGraphicDrawingInfoOf(drawingInfo);
    if (checkOneNodeColorCardValueArraySize(colorCardValueArraySize, error)
        && graphicDrawingInfo != nullptr)
        drawAtNodes(drawingBuffer, nodePositionTable, color, colorCardValueArraySize,
            colorCardValue, colorScale, *graphicDrawingInfo);
    return true;
}
