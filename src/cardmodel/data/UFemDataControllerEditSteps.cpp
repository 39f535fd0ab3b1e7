// The private edits of a data controller: each makes one change of the cards, keeps the row it
// touched and leaves its exact inverse with the undo manager. They post nothing; the public edits
// bracket them with the notifications.
#include "cardmodel/data/UFemDataController.h"

#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardName.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/errors/UFemErrorsOther.h"
#include "foundation/errors/UFemErrorsSearchCardName.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UUnicharString.h"

#include <algorithm>
#include <map>

namespace {

// Names the open step and hands the error on; always false.
[[nodiscard]] bool failEdit(
    UFemDataController& controller, const char* actionName, UErrorPtr failure, UErrorPtr* error)
{
    controller.setUndoActionName(QString::fromLatin1(actionName));
    UFemSetError(error, std::move(failure));
    return false;
}

// The name of that text in use, or nullptr with the error.
[[nodiscard]] std::shared_ptr<UFemCardName> usedCardName(
    const UFemDataController& controller, const QString& text, UErrorPtr* error)
{
    UErrorPtr failure;
    std::shared_ptr<UFemCardName> cardName
        = controller.searchCardNameWithCardNameString(text, &failure);
    if (!failure && !cardName)
        failure = UFemSearchingCardNameCardNameNotUsedError_withCardNameString(text);
    if (failure)
        *error = failure;
    return failure ? nullptr : cardName;
}

} // namespace

bool UFemDataController::_addCardWithCardTextColumns(
    UFemCardTextColumns& cardTextColumns, quint64 rowIndex, bool doesUseErrorCard, UErrorPtr* error)
{
    static const char* aborted = "Add Card - Aborted by Error";
    if (UErrorPtr locked = errorIfLocked())
        return failEdit(*this, aborted, locked, error);
    UErrorPtr failure;
    if (nextCardIdentifierNumber_ >= nextCardIdentifierNumberWarningNumber_ - 1
        && !_checkCardIdentifierNumberLimitAndMakeWarningOrErrorWithCardCount(1, &failure)) {
        return failEdit(*this, aborted, failure, error);
    }
    const quint64 row = rowIndex == UFemNotFound ? cardTable_.count() : rowIndex;
    // Checked before the card binds its names, so that a refusal leaves no name behind.
    if (row > cardTable_.count())
        UFemRaiseProgramError(QStringLiteral("The index to add is out of list."));
    const UFemCardPtr card
        = _makeCardWithCardTextColumns(cardTextColumns, doesUseErrorCard, &failure);
    if (!card)
        return failEdit(*this, aborted, failure, error);
    UFemRaisesOnFailure(cardTable_.insertCard(card, row, nullptr));
    enterCard(card, identifierNumberForRecord(cardTextColumns));
    lastEditedCardRowIndex_ = row;
    registerUndo([row](UFemDataController& controller) {
        UFemRaisesOnFailure(controller._removeCardAtIndex(row, nullptr));
    });
    setUndoActionName(QStringLiteral("Add Card"));
    return true;
}

bool UFemDataController::_removeCardAtIndex(quint64 rowIndex, UErrorPtr* error)
{
    if (UErrorPtr locked = errorIfLocked())
        return failEdit(*this, "Remove Card - Aborted by Error", locked, error);
    const UFemCardPtr card = cardTable_.cardAtIndex(rowIndex);
    const quint64 number = card->cardIdentifierNumber();
    const UFemCardTextColumnsPtr record = card->cardTextColumns();
    record->setCardIdentifierNumber(number);
    UFemRaisesOnFailure(cardTable_.removeCardAtIndex(rowIndex, nullptr));
    cardIdentifierNumberDictionary_.erase(number);
    card->resetAllCardColumns();
    lastEditedCardRowIndex_ = rowIndex;
    registerUndo([record, rowIndex](UFemDataController& controller) {
        UFemRaisesOnFailure(
            controller._addCardWithCardTextColumns(*record, rowIndex, false, nullptr));
    });
    setUndoActionName(QStringLiteral("Remove Card"));
    return true;
}

