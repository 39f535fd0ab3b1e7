// The public edits of a data controller: lock check, argument checks, the notification bracket
// around the private edits, and the localised name of the undo step.
#include "cardmodel/data/UFemDataController.h"

#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"

#include <algorithm>

bool UFemDataController::runEdit(const QString& actionName, const char* abortedActionName,
    const std::function<bool(UErrorPtr*)>& change, UErrorPtr* error)
{
    if (UErrorPtr locked = errorIfLocked()) {
        setUndoActionName(ULocalizedString(abortedActionName));
        UFemSetError(error, locked);
        return false;
    }
    UErrorPtr failure;
    bool done = false;
    {
        const ModelDataChange bracket(*this);
        done = change(&failure);
        setUndoActionName(done ? actionName : ULocalizedString(abortedActionName));
    }
    if (!done)
        UFemSetError(error, failure);
    return done;
}

namespace {

// Checked before anything is posted: a row beyond the end is a program error.
void requireRow(UFemDataController& controller, quint64 rowIndex)
{
    const quint64 count = controller.cardCount();
    if (rowIndex >= count) {
        UFemRaiseProgramError(ULocalizedFormattedString(
            "anIndex >= [cardArray count]. anIndex: %lu, [cardArray count]: %lu", rowIndex, count));
    }
}

void requireRowIndexSet(UFemDataController& controller, const UFemRowIndexSet& rowIndexSet)
{
    if (!std::is_sorted(rowIndexSet.begin(), rowIndexSet.end())
        || std::adjacent_find(rowIndexSet.begin(), rowIndexSet.end()) != rowIndexSet.end()) {
        UFemRaiseProgramError(QStringLiteral("The index set is not ascending."));
    }
    if (!rowIndexSet.empty())
        requireRow(controller, rowIndexSet.back());
}

} // namespace

quint64 UFemDataController::addCardsWithModelText(
    const QString& modelText, quint64 rowIndex, bool doesUseErrorCard, UErrorPtr* error)
{
    return addCardsWithModelText(
        modelText, UFemColumnSeparatingCharacterTypeComma, rowIndex, doesUseErrorCard, error);
}

bool UFemDataController::addCardsWithCardTextColumnsArray(
    const std::vector<UFemCardTextColumnsPtr>& cardTextColumnsArray, quint64 rowIndex,
    bool doesUseErrorCard, UErrorPtr* error)
{
    static const char* aborted = "Add Some Cards - Aborted by Error";
    const quint64 count = cardTextColumnsArray.size();
    if (errorIfLocked())
        return runEdit(QString(), aborted, {}, error);
    if (rowIndex > cardCount())
        UFemRaiseProgramError(QStringLiteral("The index to add is out of list."));
    if (count == 0) {
        const ModelDataChange bracket(*this);
        beep();
        return true;
    }
    UFemRowIndexSet rows(count);
    for (quint64 k = 0; k < count; ++k)
        rows[k] = rowIndex + k;
    return runEdit(
        ULocalizedFormattedString("Add %lu Cards", count), aborted,
        [&](UErrorPtr* failure) {
            return _addCardWithCardTextColumnsArray(
                cardTextColumnsArray, rows, doesUseErrorCard, failure);
        },
        error);
}

bool UFemDataController::addCardWithCardTextColumns(
    UFemCardTextColumns& cardTextColumns, quint64 rowIndex, bool doesUseErrorCard, UErrorPtr* error)
{
    static const char* aborted = "Add Card - Aborted by Error";
    if (!errorIfLocked() && rowIndex != UFemNotFound && rowIndex > cardCount())
        UFemRaiseProgramError(QStringLiteral("The index to add is out of list."));
    return runEdit(
        ULocalizedString("Add Card"), aborted,
        [&](UErrorPtr* failure) {
            return _addCardWithCardTextColumns(
                cardTextColumns, rowIndex, doesUseErrorCard, failure);
        },
        error);
}

