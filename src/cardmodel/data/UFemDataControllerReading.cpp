// Reading model text and text columns records into a data controller's cards.
#include "cardmodel/data/UFemDataController.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/data/UFemDataControllerNotifications.h"
#include "cardmodel/text/UFemModelTextReader.h"
#include "cardmodel/text/UFemModelTextScanning.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UUnicharString.h"
#include "platform/UUndoManager.h"

#include <algorithm>
#include <functional>
#include <new>

namespace {

// The identifier limit is tested once per batch of cards, with the batch as margin.
constexpr quint64 identifierCheckBatch = 256;
constexpr quint64 readingProgressCardStep = 16384;
// Tables are sized for one card per this many characters of text, and at least the minimum.
constexpr quint64 charactersPerCard = 60;
constexpr quint64 minimumCapacity = 10000;

bool isSeparator(char16_t unit, UFemColumnSeparatingCharacterType type)
{
    return (unit == UFemCommaCharacter && UFemIsCommaSeparator(type))
        || (unit == UFemTabCharacter && UFemIsTabSeparator(type));
}

UErrorPtr wrapColumnError(const UErrorPtr& error, quint64 columnPosition)
{
    return UFemEditCardError_withBaseError_appendingColumnIndexInfoString(
        error, ULocalizedFormattedString("Column %lu", columnPosition));
}

UFemRowIndexSet rowsFrom(quint64 first, quint64 count)
{
    UFemRowIndexSet rows(count);
    for (quint64 k = 0; k < count; ++k)
        rows[k] = first + k;
    return rows;
}

} // namespace

void UFemDataController::postResultDataAndModelDataWillChange() const
{
    post(UFemResultDataWillChangeNotification);
    post(UFemModelDataWillChangeNotification);
    post(UFemResultDataWillChangeNotification_private);
    post(UFemModelDataWillChangeNotification_private);
}

void UFemDataController::postModelDataAndResultDataDidChange() const
{
    post(UFemModelDataDidChangeNotification_private);
    post(UFemResultDataDidChangeNotification_private);
    post(UFemModelDataDidChangeNotification);
    post(UFemResultDataDidChangeNotification);
}

bool UFemDataController::resetWithModelText(
    const QString& modelText, bool doesUseErrorCard, UErrorPtr* error)
{
    return resetWithModelText(
        modelText, UFemColumnSeparatingCharacterTypeComma, doesUseErrorCard, error);
}

bool UFemDataController::resetWithModelText(const QString& modelText,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
    UErrorPtr* error)
{
    const quint64 capacity
        = std::max(quint64(modelText.size()) / charactersPerCard, minimumCapacity);
    return resetWithCards(
        capacity,
        [&] {
            UErrorPtr failure;
            addCardsWithModelText(
                modelText, columnSeparatingCharacterType, 0, doesUseErrorCard, &failure);
            return failure;
        },
        error);
}

bool UFemDataController::resetWithCardTextColumnsArray(
    const std::vector<UFemCardTextColumnsPtr>& cardTextColumnsArray, bool doesUseErrorCard,
    UErrorPtr* error)
{
    return resetWithCards(
        cardTextColumnsArray.size(),
        [&] {
            UErrorPtr failure = errorIfLocked();
            if (!failure) {
                // The answer is in failure.
                static_cast<void>(_addCardWithCardTextColumnsArray(cardTextColumnsArray,
                    rowsFrom(0, cardTextColumnsArray.size()), doesUseErrorCard, &failure));
            }
            return failure;
        },
        error);
}

// Empties the model and fills it again without undo; observers see the emptied model between two
// notification pairs, and the refill records no undo and posts nothing of its own.
bool UFemDataController::resetWithCards(
    quint64 capacity, const std::function<UErrorPtr()>& addCards, UErrorPtr* error)
{
    UUndoManager* keptUndoManager = undoManager_;
    UNotificationCenter* keptNotificationCenter = notificationCenter_;
    postResultDataAndModelDataWillChange();
    undoManager_ = nullptr;
    notificationCenter_ = nullptr;
    if (keptUndoManager != nullptr)
        keptUndoManager->removeAllActions();
    UErrorPtr failure;
    try {
        reset();
        notificationCenter_ = keptNotificationCenter;
        postModelDataAndResultDataDidChange();
        cardTable_.resetWithCapacity(capacity);
        cardNameTable_.resetWithCapacity(capacity);
        cardIdentifierNumberDictionary_.reserve(capacity);
        postResultDataAndModelDataWillChange();
        notificationCenter_ = nullptr;
        failure = addCards();
    } catch (const std::bad_alloc&) {
        failure = UFemMallocFailedError();
    } catch (const UException& raised) {
        if (!UFemIsMemoryAllocationFailed(raised))
            throw;
        failure = UFemMallocFailedError();
    }
    // A model too large for memory (one vast token is enough): what was read goes, so that the
    // memory comes back, and the reading fails with the memory error.
    if (failure == UFemMallocFailedError()) {
        notificationCenter_ = nullptr;
        reset();
    }
    lastEditedCardRowIndex_ = UFemNotFound;
    undoManager_ = keptUndoManager;
    notificationCenter_ = keptNotificationCenter;
    postModelDataAndResultDataDidChange();
    if (failure) {
        UFemSetError(error, failure);
        return false;
    }
    return true;
}