bool UFemDataController::_modifyCardAtIndex(
    quint64 rowIndex, UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error)
{
    return replaceCardAtIndex(
        rowIndex,
        [&](UErrorPtr* failure) {
            return _makeCardWithCardTextColumns(cardTextColumns, doesUseErrorCard, failure);
        },
        error);
}

bool UFemDataController::_modifyCardAtIndex(quint64 rowIndex, const QString& cardString,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
    UErrorPtr* error)
{
    return replaceCardAtIndex(
        rowIndex,
        [&](UErrorPtr* failure) {
            return makeCardFromOneLine(
                rowIndex, cardString, columnSeparatingCharacterType, doesUseErrorCard, failure);
        },
        error);
}

// The card of the string's one line; what follows it may only be one line end.
UFemCardPtr UFemDataController::makeCardFromOneLine(quint64 rowIndex, const QString& cardString,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
    UErrorPtr* error)
{
    const UUnicharString source(cardString);
    quint64 index = 0;
    const UFemCardPtr card = _makeCardWithModelUnicharString(
        source, &index, columnSeparatingCharacterType, doesUseErrorCard, error);
    if (!card)
        return nullptr;
    UErrorPtr failure;
    if (index < source.length()) {
        const char16_t stop = source.characterAtIndex(index);
        if (stop != UFemLineFeedCharacter && stop != UFemCarriageReturnCharacter) {
            failure = UFemUnexpectedError_withDescription(UFormattedString(
                "Modifying card at index: %lu failed. 'Card String' continues???", rowIndex));
        } else if (index + 1 < source.length()) {
            failure = UFemCardStringContainsSomeLinesError();
        }
    }
    if (!failure)
        return card;
    card->resetAllCardColumns();
    UFemSetError(error, failure);
    return nullptr;
}

bool UFemDataController::replaceCardAtIndex(
    quint64 rowIndex, const std::function<UFemCardPtr(UErrorPtr*)>& makeNewCard, UErrorPtr* error)
{
    static const char* aborted = "Modify Card - Aborted by Error";
    if (UErrorPtr locked = errorIfLocked())
        return failEdit(*this, aborted, locked, error);
    const UFemCardPtr oldCard = cardTable_.cardAtIndex(rowIndex);
    const quint64 number = oldCard->cardIdentifierNumber();
    const UFemCardTextColumnsPtr oldRecord = oldCard->cardTextColumns();
    oldRecord->setCardIdentifierNumber(number);
    // Its names are freed for the new card; it keeps its row until the new card takes it, so
    // that no other card moves.
    oldCard->resetAllCardColumns();
    UErrorPtr failure;
    if (const UFemCardPtr newCard = makeNewCard(&failure)) {
        cardTable_.replaceCardAtIndex(rowIndex, newCard);
        enterCard(newCard, number);
        lastEditedCardRowIndex_ = rowIndex;
        registerUndo([rowIndex, oldRecord](UFemDataController& controller) {
            UFemRaisesOnFailure(
                controller._modifyCardAtIndex(rowIndex, *oldRecord, false, nullptr));
        });
        setUndoActionName(QStringLiteral("Modify Card"));
        return true;
    }
    UErrorPtr refillError;
    if (!oldCard->setCardColumnsWithCardTextColumns(*oldRecord, &refillError))
        UFemRaiseProgramError(QStringLiteral("error while old card back - 2"));
    return failEdit(*this, aborted, failure, error);
}

bool UFemDataController::_overwriteCardWithCardTextColumns(
    UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error)
{
    static const char* aborted = "Overwrite Card - Aborted by Error";
    if (UErrorPtr locked = errorIfLocked())
        return failEdit(*this, aborted, locked, error);
    const QString nameString = cardTextColumns.cardNameString().value_or(QString());
    UErrorPtr failure;
    const std::shared_ptr<UFemCardName> cardName = usedCardName(*this, nameString, &failure);
    if (cardName && cardName->isAllowedHaveSomeCard())
        failure = UFemOverwritingCardCardOfCardNameAllowedHaveSomeCardError_withCardNameString(
            nameString);
    else if (cardName && !cardName->hasCard())
        failure = UFemSearchingCardNameCardOfCardNameNotExistError_withCardNameString(nameString);
    if (failure)
        return failEdit(*this, aborted, failure, error);
    const quint64 row = cardName->card()->cardRowIndex();
    if (!_modifyCardAtIndex(row, cardTextColumns, doesUseErrorCard, &failure))
        return failEdit(*this, aborted, failure, error);
    lastEditedCardRowIndex_ = row;
    setUndoActionName(QStringLiteral("Overwrite Card"));
    return true;
}