bool UFemDataController::modifyCardAtIndex(
    quint64 rowIndex, UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error)
{
    if (!errorIfLocked())
        requireRow(*this, rowIndex);
    return runEdit(
        ULocalizedString("Modify Card"), "Modify Card - Aborted by Error",
        [&](UErrorPtr* failure) {
            return _modifyCardAtIndex(rowIndex, cardTextColumns, doesUseErrorCard, failure);
        },
        error);
}

bool UFemDataController::modifyCardAtIndex(quint64 rowIndex, const QString& cardString,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
    UErrorPtr* error)
{
    if (!errorIfLocked())
        requireRow(*this, rowIndex);
    return runEdit(
        ULocalizedString("Modify Card"), "Modify Card - Aborted by Error",
        [&](UErrorPtr* failure) {
            return _modifyCardAtIndex(
                rowIndex, cardString, columnSeparatingCharacterType, doesUseErrorCard, failure);
        },
        error);
}

quint64 UFemDataController::modifyCardOfCard(const UFemCard& card,
    UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error)
{
    const quint64 row = cardRowIndexOfCard(card);
    return modifyCardAtIndex(row, cardTextColumns, doesUseErrorCard, error) ? row : UFemNotFound;
}

quint64 UFemDataController::modifyCardOfCard(const UFemCard& card, const QString& cardString,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
    UErrorPtr* error)
{
    const quint64 row = cardRowIndexOfCard(card);
    return modifyCardAtIndex(
               row, cardString, columnSeparatingCharacterType, doesUseErrorCard, error)
        ? row
        : UFemNotFound;
}

