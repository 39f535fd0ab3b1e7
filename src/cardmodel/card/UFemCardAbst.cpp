#include "cardmodel/card/UFemCardAbst.h"

#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardName.h"
#include "cardmodel/card/UFemCardTextColumns.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemCardDataController.h"
#include "cardmodel/data/UFemClipboardCardValueManager.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/strings/UFormattedString.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr quint64 cardColumnBatchSize = 16;

} // namespace

void UFemRaiseMustBeOverwrittenError()
{
    UFemRaiseCardClassProgramError(QStringLiteral("This method must be overwrite."));
}

UFemCardAbst::UFemCardAbst(const UFemCardClass& cardClass, UFemCardDataController* dataController)
    : cardClass_(cardClass)
    , dataController_(dataController)
{
}

UFemCardAbst::~UFemCardAbst() = default;

QString UFemCardAbst::cardLabelString() const
{
    return cardClass_.cardLabelString();
}
qint32 UFemCardAbst::cardType() const
{
    return cardClass_.cardType();
}
bool UFemCardAbst::isNormalCard() const
{
    return UFemIsNormalCardType(cardType());
}
bool UFemCardAbst::isNullCard() const
{
    return cardType() == UFemNullCardType;
}
bool UFemCardAbst::isSpecialCard() const
{
    return cardType() == UFemSpecialCardType;
}
bool UFemCardAbst::isErrorCard() const
{
    return cardType() == UFemErrorCardType;
}
bool UFemCardAbst::isAllowedHaveSomeCard() const
{
    return cardClass_.isAllowedHaveSomeCard();
}
QString UFemCardAbst::cardFormViewControllerClass() const
{
    return cardClass_.cardFormViewControllerClass();
}
quint64 UFemCardAbst::numberOfColumns() const
{
    return cardClass_.numberOfColumns();
}

QString UFemCardAbst::columnLabelStringAtIndex(quint64 columnIndex) const
{
    return cardClass_.columnLabelStringAtIndex(columnIndex);
}

bool UFemCardAbst::isRelatedToCaseWithCaseCard(const UFemCard&) const
{
    UFemRaiseMustBeOverwrittenError();
}

bool UFemCardAbst::isRelatedToCaseWithCaseCardArray(const std::vector<UFemCard*>&) const
{
    UFemRaiseMustBeOverwrittenError();
}

UFemCardColumn* UFemCardAbst::cardColumnAtIndex(quint64)
{
    UFemRaiseMustBeOverwrittenError();
}

quint64 UFemCardAbst::getCardColumnsToCardColumnTable(UFemCardColumn**, quint64, quint64*)
{
    UFemRaiseMustBeOverwrittenError();
}

void UFemCardAbst::resetAllCardColumns()
{
    if (cardClass_.isColumnExpandable()) {
        resetColumnsAfterIndex(1);
    } else {
        std::array<UFemCardColumn*, cardColumnBatchSize> batch {};
        quint64 nextIndex = 0;
        bool isFirstBatch = true;
        do {
            const quint64 count
                = getCardColumnsToCardColumnTable(batch.data(), batch.size(), &nextIndex);
            for (quint64 i = isFirstBatch ? 1 : 0; i < count; ++i)
                batch[i]->resetColumn();
            isFirstBatch = false;
        } while (nextIndex != 0);
    }
    commentString_.clear();
}

void UFemCardAbst::setCardIdentifierNumber(quint64 cardIdentifierNumber)
{
    cardIdentifierNumber_ = cardIdentifierNumber;
}

bool UFemCardAbst::setCommentString(const std::optional<QString>& commentString, UErrorPtr*)
{
    if (commentString)
        commentString_.assign(*commentString);
    else
        commentString_.clear();
    return true;
}

UFemCardName* UFemCardAbst::cardName() const
{
    return const_cast<UFemCardAbst*>(this)->cardColumnAtIndex(1)->cardName();
}

std::optional<QString> UFemCardAbst::cardNameString() const
{
    return const_cast<UFemCardAbst*>(this)->cardColumnAtIndex(1)->cardNameString();
}

QString UFemCardAbst::toolTipString() const
{
    const QString label = cardLabelString();
    const QString name = cardNameString().value_or(QString());
    const quint64 row = cardRowIndex() + 1;
    if (const std::optional<QString> addition = toolTipStringAddition())
        return UFormattedString("<%@> %@ <%lu>\n%@", label, name, row, *addition);
    return UFormattedString("<%@> %@ <%lu>", label, name, row);
}

QString UFemCardAbst::cardInfoString() const
{
    return ULocalizedFormattedString("( class:%@, row:%lu, name:%@ )", cardLabelString(),
        cardRowIndex(), cardNameString().value_or(QString()));
}