bool UFemDataController::_changeCardNameFromCardNameString(
    const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error)
{
    static const char* aborted = "Change Card Name - Aborted by Error";
    if (UErrorPtr locked = errorIfLocked())
        return failEdit(*this, aborted, locked, error);
    UErrorPtr failure;
    // The name's own texts, trimmed, so that the inverse finds it again.
    const std::shared_ptr<UFemCardName> cardName
        = cardNameTable_.searchCardNameWithCardNameString(oldCardNameString, &failure);
    const QString oldText = cardName ? cardName->cardNameString() : QString();
    failure.reset();
    if (!cardNameTable_.changeCardNameFromCardNameString(
            oldCardNameString, newCardNameString, &failure))
        return failEdit(*this, aborted, failure, error);
    registerUndo([newText = cardName->cardNameString(), oldText](UFemDataController& controller) {
        UFemRaisesOnFailure(
            controller._changeCardNameFromCardNameString(newText, oldText, nullptr));
    });
    setUndoActionName(QStringLiteral("Change Card Name"));
    return true;
}

// A card may hold the old name in several columns: each card is re-made once, with all of them
// rewritten, because a second modification would reach a card no longer in the model.
bool UFemDataController::_mergeCardNameFromCardNameString(
    const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error)
{
    static const char* aborted = "Merge Card Name - Aborted by Error";
    if (UErrorPtr locked = errorIfLocked())
        return failEdit(*this, aborted, locked, error);
    UErrorPtr failure;
    const std::shared_ptr<UFemCardName> oldCardName
        = usedCardName(*this, oldCardNameString, &failure);
    const std::shared_ptr<UFemCardName> newCardName
        = oldCardName ? usedCardName(*this, newCardNameString, &failure) : nullptr;
    if (failure)
        return failEdit(*this, aborted, failure, error);
    // Fixed before any change, by card in row order.
    std::vector<UFemCardColumn*> columns;
    if (oldCardName->cardColumn() != nullptr)
        columns.push_back(oldCardName->cardColumn());
    for (const UFemCardColumnSet* set :
        { oldCardName->cardColumnSet(), oldCardName->nameRefCardColumnSet() }) {
        if (set != nullptr)
            columns.insert(columns.end(), set->columns().begin(), set->columns().end());
    }
    std::map<quint64, std::pair<UFemCardPtr, std::vector<quint64>>> columnsByRow;
    for (UFemCardColumn* column : columns) {
        auto& entry = columnsByRow[column->ownerCard()->cardRowIndex()];
        entry.first = column->ownerCard()->shared_from_this();
        entry.second.push_back(column->columnIndex());
    }
    const QString newText = newCardName->cardNameString();
    for (const auto& [row, entry] : columnsByRow) {
        if ((failure = mergeCardNameOfCard(entry.first, entry.second, *oldCardName, newText)))
            return failEdit(*this, aborted, failure, error);
    }
    setUndoActionName(QStringLiteral("Merge Card Name"));
    return true;
}

UErrorPtr UFemDataController::mergeCardNameOfCard(const UFemCardPtr& card,
    const std::vector<quint64>& columnIndexes, const UFemCardName& oldCardName,
    const QString& newCardNameString)
{
    const UFemCardTextColumnsPtr record = card->cardTextColumns();
    UErrorPtr failure;
    for (const quint64 columnIndex : columnIndexes) {
        const std::optional<QString> text = card->cardColumnAtIndex(columnIndex)
                                                ->supposedColumnStringWithSupposedCardNameString(
                                                    newCardNameString, &oldCardName, &failure);
        if (failure || !record->setColumnString(text.value_or(QString()), columnIndex, &failure))
            return failure;
    }
    // The answer is in failure.
    static_cast<void>(_modifyCardAtIndex(card->cardRowIndex(), *record, true, &failure));
    return failure;
}

void UFemDataController::beep() const
{
    if (services_.beep)
        services_.beep();
}