quint64 UFemDataController::addCardsWithModelText(const QString& modelText,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, quint64 rowIndex,
    bool doesUseErrorCard, UErrorPtr* error)
{
    if (UErrorPtr locked = errorIfLocked()) {
        setUndoActionName(ULocalizedString("Add Some Cards - Aborted by Error"));
        UFemSetError(error, locked);
        return 0;
    }
    UErrorPtr failure;
    quint64 count = 0;
    {
        const ModelDataChange bracket(*this);
        count = _addCardsWithModelText(
            modelText, columnSeparatingCharacterType, rowIndex, doesUseErrorCard, &failure);
        if (failure)
            setUndoActionName(ULocalizedString("Add Some Cards - Aborted by Error"));
        else
            setUndoActionName(ULocalizedFormattedString("Add %lu Cards", count));
    }
    if (failure) {
        UFemSetError(error, failure);
        return 0;
    }
    return count;
}

quint64 UFemDataController::_addCardsWithModelText(const QString& modelText,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, quint64 rowIndex,
    bool doesUseErrorCard, UErrorPtr* error)
{
    if (UErrorPtr locked = errorIfLocked()) {
        UFemSetError(error, locked);
        return 0;
    }
    const quint64 startRow = rowIndex == UFemNotFound ? cardTable_.count() : rowIndex;
    const UUnicharString source(modelText);
    const quint64 length = source.length();
    // Editors that write UTF-16 or UTF-8 with a byte-order mark leave it at the start of the text.
    quint64 index = length > 0 && source.characterAtIndex(0) == UFemByteOrderMark ? 1 : 0;
    if (index >= length)
        return 0;
    quint64 row = startRow;
    quint64 count = 0;
    UErrorPtr failure;
    while (!failure) {
        if (count % identifierCheckBatch == 0
            && nextCardIdentifierNumber_
                >= nextCardIdentifierNumberWarningNumber_ - identifierCheckBatch
            && !_checkCardIdentifierNumberLimitAndMakeWarningOrErrorWithCardCount(
                identifierCheckBatch, &failure)) {
            break;
        }
        const UFemCardPtr card = _makeCardWithModelUnicharString(
            source, &index, columnSeparatingCharacterType, doesUseErrorCard, &failure);
        if (!card)
            break;
        UFemRaisesOnFailure(cardTable_.insertCard(card, row, nullptr));
        card->setCardRowIndex_last(row);
        enterCard(card, nextCardIdentifierNumber_++);
        index = UFemIndexAfterLineEnd(source, index, length);
        ++row;
        ++count;
        if (index >= length)
            break;
        if (readingProgressHandler_ && count % readingProgressCardStep == 0)
            readingProgressHandler_(double(index) / double(length));
    }
    // Also after a bad line the cards read before it get their undo record: rows added without
    // one would shift the rows that earlier records address.
    if (count > 0) {
        lastEditedCardRowIndex_ = row - 1;
        registerUndo([rows = rowsFrom(startRow, count)](UFemDataController& controller) {
            UFemRaisesOnFailure(controller._removeCardsAtIndexSet(rows, nullptr));
        });
    }
    if (failure) {
        setUndoActionName(QStringLiteral("Add Some Cards - Aborted by Error"));
        UFemSetError(error, failure);
        return 0;
    }
    setUndoActionName(UFormattedString("Add %lu Cards", count));
    return count;
}

UFemCardPtr UFemDataController::_makeCardWithModelUnicharString(
    const UUnicharString& modelUnicharString, quint64* unicharIndex,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
    UErrorPtr* error)
{
    const quint64 startIndex = *unicharIndex;
    quint64 index = startIndex;
    UFemCardPtr card;
    const UErrorPtr failure
        = readCardFromLine(modelUnicharString, index, columnSeparatingCharacterType, card);
    if (!failure) {
        *unicharIndex = index;
        return card;
    }
    if (card)
        card->resetAllCardColumns();
    if (doesUseErrorCard) {
        return makeErrorCardFromLine(
            modelUnicharString, startIndex, unicharIndex, columnSeparatingCharacterType, failure);
    }
    *unicharIndex = index;
    UFemSetError(error, failure);
    return nullptr;
}

