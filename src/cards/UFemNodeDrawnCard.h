#pragma once

#include "cards/UFemConcreteCard.h"

class UFemGraphicDrawingInfo;

// A card drawn at the nodes it names (a node, a force or restraint, a set of them). The base
// answers the drawing-node questions from numberOfNodeForDrawing() and nodeCardNameForDrawing(),
// and draws through drawAtNodes() once the colour values fit one node and the drawing has symbol
// sizes.
class UFemNodeDrawnCard : public UFemConcreteCard {
public:
    quint64 getNodeCardNamesForDrawingToNodeCardNameTable(UFemCardName** nodeCardNameTable,
        quint64 nodeCardNameTableSize,
        std::vector<UFemCardName*>* overflowNodeCardNameTable) const override;
    // A program error with drawingNodeOutOfRangeReason() past the last drawing node.
    UFemCardName* nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const override;
    [[nodiscard]] bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const override;

protected:
    using UFemConcreteCard::UFemConcreteCard;

    // The name of drawing node `nodeNo`, below numberOfNodeForDrawing(); nullptr while its column
    // is empty.
    virtual UFemCardName* nodeCardNameForDrawing(quint64 nodeNo) const = 0;
    virtual QString drawingNodeOutOfRangeReason() const { return QStringLiteral("Out of range."); }
    // Fills `names` with the `count` drawing-node names; one by one unless overridden.
    virtual void putNodeCardNamesForDrawing(UFemCardName** names, quint64 count) const;
    // Draws the card at its drawing nodes' positions (a node position table); nothing unless
    // overridden.
    virtual void drawAtNodes(UGLDrawingBuffer* drawingBuffer, const double* nodePositionTable,
        const _UGLColor* color, const _UFemCardValueArraySize* colorCardValueArraySize,
        const double* colorCardValue, const UFemColorScale* colorScale,
        const UFemGraphicDrawingInfo& drawingInfo) const;
};
