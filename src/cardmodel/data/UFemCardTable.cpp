#include "cardmodel/data/UFemCardTable.h"

#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/card/UFemNodeCard.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"

#include <algorithm>

namespace {

constexpr quint64 initialCardCapacity = 20000;
constexpr quint64 initialTypeCapacity = 100;
constexpr quint64 initialNodeCapacity = 10000;
constexpr quint64 initialElementCapacity = 15000;
constexpr quint64 initialForceCapacity = 10000;
constexpr quint64 minimumResetCapacity = 10000;

quint64 initialCapacityOfCardType(qint32 cardType)
{
    switch (cardType) {
    case UFemNodeCardType:
        return initialNodeCapacity;
    case UFemElementCardType:
        return initialElementCapacity;
    case UFemForceCardType:
        return initialForceCapacity;
    default:
        return initialTypeCapacity;
    }
}

quint64 resetCapacityOfCardType(qint32 cardType, quint64 m)
{
    switch (cardType) {
    case UFemElementCardType:
        return std::max(m / 2 + m / 4, minimumResetCapacity);
    case UFemNodeCardType:
    case UFemForceCardType:
        return std::max(m / 2, minimumResetCapacity);
    default:
        return minimumResetCapacity;
    }
}

// The card's last known row when it still holds, else a search of the card array.
quint64 rowOrLast(const UFemCardArray& array, const UFemCardPtr& card)
{
    const quint64 known = card->cardRowIndex_last();
    if (known < array.count() && array.objectAtIndex(known) == card)
        return known;
    const quint64 row = array.indexOfObjectIdenticalTo(card);
    if (row == UNSNotFound)
        return UFemNotFound;
    card->setCardRowIndex_last(row);
    return row;
}

} // namespace

UFemCardTable::UFemCardTable()
{
    cardArray_.emplace(initialCardCapacity);
    for (qint32 t = 0; t < cardTypeArrayCount; ++t)
        cardTypeCardArrayTable_[t].emplace(initialCapacityOfCardType(t));
}

UFemCardTable::~UFemCardTable() = default;

void UFemCardTable::resetWithCapacity(quint64 capacity)
{
    const quint64 m = std::max(capacity, minimumResetCapacity);
    cardArray_.emplace(m);
    for (qint32 t = 0; t < cardTypeArrayCount; ++t)
        cardTypeCardArrayTable_[t].emplace(resetCapacityOfCardType(t, m));
}

void UFemCardTable::removeAllCards()
{
    cardArray_->removeAllObjects();
    for (auto& array : cardTypeCardArrayTable_)
        array->removeAllObjects();
    isCardTypeCardArrayTableValid_ = true;
    noteRead();
}

bool UFemCardTable::addCard(UFemCardPtr card, UErrorPtr* error)
{
    return insertCard(std::move(card), cardArray_->count(), error);
}

bool UFemCardTable::countChangeAndKeepTypeArrays()
{
    const quint64 changes = changeCountAfterRead_.fetch_add(1, std::memory_order_relaxed) + 1;
    if (!isCardTypeCardArrayTableValid_)
        return false;
    if (changes <= maximumIncrementalChangeCount)
        return true;
    isCardTypeCardArrayTableValid_ = false;
    return false;
}

UFemCardArray& UFemCardTable::typeArrayOfCard(const UFemCard& card)
{
    const qint32 type = card.cardType();
    if (type < 0 || type >= cardTypeArrayCount)
        UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown card type."), type);
    return *cardTypeCardArrayTable_[type];
}

bool UFemCardTable::insertCard(UFemCardPtr card, quint64 rowIndex, UErrorPtr*)
{
    if (rowIndex > cardArray_->count())
        UFemRaiseProgramError(QStringLiteral("The index to add is out of list."));
    cardArray_->insertObject(card, rowIndex);
    // A card's row is found by a search of the model when its last known row misses: a card
    // that never had one would cost a search at its first question.
    card->setCardRowIndex_last(rowIndex);
    if (countChangeAndKeepTypeArrays())
        insertIntoTypeArray(card, rowIndex);
    return true;
}

