#pragma once

#include "cardmodel/card/UFemNodeCard.h"
#include "cards/UFemNodeDrawnCard.h"
#include "foundation/UFemNotFound.h"

#include <optional>

class UFemResultDataManager;

// One node: a name and a location in global coordinates. For a calculation it gets a node
// number; when results are present it answers its displacements.
class Node : public UFemNodeDrawnCard, public UFemNodeCard {
public:
    static constexpr quint64 coordNameColumnIndex = 2;
    static constexpr quint64 xValueColumnIndex = 3;
    // The DOF state of a displacement that has no result.
    static constexpr quint8 noResultDOFState = 0x80;

    explicit Node(UFemCardDataController* dataController);

    static const UFemCardClass& cardClassObject();
    // The Node card the name of a name or reference column defines; without one, error 42014
    // naming the node (program stop without an error pointer).
    [[nodiscard]] static const Node* nodeCardOfColumn(
        const UFemCardColumn& column, UErrorPtr* error);

    void getNodeLocation(double nodeLocation[3]) const override;

    // UFemNotFound (-1) when the node has no number.
    quint64 nodeNo() const { return nodeNo_; }
    void setNodeNo(quint64 nodeNo) { nodeNo_ = nodeNo; }
    void resetNodeNo() { nodeNo_ = UFemNotFound; }

    // Three doubles and three state bytes per kind the selector (a rotation index set: 1
    // translations, 2 rotations, 3 both) selects, translations first. Without results
    // for the node or the case they are zeros with the state 0x80; a failing result query hands on
    // its error.
    [[nodiscard]] bool getNodeDisplacement(double* nodeDisplacement, quint8* nodeDOFState,
        quint64 translationOrRotation, const UFemCard* caseCard, UErrorPtr* error) const;
    [[nodiscard]] bool getNodeDisplacement(double* nodeDisplacement, quint8* nodeDOFState,
        quint64 translationOrRotation, const UFemCard* caseCard,
        std::optional<QString>* calculationErrorString, UErrorPtr* error) const;

    UErrorPtr checkErrorToRun() const override { return nullptr; }
    bool respondsToCardValueType(_UFemCardValueType cardValueType) const override;
    bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        _UFemCardValueType cardValueType) const override;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const override;
    std::optional<QString> toolTipStringAddition() const override;

    quint64 numberOfNodeForDrawing() const override { return 1; }
    bool isRotationDisplacementValid() const override { return true; }
    bool getCenterPosition(double* centerPosition, const double* nodePositionTable) const override;

    const UFemCardColumn& coordNameColumn() const { return column(coordNameColumnIndex); }
    const UFemCardColumn& xValueColumn() const { return column(xValueColumnIndex); }
    const UFemCardColumn& yValueColumn() const { return column(xValueColumnIndex + 1); }
    const UFemCardColumn& zValueColumn() const { return column(xValueColumnIndex + 2); }

protected:
    UErrorPtr checkOwnErrorToRegister() const override;
    // The node itself.
    UFemCardName* nodeCardNameForDrawing(quint64) const override { return cardName(); }
    // A marker of the node size, in the colour of the node's value when it has one.
    void drawAtNodes(UGLDrawingBuffer* drawingBuffer, const double* nodePositionTable,
        const _UGLColor* color, const _UFemCardValueArraySize* colorCardValueArraySize,
        const double* colorCardValue, const UFemColorScale* colorScale,
        const UFemGraphicDrawingInfo& drawingInfo) const override;

private:
    static void registerCardValueTypes(UFemCardClassManager& cardClassManager);
    const UFemResultDataManager* resultDataManager() const;

    static inline quint32 displacementCardValueType_ = 0;
    static inline quint32 locationCardValueType_ = 0;

    quint64 nodeNo_ = UFemNotFound;
};