quint64 UFemCardAbst::numberOfNodeForDrawing() const
{
    return 0;
}
bool UFemCardAbst::doesDrawWhenNotAllNodeValid() const
{
    return false;
}

quint64 UFemCardAbst::getNodeCardNamesForDrawingToNodeCardNameTable(
    UFemCardName**, quint64, std::vector<UFemCardName*>*) const
{
    return 0;
}

UFemCardName* UFemCardAbst::nodeCardNameForDrawingWithNodeNo(quint64 nodeNo) const
{
    if (nodeNo >= numberOfNodeForDrawing())
        UFemRaiseProgramError(QStringLiteral("aNodeNo: 0 ~ ([self numberOfNodeForDrawing]-1)"));
    UFemRaiseMustBeOverwrittenError();
}

bool UFemCardAbst::isRotationDisplacementValid() const
{
    UFemRaiseMustBeOverwrittenError();
}

bool UFemCardAbst::setCardColumnsWithCardTextColumns(
    const UFemCardTextColumns& cardTextColumns, UErrorPtr* error)
{
    const quint64 n = numberOfColumns();
    const quint64 t = cardTextColumns.numberOfColumns();
    UErrorPtr failure;
    if (n < t) {
        failure = UFemTooMuchColumnsError_withCardClassNameString(cardLabelString(), n, t);
    } else if (!cardTextColumns.cardNameString()) {
        failure = UFemEmptyCardNameOfCardError();
    } else {
        // Each step's failure lands in `failure`, which the loops and the end read.
        for (quint64 i = 1; i < t && !failure; ++i)
            static_cast<void>(setColumnString(cardTextColumns.columnStringAtIndex(i), i, &failure));
        if (!failure && cardClass_.isColumnExpandable()) {
            resetColumnsAfterIndex(t);
        } else {
            for (quint64 i = t; i < n && !failure; ++i)
                static_cast<void>(setColumnString(std::nullopt, i, &failure));
        }
    }
    if (!failure) {
        UFemRaisesOnFailure(setCommentString(cardTextColumns.commentString(), nullptr));
        failure = checkErrorToRegister();
    }
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    return true;
}

quint64 UFemCardAbst::numberOfColumnsToWrite() const
{
    return cardClass_.isColumnExpandable() ? numberOfCurrentColumns() : numberOfColumns();
}

std::shared_ptr<UFemCardTextColumns> UFemCardAbst::cardTextColumns() const
{
    auto textColumns = std::make_shared<UFemCardTextColumns>();
    textColumns->setCardType(cardType());
    // Every text below came out of a column, so it reads back as one column.
    UErrorPtr ignored;
    static_cast<void>(textColumns->setColumnString(cardLabelString(), 0, &ignored));
    static_cast<void>(
        textColumns->setColumnString(cardNameString().value_or(QString()), 1, &ignored));
    const quint64 m = numberOfColumnsToWrite();
    for (quint64 i = 2; i < m; ++i)
        static_cast<void>(
            textColumns->setColumnString(columnStringAtIndex(i).value_or(QString()), i, &ignored));
    if (!commentString_.isNull())
        static_cast<void>(textColumns->setCommentString(commentString_.toString(), &ignored));
    return textColumns;
}

std::optional<QString> UFemCardAbst::columnStringAtIndex(quint64 columnIndex) const
{
    if (columnIndex == 0)
        return cardLabelString();
    return const_cast<UFemCardAbst*>(this)->cardColumnAtIndex(columnIndex)->columnString();
}

quint64 UFemCardAbst::cardRowIndex() const
{
    const UFemCardDataController* model = dataController_;
    const quint64 count = model != nullptr ? model->numberOfCards() : 0;
    if (count == 0)
        return UFemNotFound;
    quint64 last = cardRowIndex_last();
    // A cache at or just past the end may be a card removed from the end: look from the last row.
    if (last < count + 2) {
        last = std::min(last, count - 1);
        const quint64 first = last == 0 ? 0 : last - 1;
        const quint64 end = std::min(last + 1, count - 1);
        quint64 found = UFemNotFound;
        for (quint64 row = first; row <= end; ++row) {
            const UFemCard* card = model->cardAtRowIndex(row);
            card->setCardRowIndex_last(row);
            if (card == this)
                found = row;
        }
        if (found != UFemNotFound)
            return found;
    }
    return cardRowIndexBySearch(count);
}

quint64 UFemCardAbst::cardRowIndexBySearch(quint64 numberOfCards) const
{
    const UFemCardDataController* model = dataController_;
    for (quint64 row = 0; row < numberOfCards; ++row) {
        if (model->cardAtRowIndex(row) != this)
            continue;
        setCardRowIndex_last(row);
        if (row > 0)
            model->cardAtRowIndex(row - 1)->setCardRowIndex_last(row - 1);
        if (row + 1 < numberOfCards)
            model->cardAtRowIndex(row + 1)->setCardRowIndex_last(row + 1);
        return row;
    }
    setCardRowIndex_last(UFemNotFound);
    return UFemNotFound;
}

