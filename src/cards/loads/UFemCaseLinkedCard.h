#pragma once

#include "cards/UFemConcreteCard.h"

class UFemGraphicDrawingInfo;

// A force or restraint card: part of a case when the case's force or restraint name reaches the
// card's own name, directly or through sets. Several such cards may share one name.
class UFemCaseLinkedCard : public UFemConcreteCard {
public:
    bool isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const override;
    bool isRelatedToCaseWithCaseCardArray(
        const std::vector<UFemCard*>& caseCardArray) const override;

protected:
    using UFemConcreteCard::UFemConcreteCard;

    // Where `count` drawing-node names go: the caller's table when they fit, else the overflow
    // block, made zero-filled with room for all of them; nullptr when neither can take them.
    static UFemCardName** nodeCardNameTableFor(quint64 count, UFemCardName** nodeCardNameTable,
        quint64 nodeCardNameTableSize, std::vector<UFemCardName*>* overflowNodeCardNameTable);
};

// A force or restraint card drawn at the one node its drawing node column names.
class UFemOneNodeCaseLinkedCard : public UFemCaseLinkedCard {
public:
    quint64 numberOfNodeForDrawing() const override { return 1; }
    bool doesDrawWhenNotAllNodeValid() const override { return false; }
    quint64 getNodeCardNamesForDrawingToNodeCardNameTable(UFemCardName** nodeCardNameTable,
        quint64 nodeCardNameTableSize,
        std::vector<UFemCardName*>* overflowNodeCardNameTable) const override;
    UFemCardName* nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const override;
    bool isRotationDisplacementValid() const override { return false; }
    bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer, const double* nodePositionTable,
        const _UGLColor* color, const _UFemCardValueArraySize* colorCardValueArraySize,
        const double* colorCardValue, const UFemColorScale* colorScale,
        const UGLDrawingInfo* drawingInfo, UErrorPtr* error) const override;

protected:
    using UFemCaseLinkedCard::UFemCaseLinkedCard;

    // The name of the node the card is drawn at; nullptr while its column is empty.
    virtual UFemCardName* drawingNodeCardName() const = 0;
    // Draws the card at its node in the card's colour; a restraint marker unless overridden.
    virtual void drawAtNode(UGLDrawingBuffer* drawingBuffer, const double* nodePosition,
        const _UGLColor* color, const UFemGraphicDrawingInfo& drawingInfo) const;
};
