#pragma once

#include "cardmodel/card/UFemCardValueType.h"
#include "foundation/UFemCardValueArraySize.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UError.h"

#include <QString>

#include <atomic>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

class UFemCardClass;
class UFemCardColumn;
class UFemCardDataController;
class UFemCardName;
class UFemCardTextColumns;
class UFemColorScale;
class UGLDrawingBuffer;
class UGLDrawingInfo;
class UGLSharedFaceTable;
struct _UGLColor;

// The interface through which the card model and everything above it use a card. Cards are
// shared (std::shared_ptr); what a card refers to (its data controller, names) it does not own.
class UFemCard : public std::enable_shared_from_this<UFemCard> {
public:
    UFemCard() = default;
    UFemCard(const UFemCard&) = delete;
    UFemCard& operator=(const UFemCard&) = delete;
    virtual ~UFemCard() = default;

    virtual const UFemCardClass& cardClass() const = 0;
    virtual UFemCardDataController* dataController() const = 0;
    virtual QString cardLabelString() const = 0;
    virtual qint32 cardType() const = 0;
    virtual bool isNormalCard() const = 0;
    virtual bool isNullCard() const = 0;
    virtual bool isSpecialCard() const = 0;
    virtual bool isErrorCard() const = 0;
    virtual bool isAllowedHaveSomeCard() const = 0;
    virtual QString cardFormViewControllerClass() const = 0;
    virtual quint64 numberOfColumns() const = 0;
    virtual QString columnLabelStringAtIndex(quint64 columnIndex) const = 0;
    virtual bool isRelatedToCaseWithCaseCard(const UFemCard& caseCard) const = 0;
    virtual bool isRelatedToCaseWithCaseCardArray(
        const std::vector<UFemCard*>& caseCardArray) const = 0;
    virtual UFemCardColumn* cardColumnAtIndex(quint64 columnIndex) = 0;
    // Writes the column objects from *nextCardColumnIndex on (nullptr for column 0), at most
    // `cardColumnTableSize`; leaves in *nextCardColumnIndex where the next batch starts, or 0
    // when none is left. Returns the number of entries written.
    virtual quint64 getCardColumnsToCardColumnTable(
        UFemCardColumn** cardColumnTable, quint64 cardColumnTableSize, quint64* nextCardColumnIndex)
        = 0;
    virtual void resetAllCardColumns() = 0;
    virtual quint64 cardIdentifierNumber() const = 0;
    virtual void setCardIdentifierNumber(quint64 cardIdentifierNumber) = 0;
    virtual std::optional<QString> commentString() const = 0;
    [[nodiscard]] virtual bool setCommentString(
        const std::optional<QString>& commentString, UErrorPtr* error)
        = 0;
    virtual UFemCardName* cardName() const = 0;
    virtual std::optional<QString> cardNameString() const = 0;
    virtual QString toolTipString() const = 0;
    virtual quint64 numberOfNodeForDrawing() const = 0;
    virtual bool doesDrawWhenNotAllNodeValid() const = 0;
    // Writes the names of the drawing nodes into the table; when there are more than
    // `nodeCardNameTableSize`, writes them all into `overflowNodeCardNameTable` instead.
    virtual quint64 getNodeCardNamesForDrawingToNodeCardNameTable(UFemCardName** nodeCardNameTable,
        quint64 nodeCardNameTableSize,
        std::vector<UFemCardName*>* overflowNodeCardNameTable) const = 0;
    virtual UFemCardName* nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const = 0;
    virtual bool isRotationDisplacementValid() const = 0;
    [[nodiscard]] virtual bool setCardColumnsWithCardTextColumns(
        const UFemCardTextColumns& cardTextColumns, UErrorPtr* error)
        = 0;
    virtual std::shared_ptr<UFemCardTextColumns> cardTextColumns() const = 0;
    virtual std::optional<QString> columnStringAtIndex(quint64 columnIndex) const = 0;
    virtual UErrorPtr checkErrorToRegister() const = 0;
    virtual UErrorPtr checkErrorToRun() const = 0;
    virtual UErrorPtr checkWarningToRun() const = 0;
    // The card's row in its model; UFemNotFound for a card outside the model.
    virtual quint64 cardRowIndex() const = 0;
    virtual bool respondsToCardValueType(_UFemCardValueType cardValueType) const = 0;
    virtual bool getCardValueArraySize(
        _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType cardValueType) const = 0;
    [[nodiscard]] virtual bool getCardValue(double* cardValue, _UFemCardValueType cardValueType,
        const UFemCard* caseCard, UErrorPtr* error) const = 0;
    // `nodePositionTable` holds six doubles per drawing node, the first three its position.
    [[nodiscard]] virtual bool drawOpenGLToDrawingBuffer(UGLDrawingBuffer* drawingBuffer,
        const double* nodePositionTable, const _UGLColor* color,
        const _UFemCardValueArraySize* colorCardValueArraySize, const double* colorCardValue,
        const UFemColorScale* colorScale, const UGLDrawingInfo* drawingInfo,
        UErrorPtr* error) const = 0;
    // Whether the card's select-mode drawing lies in model space alone (plain faces), so that
    // picks may keep it while the camera changes; symbols that face the eye or are sized in
    // points do not.
    virtual bool isSelectDrawingViewIndependent() const { return false; }
    // Adds the faces of the closed solid the card draws, so that a drawing of several leaves out
    // the faces they share; false for a card that draws no closed solid.
    virtual bool addSolidFacesToSharedFaceTable(
        UGLSharedFaceTable* /*table*/, const double* /*nodePositionTable*/) const
    {
        return false;
    }
    virtual bool getCenterPosition(
        double* centerPosition, const double* nodePositionTable) const = 0;

    // The row last found for the card. Atomic: worker threads ask rows of the cards they report
    // on while the main thread draws the table.
    quint64 cardRowIndex_last() const { return cardRowIndex_last_.load(std::memory_order_relaxed); }
    void setCardRowIndex_last(quint64 rowIndex) const
    {
        cardRowIndex_last_.store(rowIndex, std::memory_order_relaxed);
    }

private:
    mutable std::atomic<quint64> cardRowIndex_last_ { UFemNotFound };
};
