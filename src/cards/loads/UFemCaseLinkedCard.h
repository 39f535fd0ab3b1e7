#pragma once

#include "cards/UFemNodeDrawnCard.h"

class UFemGraphicDrawingInfo;

// A force or restraint card: part of a case when the case's force or restraint name reaches the
// card's own name, directly or through sets. Several such cards may share one name.
class UFemCaseLinkedCard : public UFemNodeDrawnCard {
public:
    bool isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const override;
    bool isRelatedToCaseWithCaseCardArray(
        const std::vector<UFemCard*>& caseCardArray) const override;

protected:
    using UFemNodeDrawnCard::UFemNodeDrawnCard;
};

// A force or restraint card drawn at the one node its drawing node column names.
class UFemOneNodeCaseLinkedCard : public UFemCaseLinkedCard {
public:
    quint64 numberOfNodeForDrawing() const override { return 1; }

protected:
    using UFemCaseLinkedCard::UFemCaseLinkedCard;

    UFemCardName* nodeCardNameForDrawing(quint64) const override { return drawingNodeCardName(); }
    void drawAtNodes(UGLDrawingBuffer* drawingBuffer, const double* nodePositionTable,
        const _UGLColor* color, const _UFemCardValueArraySize* colorCardValueArraySize,
        const double* colorCardValue, const UFemColorScale* colorScale,
        const UFemGraphicDrawingInfo& drawingInfo) const override;

    // The name of the node the card is drawn at; nullptr while its column is empty.
    virtual UFemCardName* drawingNodeCardName() const = 0;
    // Draws the card at its node in the card's colour; a restraint marker unless overridden.
    virtual void drawAtNode(UGLDrawingBuffer* drawingBuffer, const double* nodePosition,
        const _UGLColor* color, const UFemGraphicDrawingInfo& drawingInfo) const;
};
