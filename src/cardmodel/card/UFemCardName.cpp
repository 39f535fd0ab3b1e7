#include "cardmodel/card/UFemCardName.h"

#include "cardmodel/card/UFemCard.h"
#include "cardmodel/card/UFemCardColumn.h"
#include "cardmodel/card/UFemCardNameTable.h"
#include "cardmodel/card/UFemCardType.h"
#include "foundation/UFemNotFound.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"

#include <algorithm>
#include <array>
#include <unordered_set>
#include <utility>

namespace {

constexpr std::size_t initialColumnSetCapacity = 4;

} // namespace

std::size_t UFemCardColumnSet::positionOf(UFemCardColumn* column) const
{
    if (positions_) {
        const auto found = positions_->find(column);
        return found == positions_->end() ? UFemNotFound : found->second;
    }
    const auto found = std::find(columns_.begin(), columns_.end(), column);
    return found == columns_.end() ? UFemNotFound : std::size_t(found - columns_.begin());
}

void UFemCardColumnSet::insert(UFemCardColumn* column)
{
    if (positions_) {
        if (positions_->try_emplace(column, columns_.size()).second)
            columns_.push_back(column);
        return;
    }
    if (columns_.size() <= largestScannedSetSize
        && std::find(columns_.begin(), columns_.end(), column) != columns_.end())
        return;
    // A node is named by a few elements: one allocation instead of growing through 1, 2 and 4.
    if (columns_.empty())
        columns_.reserve(initialColumnSetCapacity);
    columns_.push_back(column);
}

void UFemCardColumnSet::makePositions()
{
    positions_ = std::make_unique<UPointerHashMap<UFemCardColumn, std::size_t>>();
    positions_->reserve(columns_.size());
    for (std::size_t i = 0; i < columns_.size(); ++i)
        positions_->emplace(columns_[i], i);
}

// Without memory for the positions, the set is scanned: slower, but an erase never fails.
void UFemCardColumnSet::makePositionsOrScan() noexcept
{
    try {
        makePositions();
    } catch (...) {
        positions_.reset();
    }
}

bool UFemCardColumnSet::erase(UFemCardColumn* column) noexcept
{
    if (!positions_ && columns_.size() > largestScannedSetSize)
        makePositionsOrScan();
    const std::size_t position = positionOf(column);
    if (position == UFemNotFound)
        return false;
    if (position + 1 != columns_.size())
        columns_[position] = columns_.back();
    columns_.pop_back();
    if (positions_) {
        positions_->erase(column);
        if (position != columns_.size())
            positions_->find(columns_[position])->second = position;
    }
    // An emptied set gives its memory back, as most names lose all their columns at once.
    if (columns_.empty()) {
        columns_ = {};
        positions_.reset();
    }
    return true;
}

void UFemSortCardsByRowIndex(std::vector<UFemCard*>& cards)
{
    std::vector<std::pair<quint64, UFemCard*>> keyed;
    keyed.reserve(cards.size());
    for (UFemCard* card : cards)
        keyed.emplace_back(card->cardRowIndex(), card);
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        return a.second->cardIdentifierNumber() < b.second->cardIdentifierNumber();
    });
    for (std::size_t i = 0; i < cards.size(); ++i)
        cards[i] = keyed[i].second;
}

namespace {

std::vector<UFemCard*> ownerCardsOf(const UFemCardColumnSet* columnSet)
{
    std::vector<UFemCard*> cards;
    if (columnSet == nullptr)
        return cards;
    std::unordered_set<UFemCard*> seen;
    for (UFemCardColumn* column : columnSet->columns()) {
        if (seen.insert(column->ownerCard()).second)
            cards.push_back(column->ownerCard());
    }
    // One card needs no row index, which may cost a search of the model.
    if (cards.size() > 1)
        UFemSortCardsByRowIndex(cards);
    return cards;
}

} // namespace

// One per name of a model: keep it from growing unnoticed.
static_assert(sizeof(UFemCardName) <= 104);

UFemCardName::UFemCardName(UFemCardNameTable* cardNameTable)
    : cardNameTable_(cardNameTable)
{
}

