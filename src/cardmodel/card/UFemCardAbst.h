#pragma once

#include "cardmodel/card/UFemCard.h"
#include "foundation/strings/UCompactString.h"

#include <span>

// What every card has in common: the link to its model, the comment, the identifier, the row
// cache, reading and writing its text columns, and the clipboard card value. Concrete classes
// own their columns and call invalidiate() from their destructors.
class UFemCardAbst : public UFemCard {
public:
    UFemCardAbst(const UFemCardClass& cardClass, UFemCardDataController* dataController);
    ~UFemCardAbst() override;

    const UFemCardClass& cardClass() const override { return cardClass_; }
    UFemCardDataController* dataController() const override { return dataController_; }
    QString cardLabelString() const override;
    qint32 cardType() const override;
    bool isNormalCard() const override;
    bool isNullCard() const override;
    bool isSpecialCard() const override;
    bool isErrorCard() const override;
    bool isAllowedHaveSomeCard() const override;
    QString cardFormViewControllerClass() const override;
    quint64 numberOfColumns() const override;
    QString columnLabelStringAtIndex(quint64 columnIndex) const override;
    bool isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const override;
    bool isRelatedToCaseWithCaseCardArray(
        const std::vector<UFemCard*>& caseCardArray) const override;
    UFemCardColumn* cardColumnAtIndex(quint64 columnIndex) override;
    quint64 getCardColumnsToCardColumnTable(UFemCardColumn** cardColumnTable,
        quint64 cardColumnTableSize, quint64* nextCardColumnIndex) override;
    void resetAllCardColumns() override;
    quint64 cardIdentifierNumber() const override { return cardIdentifierNumber_; }
    void setCardIdentifierNumber(quint64 cardIdentifierNumber) override;
    std::optional<QString> commentString() const override
    {
        return commentString_.isNull() ? std::nullopt
                                       : std::optional<QString>(commentString_.toString());
    }
    [[nodiscard]] bool setCommentString(
        const std::optional<QString>& commentString, UErrorPtr* error) override;
    UFemCardName* cardName() const override;
    std::optional<QString> cardNameString() const override;
    QString toolTipString() const override;
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
    quint64 cardRowIndex() const override;
    bool respondsToCardValueType(_UFemCardValueType cardValueType) const override;
    bool getCardValueArraySize(_UFemCardValueArraySize* cardValueArraySize,
        _UFemCardValueType cardValueType) const override;
    [[nodiscard]] bool getCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const override;
    [[nodiscard]] bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const override;
    bool getCenterPosition(double* centerPosition, const double* nodePositionTable) const override;

    // Cuts the card loose from its model: subclasses reset and release their columns first.
    virtual void invalidiate();
    virtual std::optional<QString> toolTipStringAddition() const;
    // Column-expandable classes only.
    virtual void resetColumnsAfterIndex(quint64 columnIndex);
    virtual quint64 numberOfCurrentColumns() const;
    virtual void resetCardColumnAtIndex(quint64 columnIndex);
    [[nodiscard]] virtual bool setColumnString(
        const std::optional<QString>& columnString, quint64 columnIndex, UErrorPtr* error);

    // "( class:%@, row:%lu, name:%@ )", for assertion and error texts.
    QString cardInfoString() const;

    // The "ClipboardCardValue" major word, which every card answers.
    static quint32 clipboardCardValueType();

protected:
    // The batch contract of getCardColumnsToCardColumnTable over a card's columns 1..n-1.
    static quint64 getCardColumnsFromColumnArray(std::span<UFemCardColumn* const> columns,
        UFemCardColumn** cardColumnTable, quint64 cardColumnTableSize,
        quint64* nextCardColumnIndex);
    // The column count that text columns are written with.
    quint64 numberOfColumnsToWrite() const;

private:
    [[nodiscard]] bool getClipboardCardValue(double* value, UErrorPtr* error) const;
    quint64 cardRowIndexBySearch(quint64 numberOfCards) const;

    const UFemCardClass& cardClass_;
    UFemCardDataController* dataController_;
    // Most cards have none.
    UCompactString commentString_;
    quint64 cardIdentifierNumber_ = 0;
};

// The program error of an operation every concrete card class must provide.
[[noreturn]] void UFemRaiseMustBeOverwrittenError();