// Bisection by row: the first element whose row is not before `rowIndex`.
quint64 UFemCardTable::typeArrayPositionOfRow(const UFemCardArray& array, quint64 rowIndex) const
{
    quint64 low = 0;
    quint64 high = array.count();
    while (low < high) {
        const quint64 mid = (low + high) / 2;
        if (rowOrLast(*cardArray_, array.objectAtIndex(mid)) < rowIndex)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

// The new card is already at its row, so the elements after it have rows past it.
void UFemCardTable::insertIntoTypeArray(const UFemCardPtr& card, quint64 rowIndex)
{
    UFemCardArray& array = typeArrayOfCard(*card);
    array.insertObject(card, typeArrayPositionOfRow(array, rowIndex + 1));
}

UFemCardPtr UFemCardTable::replaceCardAtIndex(quint64 rowIndex, UFemCardPtr card)
{
    const quint64 count = cardArray_->count();
    if (rowIndex >= count) {
        UFemRaiseProgramError(ULocalizedFormattedString(
            "anIndex >= [cardArray count]. anIndex: %lu, [cardArray count]: %lu", rowIndex, count));
    }
    UFemCardPtr old = cardArray_->objectAtIndex(rowIndex);
    const bool keepsTypeArrays = countChangeAndKeepTypeArrays();
    if (keepsTypeArrays) {
        UFemCardArray& oldArray = typeArrayOfCard(*old);
        const quint64 position = typeArrayPositionOfRow(oldArray, rowIndex);
        if (&oldArray == &typeArrayOfCard(*card)) {
            oldArray.replaceObjectAtIndex(position, card);
        } else {
            oldArray.removeObjectAtIndex(position);
        }
    }
    cardArray_->replaceObjectAtIndex(rowIndex, card);
    card->setCardRowIndex_last(rowIndex);
    if (keepsTypeArrays && old->cardType() != card->cardType())
        insertIntoTypeArray(card, rowIndex);
    return old;
}

UFemCardPtr UFemCardTable::removeCardAtIndex(quint64 rowIndex, UErrorPtr*)
{
    const quint64 count = cardArray_->count();
    if (rowIndex >= count) {
        UFemRaiseProgramError(ULocalizedFormattedString(
            "anIndex >= [cardArray count]. anIndex: %lu, [cardArray count]: %lu", rowIndex, count));
    }
    UFemCardPtr card = cardArray_->objectAtIndex(rowIndex);
    cardArray_->removeObjectAtIndex(rowIndex);
    if (countChangeAndKeepTypeArrays())
        typeArrayOfCard(*card).removeObjectIdenticalTo(card);
    return card;
}

quint64 UFemCardTable::count()
{
    noteRead();
    return cardArray_->count();
}

const UFemCardArray& UFemCardTable::cardArray()
{
    noteRead();
    return *cardArray_;
}

bool UFemCardTable::containsCard(const UFemCardPtr& card)
{
    noteRead();
    return card && cardArray_->containsObject(card);
}

quint64 UFemCardTable::indexOfCard(const UFemCardPtr& card)
{
    noteRead();
    const quint64 row = card ? cardArray_->indexOfObjectIdenticalTo(card) : UNSNotFound;
    if (row == UNSNotFound)
        UFemRaiseProgramError(
            QStringLiteral("The 'cardArray' doesn't contain the Card with 'Pointer'."));
    return row;
}

const UFemCardPtr& UFemCardTable::cardAtIndex(quint64 rowIndex)
{
    noteRead();
    const quint64 count = cardArray_->count();
    if (rowIndex >= count) {
        UFemRaiseProgramError(ULocalizedFormattedString(
            "anIndex >= [cardArray count]. anIndex: %lu, [cardArray count]: %lu", rowIndex, count));
    }
    return cardArray_->objectAtIndex(rowIndex);
}

const UFemCardArray& UFemCardTable::cardArrayOfCardType(qint32 cardType)
{
    noteRead();
    if (cardType < 0 || cardType >= cardTypeArrayCount)
        UFemRaiseProgramErrorWithValue(QStringLiteral("Unknown card type."), cardType);
    if (!isCardTypeCardArrayTableValid_)
        rebuildCardTypeCardArrayTable();
    return *cardTypeCardArrayTable_[cardType];
}

void UFemCardTable::rebuildCardTypeCardArrayTable()
{
    for (auto& array : cardTypeCardArrayTable_)
        array->removeAllObjects();
    for (const UFemCardPtr& card : *cardArray_)
        typeArrayOfCard(*card).addObject(card);
    isCardTypeCardArrayTableValid_ = true;
}

const UFemCardArray& UFemCardTable::nodeCardArray()
{
    return cardArrayOfCardType(UFemNodeCardType);
}
const UFemCardArray& UFemCardTable::elementCardArray()
{
    return cardArrayOfCardType(UFemElementCardType);
}
const UFemCardArray& UFemCardTable::caseCardArray()
{
    return cardArrayOfCardType(UFemCaseCardType);
}
const UFemCardArray& UFemCardTable::restraintCardArray()
{
    return cardArrayOfCardType(UFemRestraintCardType);
}
const UFemCardArray& UFemCardTable::forceCardArray()
{
    return cardArrayOfCardType(UFemForceCardType);
}
const UFemCardArray& UFemCardTable::coordCardArray()
{
    return cardArrayOfCardType(UFemCoordCardType);
}

void UFemCardTable::insertCaseMenuItemToMenu(
    std::vector<UFemMenuItemDescription>& menu, qsizetype index)
{
    const UFemCardArray& cases = caseCardArray();
    auto position = menu.begin() + std::clamp<qsizetype>(index, 0, qsizetype(menu.size()));
    qint64 tag = UFemCaseMenuFirstTag;
    for (const UFemCardPtr& caseCard : cases) {
        position = menu.insert(
            position, { caseCard->cardNameString().value_or(QString()), tag++, false });
        ++position;
    }
}

UFemCardPtr UFemCardTable::caseCardOfCaseMenuTag(qint64 tag)
{
    const UFemCardArray& cases = caseCardArray();
    if (tag < UFemCaseMenuFirstTag || quint64(tag - UFemCaseMenuFirstTag) >= cases.count())
        UFemRaiseProgramErrorWithValue(
            QStringLiteral("The case menu tag is out of range."), long(tag));
    return cases.objectAtIndex(quint64(tag - UFemCaseMenuFirstTag));
}

QString UFemCardTable::caseNameStringOfCaseMenuTag(qint64 tag)
{
    return caseCardOfCaseMenuTag(tag)->cardNameString().value_or(QString());
}

qint64 UFemCardTable::caseMenuTagOfCaseCard(const UFemCardPtr& caseCard)
{
    const UFemCardArray& cases = caseCardArray();
    const quint64 position = caseCard ? cases.indexOfObjectIdenticalTo(caseCard) : UNSNotFound;
    if (position == UNSNotFound)
        UFemRaiseProgramError(QStringLiteral("'aCaseCard' is not found."));
    return UFemCaseMenuFirstTag + qint64(position);
}

qint64 UFemCardTable::caseMenuTagOfCaseNameString(const QString& caseNameString)
{
    qint64 tag = UFemCaseMenuFirstTag;
    for (const UFemCardPtr& caseCard : caseCardArray()) {
        if (caseCard->cardNameString() == caseNameString)
            return tag;
        ++tag;
    }
    UFemRaiseProgramError(QStringLiteral("'aCaseNameString' is not found."));
}

int UFemCompareByIndexInArray(
    const UFemCardPtr& a, const UFemCardPtr& b, const UFemCardArray& array)
{
    return rowOrLast(array, a) < rowOrLast(array, b) ? -1 : 1;
}

void UFemGetNodeBoundingBox(double boundingBox[6], const UFemCardArray& nodeCardArray)
{
    std::fill(boundingBox, boundingBox + 6, 0.0);
    bool isFirst = true;
    for (const UFemCardPtr& card : nodeCardArray) {
        const auto* node = dynamic_cast<const UFemNodeCard*>(card.get());
        if (node == nullptr)
            UFemRaiseProgramError(QStringLiteral("This is not a Node card."));
        double location[3];
        node->getNodeLocation(location);
        for (int axis = 0; axis < 3; ++axis) {
            double& low = boundingBox[2 * axis];
            double& high = boundingBox[2 * axis + 1];
            if (isFirst) {
                low = high = location[axis];
            } else {
                // Comparisons with NaN are false, so a NaN coordinate is passed over.
                low = location[axis] < low ? location[axis] : low;
                high = location[axis] > high ? location[axis] : high;
            }
        }
        isFirst = false;
    }
}