std::optional<UFemRowIndexSet> UFemDataController::modifyCardsInCardArray(
    const std::vector<UFemCardPtr>& targetCardArray, const QStringList& cardStringArray,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
    UErrorPtr* error)
{
    static const char* aborted = "Modify Some Cards - Aborted by Error";
    if (errorIfLocked()) {
        // Only for the lock error it gives.
        static_cast<void>(runEdit(QString(), aborted, {}, error));
        return std::nullopt;
    }
    if (targetCardArray.size() != std::size_t(cardStringArray.size()))
        UFemRaiseProgramError(
            QStringLiteral("[aTargetCardArray count] != [aCardStringArray count]"));
    // Rows are taken before any change: a card once re-made is no longer in the model.
    std::vector<quint64> rows;
    for (const UFemCardPtr& card : targetCardArray) {
        rows.push_back(cardRowIndexOfCard(*card));
        requireRow(*this, rows.back());
    }
    const bool done = runEdit(
        ULocalizedFormattedString("Modify %lu cards", quint64(rows.size())), aborted,
        [&](UErrorPtr* failure) {
            for (std::size_t k = 0; k < rows.size(); ++k) {
                if (!_modifyCardAtIndex(rows[k], cardStringArray[qsizetype(k)],
                        columnSeparatingCharacterType, doesUseErrorCard, failure)) {
                    return false;
                }
            }
            return true;
        },
        error);
    if (!done)
        return std::nullopt;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool UFemDataController::modifyCardsAtIndexSet(const UFemRowIndexSet& rowIndexSet,
    const QStringList& cardStringArray,
    UFemColumnSeparatingCharacterType columnSeparatingCharacterType, bool doesUseErrorCard,
    UErrorPtr* error)
{
    static const char* aborted = "Modify Some Cards - Aborted by Error";
    if (errorIfLocked())
        return runEdit(QString(), aborted, {}, error);
    if (rowIndexSet.size() != std::size_t(cardStringArray.size()))
        UFemRaiseProgramError(
            QStringLiteral("[aCardRowIndexSet count] != [aCardStringArray count]"));
    requireRowIndexSet(*this, rowIndexSet);
    return runEdit(
        ULocalizedFormattedString("Modify %lu cards", quint64(rowIndexSet.size())), aborted,
        [&](UErrorPtr* failure) {
            for (std::size_t k = 0; k < rowIndexSet.size(); ++k) {
                if (!_modifyCardAtIndex(rowIndexSet[k], cardStringArray[qsizetype(k)],
                        columnSeparatingCharacterType, doesUseErrorCard, failure)) {
                    return false;
                }
            }
            return true;
        },
        error);
}

bool UFemDataController::removeCardAtIndex(quint64 rowIndex, UErrorPtr* error)
{
    if (!errorIfLocked())
        requireRow(*this, rowIndex);
    return runEdit(
        ULocalizedString("Remove Card"), "Remove Card - Aborted by Error",
        [&](UErrorPtr* failure) { return _removeCardAtIndex(rowIndex, failure); }, error);
}

bool UFemDataController::removeCardsAtIndexSet(const UFemRowIndexSet& rowIndexSet, UErrorPtr* error)
{
    static const char* aborted = "Remove Some Cards - Aborted by Error";
    if (errorIfLocked())
        return runEdit(QString(), aborted, {}, error);
    requireRowIndexSet(*this, rowIndexSet);
    if (rowIndexSet.empty()) {
        const ModelDataChange bracket(*this);
        beep();
        return true;
    }
    return runEdit(
        ULocalizedFormattedString("Remove %lu Cards", quint64(rowIndexSet.size())), aborted,
        [&](UErrorPtr* failure) { return _removeCardsAtIndexSet(rowIndexSet, failure); }, error);
}

quint64 UFemDataController::removeCard(const UFemCard& card, UErrorPtr* error)
{
    const quint64 row = cardRowIndexOfCard(card);
    return removeCardAtIndex(row, error) ? row : UFemNotFound;
}

bool UFemDataController::removeCardsWithCardArray(
    const std::vector<UFemCardPtr>& cardArray, UErrorPtr* error)
{
    if (errorIfLocked())
        return removeCardsAtIndexSet({}, error);
    if (cardArray.empty()) {
        beep();
        return true;
    }
    UFemRowIndexSet rows;
    for (const UFemCardPtr& card : cardArray)
        rows.push_back(cardRowIndexOfCard(*card));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return removeCardsAtIndexSet(rows, error);
}

bool UFemDataController::overwriteCardWithCardTextColumns(
    UFemCardTextColumns& cardTextColumns, bool doesUseErrorCard, UErrorPtr* error)
{
    return runEdit(
        ULocalizedString("Overwrite Card"), "Overwrite Card - Aborted by Error",
        [&](UErrorPtr* failure) {
            return _overwriteCardWithCardTextColumns(cardTextColumns, doesUseErrorCard, failure);
        },
        error);
}

bool UFemDataController::changeCardNameFromCardNameString(
    const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error)
{
    return runEdit(
        ULocalizedString("Change Card Name"), "Change Card Name - Aborted by Error",
        [&](UErrorPtr* failure) {
            return _changeCardNameFromCardNameString(oldCardNameString, newCardNameString, failure);
        },
        error);
}

bool UFemDataController::mergeCardNameFromCardNameString(
    const QString& oldCardNameString, const QString& newCardNameString, UErrorPtr* error)
{
    return runEdit(
        ULocalizedString("Merge Card Name"), "Merge Card Name - Aborted by Error",
        [&](UErrorPtr* failure) {
            return _mergeCardNameFromCardNameString(oldCardNameString, newCardNameString, failure);
        },
        error);
}

bool UFemDataController::mergeCardNameFromCardNameStringArray(
    const QStringList& oldCardNameStringArray, const QStringList& newCardNameStringArray,
    UErrorPtr* error)
{
    static const char* aborted = "Merge Card Name - Aborted by Error";
    if (errorIfLocked())
        return runEdit(QString(), aborted, {}, error);
    if (oldCardNameStringArray.size() != newCardNameStringArray.size()) {
        UFemRaiseProgramError(QStringLiteral(
            "[NewCardNameStringArray count] and [OldCardNameStringArray count] are different."));
    }
    return runEdit(
        ULocalizedString("Merge Card Name"), aborted,
        [&](UErrorPtr* failure) {
            for (qsizetype k = 0; k < oldCardNameStringArray.size(); ++k) {
                if (!_mergeCardNameFromCardNameString(
                        oldCardNameStringArray[k], newCardNameStringArray[k], failure))
                    return false;
            }
            return true;
        },
        error);
}