quint32 UFemCardAbst::clipboardCardValueType()
{
    static const quint32 word
        = UFemCardClassManager::sharedCardClassManager()
              .majorCardValueTypeWithMajorCardValueTypeString(
                  QStringLiteral("ClipboardCardValue"), 1, false, false, false, std::nullopt);
    return word;
}

bool UFemCardAbst::getClipboardCardValue(double* value, UErrorPtr* error) const
{
    // Values are looked up by name, and null, special and error cards have none to ask.
    if (!isNormalCard())
        return false;
    const UFemClipboardCardValueManager* manager
        = dataController_ != nullptr ? dataController_->clipboardCardValueManager() : nullptr;
    if (manager == nullptr)
        return false;
    return manager->getClipboardCardValue(value, *this, error);
}

bool UFemCardAbst::respondsToCardValueType(_UFemCardValueType cardValueType) const
{
    if (cardValueType != _UFemCardValueType { clipboardCardValueType(), 0 })
        return false;
    double value = 0.0;
    UErrorPtr readingError;
    return getClipboardCardValue(&value, &readingError) && !readingError;
}

bool UFemCardAbst::getCardValueArraySize(
    _UFemCardValueArraySize* cardValueArraySize, _UFemCardValueType cardValueType) const
{
    const auto clear = [cardValueArraySize] { *cardValueArraySize = _UFemCardValueArraySize {}; };
    if (cardValueType != _UFemCardValueType { clipboardCardValueType(), 0 }) {
        clear();
        return false;
    }
    double value = 0.0;
    UErrorPtr readingError;
    const bool hasValue = getClipboardCardValue(&value, &readingError);
    if (readingError) {
        clear();
        return false;
    }
    if (!hasValue)
        return false;
    cardValueArraySize->numberOfPoints = 1;
    cardValueArraySize->numberOfSectionPoints = 1;
    cardValueArraySize->numberOfVectorValues = 1;
    return true;
}

bool UFemCardAbst::getCardValue(
    double* cardValue, _UFemCardValueType cardValueType, const UFemCard*, UErrorPtr* error) const
{
    if (cardValueType == _UFemCardValueType { clipboardCardValueType(), 0 }) {
        UErrorPtr readingError;
        const bool hasValue = getClipboardCardValue(cardValue, &readingError);
        if (readingError) {
            UFemSetError(error, readingError);
            return false;
        }
        if (hasValue)
            return true;
    }
    UFemRaiseMustBeOverwrittenError();
}

bool UFemCardAbst::drawOpenGLToDrawingBuffer(UGLDrawingBuffer*, const double*, const _UGLColor*,
    const _UFemCardValueArraySize*, const double*, const UFemColorScale*, const UGLDrawingInfo*,
    UErrorPtr*) const
{
    UFemRaiseMustBeOverwrittenError();
}

bool UFemCardAbst::getCenterPosition(double*, const double*) const
{
    return false;
}

void UFemCardAbst::invalidiate()
{
    dataController_ = nullptr;
}

std::optional<QString> UFemCardAbst::toolTipStringAddition() const
{
    return std::nullopt;
}

void UFemCardAbst::resetColumnsAfterIndex(quint64)
{
    UFemRaiseCardClassProgramError(
        QStringLiteral("This method must implement in ColumnExpandableCard."));
}

quint64 UFemCardAbst::numberOfCurrentColumns() const
{
    UFemRaiseCardClassProgramError(
        QStringLiteral("This method must implement in ColumnExpandableCard."));
}

void UFemCardAbst::resetCardColumnAtIndex(quint64 columnIndex)
{
    cardColumnAtIndex(columnIndex)->resetColumn();
}

bool UFemCardAbst::setColumnString(
    const std::optional<QString>& columnString, quint64 columnIndex, UErrorPtr* error)
{
    return cardColumnAtIndex(columnIndex)->setColumnWithColumnString(columnString, error);
}

quint64 UFemCardAbst::getCardColumnsFromColumnArray(std::span<UFemCardColumn* const> columns,
    UFemCardColumn** cardColumnTable, quint64 cardColumnTableSize, quint64* nextCardColumnIndex)
{
    const quint64 numberOfColumns = columns.size() + 1;
    const quint64 start = *nextCardColumnIndex;
    const quint64 end = std::min(numberOfColumns, start + cardColumnTableSize);
    for (quint64 index = start; index < end; ++index)
        cardColumnTable[index - start] = index == 0 ? nullptr : columns[index - 1];
    *nextCardColumnIndex = end < numberOfColumns ? end : 0;
    return end > start ? end - start : 0;
}