UFemCard* UFemCardName::card() const
{
    if (isAllowedHaveSomeCard())
        UFemRaiseCardClassProgramError(
            QStringLiteral("This method 'CardName-card' is ONLY for 'NOT allowedHaveSomeCard'."));
    return cardColumn_ != nullptr ? cardColumn_->ownerCard() : nullptr;
}

std::vector<UFemCard*> UFemCardName::cardArray() const
{
    if (!hasCard())
        return {};
    if (isAllowedHaveSomeCard())
        return ownerCardsOf(cardColumnSet());
    return { cardColumn_->ownerCard() };
}

std::vector<UFemCard*> UFemCardName::nameRefCardArray() const
{
    return ownerCardsOf(nameRefCardColumnSet());
}

bool UFemCardName::isLinkedFrom(const std::function<bool(const UFemCardName*)>& isTarget) const
{
    // Registration checks keep references free of loops, but they run after the columns are set:
    // the walk must end on a loop all the same, and visits each name once.
    std::unordered_set<const UFemCardName*> visited { this };
    std::vector<const UFemCardName*> pending { this };
    while (!pending.empty()) {
        const UFemCardName* name = pending.back();
        pending.pop_back();
        for (UFemCardColumn* column : name->refCardColumnSet_.columns()) {
            const UFemCardName* ownerName = column->ownerCard()->cardName();
            if (ownerName == nullptr)
                continue;
            if (isTarget(ownerName))
                return true;
            if (visited.insert(ownerName).second)
                pending.push_back(ownerName);
        }
    }
    return false;
}

namespace {

constexpr quint64 referenceColumnBatch = 32;

bool namesACard(const UFemCardColumn* column)
{
    return column != nullptr
        && (column->columnType() == CARD_COLUMN_TYPE_REF_CARD_NAME
            || column->columnType() == CARD_COLUMN_TYPE_CARD_NAME);
}

// Calls visit(referred) for every reference column of a card of `name`. Degree-of-freedom
// columns name nodes, and no node card refers back to the names that refer to it.
template <typename Visit> void forEachReferredName(const UFemCardName& name, Visit visit)
{
    for (UFemCard* card : name.cardArray()) {
        std::array<UFemCardColumn*, referenceColumnBatch> table {};
        quint64 next = 0;
        do {
            const quint64 count
                = card->getCardColumnsToCardColumnTable(table.data(), table.size(), &next);
            for (quint64 i = 0; i < count; ++i) {
                const UFemCardName* referred
                    = namesACard(table[i]) ? table[i]->cardName() : nullptr;
                const UFemCardColumnSet* references
                    = referred ? referred->nameRefCardColumnSet() : nullptr;
                if (references != nullptr && references->contains(table[i]))
                    visit(referred);
            }
        } while (next != 0);
    }
}

// One side of the search below: the names found and those still to look at.
struct SearchSide {
    std::unordered_set<const UFemCardName*> found;
    std::vector<const UFemCardName*> pending;
};

} // namespace

// A search from both ends, one name of each side at a time: up from this name through the names
// whose cards refer to it, and down from `cardName` through the names its cards refer to. It ends
// as soon as one side has no name left, so it costs about twice the smaller side: a chain of sets
// registers in linear time whichever way it is written.
bool UFemCardName::isLinkedFromCardName(const UFemCardName* cardName) const
{
    if (cardName == nullptr)
        return false;
    SearchSide up { { this }, { this } };
    SearchSide down { { cardName }, { cardName } };
    bool met = false;
    const auto reach = [&met](SearchSide& side, const SearchSide& other, const UFemCardName* name) {
        if (other.found.contains(name))
            met = true;
        else if (side.found.insert(name).second)
            side.pending.push_back(name);
    };
    while (!up.pending.empty() && !down.pending.empty() && !met) {
        const UFemCardName* upper = up.pending.back();
        up.pending.pop_back();
        for (UFemCardColumn* column : upper->refCardColumnSet_.columns()) {
            if (const UFemCardName* owner = column->ownerCard()->cardName())
                reach(up, down, owner);
        }
        if (met)
            break;
        const UFemCardName* lower = down.pending.back();
        down.pending.pop_back();
        forEachReferredName(
            *lower, [&](const UFemCardName* referred) { reach(down, up, referred); });
    }
    return met;
}