UErrorPtr UFemDataController::readCardFromLine(const UUnicharString& source, quint64& index,
    UFemColumnSeparatingCharacterType type, UFemCardPtr& card)
{
    const quint64 length = source.length();
    const UFemCardClassManager& registry = UFemCardClassManager::sharedCardClassManager();
    URange range {};
    UErrorPtr error;
    char16_t stop = UFemReadModelColumnString(source, index, length, range, type, &error);
    if (error)
        return error;
    if (range.length == 0) {
        while (isSeparator(stop, type)) {
            ++index;
            stop = UFemReadModelColumnString(source, index, length, range, type, &error);
            if (error)
                return error;
            if (range.length != 0)
                return UFemEmptyCardClassNameError();
        }
        card = registry.nullCardClass().makeCard(this);
    } else {
        const UFemCardClass* cardClass
            = registry.kindOfCardClassWithCardLabelString(source.substringWithRange(range), &error);
        if (cardClass == nullptr)
            return error;
        card = cardClass->makeCard(this);
        if (UErrorPtr columnError = readColumnsOfCard(source, index, type, *card, stop))
            return columnError;
    }
    if (stop == UFemCommentCharacter) {
        ++index;
        UFemReadModelCommentString(source, index, length, range, &error);
        if (!error)
            // The answer is in error.
            static_cast<void>(card->setCommentString(source.substringWithRange(range), &error));
        if (error)
            return UFemEditCardError_withBaseError_appendingColumnIndexInfoString(
                error, ULocalizedString("Comment string"));
    }
    return card->checkErrorToRegister();
}

// Columns 1.. of a card whose label was read; leaves `stop` on what ended the last column read.
UErrorPtr UFemDataController::readColumnsOfCard(const UUnicharString& source, quint64& index,
    UFemColumnSeparatingCharacterType type, UFemCard& card, char16_t& stop)
{
    const quint64 length = source.length();
    const quint64 numberOfColumns = card.numberOfColumns();
    URange range {};
    UErrorPtr error;
    quint64 column = 1;
    for (; column < numberOfColumns && isSeparator(stop, type); ++column) {
        ++index;
        stop = UFemReadModelColumnString(source, index, length, range, type, &error);
        if (!error && range.length != 0)
            // The answer is in error.
            static_cast<void>(card.cardColumnAtIndex(column)->setColumnWithColumnStringView(
                source.stringView().mid(qsizetype(range.location), qsizetype(range.length)),
                &error));
        if (error)
            return wrapColumnError(error, column + 1);
    }
    if (column < numberOfColumns || !isSeparator(stop, type))
        return nullptr;
    // Empty columns past the class's count are allowed; a non-empty one is too many.
    quint64 lastNonEmptyPosition = 0;
    for (quint64 position = numberOfColumns + 1; isSeparator(stop, type); ++position) {
        ++index;
        stop = UFemReadModelColumnString(source, index, length, range, type, &error);
        if (error)
            return wrapColumnError(error, position);
        if (range.length != 0)
            lastNonEmptyPosition = position;
    }
    if (lastNonEmptyPosition != 0) {
        return UFemTooMuchColumnsError_withCardClassNameString(
            card.cardLabelString(), numberOfColumns, lastNonEmptyPosition);
    }
    return nullptr;
}

UFemCardPtr UFemDataController::makeErrorCardFromLine(const UUnicharString& source,
    quint64 startIndex, quint64* unicharIndex, UFemColumnSeparatingCharacterType type,
    const UErrorPtr& lineError)
{
    UFemCardTextColumns record;
    quint64 index = startIndex;
    record.readModelStringCharactersFromString(source, index, type);
    *unicharIndex = index;
    if (!record.cardErrorObject())
        record.setErrorObject(lineError);
    return makeErrorCardFromRecord(record);
}

UFemCardPtr UFemDataController::makeErrorCardFromRecord(const UFemCardTextColumns& record)
{
    UFemCardPtr errorCard
        = UFemCardClassManager::sharedCardClassManager().errorCardClass().makeCard(this);
    UErrorPtr error;
    if (!errorCard->setCardColumnsWithCardTextColumns(record, &error))
        UFemRaiseProgramError(QStringLiteral("Error while set CardTextColumns to ErrorCard."));
    return errorCard;
}

UFemCardPtr UFemDataController::_makeCardWithCardTextColumns(
    UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error)
{
    const qint32 cardType = cardTextColumns.cardType();
    const UFemCardClassManager& registry = UFemCardClassManager::sharedCardClassManager();
    const UFemCardClass* cardClass = nullptr;
    UErrorPtr failure;
    // A label beginning with '#' (a special record) names no class of its own: it is looked up,
    // and fails, like any unknown label.
    if (UFemIsNormalCardType(cardType) || cardType == UFemSpecialCardType) {
        cardClass = registry.kindOfCardClassWithCardLabelString(
            cardTextColumns.columnStringAtIndex(0).value_or(QString()), &failure);
    } else if (cardType == UFemNullCardType) {
        cardClass = &registry.nullCardClass();
    } else if (cardType == UFemErrorCardType) {
        cardClass = &registry.errorCardClass();
    } else {
        UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown card type."), cardType);
    }
    UFemCardPtr card;
    if (cardClass != nullptr) {
        card = cardClass->makeCard(this);
        if (card->setCardColumnsWithCardTextColumns(cardTextColumns, &failure))
            failure = card->checkErrorToRegister();
    }
    if (!failure)
        return card;
    if (card)
        card->resetAllCardColumns();
    if (doesUseErrorCard) {
        cardTextColumns.setErrorObject(failure);
        return makeErrorCardFromRecord(cardTextColumns);
    }
    UFemSetError(error, failure);
    return nullptr;
}
