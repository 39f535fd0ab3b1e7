#pragma once

#include "cardmodel/card/UFemCardAbst.h"

// The card of a line without a card (empty or comment only): it keeps the comment and nothing
// else, and has no name, columns, values or drawing.
class NullCard : public UFemCardAbst {
public:
    explicit NullCard(UFemCardDataController* dataController);
    ~NullCard() override;

    static const UFemCardClass& nullCardClass();

    bool isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const override;
    bool isRelatedToCaseWithCaseCardArray(
        const std::vector<UFemCard*>& caseCardArray) const override;
    UFemCardColumn* cardColumnAtIndex(quint64 columnIndex) override;
    quint64 getCardColumnsToCardColumnTable(UFemCardColumn** cardColumnTable,
        quint64 cardColumnTableSize, quint64* nextCardColumnIndex) override;
    void resetAllCardColumns() override;
    UFemCardName* cardName() const override;
    std::optional<QString> cardNameString() const override;
    quint64 numberOfNodeForDrawing() const override;
    bool doesDrawWhenNotAllNodeValid() const override;
    quint64 getNodeCardNamesForDrawingToNodeCardNameTable(UFemCardName** nodeCardNameTable,
        quint64 nodeCardNameTableSize,
        std::vector<UFemCardName*>* overflowNodeCardNameTable) const override;
    UFemCardName* nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const override;
    bool isRotationDisplacementValid() const override;
    [[nodiscard]] bool setCardColumnsWithCardTextColumns(
        const UFemCardTextColumns& cardTextColumns, UErrorPtr* error) override;
    std::shared_ptr<UFemCardTextColumns> cardTextColumns() const override;
    std::optional<QString> columnStringAtIndex(quint64 columnIndex) const override;
    UErrorPtr checkErrorToRegister() const override;
    UErrorPtr checkErrorToRun() const override;
    UErrorPtr checkWarningToRun() const override;
    [[nodiscard]] bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const override;
    void invalidiate() override;
    void resetCardColumnAtIndex(quint64 columnIndex) override;
    [[nodiscard]] bool setColumnString(
        const std::optional<QString>& columnString, quint64 columnIndex, UErrorPtr* error) override;

protected:
    NullCard(const UFemCardClass& cardClass, UFemCardDataController* dataController);
    // Raises the class's "don't call this method" program error.
    [[noreturn]] void raiseDontCall() const;
};