bool UFemCardName::isLinkedFromCardNameArray(
    const std::vector<const UFemCardName*>& cardNameArray) const
{
    if (cardNameArray.empty())
        return false;
    return isLinkedFrom([&cardNameArray](const UFemCardName* name) {
        return std::find(cardNameArray.begin(), cardNameArray.end(), name) != cardNameArray.end();
    });
}

void UFemCardName::setFlag(quint32 flag, bool on)
{
    cardNameFlag_ = on ? (cardNameFlag_ | flag) : (cardNameFlag_ & ~flag);
}

bool UFemCardName::checkCardType(qint32 cardType, UErrorPtr* error) const
{
    if (!isValid() || cardType_ == cardType)
        return true;
    UFemSetError(error,
        UFemCardNameUsedByDifferentTypeError_withCardNameString(cardNameString(),
            UFemCardTypeDisplayString(cardType_), UFemCardTypeDisplayString(cardType)));
    return false;
}

void UFemCardName::enterCardNameTable(qint32 cardType, bool isAllowedHaveSomeCard)
{
    if (isValid())
        return;
    if (cardNameTable_ == nullptr)
        UFemRaiseProgramError(QStringLiteral("The card name has no card name table."));
    cardNameTable_->addCardNameToCardNameTable(this);
    cardType_ = cardType;
    setFlag(UFemCardNameFlagAllowedHaveSomeCard, isAllowedHaveSomeCard);
}

void UFemCardName::leaveCardNameTableIfInvalid()
{
    if (!isValid() && cardNameTable_ != nullptr)
        cardNameTable_->removeCardNameFromCardNameTable(this);
}

bool UFemCardName::addCardNameColumn(UFemCardColumn* column, qint32 cardType, UErrorPtr* error)
{
    if (!checkCardType(cardType, error))
        return false;
    if (UFemCardTypeIsAllowedHaveSomeCard(cardType)) {
        if (!hasCard()) {
            enterCardNameTable(cardType, true);
            setFlag(UFemCardNameFlagHasCard, true);
        }
        if (cardColumnSet_ == nullptr)
            cardColumnSet_ = std::make_unique<UFemCardColumnSet>();
        cardColumnSet_->insert(column);
        return true;
    }
    if (hasCard()) {
        UFemSetError(error,
            UFemCardNameUsedBySameTypeError_withCardNameString(
                cardNameString(), UFemCardTypeDisplayString(cardType)));
        return false;
    }
    enterCardNameTable(cardType, false);
    cardColumn_ = column;
    setFlag(UFemCardNameFlagHasCard, true);
    return true;
}

bool UFemCardName::addNameRefCardColumn(UFemCardColumn* column, qint32 cardType, UErrorPtr* error)
{
    if (!checkCardType(cardType, error))
        return false;
    if (!hasNameRef()) {
        enterCardNameTable(cardType, UFemCardTypeIsAllowedHaveSomeCard(cardType));
        setFlag(UFemCardNameFlagHasNameRef, true);
    }
    refCardColumnSet_.insert(column);
    return true;
}

void UFemCardName::removeNameRefCardColumn(UFemCardColumn* column)
{
    refCardColumnSet_.erase(column);
    if (refCardColumnSet_.isEmpty())
        setFlag(UFemCardNameFlagHasNameRef, false);
    leaveCardNameTableIfInvalid();
}

void UFemCardName::removeCardNameColumn(UFemCardColumn* column)
{
    if (!hasCard())
        UFemRaiseProgramError(QStringLiteral("No Any card when remove it.( HAS_DATA == NO )"));
    if (isAllowedHaveSomeCard()) {
        if (cardColumnSet_ == nullptr || !cardColumnSet_->erase(column))
            UFemRaiseProgramError(
                QStringLiteral("No such card when remove it.( ALLOWED have some card )"));
        if (cardColumnSet_->isEmpty()) {
            cardColumnSet_.reset();
            setFlag(UFemCardNameFlagHasCard, false);
        }
    } else {
        if (cardColumn_ != column)
            UFemRaiseProgramError(
                QStringLiteral("No such card when remove it.( NOT allowed have some card )"));
        cardColumn_ = nullptr;
        setFlag(UFemCardNameFlagHasCard, false);
    }
    leaveCardNameTableIfInvalid();
}
